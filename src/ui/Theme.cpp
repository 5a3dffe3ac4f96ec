#include "ui/Theme.h"

#include "ui/Symbols.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>

namespace varrow::ui::theme {

namespace {
QColor withAlpha(QColor c, qreal alpha) {
    c.setAlphaF(float(c.alphaF() * alpha));
    return c;
}
}  // namespace

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightnessF() < 0.5;
}

QColor primary(const QPalette& palette, qreal opacity) {
    return withAlpha(palette.color(QPalette::WindowText), opacity);
}
// Label tints as alpha over the text colour, so they sit right on any background.
QColor secondary(const QPalette& palette) {
    return primary(palette, isDark(palette) ? 0.55 : 0.5);
}
QColor tertiary(const QPalette& palette) {
    return primary(palette, isDark(palette) ? 0.28 : 0.26);
}
QColor controlBackground(const QPalette& palette) {
    return palette.color(QPalette::Base);
}
QColor windowBackground(const QPalette& palette) {
    return palette.color(QPalette::Window);
}

namespace {
class RestyleHook : public QObject {
public:
    RestyleHook(QWidget* widget, Restyler apply) : QObject(widget), apply_(std::move(apply)) {}
    void run(const QPalette& palette) {
        if (auto* w = qobject_cast<QWidget*>(parent())) apply_(w, palette);
    }

private:
    Restyler apply_;
};
}  // namespace

void restyle(QWidget* widget, Restyler apply) {
    auto* hook = new RestyleHook(widget, std::move(apply));
    hook->run(widget->palette());
}

void applyTones(QWidget* root) {
    const QPalette palette = root->palette();
    for (QObject* child : root->findChildren<QObject*>()) {
        if (auto* hook = dynamic_cast<RestyleHook*>(child)) hook->run(palette);
    }
}

QColor toned(const QPalette& palette, Tone tone) {
    switch (tone) {
        case Tone::Primary:
            return primary(palette);
        case Tone::Secondary:
            return secondary(palette);
        case Tone::Tertiary:
            return tertiary(palette);
    }
    return primary(palette);
}

void setTone(QLabel* label, Tone tone) {
    restyle(label, [tone](QWidget* w, const QPalette& palette) {
        QPalette own = w->palette();
        own.setColor(QPalette::WindowText, toned(palette, tone));
        w->setPalette(own);
    });
}

void setSymbol(QLabel* label, const QString& symbol, int side, std::function<QColor(const QPalette&)> color) {
    label->setFixedSize(side, side);
    restyle(label, [symbol, side, color = std::move(color)](QWidget* w, const QPalette& palette) {
        static_cast<QLabel*>(w)->setPixmap(symbols::pixmap(symbol, side, color(palette)));
    });
}

QColor regularMaterial(const QPalette& palette) {
    return withAlpha(palette.color(QPalette::Window), isDark(palette) ? 0.86 : 0.82);
}

QColor green(const QPalette& palette) {
    return isDark(palette) ? QColor(48, 209, 88) : QColor(40, 190, 80);
}
QColor orange(const QPalette& palette) {
    return isDark(palette) ? QColor(255, 159, 10) : QColor(255, 149, 0);
}
QColor clay(qreal opacity) {
    QColor c(217, 119, 87);
    c.setAlphaF(float(opacity));
    return c;
}

QFont font(qreal pixelSize, QFont::Weight weight) {
    QFont f = QApplication::font();
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(weight);
    return f;
}

QFont roundedFont(qreal pixelSize, QFont::Weight weight) {
    static const bool hasRounded = QFontDatabase::hasFamily(QStringLiteral("Quicksand"));
    QFont f = font(pixelSize, weight);
    if (hasRounded) {
        f.setFamilies({QStringLiteral("Quicksand"), QApplication::font().family()});
        // The rounded face runs light; one step heavier matches the semibold of the design.
        f.setWeight(QFont::Bold);
    }
    return f;
}

QFont caption() {
    return font(10);
}
QFont caption2() {
    return font(10);
}
QFont callout() {
    return font(12);
}
QFont subheadline() {
    return font(11);
}
QFont headline() {
    return font(13, QFont::DemiBold);
}
QFont title2() {
    return font(17);
}
QFont title3() {
    return font(15);
}

QPalette lightPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(236, 236, 236));
    p.setColor(QPalette::WindowText, QColor(0, 0, 0, 217));
    p.setColor(QPalette::Base, QColor(255, 255, 255));
    p.setColor(QPalette::AlternateBase, QColor(244, 245, 245));
    p.setColor(QPalette::Text, QColor(0, 0, 0, 217));
    p.setColor(QPalette::Button, QColor(255, 255, 255));
    p.setColor(QPalette::ButtonText, QColor(0, 0, 0, 217));
    p.setColor(QPalette::Highlight, QColor(10, 130, 255));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 64));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 255));
    p.setColor(QPalette::ToolTipText, QColor(0, 0, 0));
    p.setColor(QPalette::Mid, QColor(200, 200, 200));
    p.setColor(QPalette::Light, Qt::white);
    p.setColor(QPalette::Dark, QColor(160, 160, 160));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0, 0, 0, 64));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0, 0, 0, 64));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0, 0, 0, 64));
    return p;
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(40, 40, 40));
    p.setColor(QPalette::WindowText, QColor(255, 255, 255, 217));
    p.setColor(QPalette::Base, QColor(50, 50, 50));
    p.setColor(QPalette::AlternateBase, QColor(58, 58, 58));
    p.setColor(QPalette::Text, QColor(255, 255, 255, 217));
    p.setColor(QPalette::Button, QColor(72, 72, 72));
    p.setColor(QPalette::ButtonText, QColor(255, 255, 255, 217));
    p.setColor(QPalette::Highlight, QColor(10, 132, 255));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::PlaceholderText, QColor(255, 255, 255, 64));
    p.setColor(QPalette::ToolTipBase, QColor(50, 50, 50));
    p.setColor(QPalette::ToolTipText, QColor(255, 255, 255));
    p.setColor(QPalette::Mid, QColor(80, 80, 80));
    p.setColor(QPalette::Light, QColor(90, 90, 90));
    p.setColor(QPalette::Dark, QColor(20, 20, 20));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(255, 255, 255, 64));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(255, 255, 255, 64));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(255, 255, 255, 64));
    return p;
}

}  // namespace varrow::ui::theme
