#include "hooks/LoopLatencyProbe.h"

#include <QFile>

namespace varrow::hooks {

LoopLatencyProbe::LoopLatencyProbe(QString path, QObject* parent) : QObject(parent), path_(std::move(path)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &LoopLatencyProbe::tick);
    waited_ = runQueueWait();
    since_.start();
    timer_.start();
}

qint64 LoopLatencyProbe::runQueueWait() {
    // "time on the processor, time waiting on a run queue, timeslices", in nanoseconds.
    QFile file(QStringLiteral("/proc/thread-self/schedstat"));
    if (!file.open(QIODevice::ReadOnly)) return 0;
    return file.readAll().split(' ').value(1).toLongLong();
}

void LoopLatencyProbe::tick() {
    const qint64 waited = runQueueWait();
    const qint64 late = since_.restart() - kIntervalMs;
    const qint64 held = late - (waited - waited_) / 1000000;
    waited_ = waited;
    if (late <= longest_ && held <= longestHeld_) return;
    longest_ = std::max(longest_, late);
    longestHeld_ = std::max(longestHeld_, held);
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("max_stall_ms " + QByteArray::number(longest_) + "\nmax_held_ms " +
                   QByteArray::number(longestHeld_) + '\n');
}

}  // namespace varrow::hooks
