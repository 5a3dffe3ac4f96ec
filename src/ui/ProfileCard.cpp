#include "ui/ProfileCard.h"
#include "platform/Timings.h"
#include "platform/WindowServer.h"

#include "claude/ClaudeController.h"
#include "ui/Avatar.h"
#include "ui/DisplayText.h"
#include "ui/PressableStyle.h"
#include "ui/StatusLine.h"
#include "ui/Theme.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLocale>
#include <QMouseEvent>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>

namespace varrow::ui {

namespace {
constexpr qreal kPad = 14, kAvatar = 52, kSpacing = 14;
QFont nameFont() {
    return theme::font(15, QFont::DemiBold);
}

// One clock for every card's spinner: cards opening together turn in the same pass and are
// repainted together, rather than each on a timer of its own, one repaint after another.
QPointer<QTimer> spinnerClock;
int spinningCards = 0;

}  // namespace

void paintSoftShadow(QPainter& p, const QRectF& rect, qreal radius, qreal blur, qreal offsetY,
                     qreal opacity) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const int steps = std::max(1, int(blur));
    const QRectF base = rect.translated(0, offsetY);
    // Each ring adds a little darkness; together they fall off towards the blur radius.
    for (int i = steps; i >= 1; --i) {
        const qreal grow = blur * i / steps - blur / 2;
        const qreal a = opacity * 2.2 / steps * (1.0 - qreal(i - 1) / steps);
        p.setBrush(QColor::fromRgbF(0, 0, 0, float(std::min(1.0, a))));
        const QRectF r = base.adjusted(-grow, -grow, grow, grow);
        p.drawRoundedRect(r, radius + std::max(0.0, grow), radius + std::max(0.0, grow));
    }
    p.restore();
}

ProfileCard::ProfileCard(claude::ClaudeController* claude, platform::WindowServer& windowServer,
                         const model::Profile& profile, std::optional<int> shortcut, QWidget* parent)
    : QAbstractButton(parent),
      claude_(claude),
      windowServer_(windowServer),
      profile_(profile),
      shortcut_(shortcut),
      pressable_(new PressableStyle(this)) {
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setMinimumHeight(kMinHeight + 2 * kShadowMargin);
    hoverAnimation_.setDuration(int(Timings::hoverAnimation().count()));
    hoverAnimation_.setEasingCurve(QEasingCurve::OutCubic);
    connect(&hoverAnimation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& v) {
        hoverAmount_ = v.toReal();
        update();
    });
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (action_) action_();
    });
    refresh();
}

void ProfileCard::setProfile(const model::Profile& profile, std::optional<int> shortcut) {
    profile_ = profile;
    shortcut_ = shortcut;
    refresh();
}

bool ProfileCard::isRunning() const {
    return claude_->running().contains(profile_.id);
}
bool ProfileCard::isOpening() const {
    return claude_->opening().contains(profile_.id);
}

QString ProfileCard::actionTitle(bool running, const QString& name) {
    return (running ? tr("Switch to %1") : tr("Open %1")).arg(name);
}

QString ProfileCard::subtitle() const {
    if (nativeWayland_) return tr("Reopen it from Varrow to switch to it");
    if (!profile_.note.isEmpty()) return profile_.note;
    return profile_.isDefault ? tr("Your original Claude sign-in") : tr("Separate sign-in");
}

QString ProfileCard::statusText() const {
    const bool running = isRunning(), opening = isOpening();
    if (!running && !opening && !hovering_ && claude_->asleep().contains(profile_.id)) return tr("Asleep");
    QString text = status_line::text(running, opening, hovering_);
    if (running && !opening && !hovering_ && memory_)
        text += QStringLiteral("  \u00b7  ") + QLocale().formattedDataSize(qint64(*memory_), 0);
    return text;
}

void ProfileCard::setMemory(std::optional<quint64> bytes) {
    if (memory_ == bytes) return;
    memory_ = bytes;
    update();
}

QString ProfileCard::shortcutText() const {
    return shortcut_ ? DesktopWords::ctrl(QString::number(*shortcut_)) : QString();
}

QRectF ProfileCard::cardRect() const {
    return QRectF(rect()).adjusted(kShadowMargin, kShadowMargin, -kShadowMargin, -kShadowMargin);
}

QRectF ProfileCard::textRect() const {
    const QRectF card = cardRect();
    const qreal left = card.left() + kPad + kAvatar + kSpacing;
    qreal right = card.right() - kPad;
    // Keep the name clear of the shortcut in the corner.
    if (shortcut_) right -= QFontMetrics(theme::caption2()).horizontalAdvance(shortcutText()) - 4;
    return QRectF(left, card.top(), std::max(0.0, right - left), card.height());
}

QString ProfileCard::displayedName() const {
    return elided(profile_.name, nameFont(), int(textRect().width()));
}

void ProfileCard::refresh() {
    const QString name = singleLine(profile_.name);
    const bool running = isRunning();
    nativeWayland_ = running && !windowServer_.seesNativeWindows() &&
                     claude_->isNativeWaylandClient(claude_->running().value(profile_.id));
    setToolTip(nativeWayland_ ? subtitle() : actionTitle(running, name));
    setAccessibleName((running ? tr("%1, open") : tr("%1, not open")).arg(name));
    setSpinning(isOpening());
    update();
}

ProfileCard::~ProfileCard() {
    setSpinning(false);
}

void ProfileCard::setSpinning(bool spinning) {
    if (spinning == bool(spinning_)) return;
    if (spinning) {
        if (!spinnerClock) {
            spinnerClock = new QTimer(QCoreApplication::instance());
            spinnerClock->setInterval(Timings::spinnerFrame());
        }
        spinning_ = connect(spinnerClock, &QTimer::timeout, this, [this] {
            spinnerPhase_ = std::fmod(spinnerPhase_ + 1.0 / 12, 1.0);
            update(lines().status.toAlignedRect().adjusted(-2, -2, 2, 2));
        });
        if (++spinningCards == 1) spinnerClock->start();
    } else {
        disconnect(spinning_);
        spinning_ = {};
        if (--spinningCards == 0 && spinnerClock) spinnerClock->stop();
    }
}

bool ProfileCard::hitButton(const QPoint& pos) const {
    QPainterPath shape;
    shape.addRoundedRect(cardRect(), kRadius, kRadius);
    return shape.contains(QPointF(pos));
}

void ProfileCard::mouseMoveEvent(QMouseEvent* event) {
    setHovering(hitButton(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void ProfileCard::leaveEvent(QEvent* event) {
    setHovering(false);
    QAbstractButton::leaveEvent(event);
}

void ProfileCard::setHovering(bool hovering) {
    if (hovering_ == hovering) return;
    hovering_ = hovering;
    hoverAnimation_.stop();
    hoverAnimation_.setStartValue(hoverAmount_);
    hoverAnimation_.setEndValue(hovering ? 1.0 : 0.0);
    hoverAnimation_.start();
    update();
}

ProfileCard::Lines ProfileCard::lines() const {
    // Spacing 3, the status line padded 3 above.
    const QFontMetrics nameMetrics(nameFont()), subMetrics(theme::callout()), capMetrics(theme::caption());
    const qreal statusH = std::max<qreal>(12, capMetrics.height());
    const qreal blockH = nameMetrics.height() + 3 + subMetrics.height() + 3 + 3 + statusH;
    const QRectF text = textRect();
    const qreal fullWidth = cardRect().right() - kPad - text.left();
    Lines lines;
    qreal y = cardRect().center().y() - blockH / 2;
    lines.name = QRectF(text.left(), y, text.width(), nameMetrics.height());
    y += nameMetrics.height() + 3;
    lines.subtitle = QRectF(text.left(), y, fullWidth, subMetrics.height());
    y += subMetrics.height() + 3 + 3;
    lines.status = QRectF(text.left(), y, text.width(), statusH);
    return lines;
}

const CachedPixmap& ProfileCard::chrome() {
    const QPalette& pal = palette();
    const bool running = isRunning();
    // Hover eases in twenty steps; nothing finer shows.
    const int hover = qRound(hoverAmount_ * 20);
    const QString key = QStringLiteral("%1 %2 %3 %4 %5")
                            .arg(hover)
                            .arg(running)
                            .arg(pal.cacheKey())
                            .arg(int(profile_.color))
                            .arg(profile_.initials());
    chrome_.get(key, size(), devicePixelRatioF(), [&](QPainter& p) {
        const QRectF card = cardRect();
        const qreal t = hover / 20.0;
        paintSoftShadow(p, card, kRadius, 4 + 6 * t, 1 + 3 * t, 0.05 + 0.07 * t);
        p.setPen(Qt::NoPen);
        p.setBrush(theme::controlBackground(pal));
        p.drawRoundedRect(card, kRadius, kRadius);

        const QRectF avatar(card.left() + kPad, card.center().y() - kAvatar / 2, kAvatar, kAvatar);
        Avatar::paint(p, avatar, profile_.initials(), profile_.color);

        // Border inside the edge: the account colour while running, a faint hairline otherwise.
        const qreal line = running ? 1.5 : 1.0;
        const QColor border = running ? model::colors::color(profile_.color, 0.7) : theme::primary(pal, 0.08);
        p.setPen(QPen(border, line));
        p.setBrush(Qt::NoBrush);
        const qreal inset = line / 2;
        p.drawRoundedRect(card.adjusted(inset, inset, -inset, -inset), kRadius - inset, kRadius - inset);
    });
    return chrome_;
}

void ProfileCard::paintEvent(QPaintEvent*) {
    const CachedPixmap& background = chrome();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPalette& pal = palette();
    const QRectF card = cardRect();
    pressable_->apply(p, card);
    background.draw(p);

    const bool running = isRunning();
    const Lines text = lines();
    p.setFont(nameFont());
    p.setPen(theme::primary(pal));
    p.drawText(text.name, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, displayedName());
    p.setFont(theme::callout());
    p.setPen(theme::secondary(pal));
    p.drawText(text.subtitle, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               elided(subtitle(), theme::callout(), int(text.subtitle.width())));
    status_line::paint(p, text.status, status_line::kind(running, isOpening()), statusText(), spinnerPhase_,
                       pal);

    if (shortcut_) {
        p.setFont(theme::caption2());
        p.setPen(theme::tertiary(pal));
        p.drawText(card.adjusted(10, 8, -10, -10), Qt::AlignRight | Qt::AlignTop, shortcutText());
    }
}

}  // namespace varrow::ui
