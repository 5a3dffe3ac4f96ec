#pragma once

#include "claude/ClaudeController.h"
#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <memory>

namespace varrow::test {

// A private home, fake platform, defaults file, store and controller for the shell's tests.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        model::Defaults::useFileForTests(home.file("defaults.ini"));
        qputenv("XDG_STATE_HOME", home.file("state").toUtf8());
        store = std::make_unique<model::ProfileStore>(home.locations());
        claude = std::make_unique<claude::ClaudeController>(store.get(), platform.services());
    }
    void TearDown() override {
        claude.reset();
        store.reset();
        model::Defaults::useFileForTests({});
        qunsetenv("XDG_STATE_HOME");
    }

    // Adds accounts after the default one, in order, coloured teal, sky, iris, …
    void addAccounts(const QStringList& names) {
        QList<model::Profile> list = store->profiles();
        int colour = 4;
        for (const QString& name : names) {
            model::Profile p;
            p.color = model::colors::allCases().at(colour++ % 8);
            p.id = QUuid::createUuid();
            p.name = name;
            p.folderName = model::ProfileStore::folderName(name);
            p.createdAt = QDateTime::currentDateTimeUtc();
            list.append(p);
        }
        store->setProfiles(list);
    }

    TempHome home;
    platform::fake::FakePlatform platform;
    std::unique_ptr<model::ProfileStore> store;
    std::unique_ptr<claude::ClaudeController> claude;
};

}  // namespace varrow::test
