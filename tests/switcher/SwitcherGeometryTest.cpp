#include "switcher/LeftRoundedShape.h"
#include "switcher/SwitcherGeometry.h"
#include "switcher/SwitcherStyle.h"

#include <gtest/gtest.h>
#include <cmath>

namespace varrow::switcher {
namespace {

// A 1440 x 900 screen with a 25-point bar at the top, in y-up terms: visible (0, 0, 1440, 875).
const QRect kFull(0, 0, 1440, 900);
const QRect kVisible(0, 25, 1440, 875);

// The y-up formulas as written in the design, turned into a Qt top edge for comparison.
qreal qtTopFromYUp(qreal yUp, qreal height) {
    return kFull.height() - (yUp + height);
}

TEST(SwitcherGeometry, edgeTabSitsFlushRightWithItsTop22PercentDown) {
    const QSize size(22, 120);
    const QRect frame = geometry::edgeFrame(kVisible, size);
    // y-up: x = V.maxX − w; y = V.maxY − 0.22 × V.height − h with V = (0, 0, 1440, 875).
    const qreal yUp = 875 - 0.22 * 875 - size.height();
    EXPECT_EQ(frame.x(), 1440 - 22);
    EXPECT_EQ(frame.y(), qRound(qtTopFromYUp(yUp, size.height())));
    EXPECT_EQ(frame.y(), 218);  // 25 + 192.5
    EXPECT_EQ(frame.size(), size);
}

TEST(SwitcherGeometry, edgeTabFollowsASecondScreenOffset) {
    const QRect visible(1440, 0, 1920, 1050);
    const QRect frame = geometry::edgeFrame(visible, QSize(230, 300));
    EXPECT_EQ(frame.right() + 1, 1440 + 1920);
    EXPECT_EQ(frame.y(), qRound(0.22 * 1050));
}

TEST(SwitcherGeometry, floatingBarDefaultsToCentredTenBelowTheVisibleTop) {
    const QRect frame = geometry::floatingFrame(kVisible, kFull, QSize(200, 42), std::nullopt);
    // y-up: top = V.maxY − 10 = 865, y = 865 − 42.
    EXPECT_EQ(frame.x(), 620);
    EXPECT_EQ(frame.y(), qRound(qtTopFromYUp(865 - 42, 42)));
    EXPECT_EQ(frame.y(), 35);
}

TEST(SwitcherGeometry, floatingBarUsesTheStoredTopLeftWhenOnScreen) {
    const QRect frame = geometry::floatingFrame(kVisible, kFull, QSize(200, 42), QPointF(300, 400));
    EXPECT_EQ(frame.topLeft(), QPoint(300, 400));
    EXPECT_EQ(geometry::storedOrigin(frame), QPointF(300, 400));
}

TEST(SwitcherGeometry, offScreenOriginsLandOnTheNearestPlaceInsideTheFullFrame) {
    const QSize size(200, 42);
    EXPECT_EQ(geometry::floatingFrame(kVisible, kFull, size, QPointF(5000, -300)).topLeft(), QPoint(1240, 0));
    EXPECT_EQ(geometry::floatingFrame(kVisible, kFull, size, QPointF(-80, 2000)).topLeft(), QPoint(0, 858));
    // The full frame, not the visible one: the bar may cover the top bar.
    EXPECT_EQ(geometry::floatingFrame(kVisible, kFull, size, QPointF(10, 3)).topLeft(), QPoint(10, 3));
    // Absurd numbers are clamped too.
    EXPECT_EQ(geometry::floatingFrame(kVisible, kFull, size, QPointF(1e300, -1e300)).topLeft(),
              QPoint(1240, 0));
}

TEST(SwitcherGeometry, unreadableOriginsFallBackToTheDefaultPlace) {
    const QRect expected = geometry::floatingFrame(kVisible, kFull, QSize(200, 42), std::nullopt);
    EXPECT_EQ(geometry::floatingFrame(kVisible, kFull, QSize(200, 42), QPointF(std::nan(""), 10)), expected);
    EXPECT_EQ(geometry::floatingFrame(kVisible, kFull, QSize(200, 42), QPointF(INFINITY, 10)), expected);
}

TEST(SwitcherGeometry, aBarWiderThanTheScreenKeepsItsRightEdgeOnIt) {
    const QRect frame = geometry::floatingFrame(kVisible, kFull, QSize(2000, 42), QPointF(100, 100));
    EXPECT_EQ(frame.x(), 1440 - 2000);
}

TEST(LeftRoundedShape, isRoundedOnTheLeftAndSquareOnTheRight) {
    const QRectF r(0, 0, 22, 100);
    const QPainterPath path = leftRoundedShape(r, 12);
    ASSERT_GE(path.elementCount(), 7);
    EXPECT_EQ(QPointF(path.elementAt(0)), QPointF(22, 0));
    EXPECT_EQ(QPointF(path.elementAt(1)), QPointF(12, 0));
    // Right corners are square, left corners cut by the curve.
    EXPECT_TRUE(path.contains(QPointF(21.5, 0.5)));
    EXPECT_TRUE(path.contains(QPointF(21.5, 99.5)));
    EXPECT_FALSE(path.contains(QPointF(0.5, 0.5)));
    EXPECT_FALSE(path.contains(QPointF(0.5, 99.5)));
    EXPECT_TRUE(path.contains(QPointF(0.5, 50)));
    EXPECT_EQ(path.boundingRect(), r);
}

TEST(SwitcherStyle, readsOnlyTheThreeRawValuesAndTreatsAnythingElseAsEdge) {
    EXPECT_EQ(styles::fromRawValue("floating"), SwitcherStyle::Floating);
    EXPECT_EQ(styles::fromRawValue("Floating"), std::nullopt);
    EXPECT_EQ(styles::fromStored("off"), SwitcherStyle::Off);
    EXPECT_EQ(styles::fromStored("sideways"), SwitcherStyle::Edge);
    EXPECT_EQ(styles::fromStored(""), SwitcherStyle::Edge);
    EXPECT_EQ(styles::label(SwitcherStyle::Edge), "Pull-out tab");
    EXPECT_EQ(styles::label(SwitcherStyle::Floating), "Floating bar");
}

}  // namespace
}  // namespace varrow::switcher
