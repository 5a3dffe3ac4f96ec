// Saving processes killed at random moments leave either the old or the new file, never a mix.
#include "KillLoop.h"
#include "model/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace varrow::model;
using varrow::test::contentOf;
using varrow::test::KillLoop;
using varrow::test::TempHome;

namespace {

QList<Profile> accounts(int count, const QString& note) {
    const QDateTime created = QDateTime::fromString("2025-03-14T09:26:53Z", Qt::ISODate);
    QList<Profile> list;
    for (int i = 0; i < count; ++i) {
        Profile p = ProfileStore::makeDefault();
        p.createdAt = created;  // whole seconds, as stored
        if (i == 0) {
            list.append(p);
            continue;
        }
        p.isDefault = false;
        p.name = QStringLiteral("Account %1").arg(i);
        p.note = note;
        p.folderName = ProfileStore::folderName(p.name);
        list.append(p);
    }
    return list;
}

}  // namespace

TEST(CrashSafety, AccountListIsAlwaysTheOldOrTheNewList) {
    TempHome home;
    // Large enough that writing it takes several system calls.
    const QList<Profile> a = accounts(3, "short"), b = accounts(60, QString(2000, u'n'));
    const QByteArray bytesA = ProfileStore::encodeList(a), bytesB = ProfileStore::encodeList(b);
    ProfileStore store(home.locations());
    store.setProfiles(a);
    ASSERT_TRUE(store.save());
    store.flush();

    int sawA = 0, sawB = 0;
    KillLoop loop;
    loop.maxDelayUs = KillLoop::spanOf([&] {
        store.save();
        store.flush();
    });
    const int caught = loop.run(
        [&](int, const std::function<void()>& ready) {
            ProfileStore writer(home.locations());
            // The first save after a fork is much slower (pages copied on write, more so under the
            // sanitizers), so the kills would all land in it and leave only the old list: start
            // the clock once one save is done, so they fall across saves of both lists.
            writer.setProfiles(b);
            writer.save();
            writer.flush();
            ready();
            for (bool flip = true;; flip = !flip) {
                writer.setProfiles(flip ? a : b);
                writer.save();
                writer.flush();
            }
        },
        [&](int round) {
            const auto content = contentOf(store.listFile());
            ASSERT_TRUE(content) << "round " << round << ": the list file is gone";
            if (*content == bytesA)
                ++sawA;
            else if (*content == bytesB)
                ++sawB;
            else
                FAIL() << "round " << round << ": a mixed list of " << content->size() << " bytes";
            EXPECT_TRUE(ProfileStore(home.locations()).profiles() == (*content == bytesA ? a : b));
        });
    EXPECT_GE(caught, loop.rounds * 9 / 10);
    // Both contents were seen, so the kills really landed between and during saves.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
}
