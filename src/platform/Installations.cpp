#include "platform/Installations.h"

#include "platform/ApplicationCopy.h"

#include <QDir>

namespace varrow::platform {

QStringList Installations::claudeLocations() {
    return {QStringLiteral("/Applications/Claude.app"),
            QDir::homePath() + QStringLiteral("/Applications/Claude.app")};
}

Result<> Installations::copyApplication(const QString& from, const QString& to) {
    if (ApplicationCopy::clone(from, to)) return {};
    return ApplicationCopy::plainCopy(from, to);
}

}  // namespace varrow::platform
