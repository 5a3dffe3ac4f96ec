#include "ui/MemoryFigures.h"

#include "claude/ClaudeController.h"
#include "platform/BackgroundPool.h"
#include "platform/Processes.h"
#include "platform/Timings.h"

#include <QtConcurrent/QtConcurrentRun>

namespace varrow::ui {

MemoryFigures::MemoryFigures(claude::ClaudeController* claude, platform::Processes& processes,
                             QObject* parent)
    : QObject(parent), claude_(claude), processes_(processes) {
    connect(&timer_, &QTimer::timeout, this, &MemoryFigures::refresh);
    connect(&reading_, &QFutureWatcher<QHash<QUuid, quint64>>::finished, this, [this] {
        figures_ = reading_.result();
        emit changed();
    });
}

void MemoryFigures::setActive(bool active) {
    if (active == timer_.isActive()) return;
    if (!active) return timer_.stop();
    timer_.start(Timings::memoryRefresh());
    refresh();
}

std::optional<quint64> MemoryFigures::bytes(const QUuid& id) const {
    const auto it = figures_.constFind(id);
    if (it == figures_.constEnd() || !claude_->running().contains(id)) return std::nullopt;
    return *it;
}

void MemoryFigures::refresh() {
    if (reading_.isRunning()) return;
    QHash<QUuid, pid_t> pids;
    for (auto it = claude_->running().cbegin(); it != claude_->running().cend(); ++it)
        if (it.value()) pids.insert(it.key(), it.value()->processIdentifier());
    // Reading smaps_rollup walks each process's memory map: a few milliseconds for a large
    // Claude, too long to hold the window up for.
    platform::Processes* processes = &processes_;
    reading_.setFuture(QtConcurrent::run(platform::backgroundPool(), [processes, pids] {
        QHash<QUuid, quint64> figures;
        for (auto it = pids.cbegin(); it != pids.cend(); ++it)
            if (const auto bytes = processes->treeMemoryBytes(it.value())) figures.insert(it.key(), *bytes);
        return figures;
    }));
}

}  // namespace varrow::ui
