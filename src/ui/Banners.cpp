#include "ui/Banners.h"

#include "ui/Buttons.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace varrow::ui {

namespace {
QLabel* iconLabel(const QString& symbol, int side, std::function<QColor(const QPalette&)> color) {
    auto* label = new QLabel;
    theme::setSymbol(label, symbol, side, std::move(color));
    return label;
}
}  // namespace

ClaudeMissingBanner::ClaudeMissingBanner(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 14, 14);
    row->setSpacing(12);
    row->addWidget(iconLabel(QStringLiteral("arrow.down.circle.fill"), 22,
                             [](const QPalette&) { return theme::clay(); }));
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    auto* headline = new QLabel(tr("Claude isn't installed yet"));
    headline->setFont(theme::headline());
    auto* detail = new QLabel(tr("Install the Claude app first, then come back here."));
    detail->setFont(theme::callout());
    theme::setTone(detail, theme::Tone::Secondary);
    texts->addWidget(headline);
    texts->addWidget(detail);
    row->addLayout(texts, 1);
    download_ = new QPushButton(tr("Download Claude"));
    buttons::makeProminent(download_);
    download_->setDefault(false);
    download_->setAutoDefault(false);
    row->addWidget(download_);
    connect(download_, &QPushButton::clicked, this, &ClaudeMissingBanner::downloadRequested);
}

void ClaudeMissingBanner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::clay(0.1));
    p.drawRoundedRect(QRectF(rect()), 12, 12);
}

ErrorBanner::ErrorBanner(QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 12, 12, 12);
    row->setSpacing(10);
    row->addWidget(iconLabel(QStringLiteral("exclamationmark.triangle.fill"), 16, &theme::orange));
    message_ = new QLabel;
    message_->setFont(theme::callout());
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    row->addWidget(message_, 1);
    dismiss_ = new QToolButton;
    dismiss_->setText(tr("Dismiss"));
    dismiss_->setAutoRaise(true);
    dismiss_->setCursor(Qt::PointingHandCursor);
    dismiss_->setFont(theme::font(13));
    row->addWidget(dismiss_);
    connect(dismiss_, &QToolButton::clicked, this, &ErrorBanner::dismissed);
}

void ErrorBanner::setMessage(const QString& message) {
    message_->setText(message);
}
QString ErrorBanner::message() const {
    return message_->text();
}

void ErrorBanner::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QColor fill = theme::orange(palette());
    fill.setAlphaF(0.12f);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(rect()), 10, 10);
}

}  // namespace varrow::ui
