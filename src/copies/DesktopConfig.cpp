#include "copies/DesktopConfig.h"

#include "platform/AtomicFile.h"
#include "platform/UserPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace varrow::copies {

namespace {

const QString kServers = QStringLiteral("mcpServers");

// Settings may hold tokens for MCP servers: readable by the owner only.
constexpr QFileDevice::Permissions kPrivate = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool isInside(const QString& path, const QString& folder) {
    return path.size() > folder.size() && path.startsWith(folder) && path.at(folder.size()) == u'/';
}

// Anything at the path, a dangling link included.
bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

QString quotedName(const model::Profile& profile) {
    return DesktopConfig::tr("“%1”", "a quoted account name").arg(profile.name);
}

}  // namespace

QString DesktopConfig::myClaudeFile() {
    return QDir(platform::UserPaths::claudeData()).filePath(QLatin1String(kFileName));
}

DesktopConfig::Read DesktopConfig::read(const QString& path) {
    Read result;
    QFile file(path);
    result.exists = occupied(path);
    if (!result.exists) {
        result.problem = tr("doesn't exist", "the settings file");
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = tr("can't be read (%1)", "the settings file").arg(file.errorString());
        return result;
    }
    result.bytes = file.readAll();
    QJsonParseError parse{};
    const QJsonDocument document = QJsonDocument::fromJson(result.bytes, &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject())
        result.problem = tr("isn't valid JSON", "the settings file");
    else
        result.object = document.object();
    return result;
}

std::optional<QString> DesktopConfig::desktopFolder(const QString& accountsDir, const model::Profile& profile,
                                                    QString* error) {
    auto fail = [&](const QString& why) -> std::optional<QString> {
        if (error)
            *error =
                tr("The data folder of %1 %2.", "%2: what is wrong with it").arg(quotedName(profile), why);
        return std::nullopt;
    };
    const std::optional<QString> account = profile.dataFolder(accountsDir);
    if (!account) return fail(tr("has an unusable name", "the data folder"));
    const QString desktop = QDir(*account).filePath(QStringLiteral("Desktop"));
    for (const QString& step : {*account, desktop})
        if (QFileInfo(step).isSymLink())
            return fail(tr("is a link, so Varrow won't write into it", "the data folder"));
    if (!QDir().mkpath(desktop)) return fail(tr("couldn't be created", "the data folder"));
    const QString root = QFileInfo(accountsDir).canonicalFilePath();
    const QString real = QFileInfo(desktop).canonicalFilePath();
    if (root.isEmpty() || !isInside(real, root))
        return fail(tr("lies outside Varrow's accounts folder", "the data folder"));
    return desktop;
}

QString DesktopConfig::seed(const QString& source, const QString& accountsDir,
                            const model::Profile& profile) {
    const Read from = read(source);
    if (!from.object)
        return tr("My Claude's settings file %1, so %2 starts without My Claude's MCP servers and settings.",
                  "%1: what is wrong with the file")
            .arg(from.problem, quotedName(profile));
    QString error;
    const std::optional<QString> desktop = desktopFolder(accountsDir, profile, &error);
    if (!desktop) return error;
    const QString target = QDir(*desktop).filePath(QLatin1String(kFileName));
    if (QFileInfo(target).isSymLink())
        return tr("The settings file of %1 is a link, so Varrow left it alone.").arg(quotedName(profile));
    // A file already there is the account's own.
    if (occupied(target)) return {};
    if (!platform::writeFileAtomically(target, from.bytes, &error))
        return tr("My Claude's settings couldn't be copied (%1), so %2 starts without My Claude's MCP "
                  "servers and "
                  "settings.")
            .arg(error, quotedName(profile));
    QFile::setPermissions(target, kPrivate);
    return {};
}

DesktopConfig::McpPlan DesktopConfig::planMcpCopy(const QString& source, const QString& accountsDir,
                                                  const model::Profile& profile) {
    McpPlan plan;
    const Read from = read(source);
    if (!from.object) {
        plan.error = tr("My Claude's settings file %1, so there are no MCP servers to copy.",
                        "%1: what is wrong with the file")
                         .arg(from.problem);
        return plan;
    }
    const QJsonValue servers = from.object->value(kServers);
    if (!servers.isObject() || servers.toObject().isEmpty()) {
        plan.error = tr("My Claude has no MCP servers to copy.");
        return plan;
    }
    const std::optional<QString> desktop = desktopFolder(accountsDir, profile, &plan.error);
    if (!desktop) return plan;
    plan.target = QDir(*desktop).filePath(QLatin1String(kFileName));
    if (QFileInfo(plan.target).isSymLink()) {
        plan.error = tr("The settings file of %1 is a link, so Varrow won't write through it.")
                         .arg(quotedName(profile));
        return plan;
    }

    QJsonObject settings;
    const Read into = read(plan.target);
    plan.hadFile = into.exists;
    if (into.exists) {
        if (!into.object) {
            plan.error = tr("The settings file of %1 %2, so Varrow didn't change it.",
                            "%2: what is wrong with the file")
                             .arg(quotedName(profile), into.problem);
            return plan;
        }
        settings = *into.object;
        plan.before = into.bytes;
    }
    const QJsonValue existing = settings.value(kServers);
    if (!existing.isUndefined() && !existing.isObject()) {
        plan.error =
            tr("The MCP servers of %1 aren't in a form Varrow can merge into, so it didn't change them.")
                .arg(quotedName(profile));
        return plan;
    }
    QJsonObject merged = existing.toObject();
    const QJsonObject incoming = servers.toObject();
    for (auto it = incoming.begin(); it != incoming.end(); ++it) {
        if (!merged.contains(it.key()))
            plan.added.append(it.key());
        else if (merged.value(it.key()) != it.value())
            plan.replaced.append(it.key());
        merged.insert(it.key(), it.value());
    }
    settings.insert(kServers, merged);
    plan.after = QJsonDocument(settings).toJson(QJsonDocument::Indented);
    return plan;
}

QString DesktopConfig::apply(const McpPlan& plan) {
    if (!plan.error.isEmpty()) return plan.error;
    // Checked again at the last moment: the plan may be old.
    if (QFileInfo(plan.target).isSymLink())
        return tr("The settings file is now a link, so Varrow didn't write through it.");
    QString error;
    if (plan.hadFile) {
        const QString backup = plan.target + QLatin1String(kBackupSuffix);
        // A link in the backup's place is removed, never written through.
        if (QFileInfo(backup).isSymLink()) QFile::remove(backup);
        if (!platform::writeFileAtomically(backup, plan.before, &error))
            return tr("The old settings couldn't be kept as a backup (%1), so nothing was changed.")
                .arg(error);
        QFile::setPermissions(backup, kPrivate);
    }
    if (!platform::writeFileAtomically(plan.target, plan.after, &error))
        return tr("The settings file couldn't be written (%1); it is unchanged.").arg(error);
    QFile::setPermissions(plan.target, kPrivate);
    return {};
}

}  // namespace varrow::copies
