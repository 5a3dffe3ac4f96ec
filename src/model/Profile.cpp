#include "model/Profile.h"

#include <QDir>
#include <QJsonValue>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

namespace varrow::model {

namespace {

bool isWordSeparator(QChar c) { return c == u' ' || c == u'-' || c == QChar(0x2014); }

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

QString Profile::terminalCommand(const QString& accountsDir) const {
    if (isDefault) return QStringLiteral("claude");
    const auto folder = dataFolder(accountsDir);
    // An unusable folder name gets a command that names no folder rather than a wrong one.
    if (!folder) return QStringLiteral("claude");
    QString path = *folder + "/Code";
    while (path.size() > 1 && path.endsWith(u'/')) path.chop(1);
    return QStringLiteral("CLAUDE_CONFIG_DIR=") + shellQuoted(path) + QStringLiteral(" claude");
}

bool Profile::isPlainFolderName(const QString& folderName) {
    return !folderName.isEmpty() && folderName != u"." && folderName != u".." && !folderName.contains(u'/') &&
           !folderName.contains(QChar(0));
}

std::optional<QString> Profile::dataFolder(const QString& accountsDir) const {
    if (isDefault || !isPlainFolderName(folderName)) return std::nullopt;
    return QDir(accountsDir).filePath(folderName);
}

QString Profile::formatDate(const QDateTime& date) {
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"));
}

std::optional<QDateTime> Profile::parseDate(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}Z$"));
    if (!form.match(text).hasMatch()) return std::nullopt;
    QDateTime date = QDateTime::fromString(text, Qt::ISODate);
    if (!date.isValid()) return std::nullopt;
    return date.toUTC();
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
    return o;
}

std::optional<Profile> Profile::fromJson(const QJsonValue& value, QString* error) {
    if (!value.isObject()) return fail(error, "an entry is not an object"), std::nullopt;
    const QJsonObject o = value.toObject();
    auto string = [&](const char* key, QString* out) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (!v.isString()) return fail(error, QStringLiteral("\"%1\" is missing or not text").arg(key));
        *out = v.toString();
        return true;
    };

    Profile p;
    QString idText, colorText, created;
    if (!string("id", &idText) || !string("name", &p.name) || !string("note", &p.note) ||
        !string("color", &colorText) || !string("folderName", &p.folderName) || !string("createdAt", &created))
        return std::nullopt;

    static const QRegularExpression uuidForm(
        QStringLiteral("^[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}$"));
    if (!uuidForm.match(idText).hasMatch()) return fail(error, "\"id\" is not a UUID"), std::nullopt;
    p.id = QUuid::fromString(idText);

    const auto color = colors::fromRawValue(colorText);
    if (!color) return fail(error, QStringLiteral("unknown colour \"%1\"").arg(colorText)), std::nullopt;
    p.color = *color;

    const QJsonValue isDefault = o.value("isDefault");
    if (!isDefault.isBool()) return fail(error, "\"isDefault\" is missing or not a boolean"), std::nullopt;
    p.isDefault = isDefault.toBool();

    const auto createdAt = parseDate(created);
    if (!createdAt) return fail(error, "\"createdAt\" is not a date"), std::nullopt;
    p.createdAt = *createdAt;

    // An explicit null counts as absent, as an optional field reads elsewhere.
    if (o.contains("lastOpenedAt") && !o.value("lastOpenedAt").isNull()) {
        const QJsonValue v = o.value("lastOpenedAt");
        const auto opened = v.isString() ? parseDate(v.toString()) : std::nullopt;
        if (!opened) return fail(error, "\"lastOpenedAt\" is not a date"), std::nullopt;
        p.lastOpenedAt = *opened;
    }
    return p;
}

}  // namespace varrow::model
