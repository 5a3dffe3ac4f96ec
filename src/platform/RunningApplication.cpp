#include "platform/RunningApplication.h"

#include "platform/Processes.h"

namespace varrow::platform {

RunningApplication::RunningApplication(Processes* owner, pid_t pid, quint64 startTime, QString applicationId,
                                       QString installationFolder, QString localizedName)
    : owner_(owner),
      pid_(pid),
      startTime_(startTime),
      applicationId_(std::move(applicationId)),
      installationFolder_(std::move(installationFolder)),
      localizedName_(std::move(localizedName)) {}

bool RunningApplication::isTerminated() const {
    return !owner_ || owner_->isTerminated(*this);
}

bool RunningApplication::isActive() const {
    return owner_ && owner_->isActive(*this);
}

bool RunningApplication::terminate() const {
    return owner_ && owner_->terminate(*this);
}

bool RunningApplication::forceTerminate() const {
    return owner_ && owner_->forceTerminate(*this);
}

}  // namespace varrow::platform
