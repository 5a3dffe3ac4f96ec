#include "hooks/LoopLatencyProbe.h"

#include <sys/stat.h>
#include <QFile>

namespace varrow::hooks {

LoopLatencyProbe::LoopLatencyProbe(QString path, QObject* parent)
    : QObject(parent), out_(std::move(path)), schedstat_(QStringLiteral("/proc/thread-self/schedstat")) {
    out_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    schedstat_.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &LoopLatencyProbe::tick);
    waited_ = runQueueWait();
    since_.start();
    timer_.start();
}

qint64 LoopLatencyProbe::runQueueWait() {
    // "time on the processor, time waiting on a run queue, timeslices", in nanoseconds.
    if (!schedstat_.isOpen() || !schedstat_.seek(0)) return 0;
    return schedstat_.readAll().split(' ').value(1).toLongLong();
}

bool LoopLatencyProbe::fileEmptied() const {
    struct stat info {};
    return written_ && out_.isOpen() && ::fstat(out_.handle(), &info) == 0 && info.st_size == 0;
}

void LoopLatencyProbe::tick() {
    // Emptying the file starts the measurement again (a benchmark leaves start-up out that way).
    // Removing it instead would make this process free its blocks when it let go of it.
    if (fileEmptied()) {
        written_ = false;
        longest_ = longestHeld_ = 0;
    }
    const qint64 waited = runQueueWait();
    const qint64 late = since_.restart() - kIntervalMs;
    const qint64 held = late - (waited - waited_) / 1000000;
    waited_ = waited;
    if (late <= longest_ && held <= longestHeld_) return;
    longest_ = std::max(longest_, late);
    longestHeld_ = std::max(longestHeld_, held);
    // Rewritten in place at a fixed width, so the file never has to be cut short.
    if (!out_.isOpen() || !out_.seek(0)) return;
    written_ = out_.write(QStringLiteral("max_stall_ms %1\nmax_held_ms %2\n")
                              .arg(longest_, 8)
                              .arg(longestHeld_, 8)
                              .toLatin1()) > 0;
}

}  // namespace varrow::hooks
