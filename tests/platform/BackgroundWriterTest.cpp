#include "platform/AtomicFile.h"
#include "platform/BackgroundWriter.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <mutex>

using varrow::platform::BackgroundWriter;

namespace {
QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
}  // namespace

TEST(BackgroundWriter, LastWriteOfEachFileLandsAndFailuresKeepTheirReason) {
    QTemporaryDir dir;
    std::mutex mutex;
    QStringList failures;
    const QString list = dir.filePath("list.json"), other = dir.filePath("other.json");
    const QString unwritable = dir.filePath("no-such-folder/file");
    {
        BackgroundWriter writer([&](const QString& path, const QString& reason) {
            std::lock_guard lock(mutex);
            failures.append(path + ": " + reason);
        });
        for (int i = 0; i < 50; ++i) writer.write(list, QByteArray::number(i));
        writer.write(unwritable, "x");
        writer.write(other, "one");
        writer.flush();
        EXPECT_EQ(contentOf(list), "49");
        EXPECT_EQ(contentOf(other), "one");
        {
            std::lock_guard lock(mutex);
            ASSERT_EQ(failures.size(), 1);
            EXPECT_TRUE(failures.first().startsWith(unwritable + ": ")) << failures.first().toStdString();
            EXPECT_GT(failures.first().size(), unwritable.size() + 2);
        }
        // What is asked just before the end still lands.
        writer.write(other, "two");
    }
    EXPECT_EQ(contentOf(other), "two");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(ReplaceWithoutSync, ReplacesALinkInsteadOfWritingThroughIt) {
    QTemporaryDir dir;
    const QString users = dir.filePath("users-file"), entry = dir.filePath("entry.desktop");
    QFile file(users);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the user's");
    file.close();
    ASSERT_TRUE(QFile::link(users, entry));

    QString error;
    ASSERT_TRUE(varrow::platform::replaceWithoutSync(entry, "[Desktop Entry]\n", &error))
        << error.toStdString();
    EXPECT_FALSE(QFileInfo(entry).isSymLink());
    EXPECT_EQ(contentOf(entry), "[Desktop Entry]\n");
    EXPECT_EQ(contentOf(users), "the user's");
    EXPECT_TRUE(QFileInfo(entry).permissions() & QFileDevice::ReadOther);
    // Nothing half-made stays beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    EXPECT_FALSE(varrow::platform::replaceWithoutSync(dir.filePath("gone/entry"), "x", &error));
    EXPECT_FALSE(error.isEmpty());
}
