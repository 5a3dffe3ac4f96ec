#include "claude/LoginOpener.h"

#include "claude/ClaudeController.h"
#include "claude/DebugLog.h"
#include "platform/Timings.h"
#include "platform/WindowServer.h"

namespace varrow::claude {

LoginOpener::LoginOpener(ClaudeController* claude, platform::WindowServer& windowServer, QObject* parent)
    : QObject(parent), claude_(claude), windowServer_(windowServer) {
    fallback_.setSingleShot(true);
    connect(&fallback_, &QTimer::timeout, this, &LoginOpener::openNext);
    connect(claude_, &ClaudeController::stateChanged, this, &LoginOpener::check);
    connect(&windowServer_, &platform::WindowServer::activeProcessChanged, this, &LoginOpener::check);
}

void LoginOpener::start() {
    started_ = true;
    queue_.clear();
    for (const model::Profile& profile : claude_->store()->profiles())
        if (profile.openAtLogin && !claude_->running().contains(profile.id)) queue_.append(profile.id);
    openNext();
}

void LoginOpener::openNext() {
    fallback_.stop();
    current_.reset();
    while (!queue_.isEmpty()) {
        const auto profile = claude_->store()->profile(queue_.takeFirst());
        // Removed meanwhile, or opened by the user already.
        if (!profile || claude_->running().contains(profile->id)) continue;
        current_ = profile->id;
        debugLog(QStringLiteral("login: opening ") + profile->name);
        fallback_.start(Timings::loginOpenNext());
        // Its signals on the way are no verdict yet; open() may end at once (Claude missing).
        inOpen_ = true;
        claude_->open(*profile);
        inOpen_ = false;
        check();
        return;
    }
    emit finished();
}

void LoginOpener::check() {
    if (!current_ || inOpen_) return;
    const platform::AppHandle app = claude_->running().value(*current_);
    const bool windowUp = app && windowServer_.frontWindow(app->processIdentifier());
    const bool failed = !app && !claude_->opening().contains(*current_);
    if (windowUp || failed) openNext();
}

}  // namespace varrow::claude
