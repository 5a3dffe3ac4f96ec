#include "platform/linux/BundleInstallation.h"

#include <QFileInfo>

namespace varrow::platform::linux_ {

BundleInstallation::BundleInstallation(QString folder, BundleInfo info)
    : Installation(std::move(folder)), info_(std::move(info)) {}

std::shared_ptr<const BundleInstallation> BundleInstallation::read(const QString& folder) {
    auto info = BundleInfo::read(folder);
    if (!info) return nullptr;
    return std::make_shared<const BundleInstallation>(folder, std::move(*info));
}

QString BundleInstallation::executable() const {
    // A name with a slash would point out of Contents/MacOS.
    if (info_.executable.isEmpty() || info_.executable.contains(u'/')) return {};
    return QFileInfo(folder() + QStringLiteral("/Contents/MacOS/") + info_.executable).absoluteFilePath();
}

QString BundleInstallation::version() const {
    return info_.version.isEmpty() ? QStringLiteral("?") : info_.version;
}

}  // namespace varrow::platform::linux_
