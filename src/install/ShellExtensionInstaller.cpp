#include "install/ShellExtensionInstaller.h"

#include "install/ShellFavourites.h"

#include "platform/AtomicFile.h"
#include "platform/Timings.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace varrow::install {

namespace {

constexpr auto kUuid = "varrow@varrow.github.io";
constexpr auto kSchema = "org.gnome.shell";
const QStringList kFiles{QStringLiteral("extension.js"), QStringLiteral("metadata.json")};

int majorOf(const QString& version) {
    bool ok = false;
    const int major = version.section(u'.', 0, 0).toInt(&ok);
    return ok ? major : 0;
}

}  // namespace

ShellExtensionInstaller::ShellExtensionInstaller(Places places, QObject* parent)
    : QObject(parent), places_(std::move(places)) {}

QString ShellExtensionInstaller::uuid() {
    return QString::fromLatin1(kUuid);
}

ShellExtensionInstaller::Places ShellExtensionInstaller::sessionPlaces() {
    Places places;
    const QString extensions = QStringLiteral("gnome-shell/extensions");
    places.userExtensions =
        QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(extensions);
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) dirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : dirs.split(u':', Qt::SkipEmptyParts))
        places.systemExtensions.append(QDir(dir).filePath(extensions));
    return places;
}

QString ShellExtensionInstaller::buildFor(const QString& shellVersion) {
    const int major = majorOf(shellVersion);
    if (major >= 45) return QStringLiteral("45");
    if (major >= 43) return QStringLiteral("43");
    return {};
}

// gsettings in the background; done runs on the main thread with its output or gsettings's reason.
void ShellExtensionInstaller::gsettings(const QStringList& arguments, Done done) {
    ShellFavourites::runTool(this, places_.gsettings, arguments, std::move(done));
}

void ShellExtensionInstaller::setEnabled(const QStringList& uuids, Done done) {
    gsettings({QStringLiteral("set"), QString::fromLatin1(kSchema), QStringLiteral("enabled-extensions"),
               ShellFavourites::format(uuids)},
              std::move(done));
}

void ShellExtensionInstaller::read(const QString& key, std::function<void(const QString&)> next) {
    gsettings({QStringLiteral("get"), QString::fromLatin1(kSchema), key}, [this, key,
                                                                           next](const Result<QString>& out) {
        if (!out) return fail(out.failure().within(tr("Couldn't read GNOME's setting %1.").arg(key)).text());
        next(out.value().trimmed());
    });
}

void ShellExtensionInstaller::fail(const QString& message) {
    emit finished(Outcome::Failed, message);
}

void ShellExtensionInstaller::run() {
    read(QStringLiteral("disable-user-extensions"), [this](const QString& off) {
        extensionsOff_ = off == QLatin1String("true");
        read(QStringLiteral("enabled-extensions"), [this](const QString& enabled) {
            read(QStringLiteral("disabled-extensions"), [this, enabled](const QString& disabled) {
                const auto on = ShellFavourites::parse(enabled), off = ShellFavourites::parse(disabled);
                if (!on || !off) return fail(tr("GNOME's list of extensions could not be read."));
                enabled_ = *on;
                disabled_ = *off;
                haveSettings();
            });
        });
    });
}

void ShellExtensionInstaller::haveSettings() {
    if (disabled_.contains(uuid())) return emit finished(Outcome::DisabledByUser, {});
    // The shell's own version picks the build; it answers on the bus while it runs.
    QDBusMessage get = QDBusMessage::createMethodCall(
        QStringLiteral("org.gnome.Shell"), QStringLiteral("/org/gnome/Shell"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({QStringLiteral("org.gnome.Shell"), QStringLiteral("ShellVersion")});
    auto* watcher = new QDBusPendingCallWatcher(
        QDBusConnection::sessionBus().asyncCall(get, int(Timings::helperToolTimeout().count())), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *call;
        install(reply.isValid() ? reply.value().variant().toString() : QString());
    });
}

bool ShellExtensionInstaller::systemCopyServes(const QString& shellVersion) const {
    for (const QString& dir : places_.systemExtensions) {
        QFile file(QDir(dir).filePath(uuid() + QStringLiteral("/metadata.json")));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QJsonArray versions =
            QJsonDocument::fromJson(file.readAll()).object().value(u"shell-version").toArray();
        for (const QJsonValue& version : versions)
            if (majorOf(version.toString()) == majorOf(shellVersion)) return true;
    }
    return false;
}

bool ShellExtensionInstaller::copyBuild(const QString& build, QString* error) {
    const QDir target(QDir(places_.userExtensions).filePath(uuid()));
    if (!QDir().mkpath(target.path())) {
        *error = tr("Couldn't make the folder %1.").arg(target.path());
        return false;
    }
    for (const QString& name : kFiles) {
        QFile source(QStringLiteral("%1/%2/%3/%4").arg(places_.builds, build, uuid(), name));
        if (!source.open(QIODevice::ReadOnly)) {
            *error = tr("Varrow's extension for GNOME Shell %1 is missing.").arg(build);
            return false;
        }
        const QByteArray bytes = source.readAll();
        QFile current(target.filePath(name));
        if (current.open(QIODevice::ReadOnly) && current.readAll() == bytes) continue;
        if (!platform::writeFileAtomically(target.filePath(name), bytes, error)) return false;
    }
    return true;
}

void ShellExtensionInstaller::install(const QString& shellVersion) {
    if (extensionsOff_) return emit finished(Outcome::ExtensionsOff, {});
    // Without the shell's version (a shell not answering yet), Debian 12's is assumed.
    const QString version = shellVersion.isEmpty() ? QStringLiteral("43") : shellVersion;
    const QString build = buildFor(version);
    if (build.isEmpty())
        return fail(tr("GNOME Shell %1 is older than Varrow's extension supports.").arg(version));
    QString error;
    if (!systemCopyServes(version) && !copyBuild(build, &error)) return fail(error);
    if (enabled_.contains(uuid())) return emit finished(Outcome::AlreadyEnabled, {});
    setEnabled(enabled_ + QStringList{uuid()}, [this](const Result<QString>& out) {
        if (!out)
            return fail(
                out.failure().within(tr("Couldn't enable the extension in GNOME's settings.")).text());
        emit finished(Outcome::Enabled, {});
    });
}

void ShellExtensionInstaller::removeForUser(std::function<void(Result<bool>)> done) {
    bool removed = false;
    const QDir copy(QDir(places_.userExtensions).filePath(uuid()));
    QFile metadata(copy.filePath(QStringLiteral("metadata.json")));
    // Only Varrow's own files go, and the folder only once nothing else is left in it.
    if (metadata.open(QIODevice::ReadOnly) &&
        QJsonDocument::fromJson(metadata.readAll()).object().value(u"uuid").toString() == uuid()) {
        metadata.close();
        for (const QString& name : kFiles) {
            QFile file(copy.filePath(name));
            if (file.exists() && !file.remove())
                return done(Failure{tr("Couldn't remove %1.").arg(file.fileName()), file.errorString()});
        }
        QDir().rmdir(copy.path());
        removed = true;
    }
    gsettings({QStringLiteral("get"), QString::fromLatin1(kSchema), QStringLiteral("enabled-extensions")},
              [this, removed, done](const Result<QString>& out) {
                  const auto enabled = out ? ShellFavourites::parse(out.value().trimmed()) : std::nullopt;
                  // No GNOME settings here (or unreadable ones): there is nothing Varrow enabled.
                  if (!enabled || !enabled->contains(uuid())) return done(removed);
                  QStringList rest = *enabled;
                  rest.removeAll(uuid());
                  setEnabled(rest, [done](const Result<QString>& out) {
                      if (!out)
                          return done(out.failure().within(
                              tr("Couldn't disable the extension in GNOME's settings.")));
                      done(true);
                  });
              });
}

}  // namespace varrow::install
