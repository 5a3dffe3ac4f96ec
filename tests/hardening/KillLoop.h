#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <set>

namespace varrow::test {

// Kills a writer at random moments and looks at what it left behind.
// The child runs `writeForever` (which never returns) after a fresh fork; the parent lets it run
// for a random 0..maxDelayUs microseconds, SIGKILLs it, reaps it and calls `inspect`. Returns the
// number of rounds in which the child had actually started writing (reported by the child through
// a pipe), so a test can tell it really caught writes in flight.
struct KillLoop {
    int rounds = 300;
    int maxDelayUs = 4000;
    unsigned seed = 20250314;

    int run(const std::function<void(int round)>& writeForever,
            const std::function<void(int round)>& inspect) const;
};

// Content of a file, or none when there is no such file.
std::optional<QByteArray> contentOf(const QString& path);

}  // namespace varrow::test
