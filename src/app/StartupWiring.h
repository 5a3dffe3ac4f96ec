#pragma once

#include <QObject>
#include <memory>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
class LinkRouter;
}  // namespace varrow::claude
namespace varrow::switcher {
class SwitcherController;
}
namespace varrow::system {
class CycleHotKey;
class LinkHandlerChoice;
}  // namespace varrow::system

namespace varrow::app {

// The long-lived objects made once start-up has settled: the switcher, the cycle hot key, and the
// routing of sign-in links with the choice of their handler.
class StartupWiring {
public:
    static StartupWiring& shared();

    // Makes the switcher and the hot key (once per process) and registers Varrow to open at login
    // on its first run.
    void start(model::ProfileStore* store, claude::ClaudeController* claude);

    // The first-run open-at-login registration on its own: one attempt ever, never for a run
    // against another home folder (VARROW_HOME set). Returns whether an attempt was made.
    static bool setUpLoginItemOnFirstRun();

    switcher::SwitcherController* switcher() const { return switcher_.get(); }
    system::CycleHotKey* hotKey() const { return hotKey_.get(); }
    claude::LinkRouter* linkRouter() const { return linkRouter_.get(); }

    // Drops the objects; for tests and the orderly end of the process.
    void reset();

private:
    StartupWiring() = default;
    std::unique_ptr<switcher::SwitcherController> switcher_;
    std::unique_ptr<system::CycleHotKey> hotKey_;
    std::unique_ptr<claude::LinkRouter> linkRouter_;
    std::unique_ptr<system::LinkHandlerChoice> linkHandler_;
};

}  // namespace varrow::app
