#include "switcher/EdgeTab.h"

#include "claude/ClaudeController.h"
#include "model/ProfileStore.h"
#include "switcher/LeftRoundedShape.h"
#include "switcher/SwitcherRow.h"
#include "ui/Theme.h"

#include <QFontMetrics>
#include <QPainter>

namespace varrow::switcher {

namespace {
constexpr int kOuterPad = 1;  // above and below the outline
constexpr int kDotSpacing = 7, kDotPad = 11;
constexpr int kListPad = 8, kRowSpacing = 2;
constexpr qreal kRadius = 12;

QFont headerFont() {
    return ui::theme::font(11, QFont::DemiBold);
}
}  // namespace

EdgeTab::EdgeTab(model::ProfileStore* store, claude::ClaudeController* claude, QWidget* parent)
    : QWidget(parent), store_(store), claude_(claude) {
    setAttribute(Qt::WA_TranslucentBackground);
    connect(store_, &model::ProfileStore::profilesChanged, this, &EdgeTab::refresh);
    connect(claude_, &claude::ClaudeController::stateChanged, this, &EdgeTab::refresh);
    refresh();
}

void EdgeTab::setExpanded(bool expanded) {
    if (expanded_ == expanded) return;
    expanded_ = expanded;
    refresh();
}

int EdgeTab::headerHeight() const {
    return 4 + QFontMetrics(headerFont()).height() + 2;
}

void EdgeTab::refresh() {
    // A click on a row may be what led here: old rows go later, never under their own feet.
    for (SwitcherRow* row : std::as_const(rows_)) {
        row->hide();
        row->deleteLater();
    }
    rows_.clear();
    if (expanded_) {
        const auto front = claude_->frontProfileID();
        int y = kOuterPad + kListPad + headerHeight() + kRowSpacing;
        for (const model::Profile& profile : store_->profiles()) {
            auto* row = new SwitcherRow(
                profile, front == profile.id, claude_->running().contains(profile.id),
                [this, profile] {
                    if (select_) select_(profile);
                },
                this);
            row->setGeometry(kListPad, y, kExpandedWidth - 2 * kListPad, SwitcherRow::kHeight);
            row->show();
            rows_.append(row);
            y += SwitcherRow::kHeight + kRowSpacing;
        }
    }
    setFixedSize(sizeHint());
    updateGeometry();
    update();
}

QSize EdgeTab::sizeHint() const {
    const int n = int(store_->profiles().size());
    if (expanded_) {
        const int rows = n * SwitcherRow::kHeight + std::max(0, n) * kRowSpacing;
        return QSize(kExpandedWidth, 2 * kOuterPad + 2 * kListPad + headerHeight() + rows);
    }
    const auto front = claude_->frontProfileID();
    int h = 2 * kDotPad + std::max(0, n - 1) * kDotSpacing;
    for (const model::Profile& p : store_->profiles()) h += front == p.id ? 11 : 8;
    return QSize(kCollapsedWidth, h + 2 * kOuterPad);
}

QList<EdgeTab::Dot> EdgeTab::dots() const {
    QList<Dot> out;
    if (expanded_) return out;
    const auto front = claude_->frontProfileID();
    qreal y = kOuterPad + kDotPad;
    for (const model::Profile& p : store_->profiles()) {
        const bool current = front == p.id;
        const qreal d = current ? 11 : 8;
        out.append(Dot{p.id, QRectF((kCollapsedWidth - d) / 2.0, y, d, d), current ? 0.9 : 0.0,
                       claude_->running().contains(p.id) ? 1.0 : 0.35});
        y += d + kDotSpacing;
    }
    return out;
}

QRectF EdgeTab::outline() const {
    return QRectF(0, kOuterPad, width(), height() - 2 * kOuterPad);
}

const ui::CachedPixmap& EdgeTab::background() {
    const QPalette& pal = palette();
    background_.get(QString::number(pal.cacheKey()), size(), devicePixelRatioF(), [&](QPainter& p) {
        // Half a point in so the hairline lies inside; the right edge runs off the screen anyway.
        const QPainterPath shape = leftRoundedShape(outline().adjusted(0.5, 0.5, 0, -0.5), kRadius);
        p.fillPath(shape, ui::theme::regularMaterial(pal));
        p.strokePath(shape, QPen(ui::theme::primary(pal, 0.12), 1));
    });
    return background_;
}

void EdgeTab::paintEvent(QPaintEvent*) {
    const ui::CachedPixmap& tab = background();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    tab.draw(p);

    if (expanded_) {
        p.setFont(headerFont());
        p.setPen(ui::theme::secondary(pal));
        const QRectF header(kListPad + 10, kOuterPad + kListPad + 4, kExpandedWidth - 2 * kListPad - 20,
                            QFontMetrics(headerFont()).height());
        p.drawText(header, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, QStringLiteral("Varrow"));
        return;
    }
    for (const Dot& dot : dots()) {
        const auto profile = store_->profile(dot.id);
        if (!profile) continue;
        p.setOpacity(dot.opacity);
        p.setPen(Qt::NoPen);
        p.setBrush(model::colors::color(profile->color));
        p.drawEllipse(dot.rect);
        if (dot.ringOpacity > 0) {
            QColor ring(Qt::white);
            ring.setAlphaF(float(dot.ringOpacity));
            p.setPen(QPen(ring, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(dot.rect.adjusted(0.75, 0.75, -0.75, -0.75));
        }
    }
    p.setOpacity(1);
}

}  // namespace varrow::switcher
