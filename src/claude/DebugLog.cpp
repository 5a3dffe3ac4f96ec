#include "claude/DebugLog.h"

#include "platform/SystemLog.h"

namespace varrow::claude {

void debugLog(const QString& message) {
    platform::SystemLog::debug(message);
}

}  // namespace varrow::claude
