#pragma once

#include "install/ClaudeUserEntry.h"
#include "platform/Installations.h"

#include <memory>

namespace varrow::install {

// Claude's Linux package: recognised by its archive, copied by links where clones fail, and
// listed in the desktop's launcher through one entry per copy.
class ClaudeInstallations : public platform::Installations {
    Q_OBJECT
public:
    using Installations::Installations;

    platform::InstallationRef installation(const QString& folder) override;
    QString folderOfExecutable(const QString& executablePath) override;
    QStringList claudeLocations() override;
    Result<> copyApplication(const QString& from, const QString& to) override;
    QStringList copyLaunchArguments(const QString& copyPath) override;
    void copyReady(const QString& copyPath, const QString& accountName, const QString& iconPath) override;
    void copyRemoved(const QString& copyPath) override;
    void pruneCopyEntries(const QString& appsDir) override;

private:
    // Watched from the first copy on: only a copy's start can make Claude's entry name a copy.
    std::unique_ptr<ClaudeUserEntry> claudeEntry_;  // by canonical folder; empty: none known
};

}  // namespace varrow::install
