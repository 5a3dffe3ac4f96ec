#include "UiFixture.h"

#include "ui/AccountsView.h"
#include "ui/HelpView.h"
#include "ui/ProfileEditor.h"
#include "ui/Render.h"
#include "ui/SettingsView.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QPainter>

#include <QDir>
#include <QLineEdit>

namespace varrow::ui::test {

namespace {

// Share of pixels that differ from the first one: a blank picture has none.
double variety(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    qint64 differ = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) differ += image.pixel(x, y) != first;
    return double(differ) / ((image.width() / 2) * (image.height() / 2));
}

}  // namespace

class RenderTest : public UiTest, public ::testing::WithParamInterface<bool> {
protected:
    // The default account plus three, two open, one opening; Work in front.
    void realisticSetup() {
        auto work = addAccount("Work", model::ProfileColor::Sky, "ann@acme.example");
        auto personal = addAccount("Personal", model::ProfileColor::Sage);
        auto client = addAccount("Client — Northwind", model::ProfileColor::Plum);
        controller();
        start(defaultAccount());
        auto app = start(work);
        fake.processes.setFrontmost(app);
        controller().refresh();
        holdPrepare = true;
        controller().open(personal);
        Q_UNUSED(client);
        settle();
    }
    void save(const QImage& image, const QString& name) {
        const QString path = renderDir() + "/" + name + (GetParam() ? "-dark" : "-light") + ".png";
        EXPECT_TRUE(render::savePng(image, path)) << path.toStdString();
        EXPECT_GT(variety(image), 0.05) << name.toStdString();
    }
};

TEST_P(RenderTest, accountsWindowAndSheets) {
    render::useAppearance(GetParam());
    realisticSetup();
    AccountsView view(store.get(), &controller(), fake.services());
    save(render::grab(&view, QSize(560, 520)), "accounts");
    save(render::grab(&view, QSize(820, 520)), "accounts-wide");
    // Enough accounts to scroll at the narrowest width: two columns, the scroller over the padding.
    for (int i = 1; i <= 8; ++i) addAccount(QString("Team %1").arg(i), model::colors::allCases().at(i % 8));
    settle();
    save(render::grab(&view, QSize(520, 440)), "accounts-scrolling");

    ProfileEditor editor(std::nullopt, {});
    editor.nameField()->setText("Research");
    save(render::grab(&editor), "editor-new");
    ProfileEditor edit(store->profiles()[1], {});
    save(render::grab(&edit), "editor-edit");

    SettingsView settings(fake.windowServer, fake.loginItems, &fake.desktopShortcuts, true, {});
    save(render::grab(&settings), "settings");
    HelpView help({platform::PinnedApps::Kind::Favourites, {}});
    save(render::grab(&help), "help");

    // Made under one palette and given the other afterwards, as a window may be.
    render::useAppearance(!GetParam());
    AccountsView later(store.get(), &controller(), fake.services());
    later.setPalette(GetParam() ? theme::darkPalette() : theme::lightPalette());
    save(render::grab(&later, QSize(560, 520)), "accounts-repainted");
    render::useAppearance(GetParam());

    controller().setLastError(QStringLiteral("Couldn't open Work: the copy could not be made."));
    fake.installations.registered.clear();
    QDir(claudePath).removeRecursively();
    controller().locateClaude();
    settle();
    save(render::grab(&view, QSize(560, 520)), "accounts-banners");
    render::useAppearance(false);
}

TEST_P(RenderTest, symbolSheet) {
    render::useAppearance(GetParam());
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
    QImage sheet(names.size() * 40 * 2, 40 * 2, QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(2);
    sheet.fill(QApplication::palette().color(QPalette::Window));
    QPainter painter(&sheet);
    for (int i = 0; i < names.size(); ++i)
        symbols::paint(painter, QRectF(i * 40 + 8, 8, 24, 24), names[i],
                       QApplication::palette().color(QPalette::WindowText));
    painter.end();
    save(sheet, "symbols");
    render::useAppearance(false);
}

INSTANTIATE_TEST_SUITE_P(Appearance, RenderTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "dark" : "light"; });

}  // namespace varrow::ui::test
