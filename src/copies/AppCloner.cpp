#include "copies/AppCloner.h"

#include "platform/AtomicFile.h"
#include "platform/BackgroundPool.h"
#include "platform/BinaryPlist.h"
#include "platform/Paths.h"

#include "copies/AccountIcon.h"
#include "copies/FileOps.h"
#include "platform/DesktopFiles.h"
#include "platform/Installations.h"
#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <QtConcurrent>

#include <plist/plist.h>

namespace varrow::copies {

namespace paths = platform::paths;

namespace {

constexpr auto kIndexMarker = ".metadata_never_index";

// Copies being made, by copy path, with the prepare calls waiting for each (main thread only).
QHash<QString, QList<std::function<void()>>>& inFlight() {
    static QHash<QString, QList<std::function<void()>>> copies;
    return copies;
}

QString folderFailure(const QString& path, const QString& reason) {
    return AppCloner::tr("Couldn't create the folder “%1”: %2.").arg(path, reason);
}

// The callback always runs on a later turn of the main event loop.
void deliver(const std::function<void(AppCloner::Prepared)>& done, AppCloner::Prepared prepared) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [done, prepared] { done(prepared); }, Qt::QueuedConnection);
}

QString desktopFolder(const model::Profile& profile, const QString& accountsDir) {
    const auto folder = profile.dataFolder(accountsDir);
    return folder ? QDir(*folder).filePath(QStringLiteral("Desktop")) : QString();
}

// Draws the account's icon and encodes it on a worker thread (a 1024-pixel picture takes tens of
// milliseconds), then sets it on the copy; then() runs on the main thread either way.
void paintIcon(platform::DesktopFiles& files, const model::Profile& profile, const QString& source,
               const QString& copy, const std::function<void()>& then) {
    const QImage claudeIcon = files.icon(source, AccountIcon::kCanvas);
    auto* watcher = new QFutureWatcher<QByteArray>();
    QObject::connect(watcher, &QFutureWatcher<QByteArray>::finished, watcher, [watcher, &files, copy, then] {
        watcher->deleteLater();
        if (const QByteArray png = watcher->result(); !png.isEmpty()) files.setIcon(png, copy);
        then();
    });
    watcher->setFuture(QtConcurrent::run(platform::backgroundPool(), [profile, claudeIcon] {
        return AccountIcon::renderIconPng(profile, claudeIcon);
    }));
}

// Steps after the copy is settled: the icon, the metadata, the update policy; then done.
void finishPrepare(platform::DesktopFiles& files, platform::Installations& installations,
                   const model::Profile& profile, const QString& source, const QString& copy,
                   std::optional<AppCloner::Meta> meta, const QString& dataDir,
                   const std::function<void()>& done) {
    // An account whose folder name is unusable has no data folder to protect.
    if (!dataDir.isEmpty()) AppCloner::blockSelfUpdates(dataDir);
    if (!meta) return done();
    const auto settle = [&installations, profile, copy, meta, done] {
        AppCloner::Meta updated = *meta;
        updated.iconSignature = AccountIcon::iconSignature(profile);
        AppCloner::writeMeta(updated, copy);
        // Where the desktop lists copies in its launcher, this one appears under its account's name.
        const QString icon = AppCloner::customIconPath(copy);
        installations.copyReady(copy, profile.name, QFileInfo::exists(icon) ? icon : QString());
        done();
    };
    if (meta->iconSignature == AccountIcon::iconSignature(profile)) return settle();
    paintIcon(files, profile, source, copy, settle);
}

}  // namespace

QString AppCloner::copyName(const model::Profile& profile) {
    QString name = profile.name;
    // A NUL would cut the path short outside the ".app" name, so it goes the same way as "/".
    name.replace(u'/', u'-').replace(u':', u'-').replace(QChar(0), u'-');
    return QStringLiteral("Claude ") + name + QStringLiteral(".app");
}

QString AppCloner::copyPath(const model::Profile& profile, const QString& appsDir) {
    return QDir(appsDir).filePath(copyName(profile));
}

QString AppCloner::metaPath(const QString& copyPath) {
    const QFileInfo info(copyPath);
    return info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".json"));
}

QString AppCloner::customIconPath(const QString& copyPath) {
    const QFileInfo info(copyPath);
    return info.dir().filePath(u'.' + info.fileName() + QStringLiteral(".icon.png"));
}

QString AppCloner::updatePolicyDir(const QString& dataDir) {
    return paths::withoutTrailingSlash(dataDir) + QStringLiteral("-3p");
}

QString AppCloner::cloneErrorMessage(const QString& text) {
    return tr("Couldn't prepare this account's copy of Claude (%1).").arg(text);
}

bool AppCloner::isCopying(const QString& copyPath) {
    return inFlight().contains(paths::standardised(copyPath));
}

void AppCloner::prepare(platform::DesktopFiles& files, platform::Installations& installations,
                        const model::Profile& profile, const QString& source, bool isRunning,
                        const QString& appsDir, const QString& accountsDir,
                        std::function<void(Prepared)> done) {
    if (profile.isDefault) {
        deliver(done, Prepared{source, {}});
        return;
    }
    const QString copy = copyPath(profile, appsDir);
    const QString key = paths::standardised(copy);
    if (auto it = inFlight().find(key); it != inFlight().end()) {
        // Join: run again once the copy under way has ended; it will then find the copy current.
        it->append([=, &files, &installations] {
            prepare(files, installations, profile, source, isRunning, appsDir, accountsDir, done);
        });
        return;
    }

    const QString dataDir = desktopFolder(profile, accountsDir);
    const QString sourceVersion = version(installations, source);
    const std::optional<Meta> meta = readMeta(copy);
    const bool current =
        QFileInfo::exists(copy) && meta && meta->sourcePath == source && meta->sourceVersion == sourceVersion;
    if (current || isRunning) {
        finishPrepare(files, installations, profile, source, copy, meta, dataDir, [done, copy] {
            deliver(done, Prepared{copy, {}});
        });
        return;
    }

    // The old record must not outlive a copy that fails half-way and then look current again.
    FileOps::removeEntry(metaPath(copy));
    inFlight().insert(key, {});
    auto* watcher = new QFutureWatcher<QString>();
    QObject::connect(watcher, &QFutureWatcher<QString>::finished, watcher, [=, &files, &installations] {
        const QString error = watcher->result();
        watcher->deleteLater();
        if (!error.isEmpty()) {
            deliver(done, Prepared{{}, error});
            for (const auto& resume : inFlight().take(key)) resume();
            return;
        }
        // Still in flight while its icon is painted: a second preparation waits for it.
        finishPrepare(files, installations, profile, source, copy, Meta{source, sourceVersion, {}}, dataDir,
                      [done, copy, key] {
                          deliver(done, Prepared{copy, {}});
                          for (const auto& resume : inFlight().take(key)) resume();
                      });
    });
    watcher->setFuture(QtConcurrent::run(platform::backgroundPool(), [&installations, source, copy, appsDir] {
        return makeCopy(installations, source, copy, appsDir);
    }));
}

QString AppCloner::makeCopy(platform::Installations& installations, const QString& source,
                            const QString& copyPath, const QString& appsDir) {
    if (const QString error = paths::makeFolder(appsDir); !error.isEmpty())
        return folderFailure(appsDir, error);
    FileOps::writeEmptyFile(QDir(appsDir).filePath(QString::fromLatin1(kIndexMarker)));
    if (FileOps::entryExists(copyPath)) {
        if (const QString error = FileOps::removeEntry(copyPath); !error.isEmpty()) return error;
    }

    // The platform picks the cheapest copy that runs on its own (a clone, links, a plain copy).
    const QString from = QFileInfo(source).absoluteFilePath();
    const QString to = QFileInfo(copyPath).absoluteFilePath();
    // The tool's or the system's own words stay with the sentence the user reads.
    if (const Result<> copied = installations.copyApplication(from, to); !copied)
        return cloneErrorMessage(copied.failure().reason.isEmpty() ? copied.failure().message
                                                                   : copied.failure().reason);
    return {};
}

QString AppCloner::version(platform::Installations& installations, const QString& appPath) {
    const QString unknown = QStringLiteral("?");
    QFile file(QDir(appPath).filePath(QStringLiteral("Contents/Info.plist")));
    if (!file.open(QIODevice::ReadOnly)) {
        // A native installation keeps its version its own way.
        const platform::InstallationRef installation = installations.installation(appPath);
        return installation ? installation->version() : unknown;
    }
    const QByteArray bytes = file.readAll();
    if (!platform::plistIsSafeToParse(bytes)) return unknown;
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root) return unknown;
    QString result = unknown;
    if (plist_get_node_type(root) == PLIST_DICT) {
        plist_t item = plist_dict_get_item(root, "CFBundleShortVersionString");
        if (item && plist_get_node_type(item) == PLIST_STRING) {
            // Not plist_get_string_val: it aborts on a binary ASCII string with bytes above 0x7F.
            uint64_t length = 0;
            // An empty version says nothing: it stays unknown, as a missing one.
            const char* value = plist_get_string_ptr(item, &length);
            if (value && length > 0) result = QString::fromUtf8(value, qsizetype(length));
        }
    }
    plist_free(root);
    return result;
}

std::optional<AppCloner::Meta> AppCloner::readMeta(const QString& copyPath) {
    QFile file(metaPath(copyPath));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonValue path = object.value(QStringLiteral("sourcePath"));
    const QJsonValue version = object.value(QStringLiteral("sourceVersion"));
    const QJsonValue signature = object.value(QStringLiteral("iconSignature"));
    if (!path.isString() || !version.isString() || !signature.isString()) return std::nullopt;
    return Meta{path.toString(), version.toString(), signature.toString()};
}

void AppCloner::writeMeta(const Meta& meta, const QString& copyPath) {
    const QString path = metaPath(copyPath);
    const QJsonObject object{{QStringLiteral("sourcePath"), meta.sourcePath},
                             {QStringLiteral("sourceVersion"), meta.sourceVersion},
                             {QStringLiteral("iconSignature"), meta.iconSignature}};
    // Replaces a symbolic link rather than writing through it: the record belongs beside the copy.
    platform::replaceWithoutSync(path, QJsonDocument(object).toJson(QJsonDocument::Compact));
}

namespace {
const QByteArray kPolicyBytes = QByteArrayLiteral("{\n  \"disableAutoUpdates\": true\n}\n");
const QByteArray kPolicyMarker = QByteArrayLiteral(
    "{\"writtenBy\":\"Varrow\",\"why\":\"stops this account's copy of Claude updating itself; Varrow "
    "refreshes it instead\"}\n");

QByteArray policyMeta(const QString& id) {
    return "{\"appliedId\":\"" + id.toLatin1() + "\",\"entries\":[{\"id\":\"" + id.toLatin1() +
           "\",\"name\":\"Default\"}]}\n";
}

bool holds(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!info.isFile() || info.isSymLink() || info.size() != bytes.size()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

// The id of the policy file an earlier, interrupted write left behind, so a repair completes that
// file rather than adding a second one beside it.
QString earlierPolicyId(const QString& library) {
    const QFileInfoList files =
        QDir(library).entryInfoList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QFileInfo& file : files) {
        const QString id = file.completeBaseName();
        if (id.size() == 36 && id == id.toLower() && !QUuid::fromString(id).isNull()) return id;
    }
    return {};
}
}  // namespace

void AppCloner::blockSelfUpdates(const QString& dataDir) {
    const QString policyDir = updatePolicyDir(dataDir);
    const QString marker = QDir(policyDir).filePath(QStringLiteral(".varrow"));
    // The marker is written last, so a complete marker means a complete set. The set is written
    // once and never rewritten after that, even if its files were later changed or deleted. A set
    // cut short (a kill or a full disk mid-way) has no complete marker and is completed here.
    if (holds(marker, kPolicyMarker)) return;

    const QString library = QDir(policyDir).filePath(QStringLiteral("configLibrary"));
    QString id = earlierPolicyId(library);
    if (id.isEmpty()) id = QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
    const QList<std::pair<QString, QByteArray>> files{
        {QDir(library).filePath(id + QStringLiteral(".json")), kPolicyBytes},
        {QDir(library).filePath(QStringLiteral("_meta.json")), policyMeta(id)},
        {marker, kPolicyMarker},
    };

    QString error = paths::makeFolder(library);
    if (!error.isEmpty()) error = folderFailure(library, error);
    for (const auto& [path, bytes] : files) {
        if (!error.isEmpty()) break;
        if (!holds(path, bytes)) error = FileOps::writePlainFile(path, bytes);
    }
    if (!error.isEmpty())
        platform::SystemLog::write(QStringLiteral("Varrow: could not write update policy: ") + error);
}

void AppCloner::removeUnused(platform::Installations& installations, const QSet<QString>& keeping,
                             const QSet<QString>& running, const QString& appsDir) {
    QSet<QString> kept;
    for (const QString& path : keeping) kept.insert(paths::standardised(path));
    QSet<QString> live;
    for (const QString& path : running) live.insert(paths::resolved(path));

    const QFileInfoList entries =
        QDir(appsDir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot <= 0 || name.mid(dot + 1) != u"app") continue;
        const QString path = entry.filePath();
        if (kept.contains(paths::standardised(path)) || live.contains(paths::resolved(path))) continue;
        if (isCopying(path)) continue;
        // Links are removed as links; nothing outside the folder is touched.
        FileOps::removeEntry(path);
        FileOps::removeEntry(metaPath(path));
        FileOps::removeEntry(customIconPath(path));
        installations.copyRemoved(path);
    }
    installations.pruneCopyEntries(appsDir);
}

void AppCloner::refreshIcon(platform::DesktopFiles& files, const model::Profile& profile,
                            const QString& source, const QString& appsDir) {
    if (profile.isDefault) return;
    const QString copy = copyPath(profile, appsDir);
    if (isCopying(copy)) return;
    std::optional<Meta> meta = readMeta(copy);
    if (!meta || !QFileInfo::exists(copy)) return;
    const QString signature = AccountIcon::iconSignature(profile);
    if (meta->iconSignature == signature) return;
    paintIcon(files, profile, source, copy, [copy, signature] {
        // Only over the record it was painted for: a copy made again meanwhile keeps its own.
        std::optional<Meta> now = readMeta(copy);
        if (!now) return;
        now->iconSignature = signature;
        writeMeta(*now, copy);
    });
}

}  // namespace varrow::copies
