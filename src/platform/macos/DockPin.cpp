#include "platform/macos/DockPin.h"

#include "platform/Paths.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QUrl>

namespace varrow::platform {

namespace {

QString domain() {
    return QString::fromLatin1(DockPin::kDomain);
}
QString key() {
    return QString::fromLatin1(DockPin::kKey);
}

bool isMap(const QVariant& value) {
    return value.typeId() == QMetaType::QVariantMap;
}

}  // namespace

std::optional<QString> DockPin::url(const QVariantMap& tile) {
    const QVariant tileData = tile.value(QStringLiteral("tile-data"));
    if (!isMap(tileData)) return std::nullopt;
    const QVariant fileData = tileData.toMap().value(QStringLiteral("file-data"));
    if (!isMap(fileData)) return std::nullopt;
    const QVariant text = fileData.toMap().value(QStringLiteral("_CFURLString"));
    if (text.typeId() != QMetaType::QString) return std::nullopt;
    return text.toString();
}

QString DockPin::urlString(const QString& bundlePath) {
    return QUrl::fromLocalFile(paths::withoutTrailingSlash(bundlePath) + u'/').toString(QUrl::FullyEncoded);
}

std::optional<QVariantList> DockPin::tiles() {
    const QVariant value = Platform::preferences().copyAppValue(key(), domain());
    if (!value.isValid()) return QVariantList{};
    if (value.typeId() != QMetaType::QVariantList) return std::nullopt;
    const QVariantList list = value.toList();
    for (const QVariant& item : list)
        if (!isMap(item)) return std::nullopt;
    return list;
}

bool DockPin::contains(const QString& bundlePath) {
    const QString wanted = urlString(bundlePath);
    for (const QVariant& item : tiles().value_or(QVariantList{}))
        if (url(item.toMap()) == wanted) return true;
    return false;
}

QVariantMap DockPin::tile(const QString& bundlePath) {
    const QString path = paths::withoutTrailingSlash(bundlePath);
    const QVariantMap fileData{{QStringLiteral("_CFURLString"), urlString(path)},
                               {QStringLiteral("_CFURLStringType"), qint64(15)}};
    const QVariantMap tileData{{QStringLiteral("file-label"), QFileInfo(path).completeBaseName()},
                               {QStringLiteral("file-data"), fileData}};
    return QVariantMap{{QStringLiteral("tile-type"), QStringLiteral("file-tile")},
                       {QStringLiteral("tile-data"), tileData}};
}

bool DockPin::add(const QString& bundlePath) {
    if (contains(bundlePath)) return true;
    std::optional<QVariantList> list = tiles();
    if (!list) return false;
    list->append(tile(bundlePath));
    write(*list);
    return true;
}

bool DockPin::removeMissing(const QString& folderPath) {
    const QString prefix = urlString(folderPath);
    const std::optional<QVariantList> list = tiles();
    if (!list) return false;
    QVariantList kept;
    for (const QVariant& item : *list) {
        const std::optional<QString> text = url(item.toMap());
        bool keep = !text || !text->startsWith(prefix);
        if (!keep) {
            const QUrl parsed(*text, QUrl::StrictMode);
            keep = !parsed.isValid() || !parsed.isLocalFile() || QFileInfo::exists(parsed.toLocalFile());
        }
        if (keep) kept.append(item);
    }
    if (kept.size() == list->size()) return false;
    write(kept);
    return true;
}

void DockPin::write(const QVariantList& tiles) {
    Platform::preferences().setAppValue(key(), tiles, domain());
    Platform::preferences().synchronize(domain());
    Platform::preferences().restartOwner(domain());
}

}  // namespace varrow::platform
