#pragma once

#include <QFutureWatcher>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <QUuid>
#include <optional>

namespace varrow::claude {
class ClaudeController;
}
namespace varrow::platform {
class Processes;
}

namespace varrow::ui {

// What each open account's Claude takes in memory (its processes' proportional set size
// together), read off the UI thread every few seconds while a view that shows it is visible.
class MemoryFigures : public QObject {
    Q_OBJECT
public:
    MemoryFigures(claude::ClaudeController* claude, platform::Processes& processes,
                  QObject* parent = nullptr);

    // Reads now and then on a timer while active; nothing at all while not.
    void setActive(bool active);
    bool isActive() const { return timer_.isActive(); }
    std::optional<quint64> bytes(const QUuid& id) const;

signals:
    void changed();

private:
    void refresh();

    claude::ClaudeController* claude_;
    platform::Processes& processes_;
    QTimer timer_;
    QFutureWatcher<QHash<QUuid, quint64>> reading_;
    QHash<QUuid, quint64> figures_;
};

}  // namespace varrow::ui
