#include "platform/BackgroundWriter.h"

#include "platform/AtomicFile.h"

#include <algorithm>

namespace varrow::platform {

BackgroundWriter::BackgroundWriter(FailureHandler onFailure) : onFailure_(std::move(onFailure)) {}

BackgroundWriter::~BackgroundWriter() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
}

void BackgroundWriter::write(const QString& path, const QByteArray& bytes) {
    {
        std::lock_guard lock(mutex_);
        const auto pending =
            std::find_if(queue_.begin(), queue_.end(), [&](const Job& job) { return job.path == path; });
        if (pending != queue_.end())
            pending->bytes = bytes;
        else
            queue_.push_back({path, bytes});
        if (!thread_.joinable()) thread_ = std::thread(&BackgroundWriter::run, this);
    }
    wake_.notify_one();
}

void BackgroundWriter::flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void BackgroundWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        // What was asked before the end is still written.
        if (queue_.empty()) return;
        Job job = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        QString why;
        if (!writeFileAtomically(job.path, job.bytes, &why) && onFailure_) onFailure_(job.path, why);
        lock.lock();
        busy_ = false;
        if (queue_.empty()) idle_.notify_all();
    }
}

}  // namespace varrow::platform
