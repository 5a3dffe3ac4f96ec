#include "StandinState.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace {
QJsonObject readObject(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}
}  // namespace

StandinState StandinState::capture(const QString& dataDir, const QStringList& arguments) {
    StandinState state;
    state.dataDir = dataDir;
    state.arguments = arguments;
    state.claudeConfigDirSet = qEnvironmentVariableIsSet("CLAUDE_CONFIG_DIR");
    state.claudeConfigDir = qEnvironmentVariable("CLAUDE_CONFIG_DIR");
    state.autoUpdatesDisabled = updatesDisabledBeside(dataDir);
    state.links = linksIn(arguments.mid(1));
    state.startedAt = QDateTime::currentMSecsSinceEpoch();
    return state;
}

QStringList StandinState::linksIn(const QStringList& arguments) {
    QStringList links;
    for (const QString& argument : arguments)
        if (argument.startsWith(QLatin1String("claude:"), Qt::CaseInsensitive)) links.append(argument);
    return links;
}

bool StandinState::updatesDisabledBeside(const QString& dataDir) {
    QString base = QDir::cleanPath(dataDir);
    const QDir library(base + QStringLiteral("-3p/configLibrary"));
    const QString applied = readObject(library.filePath(QStringLiteral("_meta.json")))
                                .value(QStringLiteral("appliedId"))
                                .toString();
    if (applied.isEmpty() || applied.contains(u'/')) return false;
    const QJsonValue flag = readObject(library.filePath(applied + QStringLiteral(".json")))
                                .value(QStringLiteral("disableAutoUpdates"));
    return flag.isBool() && flag.toBool();
}

QJsonObject StandinState::toJson() const {
    QJsonArray activationList;
    for (const Activation& activation : activations)
        activationList.append(QJsonObject{{QStringLiteral("active"), activation.active},
                                          {QStringLiteral("at"), double(activation.at)}});
    QJsonValue handler;  // null until the claim has finished
    if (linkHandler)
        handler = QJsonObject{{QStringLiteral("entry"),
                               linkHandler->entry.isEmpty() ? QJsonValue() : QJsonValue(linkHandler->entry)},
                              {QStringLiteral("xdgMime"), linkHandler->xdgMimeSucceeded},
                              {QStringLiteral("at"), double(linkHandler->at)}};
    return QJsonObject{
        {QStringLiteral("platform"), QGuiApplication::platformName()},
        {QStringLiteral("active"), !activations.isEmpty() && activations.constLast().active},
        {QStringLiteral("activations"), activationList},
        {QStringLiteral("startedAt"), double(startedAt)},
        {QStringLiteral("shownAt"), double(shownAt)},
        {QStringLiteral("pid"), QCoreApplication::applicationPid()},
        {QStringLiteral("dataDir"), dataDir},
        {QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)},
        {QStringLiteral("claudeConfigDir"), claudeConfigDirSet ? QJsonValue(claudeConfigDir) : QJsonValue()},
        {QStringLiteral("autoUpdatesDisabled"), autoUpdatesDisabled},
        {QStringLiteral("links"), QJsonArray::fromStringList(links)},
        {QStringLiteral("keys"), QJsonArray::fromStringList(keys)},
        {QStringLiteral("layout"), layout},
        {QStringLiteral("windowClass"), windowClass},
        {QStringLiteral("appId"), appId},
        {QStringLiteral("linkHandler"), handler},
        {QStringLiteral("activationTokens"), QJsonArray::fromStringList(activationTokens)},
        {QStringLiteral("laterConfigDirs"), QJsonArray::fromStringList(laterConfigDirs)},
    };
}

bool StandinState::write() const {
    if (!QDir().mkpath(dataDir)) return false;
    QSaveFile file(QDir(dataDir).filePath(QStringLiteral("standin-state.json")));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QJsonDocument(toJson()).toJson());
    return file.commit();
}
