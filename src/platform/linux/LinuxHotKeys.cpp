#include "platform/linux/LinuxHotKeys.h"

#include "platform/linux/LinuxX11.h"

#include <xcb/xcb_keysyms.h>
#include <cstdlib>

namespace varrow::platform::linux_ {

namespace {
constexpr quint32 kXkGrave = 0x0060;
constexpr quint32 kXkNumLock = 0xff7f;
constexpr quint16 kRelevant = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_4;
}  // namespace

LinuxHotKeys::LinuxHotKeys(std::shared_ptr<LinuxX11> x11, QObject* parent)
    : GlobalHotKeys(parent), x11_(std::move(x11)) {
    if (x11_) connect(x11_.get(), &LinuxX11::keyEvent, this, &LinuxHotKeys::keyEvent);
}

LinuxHotKeys::~LinuxHotKeys() {
    const QList<quint64> refs = grabs_.keys();
    for (quint64 ref : refs) unregisterHotKey(ref);
}

quint32 LinuxHotKeys::keysymFor(quint32 keyCode) {
    return keyCode == kGraveKeyCode ? kXkGrave : 0;
}

quint16 LinuxHotKeys::modifierMask(quint32 modifiers) {
    quint16 mask = 0;
    if (modifiers & kCommand) mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & kShift) mask |= XCB_MOD_MASK_SHIFT;
    return mask;
}

QList<quint8> LinuxHotKeys::keycodesFor(quint32 keysym) {
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

quint16 LinuxHotKeys::numLockMask() {
    if (numLock_) return *numLock_;
    quint16 mask = 0;
    const QList<quint8> numLockCodes = keycodesFor(kXkNumLock);
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

QList<quint16> LinuxHotKeys::lockVariants(quint16 mask) {
    QList<quint16> variants{mask, quint16(mask | XCB_MOD_MASK_LOCK)};
    if (const quint16 num = numLockMask())
        variants += {quint16(mask | num), quint16(mask | num | XCB_MOD_MASK_LOCK)};
    return variants;
}

std::optional<quint64> LinuxHotKeys::registerHotKey(quint32 signature, quint32 id, quint32 keyCode,
                                                    quint32 modifiers) {
    if (!x11_ || !x11_->isConnected()) return std::nullopt;
    const quint32 keysym = keysymFor(keyCode);
    if (!keysym) return std::nullopt;
    const QList<quint8> keycodes = keycodesFor(keysym);
    if (keycodes.isEmpty()) return std::nullopt;
    const quint16 mask = modifierMask(modifiers);

    // Checked requests: a key another client holds answers BadAccess here instead of reaching
    // an error handler that would end the process.
    xcb_connection_t* c = x11_->connection();
    QList<xcb_void_cookie_t> cookies;
    for (quint8 keycode : keycodes)
        for (quint16 variant : lockVariants(mask))
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
    if (failed) {
        ungrab(keycodes, mask);
        return std::nullopt;
    }
    const quint64 ref = ++next_;
    grabs_.insert(ref, Grab{signature, id, keycodes, mask});
    return ref;
}

void LinuxHotKeys::ungrab(const QList<quint8>& keycodes, quint16 mask) {
    if (!x11_ || !x11_->isConnected()) return;
    xcb_connection_t* c = x11_->connection();
    for (quint8 keycode : keycodes)
        for (quint16 variant : lockVariants(mask)) xcb_ungrab_key(c, keycode, x11_->root(), variant);
    xcb_flush(c);
}

void LinuxHotKeys::unregisterHotKey(quint64 ref) {
    const auto it = grabs_.constFind(ref);
    if (it == grabs_.cend()) return;
    // Another registration of the same key keeps the grab.
    bool shared = false;
    for (auto other = grabs_.cbegin(); other != grabs_.cend(); ++other)
        if (other.key() != ref && other->mask == it->mask && other->keycodes == it->keycodes) shared = true;
    if (!shared) ungrab(it->keycodes, it->mask);
    grabs_.erase(it);
}

void LinuxHotKeys::keyEvent(bool down, quint8 keycode, quint16 state, quint32 time) {
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

}  // namespace varrow::platform::linux_
