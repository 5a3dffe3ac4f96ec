#pragma once

#include "platform/Installation.h"
#include "platform/linux/BundleInfo.h"

namespace varrow::platform::linux_ {

// An application bundle: "Name.app/Contents/Info.plist" names it and its executable in
// Contents/MacOS/.
class BundleInstallation : public Installation {
public:
    BundleInstallation(QString folder, BundleInfo info);
    // None when the folder has no readable Info.plist.
    static std::shared_ptr<const BundleInstallation> read(const QString& folder);

    Layout layout() const override { return Layout::Bundle; }
    QString executable() const override;
    QString applicationId() const override { return info_.identifier; }
    QString displayName() const override { return BundleInfo::displayName(folder()); }
    QString version() const override;

private:
    BundleInfo info_;
};

}  // namespace varrow::platform::linux_
