#include "ui/UiFixture.h"

#include "switcher/SwitcherModel.h"
#include "switcher/SwitcherView.h"
#include "ui/Render.h"

#include <QSet>

namespace varrow::switcher {
namespace {

using ui::test::UiTest;

class SwitcherRenderTest : public UiTest, public ::testing::WithParamInterface<bool> {};

// The three looks over a window-coloured backdrop, light and dark, into the renders folder.
TEST_P(SwitcherRenderTest, writesTheThreeLooks) {
    const bool dark = GetParam();
    ui::render::useAppearance(dark);
    auto work = addAccount("Work", model::ProfileColor::Sky);
    addAccount("Personal", model::ProfileColor::Sage);
    addAccount("Client — Northwind", model::ProfileColor::Plum);
    controller();
    start(defaultAccount());
    fake.processes.setFrontmost(start(work));
    settle();

    const QString dir = ui::test::renderDir();
    const std::tuple<SwitcherStyle, bool, const char*> looks[] = {
        {SwitcherStyle::Edge, false, "switcher-edge"},
        {SwitcherStyle::Edge, true, "switcher-edge-expanded"},
        {SwitcherStyle::Floating, false, "switcher-floating"},
    };
    for (const auto& [style, expanded, name] : looks) {
        SwitcherModel model(style, expanded);
        // A stand-in for the Claude window behind the panel.
        QWidget backdrop;
        backdrop.setAutoFillBackground(true);
        backdrop.setBackgroundRole(QPalette::Base);
        auto* view = new SwitcherView(&model, store.get(), &controller(), &backdrop);
        view->move(24, 24);
        const QImage image = ui::render::grab(&backdrop, view->sizeHint() + QSize(48, 48));
        EXPECT_EQ(image.size(), (view->sizeHint() + QSize(48, 48)) * 2);
        const QString path = dir + "/" + name + (dark ? "-dark" : "-light") + ".png";
        EXPECT_TRUE(ui::render::savePng(image, path));
        // Something was drawn where the view sits.
        QSet<QRgb> colours;
        const QImage area = image.copy(QRect(QPoint(48, 48), view->size() * 2));
        for (int y = 0; y < area.height(); y += 3)
            for (int x = 0; x < area.width(); x += 3) colours.insert(area.pixel(x, y));
        EXPECT_GT(colours.size(), 20) << name;
    }
    ui::render::useAppearance(false);
}

INSTANTIATE_TEST_SUITE_P(Appearance, SwitcherRenderTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "dark" : "light"; });

}  // namespace
}  // namespace varrow::switcher
