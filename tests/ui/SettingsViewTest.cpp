#include "UiFixture.h"

#include "ui/HelpView.h"
#include "ui/SegmentedControl.h"
#include "ui/SettingsView.h"

#include <QCheckBox>
#include <QLabel>
#include <QTest>

namespace varrow::ui::test {
namespace {

class SettingsViewTest : public UiTest {};

TEST_F(SettingsViewTest, withNothingStoredThePullOutTabIsChosen) {
    SettingsView view(fake.windowServer, fake.loginItems, &fake.desktopShortcuts, false, {});
    EXPECT_EQ(view.stylePicker()->selectedIndex(), 0);
    EXPECT_EQ(view.descriptionLabel()->text(),
              "A slim tab on the right edge of the screen. Point at it to pick an account.");
    EXPECT_TRUE(view.cycleBox()->isChecked());
    EXPECT_EQ(view.cycleBox()->text(), "Ctrl+` switches between open accounts");
}

TEST_F(SettingsViewTest, anUnknownStoredStyleSelectsNothingAndDescribesOff) {
    model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, "sideways");
    SettingsView view(fake.windowServer, fake.loginItems, &fake.desktopShortcuts, false, {});
    EXPECT_EQ(view.stylePicker()->selectedIndex(), -1);
    EXPECT_EQ(view.descriptionLabel()->text(), "No switcher. Use the tray menu or Ctrl+` instead.");
}

TEST_F(SettingsViewTest, choicesAreStoredInTheDefaults) {
    SettingsView view(fake.windowServer, fake.loginItems, &fake.desktopShortcuts, false, {});
    view.show();
    view.stylePicker()->click(2);
    EXPECT_EQ(model::Defaults::shared().switcherStyle(), "off");
    view.stylePicker()->click(1);
    EXPECT_EQ(model::Defaults::shared().switcherStyle(), "floating");
    EXPECT_EQ(view.descriptionLabel()->text(),
              "A small bar that floats over Claude. Drag it wherever you like.");
    QTest::mouseClick(view.cycleBox(), Qt::LeftButton);
    EXPECT_FALSE(model::Defaults::shared().cycleHotKeyEnabled());
    // A change made elsewhere (the tray menu) shows here too.
    model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, "edge");
    EXPECT_EQ(view.stylePicker()->selectedIndex(), 0);
}

TEST_F(SettingsViewTest, withANativeClaudeTheCycleHelpSaysWhereTheKeyWorks) {
    qputenv("XDG_SESSION_TYPE", "wayland");
    model::Defaults::shared().setValue(model::Defaults::kStartClaudeThroughXwayland, false);
    fake.desktopShortcuts.available = false;
    SettingsView view(fake.windowServer, fake.loginItems, &fake.desktopShortcuts, false, {});
    const QString help = view.cycleHelpLabel()->text();
    EXPECT_TRUE(help.contains("“varrow cycle”")) << help.toStdString();

    fake.desktopShortcuts.available = true;
    emit fake.desktopShortcuts.availabilityChanged();
    EXPECT_TRUE(view.cycleHelpLabel()->text().contains("in every app; outside Claude it does nothing"));

    model::Defaults::shared().setValue(model::Defaults::kStartClaudeThroughXwayland, true);
    EXPECT_EQ(view.cycleHelpLabel()->text().toStdString(),
              "Only while you're in Claude. Shift+Ctrl+` goes backwards.");
    qunsetenv("XDG_SESSION_TYPE");
}

TEST_F(SettingsViewTest, openAtLoginRegistersThroughTheLoginItems) {
    SettingsView view(fake.windowServer, fake.loginItems, &fake.desktopShortcuts, false, {});
    view.show();
    QTest::mouseClick(view.loginBox(), Qt::LeftButton, {}, QPoint(6, view.loginBox()->height() / 2));
    EXPECT_TRUE(fake.loginItems.enabled);
    EXPECT_TRUE(view.launchAtLogin());
}

TEST_F(SettingsViewTest, aFailedLoginChangeReportsAndShowsTheRealState) {
    fake.loginItems.failure = "The autostart folder is read-only.";
    QStringList errors;
    SettingsView view(fake.windowServer, fake.loginItems, &fake.desktopShortcuts, false,
                      [&](const QString& m) { errors.append(m); });
    view.show();
    bool reported = true;
    QObject::connect(&view, &SettingsView::launchAtLoginChanged, [&](bool on) { reported = on; });
    QTest::mouseClick(view.loginBox(), Qt::LeftButton, {}, QPoint(6, view.loginBox()->height() / 2));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Couldn't change “Open at login”: The autostart folder is read-only.");
    EXPECT_FALSE(view.loginBox()->isChecked());
    EXPECT_FALSE(reported);
    EXPECT_EQ(fake.loginItems.setCalls, 1);  // putting the box back is no new request
}

TEST(HelpView, showsTheSixRowsInOrderWithDesktopKeyNames) {
    const DesktopWords words{platform::PinnedApps::Kind::Favourites, [] { return QStringLiteral("^"); }};
    const auto rows = HelpView::rows(words);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0].first, "hand.tap");
    EXPECT_EQ(rows[5].first, "pin");
    EXPECT_EQ(
        rows[4].second,
        "While you're in Claude, Ctrl+^ jumps to the next open account. The switcher tab on the screen edge "
        "works too.");
    // No row about pinning where the desktop keeps no list Varrow knows.
    EXPECT_EQ(HelpView::rows({platform::PinnedApps::Kind::None, {}}).size(), 5);
    HelpView view(words);
    QStringList texts;
    for (QLabel* label : view.findChildren<QLabel*>()) texts.append(label->text());
    EXPECT_TRUE(texts.contains("How it works"));
    EXPECT_TRUE(texts.contains(rows[3].second));
}

}  // namespace
}  // namespace varrow::ui::test
