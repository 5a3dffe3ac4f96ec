#include "platform/SystemLog.h"

#include <syslog.h>
#include <QtGlobal>
#include <cstdio>

namespace varrow::platform {

namespace {
SystemLog::Sink& sink() {
    static SystemLog::Sink s;
    return s;
}
}  // namespace

void SystemLog::write(const QString& line) {
    if (sink()) {
        sink()(line);
        return;
    }
    const QByteArray bytes = line.toUtf8();
    std::fprintf(stderr, "%s\n", bytes.constData());
    std::fflush(stderr);
    syslog(LOG_NOTICE, "%s", bytes.constData());
}

void SystemLog::debug(const QString& line) {
    // Read on every call: cheap, and tests switch it on and off.
    if (qEnvironmentVariableIsSet("VARROW_DEBUG")) write(QStringLiteral("[accounts] ") + line);
}

void SystemLog::setSink(Sink s) {
    sink() = std::move(s);
}

}  // namespace varrow::platform
