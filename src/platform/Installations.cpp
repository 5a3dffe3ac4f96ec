#include "platform/Installations.h"

#include "platform/ApplicationCopy.h"

namespace varrow::platform {

Result<> Installations::copyApplication(const QString& from, const QString& to) {
    if (ApplicationCopy::clone(from, to)) return {};
    return ApplicationCopy::plainCopy(from, to);
}

}  // namespace varrow::platform
