#include "StandinWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QVBoxLayout>

StandinWindow::StandinWindow(const QString& dataDir, bool updatesDisabled, QWidget* parent)
    : QWidget(parent) {
    setWindowTitle(QStringLiteral("Claude — ") + dataDir);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("Stand-in Claude"), this);
    QFont font = heading->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    heading->setFont(font);
    layout->addWidget(heading);
    layout->addWidget(new QLabel(QStringLiteral("Data folder: ") + dataDir, this));
    layout->addWidget(
        new QLabel(QStringLiteral("Process: %1").arg(QCoreApplication::applicationPid()), this));
    layout->addWidget(new QLabel(updatesDisabled ? QStringLiteral("Automatic updates: off (policy applied)")
                                                 : QStringLiteral("Automatic updates: on"),
                                 this));
    layout->addStretch();
    resize(520, 260);
}

void StandinWindow::reopen() {
    showNormal();
    raise();
    activateWindow();
}

void StandinWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool modifierOnly = key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt ||
                              key == Qt::Key_Meta || key == Qt::Key_unknown;
    if (!modifierOnly)
        emit keyTyped(QKeySequence(event->keyCombination()).toString(QKeySequence::PortableText));
    QWidget::keyPressEvent(event);
}

void StandinWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) emit activationChanged(isActiveWindow());
    QWidget::changeEvent(event);
}
