#pragma once

#include <QList>
#include <QObject>
#include <QTimer>
#include <QUuid>
#include <optional>

namespace varrow::platform {
class WindowServer;
}

namespace varrow::claude {

class ClaudeController;

// At a login start, opens the accounts set to open at login in the list's order, one at a time:
// the next once the one before shows a window (or its opening failed), so the session's start is
// not swamped. A window that never shows holds the rest up no longer than Timings::loginOpenNext.
class LoginOpener : public QObject {
    Q_OBJECT
public:
    LoginOpener(ClaudeController* claude, platform::WindowServer& windowServer, QObject* parent = nullptr);

    // Takes the list as it is now; accounts already open are left as they are.
    void start();
    std::optional<QUuid> current() const { return current_; }
    bool isFinished() const { return started_ && !current_ && queue_.isEmpty(); }

signals:
    void finished();

private:
    void openNext();
    // Moves on when the current account's window is up or its opening has ended without it.
    void check();

    ClaudeController* claude_;
    platform::WindowServer& windowServer_;
    QList<QUuid> queue_;
    std::optional<QUuid> current_;
    bool started_ = false;
    bool inOpen_ = false;
    QTimer fallback_;
};

}  // namespace varrow::claude
