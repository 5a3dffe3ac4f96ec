#pragma once

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace varrow::platform {

// Replaces files with writeFileAtomically on a thread of its own, so the UI thread never waits for
// the disk to confirm a write. Writes land in the order asked; a newer write of a file replaces
// one of the same file not yet begun. The thread starts with the first write and then sleeps
// until the next one.
class BackgroundWriter {
public:
    // Called on the writer's thread with the file and the reason it could not be written.
    using FailureHandler = std::function<void(const QString& path, const QString& reason)>;

    explicit BackgroundWriter(FailureHandler onFailure = {});
    // Finishes every write asked for first.
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    void write(const QString& path, const QByteArray& bytes);
    // Returns once every write asked for so far has ended (for the end of the program and tests).
    void flush();

private:
    struct Job {
        QString path;
        QByteArray bytes;
    };
    void run();

    FailureHandler onFailure_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> queue_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace varrow::platform
