#include "switcher/FloatingBar.h"

#include "claude/ClaudeController.h"
#include "model/ProfileStore.h"
#include "ui/Avatar.h"
#include "ui/DisplayText.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QPainter>

namespace varrow::switcher {

namespace {
constexpr int kOuter = 4, kPadX = 8, kPadY = 6, kSpacing = 8;
constexpr int kAvatar = 22, kGroupSpacing = 7, kNameTrailing = 2, kDividerHeight = 18;

QFont nameFont() {
    return ui::theme::font(13, QFont::DemiBold);
}
}  // namespace

FloatingAvatarButton::FloatingAvatarButton(const model::Profile& profile, bool running, QWidget* parent)
    : QAbstractButton(parent), profile_(profile), running_(running) {
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(ui::singleLine(profile.name));
    setAccessibleName(ui::singleLine(profile.name));
    setFixedSize(sizeHint());
}

void FloatingAvatarButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(running_ ? 1.0 : 0.55);
    ui::Avatar::paint(p, QRectF(0, 0, kAvatar, kAvatar), profile_.initials(), profile_.color);
    if (!running_) return;
    const QRectF dot(kAvatar - 7, kAvatar - 7, 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(ui::theme::green(palette()));
    p.drawEllipse(dot);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(dot.adjusted(0.5, 0.5, -0.5, -0.5));
}

FloatingBar::FloatingBar(model::ProfileStore* store, claude::ClaudeController* claude, QWidget* parent)
    : QWidget(parent), store_(store), claude_(claude) {
    setAttribute(Qt::WA_TranslucentBackground);
    connect(store_, &model::ProfileStore::profilesChanged, this, &FloatingBar::refresh);
    connect(claude_, &claude::ClaudeController::stateChanged, this, &FloatingBar::refresh);
    refresh();
}

int FloatingBar::nameWidth() const {
    if (!current_) return 0;
    const int natural = QFontMetrics(nameFont()).horizontalAdvance(ui::singleLine(current_->name));
    return std::min(natural, kMaxNameWidth);
}

QString FloatingBar::displayedName() const {
    return current_ ? ui::elided(current_->name, nameFont(), nameWidth()) : QString();
}

void FloatingBar::refresh() {
    // Same care as the edge tab: the clicked button may still be on the stack.
    for (auto* b : std::as_const(buttons_)) {
        b->hide();
        b->deleteLater();
    }
    buttons_.clear();
    current_.reset();
    const auto front = claude_->frontProfileID();
    for (const model::Profile& p : store_->profiles()) {
        if (front == p.id) {
            current_ = p;
            break;
        }
    }
    int x = kOuter + kPadX;
    if (current_) x += kAvatar + kGroupSpacing + nameWidth() + kNameTrailing + kSpacing + 1 + kSpacing;
    for (const model::Profile& p : store_->profiles()) {
        if (front == p.id) continue;
        auto* button = new FloatingAvatarButton(p, claude_->running().contains(p.id), this);
        connect(button, &QAbstractButton::clicked, this, [this, p] { claude_->open(p); });
        button->move(x, kOuter + kPadY);
        button->show();
        buttons_.append(button);
        x += kAvatar + kSpacing;
    }
    setFixedSize(sizeHint());
    updateGeometry();
    update();
}

QSize FloatingBar::sizeHint() const {
    QList<int> items;
    if (current_) items << kAvatar + kGroupSpacing + nameWidth() + kNameTrailing << 1;
    for (int i = 0; i < buttons_.size(); ++i) items << kAvatar;
    int w = 0;
    for (int item : items) w += item;
    w += std::max<qsizetype>(0, items.size() - 1) * kSpacing;
    return QSize(2 * kOuter + 2 * kPadX + w, 2 * kOuter + 2 * kPadY + kAvatar);
}

void FloatingBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    const QRectF capsule = QRectF(rect()).adjusted(kOuter + 0.5, kOuter + 0.5, -kOuter - 0.5, -kOuter - 0.5);
    const qreal r = capsule.height() / 2;
    p.setPen(QPen(ui::theme::primary(pal, 0.12), 1));
    p.setBrush(ui::theme::regularMaterial(pal));
    p.drawRoundedRect(capsule, r, r);

    if (!current_) return;
    const qreal midY = height() / 2.0;
    qreal x = kOuter + kPadX;
    ui::Avatar::paint(p, QRectF(x, midY - kAvatar / 2.0, kAvatar, kAvatar), current_->initials(),
                      current_->color);
    x += kAvatar + kGroupSpacing;
    p.setFont(nameFont());
    p.setPen(ui::theme::primary(pal));
    p.drawText(QRectF(x, 0, nameWidth(), height()), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               displayedName());
    x += nameWidth() + kNameTrailing + kSpacing;
    p.fillRect(QRectF(x, midY - kDividerHeight / 2.0, 1, kDividerHeight), ui::theme::primary(pal, 0.15));
}

}  // namespace varrow::switcher
