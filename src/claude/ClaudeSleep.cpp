#include "claude/ClaudeController.h"
#include "claude/DebugLog.h"

namespace varrow::claude {

void ClaudeController::putToSleep(const model::Profile& profile) {
    const AppHandle app = running_.value(profile.id);
    if (!app || opening_.contains(profile.id)) return;
    debugLog(QStringLiteral("asleep: ") + profile.name);
    fallingAsleep_.insert(profile.id);
    app->terminate();
}

void ClaudeController::settleSleep() {
    QSet<QUuid> asleep = asleep_;
    for (auto it = fallingAsleep_.begin(); it != fallingAsleep_.end();) {
        if (running_.contains(*it)) {
            ++it;
            continue;
        }
        asleep.insert(*it);
        it = fallingAsleep_.erase(it);
    }
    for (auto it = asleep.begin(); it != asleep.end();)
        it = running_.contains(*it) ? asleep.erase(it) : std::next(it);
    setAsleep(asleep);
}

void ClaudeController::setAsleep(const QSet<QUuid>& asleep) {
    if (asleep_ == asleep) return;
    asleep_ = asleep;
    emit asleepChanged(asleep_);
    emit stateChanged();
}

}  // namespace varrow::claude
