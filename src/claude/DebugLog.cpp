#include "claude/DebugLog.h"

#include "platform/SystemLog.h"

#include <QtGlobal>

namespace varrow::claude {

void debugLog(const QString& message) {
    // Read on every call: cheap, and tests switch it on and off.
    if (!qEnvironmentVariableIsSet("VARROW_DEBUG")) return;
    platform::SystemLog::write(QStringLiteral("[accounts] ") + message);
}

}  // namespace varrow::claude
