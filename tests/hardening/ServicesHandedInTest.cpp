#include <gtest/gtest.h>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

// Views and controllers get the platform's services from whoever builds them. Only start-up
// (src/app/) and the platform itself look them up, so a part never reaches for a service its
// builder did not give it, and its tests need no global state.
TEST(ServicesHandedIn, OnlyStartUpLooksThePlatformUp) {
    const QRegularExpression lookup(R"(\bPlatform::\w+\s*\(|"platform/Platform\.h")");
    QStringList found;
    QDirIterator files(QStringLiteral(VARROW_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        const QString relative = path.mid(QStringLiteral(VARROW_SOURCE_DIR).size() + 1);
        if (relative.startsWith("src/app/") || relative.startsWith("src/platform/")) continue;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        int line = 0;
        for (const QByteArray& text : file.readAll().split('\n')) {
            ++line;
            const QString code = QString::fromUtf8(text).section(QStringLiteral("//"), 0, 0);
            if (lookup.match(code).hasMatch())
                found.append(relative + ':' + QString::number(line) + ": " + code.trimmed());
        }
    }
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}
