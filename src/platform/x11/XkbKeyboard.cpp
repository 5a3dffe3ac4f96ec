#include "platform/x11/XkbKeyboard.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>
#include <QChar>

namespace varrow::platform::x11 {

namespace {

// The key of a keymap whose first layout carries sym, preferring the lowest level (no modifiers).
xkb_keycode_t findKey(xkb_keymap* keymap, xkb_keysym_t sym) {
    xkb_keycode_t found = XKB_KEYCODE_INVALID;
    xkb_level_index_t foundLevel = XKB_LEVEL_INVALID;
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= last; ++key) {
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, key, 0);
        for (xkb_level_index_t level = 0; level < levels && level < foundLevel; ++level) {
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap, key, 0, level, &syms);
            for (int i = 0; i < count; ++i) {
                if (syms[i] == sym) {
                    found = key;
                    foundLevel = level;
                }
            }
        }
    }
    return found;
}

// A dead key prints nothing by itself; show the accent it stands for.
QString deadKeyText(xkb_keysym_t sym) {
    static const char16_t accents[] = u"`´^~¯˘˙¨˚˝ˇ¸˛";
    if (sym >= XKB_KEY_dead_grave && sym <= XKB_KEY_dead_ogonek)
        return QString(QChar(accents[sym - XKB_KEY_dead_grave]));
    return {};
}

}  // namespace

XkbKeyboard::XkbKeyboard(xcb_connection_t* connection, std::optional<qint32> device)
    : connection_(connection), device_(device) {
    if (!connection_ || !device_) return;
    // The user's XKB_DEFAULT_* variables must not change what "the US layout" means.
    context_ = xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES);
    if (!context_) return;
    xkb_context_set_log_level(context_, XKB_LOG_LEVEL_CRITICAL);
    // Only the key names and the US symbols: a quarter of the time of a full keymap at start-up.
    static const char us[] =
        "xkb_keymap { xkb_keycodes { include \"evdev\" }; xkb_types { include \"basic\" };"
        " xkb_compat { }; xkb_symbols { include \"us\" }; };";
    reference_ =
        xkb_keymap_new_from_string(context_, us, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    reload();
}

XkbKeyboard::~XkbKeyboard() {
    xkb_state_unref(state_);
    xkb_keymap_unref(current_);
    xkb_keymap_unref(reference_);
    xkb_context_unref(context_);
}

void XkbKeyboard::reload() {
    if (!context_) return;
    xkb_keymap* keymap =
        xkb_x11_keymap_new_from_device(context_, connection_, *device_, XKB_KEYMAP_COMPILE_NO_FLAGS);
    // A map that cannot be read now keeps the last one known.
    if (!keymap) return;
    xkb_state* state = xkb_x11_state_new_from_device(keymap, connection_, *device_);
    xkb_state_unref(state_);
    xkb_keymap_unref(current_);
    current_ = keymap;
    state_ = state;
}

quint32 XkbKeyboard::keysymFor(Qt::Key key) {
    const int k = int(key);
    if (k >= 0x20 && k <= 0xff) return QChar(char16_t(k)).toLower().unicode();  // Latin-1 keysyms
    if (k >= Qt::Key_F1 && k <= Qt::Key_F35) return XKB_KEY_F1 + (k - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Escape:
            return XKB_KEY_Escape;
        case Qt::Key_Tab:
            return XKB_KEY_Tab;
        case Qt::Key_Backspace:
            return XKB_KEY_BackSpace;
        case Qt::Key_Return:
            return XKB_KEY_Return;
        case Qt::Key_Enter:
            return XKB_KEY_KP_Enter;
        case Qt::Key_Insert:
            return XKB_KEY_Insert;
        case Qt::Key_Delete:
            return XKB_KEY_Delete;
        case Qt::Key_Home:
            return XKB_KEY_Home;
        case Qt::Key_End:
            return XKB_KEY_End;
        case Qt::Key_Left:
            return XKB_KEY_Left;
        case Qt::Key_Up:
            return XKB_KEY_Up;
        case Qt::Key_Right:
            return XKB_KEY_Right;
        case Qt::Key_Down:
            return XKB_KEY_Down;
        case Qt::Key_PageUp:
            return XKB_KEY_Page_Up;
        case Qt::Key_PageDown:
            return XKB_KEY_Page_Down;
        default:
            return 0;
    }
}

std::optional<quint8> XkbKeyboard::keycodeFor(Qt::Key key) const {
    const xkb_keysym_t sym = keysymFor(key);
    if (!current_ || !sym) return std::nullopt;
    xkb_keycode_t code = XKB_KEYCODE_INVALID;
    if (reference_) {
        const xkb_keycode_t usKey = findKey(reference_, sym);
        if (const char* name =
                usKey != XKB_KEYCODE_INVALID ? xkb_keymap_key_get_name(reference_, usKey) : nullptr)
            code = xkb_keymap_key_by_name(current_, name);
    }
    // Without layout data to name the key, or on a keyboard that names its keys differently: the
    // key that carries the symbol now.
    if (code == XKB_KEYCODE_INVALID) code = findKey(current_, sym);
    if (code == XKB_KEYCODE_INVALID || code > 255) return std::nullopt;
    return quint8(code);
}

QString XkbKeyboard::labelFor(Qt::Key key) const {
    const auto code = keycodeFor(key);
    if (!code) return {};
    xkb_layout_index_t layout = state_ ? xkb_state_key_get_layout(state_, *code) : 0;
    if (layout == XKB_LAYOUT_INVALID) layout = 0;
    const xkb_keysym_t* syms = nullptr;
    if (xkb_keymap_key_get_syms_by_level(current_, *code, layout, 0, &syms) < 1) return {};
    if (QString dead = deadKeyText(syms[0]); !dead.isEmpty()) return dead;
    char text[16] = {};
    if (xkb_keysym_to_utf8(syms[0], text, sizeof text) <= 1) return {};
    const QString label = QString::fromUtf8(text);
    if (label.size() != 1 || !label.at(0).isPrint() || label.at(0).isSpace()) return {};
    return QString(label.at(0).toUpper());  // letters read as on the key caps, as in "Ctrl+N"
}

}  // namespace varrow::platform::x11
