#pragma once

#include "model/ProfileColor.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>
#include <optional>

namespace varrow::model {

// One account. A plain value; lists identify accounts by id.
struct Profile {
    QUuid id;
    QString name;
    QString note;
    ProfileColor color = ProfileColor::Clay;
    bool isDefault = false;
    QString folderName;
    QDateTime createdAt;
    std::optional<QDateTime> lastOpenedAt;
    // Opened by Varrow when it starts with the session.
    bool openAtLogin = false;
    // Keys this version does not know (written by a newer one), kept as they were on every save.
    QJsonObject otherKeys;

    bool operator==(const Profile&) const = default;

    // Up to two initials, whole grapheme clusters in full upper case; "?" when the name has no words.
    QString initials() const;
    // The shell command that starts Claude Code on this account's configuration folder.
    QString terminalCommand(const QString& accountsDir) const;
    // The folder Claude Code keeps this account's configuration in (CLAUDE_CONFIG_DIR); none for
    // the default account, which uses Claude Code's own, and for an unusable folder name.
    std::optional<QString> codeFolder(const QString& accountsDir) const;

    // The account's own data folder, or none for the default account and for a folder name that
    // is not one plain path component (a hand-edited list must never lead outside accountsDir).
    std::optional<QString> dataFolder(const QString& accountsDir) const;
    static bool isPlainFolderName(const QString& folderName);

    QJsonObject toJson() const;
    // Strict reading; none with a reason in *error when any field is missing or malformed.
    static std::optional<Profile> fromJson(const QJsonValue& value, QString* error = nullptr);

    static QString formatDate(const QDateTime& date);
    static std::optional<QDateTime> parseDate(const QString& text);
};

}  // namespace varrow::model
