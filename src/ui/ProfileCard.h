#pragma once

#include "model/Profile.h"
#include "ui/CachedPixmap.h"

#include <QAbstractButton>
#include <QTimer>
#include <QVariantAnimation>
#include <functional>
#include <optional>

namespace varrow::claude {
class ClaudeController;
}
namespace varrow::platform {
class WindowServer;
}

namespace varrow::ui {

class PressableStyle;

// One account in the accounts window. The widget is larger than the card by kShadowMargin on
// every side so the hover shadow has room; only the rounded card itself reacts to the pointer.
class ProfileCard : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int kShadowMargin = 12;
    static constexpr int kMinHeight = 92;
    static constexpr qreal kRadius = 14;
    // What a click on an account does: "Switch to Work" while it runs, else "Open Work".
    static QString actionTitle(bool running, const QString& name);

    ProfileCard(claude::ClaudeController* claude, platform::WindowServer& windowServer,
                const model::Profile& profile, std::optional<int> shortcut, QWidget* parent = nullptr);
    ~ProfileCard() override;

    const model::Profile& profile() const { return profile_; }
    void setProfile(const model::Profile& profile, std::optional<int> shortcut);
    std::optional<int> shortcut() const { return shortcut_; }
    void setAction(std::function<void()> action) { action_ = std::move(action); }

    bool isRunning() const;
    bool isOpening() const;
    // What its Claude's processes take together in memory, shown after "Open"; none hides it.
    void setMemory(std::optional<quint64> bytes);
    bool hovering() const { return hovering_; }
    // What the card shows, for tests and accessibility.
    QString subtitle() const;
    QString statusText() const;
    QString shortcutText() const;
    QString displayedName() const;
    QRectF cardRect() const;
    PressableStyle* pressable() const { return pressable_; }

    // Only the rounded card reacts, not the shadow margin around it.
    bool hitButton(const QPoint& pos) const override;

    // Re-reads the controller's state (tooltips, accessible name, spinner).
    void refresh();

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    void setHovering(bool hovering);
    QRectF textRect() const;
    // The three text lines, centred as a block: the name (clear of the shortcut), the subtitle
    // (full width) and the status line, which is all a turn of the spinner repaints.
    struct Lines {
        QRectF name, subtitle, status;
    };
    Lines lines() const;
    // The shadow, the card, its border and the avatar: painted once per look and reused, since
    // filling them is the costly part of a repaint and the spinner repaints often.
    const CachedPixmap& chrome();

    claude::ClaudeController* claude_;
    platform::WindowServer& windowServer_;
    model::Profile profile_;
    std::optional<int> shortcut_;
    std::function<void()> action_;
    PressableStyle* pressable_;
    bool hovering_ = false;
    qreal hoverAmount_ = 0;  // 0..1, eased
    QVariantAnimation hoverAnimation_;
    void setSpinning(bool spinning);
    QMetaObject::Connection spinning_;
    qreal spinnerPhase_ = 0;
    CachedPixmap chrome_;
    bool nativeWayland_ = false;
    std::optional<quint64> memory_;  // running as a native Wayland client: out of reach for switching
};

// Soft drop shadow under a rounded rectangle, drawn as stacked translucent outlines.
void paintSoftShadow(QPainter& painter, const QRectF& rect, qreal radius, qreal blur, qreal offsetY,
                     qreal opacity);

}  // namespace varrow::ui
