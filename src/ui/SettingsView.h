#pragma once

#include "ui/DisplayText.h"

#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QSpinBox;

namespace varrow::platform {
class DesktopShortcuts;
class LoginItems;
class WindowServer;
}  // namespace varrow::platform

namespace varrow::ui {

class SegmentedControl;

// The settings popover: which switcher shows over Claude, whether Ctrl+` cycles accounts, whether
// sign-in links go to the account that asked, whether Claude opens through Xwayland (Wayland
// desktops only), whether idle accounts sleep and after how many hours, and whether Varrow opens
// at login. The defaults are
// read and written directly; the login state belongs to the accounts window and comes back
// through launchAtLoginChanged.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    // Segment raw values in picker order.
    static const QStringList& styleValues();
    static QString description(const QString& storedStyle, const DesktopWords& words);

    // shortcuts: null where the desktop holds none for Varrow.
    SettingsView(platform::WindowServer& windowServer, platform::LoginItems& loginItems,
                 platform::DesktopShortcuts* shortcuts, bool launchAtLogin,
                 std::function<void(const QString&)> onError, DesktopWords words = {},
                 QWidget* parent = nullptr);

    SegmentedControl* stylePicker() const { return picker_; }
    QLabel* descriptionLabel() const { return description_; }
    QCheckBox* cycleBox() const { return cycle_; }
    QCheckBox* loginBox() const { return login_; }
    QCheckBox* linksBox() const { return links_; }
    // Null unless the session is Wayland.
    QCheckBox* xwaylandBox() const { return xwayland_; }
    QLabel* cycleHelpLabel() const { return cycleHelp_; }
    QCheckBox* sleepBox() const { return sleep_; }
    QSpinBox* sleepHoursBox() const { return sleepHours_; }
    bool launchAtLogin() const { return launchAtLogin_; }

signals:
    void launchAtLoginChanged(bool enabled);

protected:
    void changeEvent(QEvent* event) override;

private:
    void syncFromDefaults();
    void loginToggled(bool wanted);
    QString cycleHelp() const;

    platform::WindowServer& windowServer_;
    platform::LoginItems& loginItems_;
    platform::DesktopShortcuts* shortcuts_;
    std::function<void(const QString&)> onError_;
    DesktopWords words_;
    bool launchAtLogin_;
    SegmentedControl* picker_;
    QLabel* description_;
    QLabel* cycleHelp_ = nullptr;
    QCheckBox* cycle_;
    QCheckBox* login_;
    QCheckBox* links_;
    QCheckBox* xwayland_ = nullptr;
    QWidget* xwaylandRow_ = nullptr;
    QCheckBox* sleep_;
    QSpinBox* sleepHours_;
};

}  // namespace varrow::ui
