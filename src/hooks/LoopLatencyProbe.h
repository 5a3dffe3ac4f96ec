#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>

namespace varrow::hooks {

// Measures how long the UI thread's event loop goes unanswered: a timer asks every few
// milliseconds, and the longest lateness so far is written to a file each time it grows. Two
// figures: the lateness as measured, and the same less the time the thread was ready to run but
// waited for a processor (the kernel's run-queue wait), which is the machine being busy, not the
// loop being held. Emptying the file starts the measurement again. For benchmarks (VARROW_LOOP_LATENCY=FILE),
// never on in a normal run.
class LoopLatencyProbe : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 4;

    LoopLatencyProbe(QString path, QObject* parent);

private:
    void tick();
    // Nanoseconds this thread has waited on a run queue so far; 0 where the kernel does not say.
    qint64 runQueueWait();
    bool fileEmptied() const;

    // Both opened once: truncating or reopening a file on every new maximum would itself hold the
    // loop (a truncate can wait for the disk) and be measured as a stall.
    QFile out_;
    QFile schedstat_;
    QTimer timer_;
    QElapsedTimer since_;
    qint64 waited_ = 0;
    qint64 longest_ = 0;
    qint64 longestHeld_ = 0;
    bool written_ = false;
};

}  // namespace varrow::hooks
