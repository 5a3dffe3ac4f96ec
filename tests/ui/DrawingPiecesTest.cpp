#include "model/Profile.h"
#include "support/TestSupport.h"
#include "ui/AppGlyph.h"
#include "ui/Avatar.h"
#include "ui/CardGrid.h"
#include "ui/DisplayText.h"
#include "ui/PressableStyle.h"
#include "ui/Symbols.h"

#include <gtest/gtest.h>
#include <QPushButton>
#include <QTest>

namespace varrow::ui {
namespace {

using platform::PinnedApps;

TEST(Avatar, splitsAtSpacesOnlyUnlikeTheProfileRule) {
    model::Profile p;
    p.name = "anne-marie smith";
    EXPECT_EQ(Avatar::initialsFor(p.name), "AS");
    EXPECT_EQ(p.initials(), "AM");
    EXPECT_EQ(Avatar::initialsFor("Work"), "W");
    EXPECT_EQ(Avatar::initialsFor(""), "?");
    EXPECT_EQ(Avatar::initialsFor("    "), "?");
    EXPECT_EQ(Avatar::initialsFor("élan  vital extra"), "ÉV");
    // A flag is one character, not two halves.
    EXPECT_EQ(Avatar::initialsFor("🇬🇧 team"), "🇬🇧T");

    Avatar preview("anne-marie smith", model::ProfileColor::Sky, 72);
    EXPECT_EQ(preview.initials(), "AS");
    EXPECT_EQ(preview.size(), QSize(72, 72));
    Avatar card("x", "AM", model::ProfileColor::Sky, 52);
    EXPECT_EQ(card.initials(), "AM");
}

TEST(Avatar, drawsAFilledDiscWithTransparentCorners) {
    QImage image(52, 52, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Avatar::paint(painter, QRectF(0, 0, 52, 52), "W", model::ProfileColor::Teal);
    painter.end();
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0);
    EXPECT_GT(qAlpha(image.pixel(8, 26)), 200);  // the gradient starts at 0.85
}

TEST(AppGlyph, fitsASquareCentredInWhatItIsOffered) {
    EXPECT_EQ(AppGlyph::squareIn(QRectF(0, 0, 60, 44)), QRectF(8, 0, 44, 44));
    const QPixmap pm = AppGlyph::pixmap(64);
    const QImage image = pm.toImage();
    EXPECT_EQ(image.size(), QSize(64, 64));
    // Dark background near the top edge, the clay disc low in the middle.
    const QColor top = image.pixelColor(32, 3);
    EXPECT_LT(top.lightness(), 60);
    const QColor clay = image.pixelColor(32, 32 + int(0.12 * 64));
    EXPECT_GT(clay.red(), clay.blue() + 60);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);  // rounded corner
    // The icon paints the same mark at whatever size is asked, when it is asked.
    const QIcon icon = AppGlyph::icon();
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
    EXPECT_EQ(icon.pixmap(64).toImage().convertToFormat(image.format()), image);
}

TEST(PressableStyle, shrinksWhilePressedAndSpringsBack) {
    QPushButton button("x");
    PressableStyle style(&button);
    QTest::mousePress(&button, Qt::LeftButton);
    EXPECT_TRUE(test::waitUntil([&] { return qFuzzyCompare(style.scale(), 0.98); }, 1000));
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_LT(style.scale(), 1.0);  // not at once: it eases back
    EXPECT_TRUE(test::waitUntil([&] { return qFuzzyCompare(style.scale(), 1.0); }, 1000));
}

TEST(DisplayText, wordsKeysAndThePinnedListAsThisDesktopNamesThem) {
    const DesktopWords plasma{PinnedApps::Kind::TaskManager, [] { return QStringLiteral("^"); }};
    EXPECT_EQ(plasma.cycleKey(), "Ctrl+^");
    EXPECT_EQ(plasma.cycleBackKey(), "Shift+Ctrl+^");
    EXPECT_EQ(DesktopWords().cycleKey(), "Ctrl+`");
    // Pinning is worded as the desktop words it, and not offered where nothing would read the pin.
    const DesktopWords favourites{PinnedApps::Kind::Favourites, {}};
    const DesktopWords none{PinnedApps::Kind::None, {}};
    EXPECT_TRUE(plasma.iconsShownIn().endsWith("in the task manager and Alt+Tab."));
    EXPECT_TRUE(favourites.iconsShownIn().endsWith("in the dash and Alt+Tab."));
    EXPECT_TRUE(none.iconsShownIn().endsWith("in the taskbar and Alt+Tab."));
    EXPECT_EQ(plasma.keepTitle("Claude Work"), "Pin “Claude Work” to Task Manager");
    EXPECT_EQ(favourites.keepTitle("Claude Work"), "Add “Claude Work” to Favorites");
    EXPECT_EQ(none.keepTitle("Claude Work"), std::nullopt);
    EXPECT_TRUE(
        favourites.pinHint()->startsWith("Want an account in your favourites? "
                                         "Right-click it here and choose Add to Favorites."));
    EXPECT_EQ(none.pinHint(), std::nullopt);
    EXPECT_EQ(singleLine("a\nb\tc\u2028d"), "a b c d");
    EXPECT_EQ(elided(QString(300, u'w'), QFont(), 80).back(), u'…');
}

TEST(Symbols, everyNameUsedHasAThemeNameAndADrawing) {
    const QStringList names{"person.2.circle",
                            "gearshape",
                            "plus",
                            "questionmark.circle",
                            "checkmark",
                            "exclamationmark.triangle.fill",
                            "arrow.down.circle.fill",
                            "info.circle",
                            "hand.tap",
                            "rectangle.on.rectangle",
                            "person.badge.key",
                            "paintpalette",
                            "command",
                            "pin"};
    for (const QString& name : names) {
        EXPECT_FALSE(symbols::themeName(name).isEmpty()) << name.toStdString();
        const QImage image = symbols::pixmap(name, 24, Qt::black, 1.0).toImage();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 128;
        EXPECT_GT(inked, 12) << name.toStdString();
        EXPECT_FALSE(symbols::icon(name, Qt::black).isNull()) << name.toStdString();
    }
}

TEST(CardGrid, addsAColumnForEvery244Points) {
    EXPECT_EQ(CardGrid::columnsFor(520), 2);  // 480 inside: 2 × 230 + 14 = 474 fits
    EXPECT_EQ(CardGrid::columnsFor(513), 1);
    EXPECT_EQ(CardGrid::columnsFor(514), 2);
    EXPECT_EQ(CardGrid::columnsFor(757), 2);
    EXPECT_EQ(CardGrid::columnsFor(758), 3);
    EXPECT_EQ(CardGrid::columnsFor(1002), 4);
    EXPECT_EQ(CardGrid::columnsFor(100), 1);

    CardGrid grid;
    QList<QWidget*> cells;
    for (int i = 0; i < 5; ++i) cells.append(new QWidget);
    grid.setCells(cells, 12);
    grid.resize(560, 600);
    grid.show();
    QCoreApplication::processEvents();
    // Two equal columns 14 apart inside the 20-point padding; the fifth card starts row three.
    EXPECT_EQ(grid.cardRect(0), QRect(20, 20, 253, 92));
    EXPECT_EQ(grid.cardRect(1).left(), 20 + 253 + 14);
    EXPECT_EQ(grid.cardRect(1).right() + 1, 540);
    EXPECT_EQ(grid.cardRect(4).top(), 20 + 2 * (92 + 14));
    EXPECT_EQ(cells[0]->geometry(), QRect(8, 8, 253 + 24, 92 + 24));
    EXPECT_EQ(grid.heightForWidth(560), 40 + 3 * 92 + 2 * 14);
}

}  // namespace
}  // namespace varrow::ui
