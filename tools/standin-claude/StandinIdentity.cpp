#include "StandinIdentity.h"

#include "install/AsarArchive.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
constexpr auto kBundleClass = "Claude";
constexpr auto kBundleAppId = "com.anthropic.claudefordesktop";
}  // namespace

StandinIdentity StandinIdentity::ofThisProcess() {
    // Not canonicalised: a hard-linked copy is known by the path it was started as.
    return of(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
}

StandinIdentity StandinIdentity::of(const QString& executable) {
    StandinIdentity identity;
    identity.executable = executable;
    identity.windowClass = QLatin1String(kBundleClass);
    identity.appId = QLatin1String(kBundleAppId);
    const QFileInfo exe(executable);
    const QString archive = exe.dir().filePath(QStringLiteral("resources/app.asar"));
    if (QFileInfo::exists(archive)) {
        identity.layout = Layout::Package;
        const QString fromPackage = appIdFromPackage(archive);
        const QString id = fromPackage.isEmpty() ? QLatin1String(kBundleClass) : fromPackage;
        identity.windowClass = id;
        identity.appId = id;
    } else if (exe.absolutePath().endsWith(QLatin1String(".app/Contents/MacOS"))) {
        identity.layout = Layout::Bundle;
    }
    return identity;
}

QString StandinIdentity::appIdFromPackage(const QString& archivePath) {
    const auto archive = varrow::install::AsarArchive::open(archivePath);
    if (!archive) return {};
    const auto bytes = archive->read(QStringLiteral("package.json"));
    if (!bytes) return {};
    const QJsonObject package = QJsonDocument::fromJson(*bytes).object();
    QString desktopName = package.value(QStringLiteral("desktopName")).toString();
    if (desktopName.endsWith(QLatin1String(".desktop"))) desktopName.chop(8);
    if (!desktopName.isEmpty()) return desktopName;
    return package.value(QStringLiteral("productName")).toString();
}

QString StandinIdentity::layoutName() const {
    static const char* const names[] = {"package", "bundle", "loose"};
    return QLatin1String(names[int(layout)]);
}
