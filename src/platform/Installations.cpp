#include "platform/Installations.h"

#include "platform/ApplicationCopy.h"

namespace varrow::platform {

QString Installations::copyApplication(const QString& from, const QString& to) {
    if (ApplicationCopy::clone(from, to) || ApplicationCopy::plainCopy(from, to)) return {};
    return QStringLiteral("“%1” could not be copied").arg(from);
}

}  // namespace varrow::platform
