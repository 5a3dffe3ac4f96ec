#include "ui/SettingsView.h"

#include "model/Defaults.h"
#include "platform/DesktopShortcuts.h"
#include "platform/DisplaySession.h"
#include "platform/LoginItems.h"
#include "platform/WindowServer.h"
#include "ui/DisplayText.h"
#include "ui/SegmentedControl.h"
#include "ui/Theme.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

namespace varrow::ui {

namespace {

QLabel* secondaryLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    label->setFont(theme::callout());
    theme::setTone(label, theme::Tone::Secondary);
    return label;
}

// A check box whose label is a title with a quieter line under it.
QWidget* checkRow(QCheckBox* box, const QString& detail, QLabel** detailLabel = nullptr) {
    auto* row = new QWidget;
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    box->setFont(theme::font(13));
    layout->addWidget(box);
    auto* sub = secondaryLabel(detail);
    // Line the detail up with the box's text, not with the box.
    sub->setContentsMargins(box->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                                box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing),
                            0, 0, 0);
    layout->addWidget(sub);
    if (detailLabel) *detailLabel = sub;
    return row;
}

}  // namespace

// What the cycle key does here: a grab that works only in Claude, the desktop's own shortcut that
// works everywhere, or nothing Varrow can grab at all (a native Claude with no desktop shortcuts).
QString SettingsView::cycleHelp() const {
    // Where the shell holds the key for Varrow only while Claude is in front (GNOME's extension),
    // it works as the grab does.
    const bool nativeClaude = platform::display_session::isWayland() &&
                              !model::Defaults::shared().startClaudeThroughXwayland() &&
                              !windowServer_.switchesNativeWindows();
    if (!nativeClaude)
        return tr("Only while you're in Claude. %1 goes backwards.").arg(words_.cycleBackKey());
    if (shortcuts_ && shortcuts_->isAvailable())
        return tr("Your desktop keeps %1 for Varrow in every app; outside Claude it does nothing. "
                  "%2 goes backwards. Change either in your desktop's shortcut settings.")
            .arg(words_.cycleKey(), words_.cycleBackKey());
    return tr(
        "Claude opens natively, where Varrow can't catch keys: bind “varrow cycle” and "
        "“varrow cycle --back” to keys in your desktop's settings.");
}

const QStringList& SettingsView::styleValues() {
    static const QStringList values{QStringLiteral("edge"), QStringLiteral("floating"),
                                    QStringLiteral("off")};
    return values;
}

QString SettingsView::description(const QString& stored, const DesktopWords& words) {
    if (stored == u"floating") return tr("A small bar that floats over Claude. Drag it wherever you like.");
    if (stored == u"edge")
        return tr("A slim tab on the right edge of the screen. Point at it to pick an account.");
    return tr("No switcher. Use the tray menu or %1 instead.").arg(words.cycleKey());
}

SettingsView::SettingsView(platform::WindowServer& windowServer, platform::LoginItems& loginItems,
                           platform::DesktopShortcuts* shortcuts, bool launchAtLogin,
                           std::function<void(const QString&)> onError, DesktopWords words, QWidget* parent)
    : QWidget(parent),
      windowServer_(windowServer),
      loginItems_(loginItems),
      shortcuts_(shortcuts),
      onError_(std::move(onError)),
      words_(std::move(words)),
      launchAtLogin_(launchAtLogin) {
    setFixedWidth(340);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 18, 18, 18);
    layout->setSpacing(16);

    auto* section = new QVBoxLayout;
    section->setSpacing(6);
    auto* title = new QLabel(tr("Switcher while you're in Claude"));
    title->setFont(theme::headline());
    section->addWidget(title);
    picker_ = new SegmentedControl({tr("Pull-out tab"), tr("Floating bar"), tr("Off", "no switcher")});
    picker_->setAccessibleName(title->text());
    section->addWidget(picker_);
    description_ = secondaryLabel(QString());
    section->addWidget(description_);
    layout->addLayout(section);

    cycle_ = new QCheckBox(tr("%1 switches between open accounts").arg(words_.cycleKey()));
    layout->addWidget(checkRow(cycle_, QString(), &cycleHelp_));  // worded by syncFromDefaults
    if (shortcuts_)
        connect(shortcuts_, &platform::DesktopShortcuts::availabilityChanged, this,
                &SettingsView::syncFromDefaults);
    links_ = new QCheckBox(tr("Send sign-in links to the account that asked"));
    layout->addWidget(checkRow(links_, tr("When you sign in through the browser, the link goes back to the "
                                          "account you were signing in to.")));
    // Only a Wayland desktop has the choice; elsewhere Claude always runs under X11.
    if (platform::display_session::isWayland()) {
        xwayland_ = new QCheckBox(tr("Open Claude through Xwayland so switching works"));
        // Where the compositor lists native windows, Varrow reaches them too; only the key needs X11.
        const QString help =
            windowServer_.seesNativeWindows()
                ? tr("Lets %1 switch accounts while Claude is in front. Without it Claude's text stays sharp "
                     "and "
                     "Varrow still brings accounts forward; %1 becomes your desktop's own shortcut where it "
                     "offers them (KDE Plasma), else bind “varrow cycle” to a key in your desktop's "
                     "settings. "
                     "Applies when an account next opens.")
                      .arg(words_.cycleKey())
                : tr("Lets Varrow bring accounts forward and %1 switch them on this desktop. Text in Claude "
                     "can "
                     "look less sharp at fractional scaling. Applies when an account next opens.")
                      .arg(words_.cycleKey());
        xwaylandRow_ = checkRow(xwayland_, help);
        layout->addWidget(xwaylandRow_);
        connect(xwayland_, &QCheckBox::toggled, this, [](bool on) {
            model::Defaults::shared().setValue(model::Defaults::kStartClaudeThroughXwayland, on);
        });
    }
    sleep_ = new QCheckBox(tr("Let idle accounts sleep"));
    layout->addWidget(checkRow(sleep_, tr("An account left in the background with next to nothing to do "
                                          "quits to free its memory. It stays listed as asleep and "
                                          "opens again as usual.")));
    sleepHours_ = new QSpinBox;
    sleepHours_->setRange(1, 72);
    //: The idle time after which an account sleeps, e.g. "after 4 hours".
    sleepHours_->setPrefix(tr("after "));
    sleepHours_->setSuffix(tr(" hours"));
    sleepHours_->setAccessibleName(tr("Hours before an idle account sleeps"));
    layout->addWidget(sleepHours_, 0, Qt::AlignLeft);
    connect(sleep_, &QCheckBox::toggled, this,
            [](bool on) { model::Defaults::shared().setValue(model::Defaults::kSleepIdleAccounts, on); });
    connect(sleepHours_, &QSpinBox::valueChanged, this, [](int hours) {
        model::Defaults::shared().setValue(model::Defaults::kSleepAfterSeconds, hours * 3600);
    });
    login_ = new QCheckBox(tr("Open at login"));
    layout->addWidget(checkRow(
        login_, tr("Keeps the switcher and %1 ready. Runs quietly in the tray.").arg(words_.cycleKey())));
    login_->setChecked(launchAtLogin_);

    connect(picker_, &SegmentedControl::activated, this, [](int index) {
        model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, styleValues().value(index));
    });
    connect(cycle_, &QCheckBox::toggled, this,
            [](bool on) { model::Defaults::shared().setValue(model::Defaults::kCycleHotKeyEnabled, on); });
    connect(links_, &QCheckBox::toggled, this,
            [](bool on) { model::Defaults::shared().setValue(model::Defaults::kSendSignInLinks, on); });
    connect(login_, &QCheckBox::toggled, this, &SettingsView::loginToggled);
    connect(&model::Defaults::shared(), &model::Defaults::changed, this, &SettingsView::syncFromDefaults);
    syncFromDefaults();
}

void SettingsView::syncFromDefaults() {
    const QString stored = model::Defaults::shared().switcherStyle();
    picker_->setSelectedIndex(int(styleValues().indexOf(stored)));
    description_->setText(description(stored, words_));
    const QSignalBlocker block(cycle_);
    cycle_->setChecked(model::Defaults::shared().cycleHotKeyEnabled());
    cycleHelp_->setText(cycleHelp());
    const QSignalBlocker blockLinks(links_);
    links_->setChecked(model::Defaults::shared().sendSignInLinks());
    const QSignalBlocker blockSleep(sleep_);
    sleep_->setChecked(model::Defaults::shared().flag(model::Defaults::kSleepIdleAccounts));
    const QSignalBlocker blockHours(sleepHours_);
    const int seconds = model::Defaults::shared().value(model::Defaults::kSleepAfterSeconds).toInt();
    sleepHours_->setValue((seconds + 1800) / 3600);
    sleepHours_->setEnabled(sleep_->isChecked());
    if (xwayland_) {
        const QSignalBlocker blockXwayland(xwayland_);
        xwayland_->setChecked(model::Defaults::shared().startClaudeThroughXwayland());
        // Claude opens natively whatever the choice where switching reaches native windows.
        xwaylandRow_->setVisible(!windowServer_.switchesNativeWindows());
    }
}

void SettingsView::loginToggled(bool wanted) {
    const Result<> done = loginItems_.set(wanted);
    if (done) {
        launchAtLogin_ = wanted;
        emit launchAtLoginChanged(wanted);
        return;
    }
    if (onError_) onError_(tr("Couldn't change “Open at login”: %1").arg(done.failure().text()));
    // Show the real state again; that is not a new request.
    launchAtLogin_ = loginItems_.isEnabled();
    const QSignalBlocker block(login_);
    login_->setChecked(launchAtLogin_);
    emit launchAtLoginChanged(launchAtLogin_);
}

void SettingsView::changeEvent(QEvent* event) {
    // Colours made from the palette follow a new one (light to dark and back).
    if (event->type() == QEvent::PaletteChange) theme::applyTones(this);
    QWidget::changeEvent(event);
}

}  // namespace varrow::ui
