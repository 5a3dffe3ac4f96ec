#pragma once

#include <QString>
#include <functional>

namespace varrow::platform {

// The platform's system log: standard error and syslog on Linux. Lines are written verbatim,
// never interpreted as a format.
class SystemLog {
public:
    static void write(const QString& line);
    // A line for whoever runs Varrow with VARROW_DEBUG set, after "[accounts] "; nothing otherwise.
    static void debug(const QString& line);

    // Tests capture the lines; an empty function restores the real log.
    using Sink = std::function<void(const QString&)>;
    static void setSink(Sink sink);
};

}  // namespace varrow::platform
