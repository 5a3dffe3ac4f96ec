#include "ui/UiFixture.h"

#include "switcher/EdgeTab.h"
#include "switcher/FloatingBar.h"
#include "switcher/SwitcherController.h"
#include "switcher/SwitcherGeometry.h"
#include "switcher/SwitcherPanel.h"
#include "switcher/SwitcherRow.h"
#include "switcher/SwitcherView.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>

namespace varrow::switcher {
namespace {

using model::Profile;
using platform::AppHandle;
using ui::test::UiTest;
using varrow::test::waitUntil;

class SwitcherTest : public UiTest {
protected:
    // Two accounts besides the default one; Work runs and is in front.
    void SetUp() override {
        work = addAccount("Work", model::ProfileColor::Sky);
        personal = addAccount("Personal", model::ProfileColor::Sage);
        controller();
        workApp = start(work);
    }
    void bringClaudeToFront() {
        fake.processes.setFrontmost(workApp);
        settle();
    }
    std::unique_ptr<SwitcherController> makeSwitcher() {
        auto s = std::make_unique<SwitcherController>(store.get(), &controller(), fake.processes,
                                                      fake.windowServer);
        settle();
        return s;
    }
    QScreen* screen() const { return QGuiApplication::primaryScreen(); }

    Profile work, personal;
    AppHandle workApp;
};

TEST_F(SwitcherTest, showsOnlyWhileClaudeIsInFrontWithMoreThanOneAccount) {
    auto switcher = makeSwitcher();
    EXPECT_FALSE(switcher->panel()->isVisible());
    bringClaudeToFront();
    EXPECT_TRUE(switcher->shouldShow());
    EXPECT_TRUE(switcher->panel()->isVisible());
    EXPECT_EQ(fake.windowServer.overlays, QList<QWindow*>{switcher->panel()->windowHandle()});

    // Style off hides it; back to edge shows it again.
    model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, "off");
    EXPECT_FALSE(switcher->panel()->isVisible());
    model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, "nonsense");
    EXPECT_EQ(switcher->model()->style(), SwitcherStyle::Edge);
    EXPECT_TRUE(switcher->panel()->isVisible());

    // Another application in front.
    auto other = fake.processes.addApplication("org.example.editor", "/opt/Editor.app", "Editor");
    fake.processes.setFrontmost(other);
    settle();
    EXPECT_FALSE(switcher->panel()->isVisible());
    EXPECT_FALSE(switcher->model()->expanded());
}

// Where the desktop gives the shown panel the focus, Varrow is in front: the panel stays rather
// than hiding, handing the focus back and showing again.
TEST_F(SwitcherTest, thePanelHoldingTheFocusDoesNotHideIt) {
    auto switcher = makeSwitcher();
    bringClaudeToFront();
    ASSERT_TRUE(switcher->panel()->isVisible());
    switcher->panel()->windowHandle()->requestActivate();
    ASSERT_TRUE(waitUntil([&] { return switcher->panel()->windowHandle()->isActive(); }));
    fake.processes.setSelfActive(true);
    settle();
    EXPECT_TRUE(switcher->panel()->isVisible());

    // Another of Varrow's windows in front hides it, as ever.
    bringClaudeToFront();
    QWidget accounts;
    accounts.show();
    accounts.activateWindow();
    ASSERT_TRUE(waitUntil([&] { return accounts.isActiveWindow(); }));
    fake.processes.setSelfActive(true);
    settle();
    EXPECT_FALSE(switcher->panel()->isVisible());
}

TEST_F(SwitcherTest, hidesWithASingleAccount) {
    auto switcher = makeSwitcher();
    bringClaudeToFront();
    ASSERT_TRUE(switcher->panel()->isVisible());
    store->setProfiles({defaultAccount()});
    settle();
    EXPECT_FALSE(switcher->panel()->isVisible());
}

TEST_F(SwitcherTest, theEdgeTabIsPlacedByTheEdgeRuleAtItsNaturalSize) {
    auto switcher = makeSwitcher();
    bringClaudeToFront();
    const QSize natural = switcher->view()->sizeHint();
    EXPECT_EQ(switcher->panel()->geometry(), geometry::edgeFrame(screen()->availableGeometry(), natural));
    EXPECT_FALSE(switcher->panel()->isMovableByBackground());
    // Three accounts, Work current: 11 + 8 + 8 + 2 × 7 + 22, plus a point above and below.
    EXPECT_EQ(natural, QSize(22, 11 + 8 + 8 + 14 + 22 + 2));
}

TEST_F(SwitcherTest, hoverExpandsAndCollapsesOnlyAfterThePointerStaysOut) {
    auto switcher = makeSwitcher();
    bringClaudeToFront();
    switcher->hover(true);
    settle();
    EXPECT_TRUE(switcher->model()->expanded());
    EXPECT_EQ(switcher->panel()->width(), EdgeTab::kExpandedWidth);

    // Out and back in before the collapse delay: still open well after it.
    switcher->hover(false);
    switcher->hover(true);
    settle(int(Timings::edgeCollapse().count()) * 3);
    EXPECT_TRUE(switcher->model()->expanded());

    switcher->hover(false);
    EXPECT_TRUE(switcher->model()->expanded());
    EXPECT_TRUE(waitUntil([&] { return !switcher->model()->expanded(); }, 2000));
    settle();
    EXPECT_EQ(switcher->panel()->width(), EdgeTab::kCollapsedWidth);
}

TEST_F(SwitcherTest, floatingBarIsCentredThenRemembersWhereItWasMoved) {
    model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, "floating");
    auto switcher = makeSwitcher();
    bringClaudeToFront();
    const QRect avail = screen()->availableGeometry();
    const QRect frame = switcher->panel()->geometry();
    EXPECT_EQ(frame.y(), avail.y() + 10);
    EXPECT_NEAR(frame.center().x(), avail.center().x(), 1);
    EXPECT_TRUE(switcher->panel()->isMovableByBackground());

    // Hover means nothing to the bar.
    switcher->hover(true);
    settle();
    EXPECT_FALSE(switcher->model()->expanded());

    switcher->panel()->move(100, 200);
    settle();
    EXPECT_EQ(model::Defaults::shared().switcherFloatingOrigin(), QPointF(100, 200));
}

TEST_F(SwitcherTest, aGarbageOrFarAwayStoredOriginStillPutsTheBarOnScreen) {
    model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, "floating");
    model::Defaults::shared().setValue(model::Defaults::kSwitcherFloatingOrigin, "{not, a point}");
    auto switcher = makeSwitcher();
    bringClaudeToFront();
    EXPECT_TRUE(screen()->geometry().contains(switcher->panel()->geometry()));

    model::Defaults::shared().setValue(model::Defaults::kSwitcherFloatingOrigin, "{99999, -4000}");
    switcher->layout();
    EXPECT_TRUE(screen()->geometry().contains(switcher->panel()->geometry()));
}

TEST_F(SwitcherTest, collapsedDotsShowCurrentAndRunningState) {
    SwitcherModel model;
    bringClaudeToFront();
    SwitcherView view(&model, store.get(), &controller());
    const auto dots = view.edgeTab()->dots();
    ASSERT_EQ(dots.size(), 3);
    // Default (not running), Work (current, running), Personal (not running).
    EXPECT_EQ(dots[0].rect.width(), 8);
    EXPECT_EQ(dots[0].ringOpacity, 0);
    EXPECT_DOUBLE_EQ(dots[0].opacity, 0.35);
    EXPECT_EQ(dots[1].rect.width(), 11);
    EXPECT_DOUBLE_EQ(dots[1].ringOpacity, 0.9);
    EXPECT_DOUBLE_EQ(dots[1].opacity, 1.0);
    EXPECT_DOUBLE_EQ(dots[2].opacity, 0.35);
    EXPECT_EQ(dots[1].rect.top(), dots[0].rect.bottom() + 7);
}

TEST_F(SwitcherTest, expandedRowsMarkCurrentAndRunningAndAPickOpensAndCollapses) {
    auto defaultApp = start(defaultAccount());
    bringClaudeToFront();
    SwitcherModel model(SwitcherStyle::Edge, true);
    SwitcherView view(&model, store.get(), &controller());
    const auto rows = view.edgeTab()->rows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows[0]->isRunning());
    EXPECT_FALSE(rows[0]->isCurrent());
    EXPECT_TRUE(rows[1]->isCurrent());
    EXPECT_TRUE(rows[1]->isRunning());
    EXPECT_FALSE(rows[2]->isRunning());

    holdPrepare = true;
    QTest::mouseClick(rows[2], Qt::LeftButton);
    EXPECT_TRUE(controller().opening().contains(personal.id));
    EXPECT_FALSE(model.expanded());
    settle();  // the clicked row goes away safely
    EXPECT_TRUE(view.edgeTab()->rows().isEmpty());
}

TEST_F(SwitcherTest, floatingBarListsEveryAccountButTheCurrentOne) {
    SwitcherModel model(SwitcherStyle::Floating);
    SwitcherView view(&model, store.get(), &controller());
    // Nothing in front: no current group, every account a button.
    EXPECT_FALSE(view.floatingBar()->currentProfile());
    EXPECT_EQ(view.floatingBar()->buttons().size(), 3);

    bringClaudeToFront();
    ASSERT_TRUE(view.floatingBar()->currentProfile());
    EXPECT_EQ(view.floatingBar()->currentProfile()->id, work.id);
    const auto buttons = view.floatingBar()->buttons();
    ASSERT_EQ(buttons.size(), 2);
    for (auto* b : buttons) EXPECT_NE(b->profile().id, work.id);
    EXPECT_EQ(buttons[1]->toolTip(), "Personal");
    EXPECT_EQ(view.sizeHint().height(), 42);

    holdPrepare = true;
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_TRUE(controller().opening().contains(personal.id));
}

TEST_F(SwitcherTest, awkwardNamesStayOnOneElidedLine) {
    Profile p = work;
    p.name = QString("Line one\nline two / with: colons ") + QString(60, u'x');
    store->update(p);
    bringClaudeToFront();
    SwitcherModel model(SwitcherStyle::Edge, true);
    SwitcherView view(&model, store.get(), &controller());
    const QString row = view.edgeTab()->rows()[1]->displayedName();
    EXPECT_FALSE(row.contains(u'\n'));
    EXPECT_TRUE(row.endsWith(u'…'));
    model.setStyle(SwitcherStyle::Floating);
    const QString bar = view.floatingBar()->displayedName();
    EXPECT_FALSE(bar.contains(u'\n'));
    EXPECT_TRUE(bar.endsWith(u'…'));
    EXPECT_LE(view.sizeHint().width(),
              4 + 8 + 22 + 7 + FloatingBar::kMaxNameWidth + 2 + 8 + 1 + 8 + 22 * 2 + 8 * 2 + 8 + 4);
}

}  // namespace
}  // namespace varrow::switcher
