#include "model/Profile.h"

#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonValue>
#include <QTextBoundaryFinder>
#include <cctype>
#include <cstdio>

namespace varrow::model {

namespace {

bool isWordSeparator(QChar c) {
    return c == u' ' || c == u'-' || c == QChar(0x2014);
}

QString firstGrapheme(const QString& word) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, word);
    const qsizetype end = finder.toNextBoundary();
    return word.left(end > 0 ? end : word.size());
}

// Inside double quotes the shell still expands these; escaping them keeps the path literal.
QString shellQuoted(const QString& path) {
    QString out;
    out.reserve(path.size() + 2);
    out += u'"';
    for (QChar c : path) {
        if (c == u'"' || c == u'$' || c == u'`' || c == u'\\') out += u'\\';
        out += c;
    }
    out += u'"';
    return out;
}

// 8-4-4-4-12 hexadecimal digits, either case, nothing else.
bool isCanonicalUuid(const QString& text) {
    if (text.size() != 36) return false;
    for (int i = 0; i < 36; ++i) {
        const QChar c = text[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != u'-') return false;
        } else if (c.unicode() > 127 || !std::isxdigit(c.unicode())) {
            return false;
        }
    }
    return true;
}

bool fail(QString* error, const QString& why) {
    if (error) *error = why;
    return false;
}

}  // namespace

QString Profile::initials() const {
    QStringList words;
    QString current;
    for (QChar c : name) {
        if (isWordSeparator(c)) {
            if (!current.isEmpty()) words.append(current);
            current.clear();
            if (words.size() == 2) break;
        } else {
            current += c;
        }
    }
    if (!current.isEmpty() && words.size() < 2) words.append(current);
    QString out;
    for (const QString& word : words) out += firstGrapheme(word).toUpper();
    return out.isEmpty() ? QStringLiteral("?") : out;
}

std::optional<QString> Profile::codeFolder(const QString& accountsDir) const {
    const auto folder = dataFolder(accountsDir);
    if (!folder) return std::nullopt;
    return platform::paths::withoutTrailingSlash(*folder + "/Code");
}

QString Profile::terminalCommand(const QString& accountsDir) const {
    // An unusable folder name gets a command that names no folder rather than a wrong one.
    const auto folder = codeFolder(accountsDir);
    if (!folder) return QStringLiteral("claude");
    return QStringLiteral("CLAUDE_CONFIG_DIR=") + shellQuoted(*folder) + QStringLiteral(" claude");
}

bool Profile::isPlainFolderName(const QString& folderName) {
    return !folderName.isEmpty() && folderName != u"." && folderName != u".." && !folderName.contains(u'/') &&
           !folderName.contains(QChar(0));
}

std::optional<QString> Profile::dataFolder(const QString& accountsDir) const {
    if (isDefault || !isPlainFolderName(folderName)) return std::nullopt;
    // Not QDir::filePath: it takes a name starting with ":" for a resource path and drops the folder.
    return accountsDir.endsWith(u'/') ? accountsDir + folderName : accountsDir + u'/' + folderName;
}

QString Profile::formatDate(const QDateTime& date) {
    const QDateTime utc = date.toUTC();
    const QDate d = utc.date();
    const QTime t = utc.time();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02dZ", d.year(), d.month(), d.day(),
                  t.hour(), t.minute(), t.second());
    return QString::fromLatin1(buffer);
}

std::optional<QDateTime> Profile::parseDate(const QString& text) {
    // Exactly yyyy-MM-ddTHH:mm:ssZ; parsed by hand because lists of thousands are read at start-up.
    if (text.size() != 20) return std::nullopt;
    auto digits = [&](int from, int count) {
        int value = 0;
        for (int i = from; i < from + count; ++i) {
            const QChar c = text[i];
            if (c < u'0' || c > u'9') return -1;
            value = value * 10 + (c.unicode() - u'0');
        }
        return value;
    };
    if (text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':' || text[16] != u':' ||
        text[19] != u'Z')
        return std::nullopt;
    const int year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    const int hour = digits(11, 2), minute = digits(14, 2), second = digits(17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0) return std::nullopt;
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

QJsonObject Profile::toJson() const {
    QJsonObject o;
    o.insert("id", id.toString(QUuid::WithoutBraces).toUpper());
    o.insert("name", name);
    o.insert("note", note);
    o.insert("color", colors::rawValue(color));
    o.insert("isDefault", isDefault);
    o.insert("folderName", folderName);
    o.insert("createdAt", formatDate(createdAt));
    if (lastOpenedAt) o.insert("lastOpenedAt", formatDate(*lastOpenedAt));
    if (openAtLogin) o.insert("openAtLogin", true);
    for (auto it = otherKeys.constBegin(); it != otherKeys.constEnd(); ++it)
        if (!o.contains(it.key())) o.insert(it.key(), it.value());
    return o;
}

std::optional<Profile> Profile::fromJson(const QJsonValue& value, QString* error) {
    if (!value.isObject())
        return fail(error, QCoreApplication::translate("Profile", "an entry is not an object")), std::nullopt;
    const QJsonObject o = value.toObject();
    auto string = [&](const char* key, QString* out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isString())
            return fail(error,
                        QCoreApplication::translate("Profile", "\"%1\" is missing or not text").arg(key));
        *out = v.toString();
        return true;
    };

    Profile p;
    QString idText, colorText, created;
    if (!string("id", &idText) || !string("name", &p.name) || !string("note", &p.note) ||
        !string("color", &colorText) || !string("folderName", &p.folderName) ||
        !string("createdAt", &created))
        return std::nullopt;

    if (!isCanonicalUuid(idText))
        return fail(error, QCoreApplication::translate("Profile", "\"id\" is not a UUID")), std::nullopt;
    p.id = QUuid::fromString(idText);

    const auto color = colors::fromRawValue(colorText);
    if (!color)
        return fail(error, QCoreApplication::translate("Profile", "unknown colour \"%1\"").arg(colorText)),
               std::nullopt;
    p.color = *color;

    const QJsonValue isDefault = o.value("isDefault");
    if (!isDefault.isBool())
        return fail(error,
                    QCoreApplication::translate("Profile", "\"isDefault\" is missing or not a boolean")),
               std::nullopt;
    p.isDefault = isDefault.toBool();

    const auto createdAt = parseDate(created);
    if (!createdAt)
        return fail(error, QCoreApplication::translate("Profile", "\"createdAt\" is not a date")),
               std::nullopt;
    p.createdAt = *createdAt;

    // An explicit null counts as absent, as an optional field reads elsewhere.
    if (o.contains("lastOpenedAt") && !o.value("lastOpenedAt").isNull()) {
        const QJsonValue v = o.value("lastOpenedAt");
        const auto opened = v.isString() ? parseDate(v.toString()) : std::nullopt;
        if (!opened)
            return fail(error, QCoreApplication::translate("Profile", "\"lastOpenedAt\" is not a date")),
                   std::nullopt;
        p.lastOpenedAt = *opened;
    }
    // Absent in lists written before it existed.
    if (o.contains("openAtLogin")) {
        const QJsonValue v = o.value("openAtLogin");
        if (!v.isBool()) return fail(error, "\"openAtLogin\" is not a boolean"), std::nullopt;
        p.openAtLogin = v.toBool();
    }
    static const QStringList known{"id",         "name",      "note",         "color",      "isDefault",
                                   "folderName", "createdAt", "lastOpenedAt", "openAtLogin"};
    for (auto it = o.constBegin(); it != o.constEnd(); ++it)
        if (!known.contains(it.key())) p.otherKeys.insert(it.key(), it.value());
    return p;
}

}  // namespace varrow::model
