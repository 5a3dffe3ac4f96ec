#pragma once

#include <QString>

namespace varrow::claude {

// Launch decisions for whoever runs Varrow with VARROW_DEBUG set (any value, even empty).
// The message goes to the system log verbatim after "[accounts] ".
void debugLog(const QString& message);

}  // namespace varrow::claude
