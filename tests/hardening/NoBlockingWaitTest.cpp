#include "hardening/SourceScan.h"

#include <gtest/gtest.h>

// The UI thread never waits on a child process, a helper tool or a settle loop: such a wait is a
// frozen window and a deaf single-instance socket. Waiting is allowed only where no event loop
// runs (the command-line client, a second start handing its request over, the copy on a worker
// thread).
TEST(NoBlockingWait, OnlyCodeOffTheUiThreadWaits) {
    const QStringList allowed{
        "src/app/CommandLine.cpp",           // the `varrow` client process: it has no window
        "src/app/SingleInstance.cpp",        // send(): the client, or a second start before its loop
        "src/platform/ApplicationCopy.cpp",  // run by AppCloner through QtConcurrent
        // Start-up, before the socket is served, and exit: whether KWin takes scripts. Activation
        // is asynchronous.
        "src/platform/kde/KWinWindowServer.cpp",
    };
    const QRegularExpression waits(
        R"(\bwaitFor(Finished|Started|ReadyRead|BytesWritten|Connected)\b|\b[um]?sleep\s*\(|QThread::\w*sleep|)"
        R"(\bwaitForNewConnection\b|QEventLoop\b|QDBus::Block\b)");
    const QStringList found = varrow::test::sourceLinesMatching(waits, [&](const QString& relative) {
        return allowed.contains(relative) || relative.startsWith("src/platform/macos/");
    });
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}
