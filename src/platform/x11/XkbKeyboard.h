#pragma once

#include <xcb/xcb.h>
#include <QString>
#include <QtGlobal>
#include <optional>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace varrow::platform::x11 {

// The X server's keyboard as XKB describes it: which physical key carries a key of the US layout,
// and what the current layout prints on it. Keys are matched by their XKB names (<TLDE> is the key
// left of 1), which stay the same whatever the layout and whatever keycodes the keyboard sends.
class XkbKeyboard {
public:
    // device: the XKB id of the core keyboard; none when the server has no XKB.
    XkbKeyboard(xcb_connection_t* connection, std::optional<qint32> device);
    ~XkbKeyboard();
    XkbKeyboard(const XkbKeyboard&) = delete;
    XkbKeyboard& operator=(const XkbKeyboard&) = delete;

    bool isValid() const { return current_ != nullptr; }
    // Reads the server's keyboard map and layout again (after a map or layout change).
    void reload();

    // The keycode of the physical key that carries `key` on a US layout; none when there is none.
    std::optional<quint8> keycodeFor(Qt::Key key) const;
    // What the current layout prints on that key without modifiers; empty when unknown.
    QString labelFor(Qt::Key key) const;

    // The keysym `key` produces on a US layout without modifiers; 0 when unknown.
    static quint32 keysymFor(Qt::Key key);

private:
    xcb_connection_t* connection_;
    std::optional<qint32> device_;
    xkb_context* context_ = nullptr;
    xkb_keymap* reference_ = nullptr;  // a plain US layout, to learn a key's name
    xkb_keymap* current_ = nullptr;
    xkb_state* state_ = nullptr;
};

}  // namespace varrow::platform::x11
