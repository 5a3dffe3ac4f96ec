#include "platform/linux/BundleInfo.h"

#include "platform/Paths.h"
#include "platform/linux/PlistValue.h"

#include <QFileInfo>

namespace varrow::platform::linux_ {

std::optional<BundleInfo> BundleInfo::read(const QString& bundlePath) {
    const auto root = PlistValue::readFile(bundlePath + "/Contents/Info.plist");
    if (!root || root->typeId() != QMetaType::QVariantMap) return std::nullopt;
    const QVariantMap map = root->toMap();
    auto text = [&map](const char* key) {
        const QVariant v = map.value(QLatin1String(key));
        return v.typeId() == QMetaType::QString ? v.toString() : QString();
    };
    return BundleInfo{text("CFBundleIdentifier"), text("CFBundleExecutable"), text("CFBundleIconFile"),
                      text("CFBundleShortVersionString")};
}

QString BundleInfo::bundleOf(const QString& executablePath) {
    static const QLatin1String marker(".app/Contents/MacOS/");
    const qsizetype at = executablePath.lastIndexOf(marker);
    if (at <= 0 || executablePath.at(at - 1) == u'/') return {};
    if (executablePath.size() == at + marker.size()) return {};
    return executablePath.left(at + 4);
}

QString BundleInfo::displayName(const QString& bundlePath) {
    QString name = paths::fileName(bundlePath);
    if (name.endsWith(QLatin1String(".app"))) name.chop(4);
    return name;
}

}  // namespace varrow::platform::linux_
