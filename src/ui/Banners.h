#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QToolButton;

namespace varrow::ui {

// "Claude isn't installed yet" with a Download Claude button, on a soft clay panel.
class ClaudeMissingBanner : public QWidget {
    Q_OBJECT
public:
    explicit ClaudeMissingBanner(QWidget* parent = nullptr);
    QPushButton* downloadButton() const { return download_; }

signals:
    void downloadRequested();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPushButton* download_;
};

// The last error, with a Dismiss button, on a soft orange panel.
class ErrorBanner : public QWidget {
    Q_OBJECT
public:
    explicit ErrorBanner(QWidget* parent = nullptr);
    void setMessage(const QString& message);
    QString message() const;
    QToolButton* dismissButton() const { return dismiss_; }

signals:
    void dismissed();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QLabel* message_;
    QToolButton* dismiss_;
};

}  // namespace varrow::ui
