#include "model/ProfileStore.h"

#include "platform/AtomicFile.h"
#include "platform/SystemLog.h"
#include "platform/UserPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTextBoundaryFinder>

namespace varrow::model {

using platform::SystemLog;

StoreLocations StoreLocations::forRoot(const QString& root) {
    const QDir dir(root);
    return StoreLocations{root, dir.filePath("Accounts"), dir.filePath("Apps")};
}

const StoreLocations& StoreLocations::standard() {
    static const StoreLocations locations = [] {
        if (qEnvironmentVariableIsSet("VARROW_HOME")) return forRoot(qEnvironmentVariable("VARROW_HOME"));
        return forRoot(QDir(platform::UserPaths::applicationSupport()).filePath("Varrow"));
    }();
    return locations;
}

ProfileStore::ProfileStore(std::optional<StoreLocations> locations, QObject* parent)
    : QObject(parent), locations_(locations ? *locations : StoreLocations::standard()) {
    load();
}

QString ProfileStore::listFile() const { return QDir(locations_.root).filePath("profiles.json"); }

void ProfileStore::setProfiles(const QList<Profile>& profiles) {
    profiles_ = profiles;
    emit profilesChanged(profiles_);
}

Profile ProfileStore::makeDefault() {
    Profile p;
    p.id = QUuid::createUuid();
    p.name = QStringLiteral("My Claude");
    p.color = ProfileColor::Clay;
    p.isDefault = true;
    p.createdAt = QDateTime::currentDateTimeUtc();
    return p;
}

void ProfileStore::load() {
    QFile file(listFile());
    QByteArray bytes;
    const bool readable = QFileInfo(file).isFile() && file.open(QIODevice::ReadOnly);
    if (readable) bytes = file.readAll();
    file.close();

    if (readable && !bytes.isEmpty()) {
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
        QString reason;
        QList<Profile> decoded;
        if (parseError.error != QJsonParseError::NoError) {
            reason = parseError.errorString();
        } else if (!doc.isArray()) {
            reason = QStringLiteral("the top level is not a list");
        } else {
            for (const QJsonValue& value : doc.array()) {
                auto profile = Profile::fromJson(value, &reason);
                if (!profile) break;
                decoded.append(*profile);
            }
            if (decoded.size() != doc.array().size()) decoded.clear();
            else reason.clear();
        }
        if (!reason.isEmpty()) {
            // The next save would overwrite the user's list: keep it under another name first.
            setAsideUnreadable(reason);
            setProfiles({makeDefault()});
            return;
        }
        if (!decoded.isEmpty()) {
            setProfiles(decoded);
            return;
        }
    }
    setProfiles({makeDefault()});
    save();
}

void ProfileStore::setAsideUnreadable(const QString& reason) {
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = listFile() + ".unreadable-" + stamp;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = listFile() + ".unreadable-" + stamp + "-" + QString::number(n);
    if (QFile::rename(listFile(), aside)) {
        SystemLog::write(QStringLiteral("Varrow: profiles.json could not be read (%1); kept it as %2")
                             .arg(reason, aside));
    } else {
        SystemLog::write(QStringLiteral("Varrow: profiles.json could not be read (%1) nor set aside").arg(reason));
    }
}

bool ProfileStore::save() {
    auto failed = [](const QString& why) {
        SystemLog::write(QStringLiteral("Varrow: could not save profiles: ") + why);
        return false;
    };
    if (!QDir().mkpath(locations_.root)) return failed(QStringLiteral("could not create %1").arg(locations_.root));

    QJsonArray array;
    for (const Profile& p : profiles_) array.append(p.toJson());
    const QByteArray bytes = QJsonDocument(array).toJson(QJsonDocument::Indented);

    QString error;
    if (!platform::writeFileAtomically(listFile(), bytes, &error)) return failed(error);
    return true;
}

std::optional<Profile> ProfileStore::profile(const QUuid& id) const {
    for (const Profile& p : profiles_)
        if (p.id == id) return p;
    return std::nullopt;
}

void ProfileStore::update(const Profile& profile) {
    QList<Profile> list = profiles_;
    for (Profile& p : list) {
        if (p.id != profile.id) continue;
        p = profile;
        p.name = uniqueName(profile.name, profile.id);
        setProfiles(list);
        save();
        return;
    }
}

void ProfileStore::remove(const Profile& profile, bool deleteData) {
    if (profile.isDefault) return;
    QList<Profile> list = profiles_;
    list.removeIf([&](const Profile& p) { return p.id == profile.id; });
    setProfiles(list);
    save();
    if (!deleteData) return;
    const auto folder = profile.dataFolder(locations_.accounts);
    if (folder && QFileInfo(*folder).exists()) platform::moveToTrash(*folder);
}

void ProfileStore::markOpened(const Profile& profile) {
    QList<Profile> list = profiles_;
    for (Profile& p : list) {
        if (p.id != profile.id) continue;
        p.lastOpenedAt = QDateTime::currentDateTimeUtc();
        setProfiles(list);
        save();
        return;
    }
}

QString ProfileStore::uniqueName(const QString& requested, std::optional<QUuid> excluding) const {
    QSet<QString> taken;
    for (const Profile& p : profiles_)
        if (!excluding || p.id != *excluding) taken.insert(p.name.toLower());
    if (taken.isEmpty()) return requested;
    if (!taken.contains(requested.toLower())) return requested;
    for (int n = 2;; ++n) {
        const QString candidate = requested + u' ' + QString::number(n);
        if (!taken.contains(candidate.toLower())) return candidate;
    }
}

QString ProfileStore::folderName(const QString& name) {
    QStringList pieces;
    QString current;
    const QList<uint> codePoints = name.toLower().toUcs4();
    for (uint cp : codePoints) {
        const auto category = QChar::category(char32_t(cp));
        const bool keep = (category >= QChar::Mark_NonSpacing && category <= QChar::Number_Other) ||
                          (category >= QChar::Letter_Uppercase && category <= QChar::Letter_Other);
        if (keep) {
            current += QString::fromUcs4(reinterpret_cast<const char32_t*>(&cp), 1);
        } else if (!current.isEmpty()) {
            pieces.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty()) pieces.append(current);
    QString slug = pieces.join(u'-');
    if (slug.isEmpty()) {
        slug = QStringLiteral("account");
    } else {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, slug);
        int count = 0;
        qsizetype end = 0;
        while (count < 32 && (end = finder.toNextBoundary()) != -1) ++count;
        if (count == 32 && end > 0) slug = slug.left(end);
    }
    return slug + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces).left(4).toLower();
}

}  // namespace varrow::model
