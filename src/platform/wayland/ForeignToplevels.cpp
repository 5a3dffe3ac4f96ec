#include "platform/wayland/ForeignToplevels.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <QSocketNotifier>
#include <QtGlobal>
#include <algorithm>

namespace varrow::platform::wayland {

struct ForeignToplevels::Handle {
    ForeignToplevels* owner = nullptr;
    zwlr_foreign_toplevel_handle_v1* proxy = nullptr;
    Toplevel current;
    Toplevel pending;        // what the compositor has said since its last "done"
    bool described = false;  // a first "done" has come
};

// The protocol's C callbacks, which reach their object through the data pointer.
struct ForeignToplevelsListeners {
    using Self = ForeignToplevels;
    using Handle = ForeignToplevels::Handle;

    static void global(void* data, wl_registry* registry, uint32_t name, const char* interface,
                       uint32_t version) {
        auto* self = static_cast<Self*>(data);
        const QByteArray which(interface);
        if (which == zwlr_foreign_toplevel_manager_v1_interface.name && !self->manager_) {
            self->manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
                registry, name, &zwlr_foreign_toplevel_manager_v1_interface, std::min<uint32_t>(version, 3)));
            zwlr_foreign_toplevel_manager_v1_add_listener(self->manager_, &manager, self);
        } else if (which == wl_seat_interface.name && !self->seat_) {
            // Only needed to name the seat an activation is for; its events are of no interest.
            self->seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        }
    }
    static void globalRemove(void*, wl_registry*, uint32_t) {}

    static void toplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                         zwlr_foreign_toplevel_handle_v1* proxy) {
        auto* self = static_cast<Self*>(data);
        auto handle = std::make_unique<Handle>();
        handle->owner = self;
        handle->proxy = proxy;
        handle->current.id = handle->pending.id = self->nextId_++;
        zwlr_foreign_toplevel_handle_v1_add_listener(proxy, &toplevelHandle, handle.get());
        self->handles_.push_back(std::move(handle));
    }
    static void finished(void* data, zwlr_foreign_toplevel_manager_v1* proxy) {
        zwlr_foreign_toplevel_manager_v1_destroy(proxy);
        static_cast<Self*>(data)->manager_ = nullptr;
    }

    static Handle* of(void* data) { return static_cast<Handle*>(data); }
    static void title(void*, zwlr_foreign_toplevel_handle_v1*, const char*) {}
    static void appId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* text) {
        of(data)->pending.appId = QString::fromUtf8(text);
    }
    static void outputEnter(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void outputLeave(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
    static void state(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
        const auto* values = static_cast<const uint32_t*>(states->data);
        const auto* end = values + states->size / sizeof(uint32_t);
        of(data)->pending.activated =
            std::find(values, end, uint32_t(ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED)) != end;
    }
    static void done(void* data, zwlr_foreign_toplevel_handle_v1*) { of(data)->owner->handleDone(of(data)); }
    static void closed(void* data, zwlr_foreign_toplevel_handle_v1*) {
        of(data)->owner->handleClosed(of(data));
    }
    static void parent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

    static constexpr wl_registry_listener registryListener{global, globalRemove};
    static constexpr zwlr_foreign_toplevel_manager_v1_listener manager{toplevel, finished};
    static constexpr zwlr_foreign_toplevel_handle_v1_listener toplevelHandle{
        title, appId, outputEnter, outputLeave, state, done, closed, parent};
};

std::unique_ptr<ForeignToplevels> ForeignToplevels::connect(QObject* parent) {
    // Without a named display libwayland would try "wayland-0", which may be another session's.
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return nullptr;
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return nullptr;
    std::unique_ptr<ForeignToplevels> self(new ForeignToplevels(display, parent));
    // The first answer lists the globals; the second the windows and their state.
    if (!self->roundTrip() || !self->manager_ || !self->roundTrip()) return nullptr;
    return self;
}

ForeignToplevels::ForeignToplevels(wl_display* display, QObject* parent)
    : QObject(parent), display_(display) {
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &ForeignToplevelsListeners::registryListener, this);
    notifier_ = new QSocketNotifier(wl_display_get_fd(display_), QSocketNotifier::Read, this);
    QObject::connect(notifier_, &QSocketNotifier::activated, this, &ForeignToplevels::readEvents);
}

ForeignToplevels::~ForeignToplevels() {
    for (const auto& handle : handles_) zwlr_foreign_toplevel_handle_v1_destroy(handle->proxy);
    if (manager_) zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    if (seat_) wl_seat_destroy(seat_);
    if (registry_) wl_registry_destroy(registry_);
    wl_display_disconnect(display_);
}

QList<ForeignToplevels::Toplevel> ForeignToplevels::toplevels() const {
    QList<Toplevel> list;
    for (const auto& handle : handles_)
        if (handle->described) list.append(handle->current);
    return list;
}

std::optional<ForeignToplevels::Toplevel> ForeignToplevels::activated() const {
    for (const auto& handle : handles_)
        if (handle->described && handle->current.activated) return handle->current;
    return std::nullopt;
}

bool ForeignToplevels::activate(quint32 id) {
    if (!seat_) return false;
    for (const auto& handle : handles_) {
        if (handle->current.id != id) continue;
        zwlr_foreign_toplevel_handle_v1_activate(handle->proxy, seat_);
        return wl_display_flush(display_) >= 0;
    }
    return false;
}

bool ForeignToplevels::roundTrip() {
    if (wl_display_roundtrip(display_) >= 0) return true;
    lost();
    return false;
}

void ForeignToplevels::readEvents() {
    // The main loop's read: take what the socket holds, then run the callbacks.
    while (wl_display_prepare_read(display_) != 0)
        if (wl_display_dispatch_pending(display_) < 0) return lost();
    wl_display_flush(display_);
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) return lost();
}

void ForeignToplevels::lost() {
    // The compositor is gone: nothing more will come, and its windows are gone with it.
    notifier_->setEnabled(false);
    const bool hadWindows = !handles_.empty();
    for (const auto& handle : handles_) zwlr_foreign_toplevel_handle_v1_destroy(handle->proxy);
    handles_.clear();
    if (hadWindows) emit changed();
}

void ForeignToplevels::handleDone(Handle* handle) {
    Toplevel next = handle->pending;
    next.lastActivated = handle->current.lastActivated;
    if (next.activated && !handle->current.activated) next.lastActivated = ++activations_;
    const Toplevel& was = handle->current;
    const bool differs = next.activated != was.activated || next.appId != was.appId;
    handle->current = next;
    const bool first = !handle->described;
    handle->described = true;
    if (differs || first) emit changed();
}

void ForeignToplevels::handleClosed(Handle* handle) {
    zwlr_foreign_toplevel_handle_v1_destroy(handle->proxy);
    std::erase_if(handles_, [handle](const auto& h) { return h.get() == handle; });
    emit changed();
}

}  // namespace varrow::platform::wayland
