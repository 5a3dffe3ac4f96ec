#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_foreign_toplevel_manager_v1;

namespace varrow::platform::wayland {

// Other clients' windows as a wlroots compositor lists them (zwlr_foreign_toplevel_manager_v1):
// their app id and whether one is activated, and activation on request. Keeps its own
// connection to the compositor, read on the main loop through a socket notifier. Main thread.
class ForeignToplevels : public QObject {
    Q_OBJECT
public:
    struct Toplevel {
        quint32 id = 0;  // this program's own number for the window, never reused
        QString appId;
        bool activated = false;
        quint64 lastActivated = 0;  // order of activation as seen here; 0 when never seen active
    };

    // The session's compositor's list ($WAYLAND_DISPLAY), filled in; none when there is no Wayland
    // display or the compositor does not offer the protocol.
    static std::unique_ptr<ForeignToplevels> connect(QObject* parent = nullptr);
    ~ForeignToplevels() override;

    QList<Toplevel> toplevels() const;
    std::optional<Toplevel> activated() const;
    // Asks the compositor to activate the window on the first seat. False when it is gone.
    bool activate(quint32 id);
    // Waits until the compositor has answered everything asked so far; false once the connection
    // is lost.
    bool roundTrip();

signals:
    // A window came, went, or changed its app id or activation (not its title, which changes often
    // and tells nothing here).
    void changed();

private:
    struct Handle;
    friend struct ForeignToplevelsListeners;

    explicit ForeignToplevels(wl_display* display, QObject* parent);
    void readEvents();
    void lost();
    void handleDone(Handle* handle);
    void handleClosed(Handle* handle);

    wl_display* display_ = nullptr;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwlr_foreign_toplevel_manager_v1* manager_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    std::vector<std::unique_ptr<Handle>> handles_;
    quint32 nextId_ = 1;
    quint64 activations_ = 0;
};

}  // namespace varrow::platform::wayland
