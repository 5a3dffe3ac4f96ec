#pragma once

#include <sys/types.h>
#include <QPointer>
#include <QString>
#include <memory>

namespace varrow::platform {

class Processes;

// The platform's handle of one running application. The process service hands out one handle per
// process (pid and start time), so two handles of the same process compare equal as pointers.
class RunningApplication {
public:
    RunningApplication(Processes* owner, pid_t pid, quint64 startTime, QString applicationId,
                       QString installationFolder, QString localizedName);

    pid_t processIdentifier() const { return pid_; }
    quint64 startTime() const { return startTime_; }
    // Who the application is, as its installation names it (the same for every copy of it); empty
    // when the process runs from no installation or the installation does not say.
    QString applicationId() const { return applicationId_; }
    // The folder of the installation the process runs from; empty when none.
    QString installationFolder() const { return installationFolder_; }
    QString localizedName() const { return localizedName_; }

    bool isTerminated() const;
    bool isActive() const;
    // Normal quit request and forced quit; false when the request could not be sent.
    bool terminate() const;
    bool forceTerminate() const;

private:
    QPointer<Processes> owner_;
    pid_t pid_;
    quint64 startTime_;
    QString applicationId_;
    QString installationFolder_;
    QString localizedName_;
};

using AppHandle = std::shared_ptr<RunningApplication>;

}  // namespace varrow::platform
