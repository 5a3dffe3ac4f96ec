#pragma once

#include "claude/ClaudeController.h"
#include "copies/AppCloner.h"
#include "model/Defaults.h"
#include "platform/Timings.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <memory>

namespace varrow::ui::test {

using model::Profile;
using platform::AppHandle;
using namespace varrow::test;

// Where rendered pictures go: VARROW_UI_RENDERS, else "renders" in the working folder.
inline QString renderDir() {
    const QString dir = qEnvironmentVariableIsSet("VARROW_UI_RENDERS")
                            ? qEnvironmentVariable("VARROW_UI_RENDERS")
                            : QDir::current().filePath("renders");
    QDir().mkpath(dir);
    return dir;
}

// A store in a temporary home, Claude installed, the fake platform, and a controller whose copies
// are ready at once (or held, to keep an account "opening").
class UiTest : public ::testing::Test {
protected:
    static constexpr auto kClaude = "com.anthropic.claudefordesktop";

    UiTest() {
        Timings::setScaleForTests(0.05);
        model::Defaults::useFileForTests(home.file("defaults.ini"));
        claudePath = home.file("Applications/Claude.app");
        QDir().mkpath(claudePath + "/Contents/MacOS");
        fake.installations.registered = {claudePath};
        store = std::make_unique<model::ProfileStore>(home.locations());
    }
    ~UiTest() override {
        controller_.reset();
        model::Defaults::useFileForTests(QString());
        Timings::setScaleForTests(1.0);
    }

    claude::ClaudeController& controller() {
        if (!controller_) {
            controller_ = std::make_unique<claude::ClaudeController>(store.get(), fake.services());
            controller_->setCopyPreparer([this](const Profile& p, const QString&, bool,
                                                std::function<void(copies::AppCloner::Prepared)> done) {
                const QString copy = copies::AppCloner::copyPath(p, store->appsURL());
                if (holdPrepare) {
                    held.append(std::move(done));
                    return;
                }
                QDir().mkpath(copy);
                done(copies::AppCloner::Prepared{copy, {}});
            });
        }
        return *controller_;
    }

    Profile addAccount(const QString& name, model::ProfileColor color = model::ProfileColor::Teal,
                       const QString& note = {}) {
        Profile p;
        p.id = QUuid::createUuid();
        p.name = store->uniqueName(name);
        p.note = note;
        p.color = color;
        p.folderName = model::ProfileStore::folderName(p.name);
        p.createdAt = QDateTime::currentDateTimeUtc();
        QList<Profile> list = store->profiles();
        list.append(p);
        store->setProfiles(list);
        store->save();
        return p;
    }
    Profile defaultAccount() const { return store->profiles().first(); }

    // A running Claude process for the account, as the process service would report it.
    AppHandle start(const Profile& p) {
        if (p.isDefault)
            return fake.processes.addApplication(kClaude, claudePath, "Claude",
                                                 {claudePath + "/Contents/MacOS/Claude"});
        const QString copy = copies::AppCloner::copyPath(p, store->appsURL());
        const QString desktop = store->accountsURL() + "/" + p.folderName + "/Desktop";
        return fake.processes.addApplication(kClaude, copy, "Claude " + p.name,
                                             {copy + "/Contents/MacOS/Claude", "--user-data-dir=" + desktop});
    }
    void settle(int ms = 60) {
        waitUntil([] { return false; }, ms);
    }

    TempHome home;
    platform::fake::FakePlatform fake;
    std::unique_ptr<model::ProfileStore> store;
    QString claudePath;
    bool holdPrepare = false;
    QList<std::function<void(copies::AppCloner::Prepared)>> held;

private:
    std::unique_ptr<claude::ClaudeController> controller_;
};

}  // namespace varrow::ui::test
