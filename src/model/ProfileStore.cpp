#include "model/ProfileStore.h"

#include "platform/AtomicFile.h"
#include "platform/SystemLog.h"
#include "platform/UserPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTextBoundaryFinder>
#include <cstdio>

namespace varrow::model {

using platform::SystemLog;

namespace {

// Leaves room for the random suffix well inside NAME_MAX.
constexpr qsizetype kMaxSlugBytes = 128;
constexpr qsizetype kMaxListBytes = 32 * 1024 * 1024;

// The longest prefix of whole code points whose UTF-8 form has at most maxBytes bytes.
QString leftWithinUtf8(const QString& text, qsizetype maxBytes) {
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t cp = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        bytes += cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
        if (bytes > maxBytes) break;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

}  // namespace

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

namespace {
void saveFailed(const QString& why) {
    SystemLog::write(QStringLiteral("Varrow: could not save profiles: ") + why);
}
}  // namespace

ProfileStore::ProfileStore(std::optional<StoreLocations> locations, QObject* parent)
    : QObject(parent),
      locations_(locations ? *locations : StoreLocations::standard()),
      writer_([](const QString&, const QString& why) { saveFailed(why); }) {
    load();
}

QString ProfileStore::listFile() const {
    return QDir(locations_.root).filePath("profiles.json");
}

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
    // Bounded, so a runaway file cannot exhaust memory; no list Varrow writes comes near it. The
    // buffer is sized to the file: read(limit) would reserve the whole limit on every load.
    bool tooLarge = false;
    if (readable) {
        tooLarge = file.size() > kMaxListBytes;
        if (!tooLarge) bytes = file.read(file.size() + 1);
        tooLarge = tooLarge || bytes.size() > kMaxListBytes;
    }
    file.close();

    if (readable && (tooLarge || !bytes.isEmpty())) {
        QString reason = QStringLiteral("it is larger than 32 MB");  // only logged
        const auto decoded = tooLarge ? std::nullopt : decodeList(bytes, &reason);
        if (!decoded) {
            // The next save would overwrite the user's list: keep it under another name first.
            setAsideUnreadable(reason);
            setProfiles({makeDefault()});
            return;
        }
        if (!decoded->isEmpty()) {
            setProfiles(*decoded);
            return;
        }
    }
    setProfiles({makeDefault()});
    save();
}

std::optional<QList<Profile>> ProfileStore::decodeList(const QByteArray& bytes, QString* reason) {
    auto fail = [&](const QString& why) -> std::optional<QList<Profile>> {
        if (reason) *reason = why;
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) return fail(parseError.errorString());
    if (!doc.isArray())
        return fail(QCoreApplication::translate("ProfileStore", "the top level is not a list"));
    QList<Profile> decoded;
    QString why;
    for (const QJsonValue& value : doc.array()) {
        auto profile = Profile::fromJson(value, &why);
        if (!profile) return fail(why);
        decoded.append(*profile);
    }
    return decoded;
}

void ProfileStore::setAsideUnreadable(const QString& reason) {
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = listFile() + ".unreadable-" + stamp;
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = listFile() + ".unreadable-" + stamp + "-" + QString::number(n);
    if (QFile::rename(listFile(), aside)) {
        SystemLog::write(
            QStringLiteral("Varrow: profiles.json could not be read (%1); kept it as %2").arg(reason, aside));
    } else {
        SystemLog::write(
            QStringLiteral("Varrow: profiles.json could not be read (%1) nor set aside").arg(reason));
    }
}

QByteArray ProfileStore::encodeList(const QList<Profile>& profiles) {
    // The same text QJsonDocument writes (indented, keys sorted), written directly: saving runs
    // on every open and every edit, and this is several times cheaper for long lists.
    auto quoted = [](QByteArray& out, const QString& text) {
        out += '"';
        for (const char c : text.toUtf8()) {
            switch (c) {
                case '"':
                    out += "\\\"";
                    break;
                case '\\':
                    out += "\\\\";
                    break;
                case '\b':
                    out += "\\b";
                    break;
                case '\f':
                    out += "\\f";
                    break;
                case '\n':
                    out += "\\n";
                    break;
                case '\r':
                    out += "\\r";
                    break;
                case '\t':
                    out += "\\t";
                    break;
                default:
                    if (uchar(c) < 0x20) {
                        char escaped[8];
                        std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(uchar(c)));
                        out += escaped;
                    } else {
                        out += c;
                    }
            }
        }
        out += '"';
    };
    // A key or value of a newer version, as Qt's JSON writer gives it: exactly what was read comes
    // back, whatever it holds.
    auto asJson = [](const QJsonValue& value) {
        const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
        return text.mid(1, text.size() - 2);
    };
    QByteArray out;
    out.reserve(256 * (profiles.size() + 1));
    out += "[\n";
    for (qsizetype i = 0; i < profiles.size(); ++i) {
        const Profile& p = profiles[i];
        auto key = [&](const char* name) {
            out += "        \"";
            out += name;
            out += "\": ";
        };
        out += "    {\n";
        key("color");
        quoted(out, colors::rawValue(p.color));
        out += ",\n";
        key("createdAt");
        quoted(out, Profile::formatDate(p.createdAt));
        out += ",\n";
        key("folderName");
        quoted(out, p.folderName);
        out += ",\n";
        key("id");
        quoted(out, p.id.toString(QUuid::WithoutBraces).toUpper());
        out += ",\n";
        key("isDefault");
        out += p.isDefault ? "true" : "false";
        out += ",\n";
        if (p.lastOpenedAt) {
            key("lastOpenedAt");
            quoted(out, Profile::formatDate(*p.lastOpenedAt));
            out += ",\n";
        }
        key("name");
        quoted(out, p.name);
        out += ",\n";
        key("note");
        quoted(out, p.note);
        if (p.openAtLogin) {
            out += ",\n";
            key("openAtLogin");
            out += "true";
        }
        for (auto it = p.otherKeys.constBegin(); it != p.otherKeys.constEnd(); ++it) {
            out += ",\n        ";
            out += asJson(it.key());
            out += ": ";
            out += asJson(it.value());
        }
        out += "\n";
        out += i + 1 < profiles.size() ? "    },\n" : "    }\n";
    }
    out += "]\n";
    return out;
}

bool ProfileStore::save() {
    if (!QDir().mkpath(locations_.root)) {
        saveFailed(QStringLiteral("could not create %1").arg(locations_.root));
        return false;
    }
    writer_.write(listFile(), encodeList(profiles_));
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
        // One letter can carry any number of combining marks; the folder name must still fit the
        // file system's limit on a name (255 bytes), so very long clusters are cut by code point.
        slug = leftWithinUtf8(slug, kMaxSlugBytes);
    }
    return slug + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces).left(4).toLower();
}

std::optional<Profile> ProfileStore::findByName(const QString& name) const {
    return findByName(profiles_, name);
}

std::optional<Profile> ProfileStore::findByName(const QList<Profile>& profiles, const QString& name) {
    for (const Profile& profile : profiles)
        if (profile.name == name) return profile;
    return std::nullopt;
}

}  // namespace varrow::model
