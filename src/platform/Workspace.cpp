#include "platform/Workspace.h"

#include "platform/ApplicationCopy.h"

namespace varrow::platform {

QString Workspace::copyApplication(const QString& from, const QString& to) {
    if (ApplicationCopy::clone(from, to) || ApplicationCopy::plainCopy(from, to)) return {};
    return QStringLiteral("“%1” could not be copied").arg(from);
}

}  // namespace varrow::platform
