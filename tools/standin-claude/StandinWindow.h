#pragma once

#include <QWidget>

// The one window of the stand-in; closing it hides it, the process keeps running.
class StandinWindow : public QWidget {
    Q_OBJECT
public:
    explicit StandinWindow(const QString& dataDir, bool updatesDisabled, QWidget* parent = nullptr);
    void reopen();

signals:
    void activationChanged(bool active);
    // A key pressed in the window, as QKeySequence's portable text ("Ctrl+`").
    void keyTyped(const QString& key);

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
