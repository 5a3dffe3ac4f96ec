#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGUSR1 and SIGUSR2 (tests: the user closing its window) into Qt signals on the main thread
// through a self-pipe, so the handlers themselves only write one byte.
class SignalPipe : public QObject {
    Q_OBJECT
public:
    explicit SignalPipe(QObject* parent = nullptr);
    bool isValid() const { return notifier_ != nullptr; }

signals:
    void terminateRequested();
    void reopenRequested();
    void closeRequested();

private:
    void drain();

    QSocketNotifier* notifier_ = nullptr;
};
