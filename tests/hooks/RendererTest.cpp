#include "hooks/Renderer.h"

#include "claude/ClaudeController.h"
#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "platform/Timings.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QSignalSpy>

using namespace varrow;
using hooks::Renderer;

namespace {

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override {
        Timings::setScaleForTests(0.02);
        model::Defaults::useFileForTests(home.file("defaults.ini"));
        store = std::make_unique<model::ProfileStore>(home.locations());
        QList<model::Profile> list = store->profiles();
        for (const QString& name : {QStringLiteral("Work"), QStringLiteral("Side Project")}) {
            model::Profile p;
            p.id = QUuid::createUuid();
            p.name = name;
            p.color = model::ProfileColor::Iris;
            p.folderName = name;
            p.createdAt = QDateTime::currentDateTimeUtc();
            list.append(p);
        }
        store->setProfiles(list);
        claude = std::make_unique<claude::ClaudeController>(store.get(), platform.services());
        QDir().mkpath(home.file("out"));
    }
    void TearDown() override {
        claude.reset();
        model::Defaults::useFileForTests({});
        Timings::setScaleForTests(1.0);
    }

    QStringList render(Renderer::Request request) {
        Renderer* renderer =
            Renderer::start(store.get(), claude.get(), platform.services(), std::move(request), false);
        QSignalSpy finished(renderer, &Renderer::finished);
        EXPECT_TRUE(test::waitUntil([&] { return finished.count() == 1; }, 10000));
        return finished.isEmpty() ? QStringList() : finished.at(0).at(0).toStringList();
    }

    static bool hasDetail(const QImage& image) {
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
        return colours.size() > 4;
    }
    static double brightness(const QImage& image) {
        double sum = 0;
        for (int y = 0; y < image.height(); y += 4)
            for (int x = 0; x < image.width(); x += 4) sum += qGray(image.pixel(x, y));
        return sum / ((image.height() / 4) * (image.width() / 4));
    }

    test::TempHome home;
    platform::fake::FakePlatform platform;
    std::unique_ptr<model::ProfileStore> store;
    std::unique_ptr<claude::ClaudeController> claude;
};

TEST_F(RendererTest, WritesTheWindowTheThreeLooksAndTheReport) {
    const QString shot = home.file("out/shot.png");
    const QString report = home.file("out/report.txt");
    const QStringList written = render({shot, false, report, {}, {}});

    const QStringList expected{shot, home.file("out/shot-switcher-edge.png"),
                               home.file("out/shot-switcher-edge-open.png"),
                               home.file("out/shot-switcher-floating.png"), report};
    EXPECT_EQ(written, expected);

    const QImage window(shot);
    EXPECT_EQ(window.size() / window.devicePixelRatio(), QSize(560, 520));
    EXPECT_TRUE(hasDetail(window));
    QSize edge, open;
    for (const QString& path : written.mid(1, 3)) {
        const QImage look(path);
        ASSERT_FALSE(look.isNull()) << path.toStdString();
        EXPECT_TRUE(hasDetail(look)) << path.toStdString();
        // The padding shows the light backdrop grey.
        EXPECT_EQ(QColor(look.pixel(2, 2)).red(), 237) << path.toStdString();
    }
    EXPECT_NE(QImage(written.at(1)).size(), QImage(written.at(2)).size());  // the open tab is wider
    EXPECT_EQ(QString::fromUtf8(test::readFile(report)),
              "My Claude: running=false app=- path=-\n"
              "Work: running=false app=- path=-\n"
              "Side Project: running=false app=- path=-");
}

TEST_F(RendererTest, DrawsTheTrayMenuItIsHandedBesideTheWindow) {
    const QString shot = home.file("out/shot.png");
    const QStringList written = render({shot, false, std::nullopt, {}, [] {
                                            auto* menu = new QMenu;
                                            menu->addAction(QStringLiteral("Manage Accounts…"));
                                            return menu;
                                        }});
    ASSERT_GE(written.size(), 2);
    EXPECT_EQ(written.at(1), home.file("out/shot-menu.png"));
    EXPECT_TRUE(hasDetail(QImage(written.at(1))));
}

TEST_F(RendererTest, DarkUsesADarkPaletteAndBackdrop) {
    render({home.file("out/light.png"), false, std::nullopt, {}, {}});
    render({home.file("out/dark.png"), true, std::nullopt, {}, {}});
    EXPECT_LT(brightness(QImage(home.file("out/dark.png"))) + 60,
              brightness(QImage(home.file("out/light.png"))));
    EXPECT_EQ(QColor(QImage(home.file("out/dark-switcher-floating.png")).pixel(2, 2)).red(), 41);
}

TEST_F(RendererTest, UnwritableFoldersLoseOnlyTheirFilesAndTheRunStillEnds) {
    const QString report = home.file("out/report.txt");
    EXPECT_EQ(render({home.file("missing/shot.png"), false, report, {}, {}}), QStringList{report});

    // A file where a folder should be stops every write, whoever runs the test.
    test::writeFile(home.file("blocked"), "not a folder");
    EXPECT_EQ(render({home.file("blocked/shot.png"), false, home.file("blocked/report.txt"), {}, {}}),
              QStringList());
    EXPECT_EQ(test::readFile(home.file("blocked")), "not a folder");
}

}  // namespace
