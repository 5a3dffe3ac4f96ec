#pragma once

#include "model/Profile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace varrow::copies {

// Claude's desktop settings file, claude_desktop_config.json in a data folder, which holds the MCP
// servers: My Claude's is copied into a new account before its first launch, or its MCP servers
// are merged into an existing account's file. Only the account's own Desktop folder is ever
// written, and a link planted there is never written through.
class DesktopConfig {
    Q_DECLARE_TR_FUNCTIONS(DesktopConfig)

public:
    static constexpr auto kFileName = "claude_desktop_config.json";
    static constexpr auto kBackupSuffix = ".bak";

    // My Claude's file: in the installed Claude's own data folder.
    static QString myClaudeFile();

    struct Read {
        bool exists = false;
        QByteArray bytes;
        std::optional<QJsonObject> object;  // none when missing, unreadable or not a JSON object
        QString problem;                    // why not, as the end of a sentence
    };
    static Read read(const QString& path);

    // Copies the source into the account's Desktop folder unless something is already there.
    // Empty when copied or left alone; else a sentence for the error banner.
    static QString seed(const QString& source, const QString& accountsDir, const model::Profile& profile);

    // What copying the source's MCP servers into the account's file would change.
    struct McpPlan {
        QStringList added;
        QStringList replaced;  // same name, different definition
        QString target;
        bool hadFile = false;
        QByteArray before;
        QByteArray after;
        QString error;  // a sentence; the plan is not to be applied when set
        bool changes() const { return error.isEmpty() && !(added.isEmpty() && replaced.isEmpty()); }
    };
    static McpPlan planMcpCopy(const QString& source, const QString& accountsDir,
                               const model::Profile& profile);
    // Writes the plan atomically and keeps the old file as claude_desktop_config.json.bak.
    // Empty on success, else a sentence.
    static QString apply(const McpPlan& plan);

    // The account's Desktop folder, created when missing, provided it stays inside the accounts
    // folder with no link on the way; none with a sentence in *error otherwise.
    static std::optional<QString> desktopFolder(const QString& accountsDir, const model::Profile& profile,
                                                QString* error);
};

}  // namespace varrow::copies
