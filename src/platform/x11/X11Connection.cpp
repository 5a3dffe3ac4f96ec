#include "platform/x11/X11Connection.h"

// The C header names a field "explicit".
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QVarLengthArray>
#include <cstdlib>

namespace varrow::platform::x11 {

X11Connection::X11Connection(const QByteArray& display, QObject* parent) : QObject(parent) {
    if (display.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY")) return;
    xcb_connection_t* connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &screen_);
    if (!connection || xcb_connection_has_error(connection)) {
        if (connection) xcb_disconnect(connection);
        return;
    }
    xcb_intern_atom_cookie_t* cookies = xcb_ewmh_init_atoms(connection, &ewmh_);
    if (!cookies || !xcb_ewmh_init_atoms_replies(&ewmh_, cookies, nullptr)) {
        xcb_disconnect(connection);
        return;
    }
    connection_ = connection;
    root_ = ewmh_.screens[screen_]->root;

    // Only property changes of the root window are of interest (the active window).
    const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    watchKeyboard();
    xcb_flush(connection_);

    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(connection_), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &X11Connection::dispatchPending);
    // Replies read by a query may carry events along; handle those before the loop sleeps.
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &X11Connection::dispatchPending);
}

X11Connection::~X11Connection() {
    if (!connection_) return;
    xcb_ewmh_connection_wipe(&ewmh_);
    xcb_disconnect(connection_);
}

void X11Connection::disconnectBroken() {
    delete notifier_;
    notifier_ = nullptr;
    xcb_ewmh_connection_wipe(&ewmh_);
    xcb_disconnect(connection_);
    connection_ = nullptr;
}

void X11Connection::watchKeyboard() {
    if (!xkb_x11_setup_xkb_extension(connection_, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                     XKB_X11_MIN_MINOR_XKB_VERSION, XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS,
                                     nullptr, nullptr, &xkbEvent_, nullptr))
        return;
    const qint32 device = xkb_x11_get_core_keyboard_device_id(connection_);
    if (device < 0) return;
    keyboard_ = device;
    // A new keyboard, a new map, renamed keys, and a switch of the active layout.
    constexpr uint16_t events = XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY | XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                XCB_XKB_EVENT_TYPE_NAMES_NOTIFY | XCB_XKB_EVENT_TYPE_STATE_NOTIFY;
    constexpr uint16_t mapParts = XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS |
                                  XCB_XKB_MAP_PART_MODIFIER_MAP | XCB_XKB_MAP_PART_VIRTUAL_MODS |
                                  XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;
    xcb_xkb_select_events_details_t details{};
    details.affectNewKeyboard = details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
    details.affectState = details.stateDetails = XCB_XKB_STATE_PART_GROUP_STATE;
    details.affectNames = details.namesDetails =
        XCB_XKB_NAME_DETAIL_KEY_NAMES | XCB_XKB_NAME_DETAIL_GROUP_NAMES;
    xcb_xkb_select_events_aux(connection_, XCB_XKB_ID_USE_CORE_KBD, events, 0, 0, mapParts, mapParts,
                              &details);
}

void X11Connection::drainSoon() {
    if (drainQueued_ || !connection_) return;
    drainQueued_ = true;
    QMetaObject::invokeMethod(this, &X11Connection::dispatchPending, Qt::QueuedConnection);
}

void X11Connection::dispatchPending() {
    drainQueued_ = false;
    if (!connection_) return;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        handle(event);
        std::free(event);
        if (!connection_) return;
    }
    if (xcb_connection_has_error(connection_)) disconnectBroken();
}

void X11Connection::handle(xcb_generic_event_t* event) {
    switch (event->response_type & ~0x80) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_property_notify_event_t*>(event);
            if (e->window == root_ && e->atom == ewmh_._NET_ACTIVE_WINDOW) emit activeWindowChanged();
            break;
        }
        case XCB_KEY_PRESS:
        case XCB_KEY_RELEASE: {
            const auto* e = reinterpret_cast<xcb_key_press_event_t*>(event);
            emit keyEvent((event->response_type & ~0x80) == XCB_KEY_PRESS, e->detail, e->state, e->time);
            break;
        }
        case XCB_MAPPING_NOTIFY: {
            const auto* e = reinterpret_cast<xcb_mapping_notify_event_t*>(event);
            if (e->request != XCB_MAPPING_POINTER) emit keyboardChanged();
            break;
        }
        default:
            // Every XKB event shares one type; its own kind follows. All selected ones matter.
            if (keyboard_ && (event->response_type & ~0x80) == xkbEvent_) emit keyboardChanged();
            break;
    }
}

std::optional<xcb_window_t> X11Connection::activeWindow() {
    if (!connection_) return std::nullopt;
    xcb_window_t window = XCB_NONE;
    drainSoon();
    if (!xcb_ewmh_get_active_window_reply(&ewmh_, xcb_ewmh_get_active_window(&ewmh_, screen_), &window,
                                          nullptr) ||
        window == XCB_NONE)
        return std::nullopt;
    return window;
}

std::optional<pid_t> X11Connection::windowPid(xcb_window_t window) {
    if (!connection_) return std::nullopt;
    uint32_t pid = 0;
    drainSoon();
    if (!xcb_ewmh_get_wm_pid_reply(&ewmh_, xcb_ewmh_get_wm_pid(&ewmh_, window), &pid, nullptr) || pid == 0)
        return std::nullopt;
    return pid_t(pid);
}

std::optional<xcb_window_t> X11Connection::frontWindow(pid_t pid) {
    if (!connection_) return std::nullopt;
    xcb_ewmh_get_windows_reply_t list;
    drainSoon();
    if (!xcb_ewmh_get_client_list_stacking_reply(&ewmh_, xcb_ewmh_get_client_list_stacking(&ewmh_, screen_),
                                                 &list, nullptr))
        return std::nullopt;
    // The list runs bottom to top; ask for every window's pid at once, then walk from the top.
    const uint32_t count = list.windows_len;
    QVarLengthArray<xcb_get_property_cookie_t, 64> pids(count);
    for (uint32_t i = 0; i < count; ++i) pids[i] = xcb_ewmh_get_wm_pid(&ewmh_, list.windows[i]);
    std::optional<xcb_window_t> found;
    for (uint32_t k = count; k-- > 0;) {
        uint32_t owner = 0;
        if (!xcb_ewmh_get_wm_pid_reply(&ewmh_, pids[k], &owner, nullptr) || pid_t(owner) != pid) continue;
        const xcb_window_t window = list.windows[k];
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection_, xcb_get_window_attributes(connection_, window), nullptr);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        if (!viewable) continue;
        bool normal = true;
        xcb_ewmh_get_atoms_reply_t types;
        if (xcb_ewmh_get_wm_window_type_reply(&ewmh_, xcb_ewmh_get_wm_window_type(&ewmh_, window), &types,
                                              nullptr)) {
            normal = types.atoms_len == 0;
            for (uint32_t t = 0; t < types.atoms_len; ++t)
                if (types.atoms[t] == ewmh_._NET_WM_WINDOW_TYPE_NORMAL) normal = true;
            xcb_ewmh_get_atoms_reply_wipe(&types);
        }
        if (!normal) continue;
        found = window;
        // Discard the pid replies not yet read.
        for (uint32_t rest = 0; rest < k; ++rest) xcb_discard_reply(connection_, pids[rest].sequence);
        break;
    }
    xcb_ewmh_get_windows_reply_wipe(&list);
    return found;
}

bool X11Connection::activate(xcb_window_t window) {
    if (!connection_) return false;
    const xcb_window_t current = activeWindow().value_or(XCB_NONE);
    xcb_ewmh_request_change_active_window(&ewmh_, screen_, window, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER,
                                          XCB_CURRENT_TIME, current);
    xcb_flush(connection_);
    return true;
}

bool X11Connection::markOverlay(xcb_window_t window) {
    if (!connection_ || window == XCB_NONE) return false;
    // Window managers keep states they do not manage when they add their own, so these survive
    // the show.
    xcb_atom_t states[] = {ewmh_._NET_WM_STATE_SKIP_TASKBAR, ewmh_._NET_WM_STATE_SKIP_PAGER,
                           ewmh_._NET_WM_STATE_STICKY, ewmh_._NET_WM_STATE_ABOVE};
    xcb_ewmh_set_wm_state(&ewmh_, window, 4, states);
    const xcb_void_cookie_t desktop = xcb_ewmh_set_wm_desktop_checked(&ewmh_, window, 0xFFFFFFFF);
    // The checked request is a round trip: both changes are on the server when it returns.
    xcb_generic_error_t* error = xcb_request_check(connection_, desktop);
    drainSoon();
    const bool ok = error == nullptr;
    std::free(error);
    return ok;
}

}  // namespace varrow::platform::x11
