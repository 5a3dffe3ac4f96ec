#include "copies/AccountIcon.h"
#include "copies/Recolour.h"
#include "copies/RecolourReference.h"
#include "copies/TestIcons.h"
#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QFontInfo>
#include <QRandomGenerator>

using namespace varrow;
using copies::AccountIcon::badgeFont;
using copies::AccountIcon::iconSignature;
using copies::AccountIcon::recolouredBase;
using copies::AccountIcon::renderIcon;
using model::ProfileColor;
using test::copiesAccount;

namespace {

// Recolours one premultiplied pixel with the fast code and returns its four bytes.
std::array<int, 4> recoloured(std::array<uchar, 4> pixel, ProfileColor tint) {
    copies::recolourPremultipliedRgba(pixel.data(), 4, 1, 1, model::colors::rgb(tint));
    return {pixel[0], pixel[1], pixel[2], pixel[3]};
}

QImage solid(QColor colour, int pixels = 64) {
    QImage image(pixels, pixels, QImage::Format_RGBA8888_Premultiplied);
    image.fill(colour);
    return image;
}

}  // namespace

TEST(IconSignature, NamesColourAndInitials) {
    EXPECT_EQ(iconSignature(copiesAccount("Work", ProfileColor::Sky)), "v2|sky|W");
    EXPECT_EQ(iconSignature(copiesAccount("Work Play", ProfileColor::Teal)), "v2|teal|WP");
    EXPECT_TRUE(iconSignature(copiesAccount("  ", ProfileColor::Clay)).endsWith("|?"));
    // A rename that keeps the initials keeps the signature.
    EXPECT_EQ(iconSignature(copiesAccount("Wanda Pike", ProfileColor::Teal)),
              iconSignature(copiesAccount("Work Play", ProfileColor::Teal)));
}

TEST(Recolour, KnownPixels) {
    using Px = std::array<int, 4>;
    EXPECT_EQ(recoloured({0xD9, 0x77, 0x57, 255}, ProfileColor::Sky), (Px{0x4A, 0x8F, 0xE0, 255}));
    EXPECT_EQ(recoloured({255, 255, 255, 255}, ProfileColor::Sky), (Px{255, 255, 255, 255}));
    EXPECT_EQ(recoloured({0, 0, 0, 255}, ProfileColor::Sky), (Px{0, 0, 0, 255}));
    EXPECT_EQ(recoloured({0x80, 0x80, 0x80, 255}, ProfileColor::Sky), (Px{0x5F, 0x7E, 0xA2, 255}));
    EXPECT_EQ(recoloured({0xD9, 0x77, 0x57, 255}, ProfileColor::Clay), (Px{0xD9, 0x77, 0x57, 255}));
    // Premultiplied half-transparent clay keeps its alpha and premultiplied form.
    EXPECT_EQ(recoloured({108, 59, 43, 128}, ProfileColor::Sky), (Px{36, 71, 111, 128}));
    // Nearly transparent pixels are left alone.
    EXPECT_EQ(recoloured({1, 1, 0, 1}, ProfileColor::Sky), (Px{1, 1, 0, 1}));
    EXPECT_EQ(recoloured({0, 0, 0, 0}, ProfileColor::Sky), (Px{0, 0, 0, 0}));
}

TEST(Recolour, FastMatchesFormulaOnGradientsAndNoise) {
    for (ProfileColor tint : model::colors::allCases()) {
        QImage fast = test::gradientIcon(512);
        QImage reference = fast.copy();
        copies::recolour(fast, model::colors::rgb(tint));
        test::recolourReference(reference.bits(), reference.bytesPerLine(), reference.width(),
                                reference.height(), model::colors::rgb(tint));
        ASSERT_EQ(fast, reference) << model::colors::rawValue(tint).toStdString();
    }
    // Arbitrary bytes, including colour above alpha that premultiplied data should not hold.
    QImage noise(256, 256, QImage::Format_RGBA8888_Premultiplied);
    auto* words = reinterpret_cast<quint32*>(noise.bits());
    QRandomGenerator random(7);
    for (qsizetype i = 0; i < noise.sizeInBytes() / 4; ++i) words[i] = random.generate();
    QImage reference = noise.copy();
    copies::recolour(noise, 0x7B6CE0);
    test::recolourReference(reference.bits(), reference.bytesPerLine(), 256, 256, 0x7B6CE0);
    EXPECT_EQ(noise, reference);
}

TEST(RecolouredBase, DrawsTheSystemIconAndRecoloursIt) {
    platform::fake::FakePlatform platform;
    platform.desktopFiles.systemIcon = solid(QColor(0xD9, 0x77, 0x57));
    const auto base =
        recolouredBase(platform.desktopFiles, "/Applications/Claude.app", ProfileColor::Sky, 128);
    ASSERT_TRUE(base);
    EXPECT_EQ(base->format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(base->size(), QSize(128, 128));
    EXPECT_EQ(base->bytesPerLine(), 128 * 4);
    EXPECT_EQ(base->pixel(64, 64), qRgb(0x4A, 0x8F, 0xE0));
    EXPECT_FALSE(recolouredBase(platform.desktopFiles, "/Applications/Claude.app", ProfileColor::Sky, 0));
}

TEST(RenderIcon, BadgeSitsLowerRightWithShadowAndTintedText) {
    platform::fake::FakePlatform platform;
    platform.desktopFiles.systemIcon = solid(Qt::black);
    const auto icon = renderIcon(platform.desktopFiles, copiesAccount("Work", ProfileColor::Sky),
                                 "/Applications/Claude.app");
    ASSERT_TRUE(icon);
    ASSERT_EQ(icon->size(), QSize(1024, 1024));
    // Image rows grow downwards: the disc centre (764, 260 from the bottom) is row 764.
    EXPECT_EQ(icon->pixel(764, 764 - 170), qRgb(255, 255, 255));
    EXPECT_EQ(icon->pixel(600, 764), qRgb(255, 255, 255));
    EXPECT_NE(icon->pixel(764, 260), qRgb(255, 255, 255));
    // Just outside the disc edge (radius 200) it is not white.
    EXPECT_LT(qRed(icon->pixel(764 + 204, 764)), 40);
    EXPECT_LT(qRed(icon->pixel(764, 764 - 204)), 40);
    // The shadow falls below the disc, onto a black base it darkens nothing; check on a clear base.
    platform.desktopFiles.systemIcon = solid(Qt::transparent);
    const auto clear = renderIcon(platform.desktopFiles, copiesAccount("Work", ProfileColor::Sky), "/x");
    ASSERT_TRUE(clear);
    EXPECT_GT(qAlpha(clear->pixel(764, 764 + 212)), qAlpha(clear->pixel(764, 764 - 212)));
    EXPECT_EQ(qAlpha(clear->pixel(20, 20)), 0);

    // Text: the account colour at 75 %, opaque, around the centre.
    const QRgb ink = qRgb(int(0x4A * 0.75 + 0.5), int(0x8F * 0.75 + 0.5), int(0xE0 * 0.75 + 0.5));
    int inked = 0;
    for (int y = 664; y < 864; ++y)
        for (int x = 664; x < 864; ++x) {
            const QRgb p = icon->pixel(x, y);
            if (std::abs(qRed(p) - qRed(ink)) <= 1 && std::abs(qGreen(p) - qGreen(ink)) <= 1 &&
                std::abs(qBlue(p) - qBlue(ink)) <= 1)
                ++inked;
        }
    EXPECT_GT(inked, 2000);
}

TEST(BadgeFont, SizeByUtf16LengthAndHeavyRoundedFace) {
    EXPECT_EQ(badgeFont("W").pixelSize(), 210);
    EXPECT_EQ(badgeFont("WP").pixelSize(), 165);
    EXPECT_EQ(badgeFont(QString::fromUtf8("\xF0\x9F\x98\x80")).pixelSize(),
              165);  // one emoji, two UTF-16 units
    if (!QFile::exists("/usr/share/fonts/truetype/quicksand/Quicksand-Bold.ttf"))
        GTEST_SKIP() << "fonts-quicksand is not installed";
    // Asking for a weight the family lacks silently gives a lighter face: check what is used.
    const QFontInfo info(badgeFont("W"));
    EXPECT_EQ(info.family(), "Quicksand");
    EXPECT_EQ(info.styleName(), "Bold");
}
