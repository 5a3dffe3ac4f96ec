#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <set>

namespace varrow::test {

// Kills a writer at random moments and looks at what it left behind.
// The child runs `writeForever` after a fresh fork; it calls `ready` once set up, just before it
// starts writing. The parent then lets it run for a random 0..maxDelayUs microseconds, SIGKILLs
// it, reaps it and calls `inspect`. Returns the number of rounds in which the kill ended the
// child, so a test can tell it really caught writes in flight.
struct KillLoop {
    int rounds = 300;
    int maxDelayUs = 4000;
    unsigned seed = 20250314;

    int run(const std::function<void(int round, const std::function<void()>& ready)>& writeForever,
            const std::function<void(int round)>& inspect) const;

    // A delay that spans several writes: `write` is timed over a few runs in this process.
    static int spanOf(const std::function<void()>& write, int writes = 8);
};

// Content of a file, or none when there is no such file.
std::optional<QByteArray> contentOf(const QString& path);

}  // namespace varrow::test
