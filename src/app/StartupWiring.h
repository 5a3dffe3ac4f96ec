#pragma once

#include <QObject>
#include <memory>

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}
namespace varrow::switcher {
class SwitcherController;
}
namespace varrow::system {
class CycleHotKey;
}

namespace varrow::app {

// The long-lived objects made once start-up has settled: the switcher and the cycle hot key.
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

    // Drops the objects; for tests and the orderly end of the process.
    void reset();

private:
    StartupWiring() = default;
    std::unique_ptr<switcher::SwitcherController> switcher_;
    std::unique_ptr<system::CycleHotKey> hotKey_;
};

}  // namespace varrow::app
