#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

namespace varrow::platform {
class DesktopShortcuts;
class GlobalHotKeys;
class WindowServer;
}  // namespace varrow::platform

namespace varrow::system {

// Ctrl+` (next account) and Ctrl+Shift+` (previous account), registered only while a Claude
// copy is in front and the user has not switched them off. Where Claude opens as a native Wayland
// client, the desktop's own shortcuts carry them too, bound for as long as they are switched on: a
// press with no Claude in front then does nothing.
//
// The controller lives in a layer above this one, so it is reached through two functions; the
// shell connects the controller's front changes to frontChanged().
class CycleHotKey : public QObject {
    Q_OBJECT
public:
    static constexpr quint32 kSignature = ('V' << 24) | ('R' << 16) | ('R' << 8) | 'W';
    static constexpr quint32 kNextId = 1;
    static constexpr quint32 kPreviousId = 2;
    // The key left of 1, whatever the layout prints on it.
    static constexpr Qt::Key kKey = Qt::Key_QuoteLeft;
    // Their names among the desktop's shortcuts, kept from one start to the next.
    static constexpr const char* kNextShortcut = "next-account";
    static constexpr const char* kPreviousShortcut = "previous-account";

    struct Target {
        QPointer<QObject> owner;  // the controller; presses after it is gone do nothing
        std::function<bool()> claudeIsFront;
        std::function<void(bool backwards)> cycle;
    };

    // shortcuts: null where the desktop holds none for Varrow.
    CycleHotKey(platform::GlobalHotKeys& hotKeys, platform::DesktopShortcuts* shortcuts,
                platform::WindowServer& windowServer, Target target, QObject* parent = nullptr);
    ~CycleHotKey() override;

    bool isRegistered() const { return !refs_.isEmpty(); }
    // Whether a press now would be dropped because the previous switch has not landed yet.
    bool isSwitching() const;

public slots:
    // Claude's front state changed: a pending switch has landed; re-evaluate the registration.
    void frontChanged();
    // Re-reads the conditions and registers or unregisters both keys.
    void reevaluate();
    // What a press does, asked for from elsewhere (the command line): nothing unless Claude is in
    // front, and nothing while the previous switch is still landing.
    void trigger(bool backwards);

private:
    void setRegistered(bool on);
    void setBound(bool on);
    void registerKey(quint32 id, Qt::KeyboardModifiers modifiers);
    void pressed(quint32 signature, quint32 id);
    void startSwitch(bool backwards);

    // Guarded: the keys are let go at destruction only if the platform is still there.
    QPointer<platform::GlobalHotKeys> hotKeys_;
    QPointer<platform::DesktopShortcuts> shortcuts_;
    platform::WindowServer& windowServer_;
    Target target_;
    QList<quint64> refs_;
    bool bound_ = false;
    QElapsedTimer switchStarted_;
};

}  // namespace varrow::system
