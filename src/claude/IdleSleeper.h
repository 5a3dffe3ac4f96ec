#pragma once

#include <sys/types.h>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <QUuid>

namespace varrow::platform {
class Processes;
}

namespace varrow::claude {

class ClaudeController;

// Quits an account's Claude once it has idled in the background for the time chosen in
// Settings, leaving the account asleep. Idle: neither in front nor opening, and its processes
// together using less than kIdleShare of one processor between two looks. With the setting off
// it sets no timer at all.
class IdleSleeper : public QObject {
    Q_OBJECT
public:
    static constexpr double kIdleShare = 0.02;

    IdleSleeper(ClaudeController* claude, platform::Processes& processes, QObject* parent = nullptr);

    // One look at every open account; nowMs is a monotonic time in milliseconds.
    void check(qint64 nowMs);
    bool isWatching() const { return timer_.isActive(); }

private:
    struct Watch {
        pid_t pid = 0;
        quint64 cpuMs = 0;
        qint64 at = 0;
        qint64 idleSince = 0;
        bool wasInFront = false;  // since the last look
    };
    void follow();
    void frontChanged();

    ClaudeController* claude_;
    platform::Processes& processes_;
    QHash<QUuid, Watch> watched_;
    QTimer timer_;
    QElapsedTimer clock_;
};

}  // namespace varrow::claude
