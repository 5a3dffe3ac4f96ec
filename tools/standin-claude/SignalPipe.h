#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGUSR1 into Qt signals on the main thread through a self-pipe, so the
// handlers themselves only write one byte.
class SignalPipe : public QObject {
    Q_OBJECT
public:
    explicit SignalPipe(QObject* parent = nullptr);
    bool isValid() const { return notifier_ != nullptr; }

signals:
    void terminateRequested();
    void reopenRequested();

private:
    void drain();

    QSocketNotifier* notifier_ = nullptr;
};
