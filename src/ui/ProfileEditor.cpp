#include "ui/ProfileEditor.h"
#include "platform/Timings.h"

#include "ui/Avatar.h"
#include "ui/Buttons.h"
#include "ui/Symbols.h"
#include "ui/Theme.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace varrow::ui {

ColorSwatch::ColorSwatch(model::ProfileColor color, QWidget* parent)
    : QAbstractButton(parent), color_(color) {
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
    setToolTip(model::colors::label(color));
    setAccessibleName(model::colors::label(color));
    setFocusPolicy(Qt::TabFocus);
}

void ColorSwatch::setSelected(bool selected) {
    selected_ = selected;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc(4, 4, 24, 24);
    p.setPen(Qt::NoPen);
    p.setBrush(model::colors::gradient(color_, disc));
    p.drawEllipse(disc);
    if (selected_) {
        // Ring drawn inside a 32-point circle: its inner edge 2 points clear of the disc.
        p.setPen(QPen(theme::primary(palette(), 0.85), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(1, 1, 30, 30));
    }
}

namespace {

QWidget* labelled(const QString& text, QWidget* control) {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    auto* label = new QLabel(text);
    label->setFont(theme::font(11, QFont::Medium));
    theme::setTone(label, theme::Tone::Secondary);
    layout->addWidget(label);
    layout->addWidget(control);
    return box;
}

QLineEdit* field(const QString& placeholder) {
    auto* edit = new QLineEdit;
    edit->setPlaceholderText(placeholder);
    edit->setMinimumHeight(28);
    edit->setFont(theme::font(13));
    // Rounded field with a hairline border and the accent ring while focused.
    theme::restyle(edit, [](QWidget* w, const QPalette& pal) {
        const QColor border = theme::primary(pal, 0.16), accent = pal.color(QPalette::Highlight);
        w->setStyleSheet(
            QStringLiteral("QLineEdit { background: %1; border: 1px solid %2; border-radius: 6px;"
                           " padding: 2px 7px; selection-background-color: %3; }"
                           "QLineEdit:focus { border: 2px solid %4; padding: 1px 6px; }")
                .arg(theme::controlBackground(pal).name(QColor::HexArgb), border.name(QColor::HexArgb),
                     accent.name(QColor::HexArgb), accent.lighter(110).name(QColor::HexArgb)));
    });
    return edit;
}

}  // namespace

model::ProfileColor ProfileEditor::randomColor() {
    QList<model::ProfileColor> choices = model::colors::allCases();
    choices.removeAll(model::ProfileColor::Clay);
    return choices[QRandomGenerator::system()->bounded(int(choices.size()))];
}

ProfileEditor::ProfileEditor(std::optional<model::Profile> original, SaveCallback onSave, QWidget* parent)
    : QDialog(parent),
      original_(std::move(original)),
      onSave_(std::move(onSave)),
      color_(original_ ? original_->color : randomColor()) {
    setWindowModality(Qt::WindowModal);
    setWindowTitle(isNew() ? tr("New Claude account") : tr("Edit account"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(18);
    // The sheet is 400 wide and as tall as its content: the fixed-size layout takes its width
    // from the content, so the content is held at the width inside the margins.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addStrut(kWidth - 2 * 24);

    preview_ = new Avatar(original_ ? original_->name.trimmed() : QString(), color_, 72);
    layout->addSpacing(6);
    layout->addWidget(preview_, 0, Qt::AlignHCenter);

    title_ = new QLabel(windowTitle());
    title_->setFont(theme::font(15, QFont::DemiBold));
    layout->addWidget(title_, 0, Qt::AlignHCenter);

    auto* fields = new QVBoxLayout;
    fields->setSpacing(14);
    name_ = field(tr("e.g. Work, Personal, Acme Co."));
    note_ = field(tr("So you remember which sign-in goes here"));
    if (original_) {
        name_->setText(original_->name);
        note_->setText(original_->note);
    }
    fields->addWidget(labelled(tr("Name"), name_));
    fields->addWidget(labelled(tr("Email (optional)"), note_));

    auto* swatchRow = new QWidget;
    auto* swatchLayout = new QHBoxLayout(swatchRow);
    // The 32-point swatch widgets hold 24-point discs: 2 between widgets puts 10 between discs.
    swatchLayout->setContentsMargins(0, 0, 0, 0);
    swatchLayout->setSpacing(2);
    for (model::ProfileColor c : model::colors::allCases()) {
        auto* swatch = new ColorSwatch(c, swatchRow);
        connect(swatch, &QAbstractButton::clicked, this, [this, c] { setColor(c); });
        swatchLayout->addWidget(swatch);
        swatches_.append(swatch);
    }
    swatchLayout->addStretch();
    fields->addWidget(labelled(tr("Colour"), swatchRow));
    layout->addLayout(fields);

    if (isNew()) {
        config_ = new QCheckBox(tr("Start with My Claude's MCP servers and settings"));
        config_->setFont(theme::font(13));
        config_->hide();
        layout->addWidget(config_);

        auto* info = new QHBoxLayout;
        info->setSpacing(8);
        auto* icon = new QLabel;
        theme::setSymbol(icon, QStringLiteral("info.circle"), 14, &theme::secondary);
        icon->setAlignment(Qt::AlignTop);
        info->addWidget(icon, 0, Qt::AlignTop);
        auto* text = new QLabel(
            tr("Claude will open to its sign-in screen. Sign in with the account you want here. You only "
               "need to do this once."));
        text->setWordWrap(true);
        text->setFont(theme::callout());
        theme::setTone(text, theme::Tone::Secondary);
        info->addWidget(text, 1);
        layout->addLayout(info);
    }

    auto* buttons = new QHBoxLayout;
    cancel_ = new QPushButton(tr("Cancel"));
    save_ = new QPushButton(isNew() ? tr("Create and Open") : tr("Save"));
    buttons::makeBordered(cancel_);
    buttons::makeProminent(save_);
    buttons::makeLarge(cancel_);
    buttons::makeLarge(save_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    buttons->addWidget(save_);
    layout->addLayout(buttons);

    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, &ProfileEditor::save);
    connect(name_, &QLineEdit::textChanged, this, &ProfileEditor::updateState);

    colorAnimation_.setDuration(int(Timings::hoverAnimation().count()));
    colorAnimation_.setEasingCurve(QEasingCurve::OutCubic);
    colorAnimation_.setStartValue(0.0);
    colorAnimation_.setEndValue(1.0);
    updateState();
}

void ProfileEditor::setColor(model::ProfileColor color) {
    if (color == color_) return;
    const model::ProfileColor from = color_;
    color_ = color;
    for (ColorSwatch* s : std::as_const(swatches_)) s->setSelected(s->color() == color_);
    preview_->setColor(color_);
    colorAnimation_.stop();
    disconnect(&colorAnimation_, &QVariantAnimation::valueChanged, nullptr, nullptr);
    connect(&colorAnimation_, &QVariantAnimation::valueChanged, this,
            [this, from](const QVariant& v) { preview_->setBlend(from, v.toReal()); });
    preview_->setBlend(from, 0);
    colorAnimation_.start();
}

void ProfileEditor::updateState() {
    const QString trimmed = name_->text().trimmed();
    preview_->setName(trimmed);
    save_->setEnabled(!trimmed.isEmpty());
    for (ColorSwatch* s : std::as_const(swatches_)) s->setSelected(s->color() == color_);
}

void ProfileEditor::save() {
    const QString name = name_->text().trimmed();
    if (name.isEmpty() || saved_) return;
    saved_ = true;
    if (onSave_) onSave_(name, note_->text().trimmed(), color_);
    accept();
}

void ProfileEditor::offerMyClaudeConfig(bool checked) {
    if (!config_) return;
    config_->setChecked(checked);
    config_->show();
}

bool ProfileEditor::startsWithMyClaudeConfig() const {
    return config_ && !config_->isHidden() && config_->isChecked();
}

void ProfileEditor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    name_->setFocus(Qt::OtherFocusReason);
}

void ProfileEditor::changeEvent(QEvent* event) {
    // Colours made from the palette follow a new one (light to dark and back).
    if (event->type() == QEvent::PaletteChange) theme::applyTones(this);
    QDialog::changeEvent(event);
}

}  // namespace varrow::ui
