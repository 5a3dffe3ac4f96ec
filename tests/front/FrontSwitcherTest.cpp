#include "front/FrontSwitcher.h"

#include "platform/Timings.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace varrow::front {
namespace {

using platform::AppHandle;

class FrontSwitcherTest : public ::testing::Test {
protected:
    FrontSwitcherTest() : oldState_(qgetenv("XDG_STATE_HOME")) {
        qputenv("XDG_STATE_HOME", home.file("state").toUtf8());
        Timings::setScaleForTests(0.02);
        target = fake.processes.addApplication("com.anthropic.claudefordesktop", "/Apps/Claude Work.app",
                                               "Claude Work");
        other = fake.processes.addApplication("org.example.editor", "/usr/share/Editor.app", "Editor");
    }
    ~FrontSwitcherTest() override {
        Timings::setScaleForTests(1.0);
        qputenv("XDG_STATE_HOME", oldState_);
    }

    // The messages of the switch log, timestamps checked and stripped.
    QStringList messages() const {
        static const QRegularExpression line(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ (.*)$"));
        QStringList out;
        const QString text = QString::fromUtf8(test::readFile(FrontSwitcher::logPath()));
        for (const QString& raw : text.split(u'\n', Qt::SkipEmptyParts)) {
            const auto match = line.match(raw);
            EXPECT_TRUE(match.hasMatch()) << raw.toStdString();
            out.append(match.captured(1));
        }
        return out;
    }
    bool waitForLines(int count) {
        return test::waitUntil([&] { return messages().size() >= count; }, 3000);
    }
    // Long enough for every timer of a chain to have fired at the test scale.
    void settle() {
        test::waitUntil([] { return false; }, 100);
    }

    test::TempHome home;
    platform::fake::FakePlatform fake;
    AppHandle target;
    AppHandle other;
    QByteArray oldState_;
};

TEST_F(FrontSwitcherTest, HandOverWhileActiveIsCheckedAndLoggedOnce) {
    fake.processes.setSelfActive(true);
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Work");
    ASSERT_TRUE(waitForLines(1));
    settle();
    EXPECT_EQ(messages(), QStringList{"Work: ok via hand-over"});
    EXPECT_EQ(fake.processes.handedOver, QList<AppHandle>{target});
    EXPECT_TRUE(fake.windowServer.frontRequests.isEmpty());
}

TEST_F(FrontSwitcherTest, WithoutBeingActiveTheChainStartsAtTheWindowServer) {
    fake.processes.setFrontmost(other);
    fake.windowServer.onMakeFrontmost = [&](pid_t) { fake.processes.setFrontmost(target); };
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Work");
    ASSERT_TRUE(waitForLines(1));
    settle();
    EXPECT_EQ(messages(), QStringList{"Work: ok via window-server"});
    EXPECT_TRUE(fake.processes.handedOver.isEmpty());
    EXPECT_EQ(fake.windowServer.frontRequests, QList<pid_t>{target->processIdentifier()});
}

// A compositor that takes commands is asked before the window server, which it may ignore (sway
// only marks the window urgent); when its command does not take, the chain goes on as before.
TEST_F(FrontSwitcherTest, WhereTheCompositorTakesCommandsItIsAskedFirst) {
    fake.processes.setFrontmost(other);
    QList<pid_t> asked;
    fake.windowServer.onCompositorFocus = [&](pid_t pid) {
        asked.append(pid);
        fake.processes.setFrontmost(target);
    };
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Work");
    ASSERT_TRUE(waitForLines(1));
    settle();
    EXPECT_EQ(messages(), QStringList{"Work: ok via compositor"});
    EXPECT_EQ(asked, QList<pid_t>{target->processIdentifier()});
    EXPECT_TRUE(fake.windowServer.frontRequests.isEmpty());

    fake.processes.setFrontmost(other);
    fake.windowServer.onCompositorFocus = [](pid_t) {};
    fake.windowServer.onMakeFrontmost = [&](pid_t) { fake.processes.setFrontmost(target); };
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Work");
    ASSERT_TRUE(waitForLines(3));
    settle();
    EXPECT_EQ(messages().mid(1), (QStringList{"Work: compositor didn't take (front: Editor), trying next",
                                              "Work: ok via window-server"}));
}

TEST_F(FrontSwitcherTest, EveryStrategyFailingWritesFourLinesEndingInFailed) {
    fake.processes.setSelfActive(true);
    fake.windowServer.available = false;
    fake.processes.removeApplication(target);  // quits during the chain: nothing can bring it forward
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Work");
    ASSERT_TRUE(waitForLines(4));
    settle();
    EXPECT_EQ(messages(), (QStringList{"Work: hand-over didn't take (front: Varrow), trying next",
                                       "Work: window-server call unavailable",
                                       "Work: window-server didn't take (front: Varrow), trying next",
                                       "Work: FAILED, front is Varrow"}));
    EXPECT_EQ(fake.processes.selfActivations, 1);
}

TEST_F(FrontSwitcherTest, ActivationHandsOverExactlyOnceWhenVarrowBecomesActive) {
    fake.processes.setFrontmost(other);
    fake.windowServer.available = false;
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Work");
    ASSERT_TRUE(waitForLines(3));
    settle();  // the fallback timer has fired by now as well
    EXPECT_EQ(messages(), (QStringList{"Work: window-server call unavailable",
                                       "Work: window-server didn't take (front: Editor), trying next",
                                       "Work: ok via activate-then-hand-over"}));
    EXPECT_EQ(fake.processes.handedOver, QList<AppHandle>{target});
}

TEST_F(FrontSwitcherTest, ActivationWithoutNoticeHandsOverAtTheFallbackOnce) {
    fake.processes.setFrontmost(other);
    fake.windowServer.available = false;
    fake.processes.blockSignals(true);  // the became-active notice never arrives
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Work");
    ASSERT_TRUE(waitForLines(3));
    settle();
    fake.processes.blockSignals(false);
    emit fake.processes.selfCameToFront();  // a late notice finds no observer
    settle();
    EXPECT_EQ(messages().last(), "Work: ok via activate-then-hand-over");
    EXPECT_EQ(fake.processes.handedOver, QList<AppHandle>{target});
}

TEST_F(FrontSwitcherTest, NoFrontmostApplicationIsShownAsDash) {
    fake.processes.setFrontmost(nullptr);
    FrontSwitcher(fake.windowServer, fake.processes).bringToFront(target, "Claude");
    ASSERT_TRUE(waitForLines(1));
    EXPECT_EQ(messages().first(), "Claude: window-server didn't take (front: -), trying next");
}

TEST_F(FrontSwitcherTest, LogCreatesFolderAndFileThenAppends) {
    const QString path = FrontSwitcher::logPath();
    EXPECT_EQ(path, home.file("state/Varrow/switch.log"));
    EXPECT_EQ(FrontSwitcher::logURL(), QUrl::fromLocalFile(path));
    ASSERT_FALSE(QFileInfo::exists(QFileInfo(path).absolutePath()));
    FrontSwitcher::log("log opened");
    FrontSwitcher::log("Wörk: 100% ok");
    EXPECT_EQ(messages(), (QStringList{"log opened", "Wörk: 100% ok"}));
    EXPECT_TRUE(test::readFile(path).endsWith("ok\n"));

    // Full: the log moves aside whole, replacing the older one, and starts again with the line.
    const QByteArray full(FrontSwitcher::kLogLimit - 10, 'x');
    test::writeFile(path, full);
    test::writeFile(path + ".1", "older");
    FrontSwitcher::log("Work: ok via compositor");
    EXPECT_EQ(test::readFile(path + ".1"), full);
    EXPECT_EQ(messages(), QStringList{"Work: ok via compositor"});
}

}  // namespace
}  // namespace varrow::front
