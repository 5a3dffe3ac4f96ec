#include "hardening/SourceScan.h"

#include <gtest/gtest.h>

// Views and controllers get the platform's services from whoever builds them. Only start-up
// (src/app/) and the platform itself look them up, so a part never reaches for a service its
// builder did not give it, and its tests need no global state.
TEST(ServicesHandedIn, OnlyStartUpLooksThePlatformUp) {
    const QStringList found = varrow::test::sourceLinesMatching(
        QRegularExpression(R"(\bPlatform::\w+\s*\(|"platform/Platform\.h")"), [](const QString& relative) {
            return relative.startsWith("src/app/") || relative.startsWith("src/platform/");
        });
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}
