#include "app/StartupWiring.h"

#include "claude/ClaudeController.h"
#include "claude/LinkRouter.h"
#include "model/Defaults.h"
#include "platform/Platform.h"
#include "platform/SystemLog.h"
#include "switcher/SwitcherController.h"
#include "system/CycleHotKey.h"
#include "system/LinkHandlerChoice.h"

namespace varrow::app {

using model::Defaults;

StartupWiring& StartupWiring::shared() {
    static StartupWiring helpers;
    return helpers;
}

void StartupWiring::start(model::ProfileStore* store, claude::ClaudeController* claude) {
    if (switcher_) return;
    switcher_ = std::make_unique<switcher::SwitcherController>(store, claude, platform::Platform::processes(),
                                                               platform::Platform::windowServer());

    hotKey_ = std::make_unique<system::CycleHotKey>(
        platform::Platform::hotKeys(), platform::Platform::desktopShortcuts(),
        platform::Platform::windowServer(),
        system::CycleHotKey::Target{claude, [claude] { return claude->claudeIsFront(); },
                                    [claude](bool backwards) { claude->cycle(backwards); }});
    QObject::connect(claude, &claude::ClaudeController::frontChanged, hotKey_.get(),
                     &system::CycleHotKey::frontChanged);

    linkRouter_ = std::make_unique<claude::LinkRouter>(claude, platform::Platform::processes(),
                                                       platform::Platform::installations());
    linkHandler_ = std::make_unique<system::LinkHandlerChoice>(store, platform::Platform::linkHandlers());
    linkHandler_->apply();

    setUpLoginItemOnFirstRun();
}

bool StartupWiring::setUpLoginItemOnFirstRun() {
    auto& defaults = Defaults::shared();
    if (defaults.didSetUpLoginItem()) return false;
    // A run against another home folder must never register itself for login.
    if (qEnvironmentVariableIsSet("VARROW_HOME")) return false;
    // The flag first: a failed attempt is not retried.
    defaults.setValue(Defaults::kDidSetUpLoginItem, true);
    if (const Result<> done = platform::Platform::loginItems().set(true); !done)
        // Only logged, so in English as every system-log line.
        platform::SystemLog::write(QStringLiteral("Varrow: couldn't open at login: ") +
                                   done.failure().text());
    return true;
}

void StartupWiring::reset() {
    linkHandler_.reset();
    linkRouter_.reset();
    hotKey_.reset();
    switcher_.reset();
}

}  // namespace varrow::app
