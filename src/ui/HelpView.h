#pragma once

#include <QList>
#include <QPair>
#include <QWidget>

namespace varrow::ui {

// The help popover: "How it works" and six short rows, each with its symbol.
class HelpView : public QWidget {
    Q_OBJECT
public:
    // (symbol, text) in order, texts as displayed.
    static QList<QPair<QString, QString>> rows();
    explicit HelpView(QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;
};

}  // namespace varrow::ui
