#include "platform/x11/X11HotKeys.h"

#include "platform/SystemLog.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/XkbKeyboard.h"

#include <xcb/xcb_keysyms.h>
#include <cstdlib>

namespace varrow::platform::x11 {

namespace {
constexpr quint32 kXkNumLock = 0xff7f;
constexpr quint16 kRelevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
}  // namespace

X11HotKeys::X11HotKeys(std::shared_ptr<X11Connection> x11, QObject* parent)
    : GlobalHotKeys(parent), x11_(std::move(x11)) {
    if (!x11_ || !x11_->isConnected()) return;
    keyboard_ = std::make_unique<XkbKeyboard>(x11_->connection(), x11_->keyboardDevice());
    x11_->drainSoon();
    connect(x11_.get(), &X11Connection::keyEvent, this, &X11HotKeys::keyEvent);
    connect(x11_.get(), &X11Connection::keyboardChanged, this, &X11HotKeys::mapChanged);
}

X11HotKeys::~X11HotKeys() {
    const QList<quint64> refs = grabs_.keys();
    for (quint64 ref : refs) unregisterHotKey(ref);
}

std::optional<quint16> X11HotKeys::modifierMask(Qt::KeyboardModifiers modifiers) {
    if (modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    quint16 mask = 0;
    if (modifiers & Qt::ControlModifier) mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::ShiftModifier) mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::AltModifier) mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier) mask |= XCB_MOD_MASK_4;
    return mask;
}

QList<quint8> X11HotKeys::keycodesFor(Qt::Key key) {
    if (keyboard_ && keyboard_->isValid()) {
        const auto keycode = keyboard_->keycodeFor(key);
        return keycode ? QList<quint8>{*keycode} : QList<quint8>{};
    }
    // A server without XKB: the keys that carry the symbol now.
    const quint32 keysym = XkbKeyboard::keysymFor(key);
    return keysym ? keycodesForKeysym(keysym) : QList<quint8>{};
}

QList<quint8> X11HotKeys::keycodesForKeysym(quint32 keysym) {
    QList<quint8> keycodes;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(x11_->connection());
    if (!symbols) return keycodes;
    if (xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym)) {
        for (xcb_keycode_t* c = codes; *c != XCB_NO_SYMBOL; ++c)
            if (!keycodes.contains(*c)) keycodes.append(*c);
        std::free(codes);
    }
    xcb_key_symbols_free(symbols);
    return keycodes;
}

quint16 X11HotKeys::numLockMask() {
    if (numLock_) return *numLock_;
    quint16 mask = 0;
    const QList<quint8> numLockCodes = keycodesForKeysym(kXkNumLock);
    xcb_connection_t* c = x11_->connection();
    if (auto* reply = xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr)) {
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply);
        const int perModifier = reply->keycodes_per_modifier;
        for (int m = 0; m < 8 && !mask; ++m)
            for (int k = 0; k < perModifier; ++k)
                if (codes[m * perModifier + k] && numLockCodes.contains(codes[m * perModifier + k]))
                    mask = 1 << m;
        std::free(reply);
    }
    numLock_ = mask;
    return mask;
}

QList<quint16> X11HotKeys::lockVariants(quint16 mask) {
    QList<quint16> variants{mask, quint16(mask | XCB_MOD_MASK_LOCK)};
    if (const quint16 num = numLockMask())
        variants += {quint16(mask | num), quint16(mask | num | XCB_MOD_MASK_LOCK)};
    return variants;
}

bool X11HotKeys::grab(const QList<quint8>& keycodes, const QList<quint16>& variants) {
    // Checked requests: a key another client holds answers BadAccess here instead of reaching
    // an error handler that would end the process.
    xcb_connection_t* c = x11_->connection();
    QList<xcb_void_cookie_t> cookies;
    for (quint8 keycode : keycodes)
        for (quint16 variant : variants)
            cookies.append(xcb_grab_key_checked(c, 1, x11_->root(), variant, keycode, XCB_GRAB_MODE_ASYNC,
                                                XCB_GRAB_MODE_ASYNC));
    bool failed = false;
    x11_->drainSoon();
    for (const xcb_void_cookie_t& cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(c, cookie)) {
            failed = true;
            std::free(error);
        }
    }
    if (failed) ungrab(keycodes, variants);
    return !failed;
}

std::optional<quint64> X11HotKeys::registerHotKey(quint32 signature, quint32 id, Qt::Key key,
                                                  Qt::KeyboardModifiers modifiers) {
    if (!x11_ || !x11_->isConnected()) return std::nullopt;
    const auto mask = modifierMask(modifiers);
    if (!mask) return std::nullopt;
    const QList<quint8> keycodes = keycodesFor(key);
    if (keycodes.isEmpty()) return std::nullopt;
    const QList<quint16> variants = lockVariants(*mask);
    if (!grab(keycodes, variants)) return std::nullopt;
    const quint64 ref = ++next_;
    grabs_.insert(ref, Grab{signature, id, key, *mask, keycodes, variants});
    return ref;
}

void X11HotKeys::ungrab(const QList<quint8>& keycodes, const QList<quint16>& variants) {
    if (!x11_ || !x11_->isConnected()) return;
    xcb_connection_t* c = x11_->connection();
    for (quint8 keycode : keycodes)
        for (quint16 variant : variants) xcb_ungrab_key(c, keycode, x11_->root(), variant);
    xcb_flush(c);
}

void X11HotKeys::unregisterHotKey(quint64 ref) {
    const auto it = grabs_.constFind(ref);
    if (it == grabs_.cend()) return;
    // Another registration of the same key keeps the grab.
    bool shared = false;
    for (auto other = grabs_.cbegin(); other != grabs_.cend(); ++other)
        if (other.key() != ref && other->mask == it->mask && other->keycodes == it->keycodes) shared = true;
    if (!shared) ungrab(it->keycodes, it->variants);
    grabs_.erase(it);
}

QString X11HotKeys::keyLabel(Qt::Key key) {
    if (const auto cached = labels_.constFind(int(key)); cached != labels_.cend()) return *cached;
    QString label = keyboard_ ? keyboard_->labelFor(key) : QString();
    if (label.isEmpty()) label = GlobalHotKeys::keyLabel(key);
    labels_.insert(int(key), label);
    return label;
}

void X11HotKeys::mapChanged() {
    // One change (setxkbmap, a new keyboard) arrives as a burst of events: read the map once.
    if (regrabQueued_) return;
    regrabQueued_ = true;
    QMetaObject::invokeMethod(this, &X11HotKeys::regrab, Qt::QueuedConnection);
}

void X11HotKeys::regrab() {
    regrabQueued_ = false;
    if (!x11_ || !x11_->isConnected()) return;
    if (keyboard_) keyboard_->reload();
    x11_->drainSoon();
    numLock_.reset();
    labels_.clear();
    for (auto it = grabs_.begin(); it != grabs_.end(); ++it) {
        const QList<quint8> keycodes = keycodesFor(it->key);
        const QList<quint16> variants = lockVariants(it->mask);
        if (keycodes == it->keycodes && variants == it->variants) continue;
        ungrab(it->keycodes, it->variants);
        if (keycodes.isEmpty() || !grab(keycodes, variants)) {
            // Kept with no keys: the next change of map tries again.
            SystemLog::write(
                QStringLiteral("Varrow: the hot key could not be grabbed again after the "
                               "keyboard changed"));
            it->keycodes.clear();
            continue;
        }
        it->keycodes = keycodes;
        it->variants = variants;
    }
    emit keyboardChanged();
}

void X11HotKeys::keyEvent(bool down, quint8 keycode, quint16 state, quint32 time) {
    if (!down) {
        releasedKey_ = keycode;
        releasedAt_ = time;
        return;
    }
    // Auto-repeat sends a release and a press with the same time stamp: one press per keystroke.
    if (keycode == releasedKey_ && time == releasedAt_) return;
    const quint16 modifiers = state & kRelevant;
    for (const Grab& grab : std::as_const(grabs_)) {
        if (grab.mask == modifiers && grab.keycodes.contains(keycode)) {
            emit pressed(grab.signature, grab.id);
            return;
        }
    }
}

}  // namespace varrow::platform::x11
