#include "system/CycleHotKey.h"

#include "model/Defaults.h"
#include "platform/DesktopShortcuts.h"
#include "platform/GlobalHotKeys.h"
#include "platform/Timings.h"
#include "platform/WindowServer.h"

#include <QTimer>

namespace varrow::system {

using platform::DesktopShortcuts;
using platform::GlobalHotKeys;

namespace {

// A switch counts as in progress until Claude's front changes or this long has passed: the first
// strategy, its check and the hand-over fallback all fit in it.
std::chrono::milliseconds switchWindow() {
    return Timings::frontCheck() + Timings::handOverFallback();
}

}  // namespace

CycleHotKey::CycleHotKey(GlobalHotKeys& hotKeys, DesktopShortcuts* shortcuts,
                         platform::WindowServer& windowServer, Target target, QObject* parent)
    : QObject(parent),
      hotKeys_(&hotKeys),
      shortcuts_(shortcuts),
      windowServer_(windowServer),
      target_(std::move(target)) {
    connect(&hotKeys, &GlobalHotKeys::pressed, this, &CycleHotKey::pressed);
    if (shortcuts) {
        connect(shortcuts, &DesktopShortcuts::activated, this, [this](const QString& id) {
            if (id == kNextShortcut)
                trigger(false);
            else if (id == kPreviousShortcut)
                trigger(true);
        });
        connect(shortcuts, &DesktopShortcuts::availabilityChanged, this, &CycleHotKey::reevaluate);
    }
    connect(&model::Defaults::shared(), &model::Defaults::changed, this, &CycleHotKey::reevaluate);
    reevaluate();
}

CycleHotKey::~CycleHotKey() {
    if (hotKeys_) setRegistered(false);
    if (shortcuts_) setBound(false);
}

bool CycleHotKey::isSwitching() const {
    return switchStarted_.isValid() && switchStarted_.elapsed() < switchWindow().count();
}

void CycleHotKey::frontChanged() {
    switchStarted_.invalidate();
    reevaluate();
}

void CycleHotKey::reevaluate() {
    const bool front = target_.owner && target_.claudeIsFront && target_.claudeIsFront();
    const bool enabled = model::Defaults::shared().cycleHotKeyEnabled();
    setRegistered(front && enabled);
    // A native Claude window keeps the keys from Xwayland's grab; the desktop's own shortcuts
    // reach this program wherever the focus is, so they stay bound while the key is on.
    setBound(
        enabled && shortcuts_ &&
        (!model::Defaults::shared().startClaudeThroughXwayland() || windowServer_.switchesNativeWindows()));
}

void CycleHotKey::setBound(bool on) {
    if (on == bound_) return;
    bound_ = on;
    if (!on) {
        shortcuts_->bind({});
        return;
    }
    shortcuts_->bind({
        {QString::fromLatin1(kNextShortcut), tr("Switch to the next Claude account"), kKey,
         Qt::ControlModifier},
        {QString::fromLatin1(kPreviousShortcut), tr("Switch to the previous Claude account"), kKey,
         Qt::ControlModifier | Qt::ShiftModifier},
    });
}

void CycleHotKey::setRegistered(bool on) {
    if (on) {
        if (!refs_.isEmpty()) return;
        registerKey(kNextId, Qt::ControlModifier);
        registerKey(kPreviousId, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        if (refs_.isEmpty()) return;
        for (quint64 ref : std::as_const(refs_)) hotKeys_->unregisterHotKey(ref);
        refs_.clear();
    }
}

void CycleHotKey::registerKey(quint32 id, Qt::KeyboardModifiers modifiers) {
    // A key another application holds is skipped without a word; the other may still work.
    if (auto ref = hotKeys_->registerHotKey(kSignature, id, kKey, modifiers)) refs_.append(*ref);
}

void CycleHotKey::pressed(quint32 signature, quint32 id) {
    if (signature != kSignature) return;
    startSwitch(id == kPreviousId);
}

void CycleHotKey::trigger(bool backwards) {
    if (!target_.owner || !target_.claudeIsFront || !target_.claudeIsFront()) return;
    startSwitch(backwards);
}

void CycleHotKey::startSwitch(bool backwards) {
    // Key repeat or a quick double press would start a second switch that computes its target
    // from the old front and fights the first; drop presses until the first one lands.
    if (isSwitching()) return;
    switchStarted_.start();
    QTimer::singleShot(0, this, [this, backwards] {
        if (target_.owner && target_.cycle) target_.cycle(backwards);
    });
}

}  // namespace varrow::system
