#pragma once

#include "platform/Installation.h"

namespace varrow::install {

// Claude's Linux package as it ships ("/usr/lib/claude-desktop": the Electron executable beside
// resources/app.asar), or an account's copy laid out the same way ("Claude Work.app").
class PackageInstallation : public platform::Installation {
public:
    PackageInstallation(QString folder, QString executableName);
    // None when the folder is not laid out as Claude's package.
    static std::shared_ptr<const PackageInstallation> at(const QString& folder);

    Layout layout() const override { return Layout::Package; }
    QString executable() const override;
    QString applicationId() const override;
    QString displayName() const override;
    QString version() const override;
    QString windowClass() const override;
    QImage icon(int pixels) const override;

private:
    QString executableName_;
};

}  // namespace varrow::install
