#include "platform/macos/ProcessArguments.h"

#include "platform/macos/ProcArgs2.h"

#include <sys/sysctl.h>
#include <QByteArray>

namespace varrow::platform::macos {

std::optional<QStringList> processArguments(pid_t pid) {
    int argMax = 0;
    size_t size = sizeof argMax;
    int maxName[2] = {CTL_KERN, KERN_ARGMAX};
    if (::sysctl(maxName, 2, &argMax, &size, nullptr, 0) != 0 || argMax <= 0) return std::nullopt;
    QByteArray buffer(argMax, '\0');
    size = size_t(argMax);
    int name[3] = {CTL_KERN, KERN_PROCARGS2, int(pid)};
    if (::sysctl(name, 3, buffer.data(), &size, nullptr, 0) != 0) return std::nullopt;
    return parseProcArgs2(buffer, int(size));
}

}  // namespace varrow::platform::macos
