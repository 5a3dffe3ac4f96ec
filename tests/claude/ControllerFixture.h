#pragma once

#include "claude/ClaudeController.h"
#include "copies/AppCloner.h"
#include "platform/Timings.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTimer>
#include <memory>

namespace varrow::claude::test {

using copies::AppCloner;
using model::Profile;
using platform::AppHandle;
using namespace varrow::test;

// A controller on the fake platform, a store in a temporary home and Claude installed in
// ~/Applications. Copies are prepared by a stand-in that the test can hold or fail.
class ControllerTest : public ::testing::Test {
protected:
    static constexpr auto kClaude = "com.anthropic.claudefordesktop";

    ControllerTest()
        : oldState_(qgetenv("XDG_STATE_HOME")),
          oldSession_(qgetenv("XDG_SESSION_TYPE")),
          oldWayland_(qgetenv("WAYLAND_DISPLAY")) {
        qputenv("XDG_STATE_HOME", home.file("state").toUtf8());
        // The launches below are an X11 desktop's unless a test makes the session Wayland.
        qunsetenv("XDG_SESSION_TYPE");
        qunsetenv("WAYLAND_DISPLAY");
        Timings::setScaleForTests(0.02);
        claudePath = home.file("Applications/Claude.app");
        QDir().mkpath(claudePath + "/Contents/MacOS");
        store = std::make_unique<model::ProfileStore>(home.locations());
    }
    ~ControllerTest() override {
        controller_.reset();
        Timings::setScaleForTests(1.0);
        qputenv("XDG_STATE_HOME", oldState_);
        restore("XDG_SESSION_TYPE", oldSession_);
        restore("WAYLAND_DISPLAY", oldWayland_);
    }
    static void restore(const char* name, const QByteArray& value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    }

    // Built on first use, so a test can arrange the process service before construction.
    ClaudeController& controller() {
        if (!controller_) {
            controller_ = std::make_unique<ClaudeController>(store.get(), fake.services());
            if (realCopies) return *controller_;
            controller_->setCopyPreparer([this](const Profile& p, const QString& source, bool running,
                                                std::function<void(AppCloner::Prepared)> done) {
                prepares.append({p, source, running, std::move(done)});
                ++preparing;
                maxPreparing = std::max(maxPreparing, preparing);
                if (!holdPrepare)
                    QTimer::singleShot(0, controller_.get(),
                                       [this, i = prepares.size() - 1] { finishPrepare(i); });
            });
        }
        return *controller_;
    }

    struct Prepare {
        Profile profile;
        QString source;
        bool isRunning;
        std::function<void(AppCloner::Prepared)> done;
    };
    void finishPrepare(qsizetype index, const QString& error = {}) {
        Prepare& call = prepares[index];
        if (!call.done) return;
        --preparing;
        const QString copy = AppCloner::copyPath(call.profile, store->appsURL());
        if (error.isEmpty()) QDir().mkpath(copy);
        std::exchange(call.done, nullptr)(error.isEmpty() ? AppCloner::Prepared{copy, {}}
                                                          : AppCloner::Prepared{{}, error});
    }

    Profile addAccount(const QString& name) {
        Profile p;
        p.id = QUuid::createUuid();
        p.name = name;
        p.folderName = model::ProfileStore::folderName(name);
        p.createdAt = QDateTime::currentDateTimeUtc();
        QList<Profile> list = store->profiles();
        list.append(p);
        store->setProfiles(list);
        return p;
    }
    Profile defaultAccount() const { return store->profiles().first(); }
    QString desktopOf(const Profile& p) const {
        return store->accountsURL() + "/" + p.folderName + "/Desktop";
    }
    QString copyOf(const Profile& p) const { return AppCloner::copyPath(p, store->appsURL()); }

    AppHandle startClaude(const QStringList& arguments = {}, const QString& bundle = {}) {
        const QString path = bundle.isEmpty() ? claudePath : bundle;
        return fake.processes.addApplication(kClaude, path, QFileInfo(path).completeBaseName(),
                                             QStringList{path + "/Contents/MacOS/Claude"} + arguments);
    }
    AppHandle startAccount(const Profile& p) {
        return startClaude({"--user-data-dir=" + desktopOf(p)}, copyOf(p));
    }

    bool settled(const std::function<bool()>& condition) { return waitUntil(condition, 3000); }
    // Lets every pending timer of the scaled timings run.
    void drain(int ms = 300) {
        waitUntil([] { return false; }, ms);
    }

    TempHome home;
    platform::fake::FakePlatform fake;
    std::unique_ptr<model::ProfileStore> store;
    QString claudePath;
    QList<Prepare> prepares;
    bool holdPrepare = false;
    bool realCopies = false;  // AppCloner itself instead of the stand-in preparer
    int preparing = 0;
    int maxPreparing = 0;

private:
    std::unique_ptr<ClaudeController> controller_;
    QByteArray oldState_, oldSession_, oldWayland_;
};

}  // namespace varrow::claude::test
