#include "platform/linux/CompositorSocket.h"

#include "platform/linux/CompositorIpc.h"
#include "platform/linux/HyprlandIpc.h"
#include "platform/linux/HyprlandSocket.h"
#include "platform/linux/SwaySocket.h"

namespace varrow::platform::linux_ {

std::unique_ptr<CompositorSocket> CompositorSocket::forSession(QObject* parent) {
    if (const QString sway = CompositorIpc::socketPath(); !sway.isEmpty())
        return std::make_unique<SwaySocket>(sway, parent);
    if (const QString hyprland = HyprlandIpc::socketPath(); !hyprland.isEmpty())
        return std::make_unique<HyprlandSocket>(hyprland, HyprlandIpc::eventSocketPath(), parent);
    return nullptr;
}

void CompositorSocket::setFocused(std::optional<pid_t> pid) {
    if (pid == focused_) return;
    focused_ = pid;
    emit focusChanged();
}

std::optional<pid_t> CompositorSocket::validPid(double value) {
    return value >= 1 && value <= 4194304 ? std::optional<pid_t>(pid_t(value)) : std::nullopt;
}

}  // namespace varrow::platform::linux_
