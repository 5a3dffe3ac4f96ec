#include "claude/IdleSleeper.h"

#include "claude/ClaudeController.h"
#include "model/Defaults.h"
#include "platform/Processes.h"
#include "platform/Timings.h"

namespace varrow::claude {

using model::Defaults;

IdleSleeper::IdleSleeper(ClaudeController* claude, platform::Processes& processes, QObject* parent)
    : QObject(parent), claude_(claude), processes_(processes) {
    clock_.start();
    connect(&timer_, &QTimer::timeout, this, [this] { check(clock_.elapsed()); });
    connect(&Defaults::shared(), &Defaults::changed, this, [this](const QString& key) {
        if (key == QLatin1String(Defaults::kSleepIdleAccounts) ||
            key == QLatin1String(Defaults::kSleepAfterSeconds))
            follow();
    });
    connect(claude_, &ClaudeController::frontChanged, this, &IdleSleeper::frontChanged);
    follow();
}

void IdleSleeper::follow() {
    const auto after = Defaults::shared().sleepAfter();
    if (!after) {
        timer_.stop();
        watched_.clear();
        return;
    }
    timer_.start(Timings::idleCheck(std::chrono::duration_cast<Timings::ms>(*after)));
    check(clock_.elapsed());
}

void IdleSleeper::frontChanged() {
    // Time in front is never idle time, however short and quiet.
    if (const auto front = claude_->frontProfileID(); front && watched_.contains(*front))
        watched_[*front].wasInFront = true;
}

void IdleSleeper::check(qint64 nowMs) {
    const auto after = Defaults::shared().sleepAfter();
    if (!after) return;
    const qint64 afterMs = std::chrono::duration_cast<std::chrono::milliseconds>(*after).count();
    platform::Processes& processes = processes_;
    const auto running = claude_->running();
    for (auto it = watched_.begin(); it != watched_.end();)
        it = running.contains(it.key()) ? std::next(it) : watched_.erase(it);

    for (auto it = running.constBegin(); it != running.constEnd(); ++it) {
        const QUuid id = it.key();
        if (!it.value()) continue;
        const pid_t pid = it.value()->processIdentifier();
        const std::optional<quint64> cpu = processes.treeCpuMilliseconds(pid);
        if (!cpu) continue;
        auto found = watched_.find(id);
        if (found == watched_.end() || found->pid != pid) {
            watched_.insert(id, Watch{pid, *cpu, nowMs, nowMs});
            continue;
        }
        Watch& watch = *found;
        const bool front = claude_->claudeIsFront() && claude_->frontProfileID() == id;
        const qint64 elapsed = std::max<qint64>(1, nowMs - watch.at);
        const double share = double(*cpu - std::min(*cpu, watch.cpuMs)) / double(elapsed);
        if (front || watch.wasInFront || claude_->opening().contains(id) || share >= kIdleShare)
            watch.idleSince = nowMs;
        watch.wasInFront = false;
        watch.cpuMs = *cpu;
        watch.at = nowMs;
        if (nowMs - watch.idleSince < afterMs) continue;
        if (const auto profile = claude_->store()->profile(id)) claude_->putToSleep(*profile);
        watched_.erase(found);
    }
}

}  // namespace varrow::claude
