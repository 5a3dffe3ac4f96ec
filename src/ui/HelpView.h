#pragma once

#include "ui/DisplayText.h"

#include <QList>
#include <QPair>
#include <QWidget>

namespace varrow::ui {

// The help popover: "How it works" and five or six short rows, each with its symbol.
class HelpView : public QWidget {
    Q_OBJECT
public:
    // (symbol, text) in order, texts as displayed.
    static QList<QPair<QString, QString>> rows(const DesktopWords& words);
    static QString title() { return tr("How it works"); }
    explicit HelpView(const DesktopWords& words, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
};

}  // namespace varrow::ui
