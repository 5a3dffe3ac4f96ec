#include "platform/DisplaySession.h"

#include <QtGlobal>
#include <optional>

namespace varrow::platform::display_session {

bool isWayland() {
    return qEnvironmentVariable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive) ==
               0 ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool shouldRunAsX11Client() {
    return isWayland() && !qEnvironmentVariableIsEmpty("DISPLAY") &&
           !qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

QStringList x11ClientArguments() {
    return {QStringLiteral("--ozone-platform=x11")};
}

bool startsAsX11Client(const QStringList& arguments) {
    // The last choice wins, as on Chromium's command line; the hint counts where no choice is made.
    std::optional<bool> platform, hint;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("--ozone-platform=")))
            platform = argument.section(u'=', 1) == QLatin1String("x11");
        else if (argument.startsWith(QLatin1String("--ozone-platform-hint=")))
            hint = argument.section(u'=', 1) == QLatin1String("x11");
    }
    return platform.value_or(hint.value_or(false));
}

}  // namespace varrow::platform::display_session
