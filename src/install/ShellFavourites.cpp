#include "install/ShellFavourites.h"

#include "install/LauncherEntries.h"
#include "platform/Timings.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace varrow::install {

namespace {
constexpr auto kSchema = "org.gnome.shell";
constexpr auto kKey = "favorite-apps";
}  // namespace

QString ShellFavourites::tool() {
    // Tests point this at a stand-in; the real one is found on PATH.
    const QString set = qEnvironmentVariable("VARROW_GSETTINGS");
    return set.isEmpty() ? QStandardPaths::findExecutable(QStringLiteral("gsettings")) : set;
}

void ShellFavourites::run(const QStringList& arguments, std::function<void(Result<QString>)> done) {
    const QString gsettings = tool();
    if (gsettings.isEmpty()) {
        done(Failure{tr("The desktop's settings tool is not installed."),
                     QStringLiteral("gsettings not found")});
        return;
    }
    runTool(this, gsettings, arguments, std::move(done));
}

void ShellFavourites::runTool(QObject* owner, const QString& program, const QStringList& arguments,
                              std::function<void(Result<QString>)> done) {
    auto* process = new QProcess(owner);
    auto* timer = new QTimer(process);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, process, &QProcess::kill);
    connect(process, &QProcess::finished, owner, [process, done](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if (status == QProcess::NormalExit && code == 0) {
            done(QString::fromUtf8(process->readAllStandardOutput()));
            return;
        }
        const QString why = QString::fromUtf8(process->readAllStandardError()).trimmed();
        done(Failure{tr("The desktop's settings could not be changed."),
                     !why.isEmpty()                   ? why
                     : status == QProcess::NormalExit ? QStringLiteral("gsettings exited with %1").arg(code)
                                                      : QStringLiteral("gsettings did not finish")});
    });
    connect(process, &QProcess::errorOccurred, owner, [process, done](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        process->deleteLater();
        done(Failure{tr("The desktop's settings tool could not be started."), process->errorString()});
    });
    process->start(program, arguments);
    timer->start(Timings::helperToolTimeout());
}

void ShellFavourites::read(std::function<void(Result<QStringList>)> done) {
    run({QStringLiteral("get"), QLatin1String(kSchema), QLatin1String(kKey)}, [this,
                                                                               done](Result<QString> out) {
        if (!out) return done(out.failure());
        const auto ids = parse(out.value());
        if (!ids)
            return done(Failure{tr("The list of favourite applications is not in a form Varrow can change."),
                                out.value().trimmed()});
        if (*ids != ids_) {
            ids_ = *ids;
            emit changed();
        }
        done(*ids);
    });
}

void ShellFavourites::refresh() {
    read([](const Result<QStringList>&) {});
}

bool ShellFavourites::contains(const QString& appPath) const {
    return ids_.contains(LauncherEntries::entryId(appPath));
}

void ShellFavourites::add(const QString& appPath, Done done) {
    const QString id = LauncherEntries::entryId(appPath);
    if (id.isEmpty()) return done(Failure{tr("This copy of Claude has no launcher entry yet."), appPath});
    // Read again first: the user may have changed the list in the dash since.
    read([this, id, done](Result<QStringList> ids) {
        if (!ids) return done(ids.failure());
        if (ids.value().contains(id)) return done({});
        const QStringList wanted = ids.value() + QStringList{id};
        run({QStringLiteral("set"), QLatin1String(kSchema), QLatin1String(kKey), format(wanted)},
            [this, wanted, done](Result<QString> written) {
                if (!written) return done(written.failure());
                ids_ = wanted;
                emit changed();
                done({});
            });
    });
}

std::optional<QStringList> ShellFavourites::parse(const QString& text) {
    QString body = text.trimmed();
    if (body.startsWith(QLatin1String("@as"))) body = body.mid(3).trimmed();
    if (!body.startsWith(u'[') || !body.endsWith(u']')) return std::nullopt;
    QStringList ids;
    qsizetype i = 1;
    const qsizetype end = body.size() - 1;
    while (i < end) {
        const QChar c = body[i];
        if (c == u' ' || c == u',') {
            ++i;
            continue;
        }
        if (c != u'\'' && c != u'"') return std::nullopt;
        QString id;
        ++i;
        while (i < end && body[i] != c) {
            if (body[i] == u'\\' && i + 1 < end) ++i;
            id += body[i++];
        }
        if (i >= end) return std::nullopt;
        ++i;
        ids.append(id);
    }
    return ids;
}

QString ShellFavourites::format(const QStringList& ids) {
    QStringList quoted;
    for (QString id : ids)
        quoted.append(u'\'' + id.replace(u'\\', QLatin1String("\\\\")).replace(u'\'', QLatin1String("\\'")) +
                      u'\'');
    return u'[' + quoted.join(QLatin1String(", ")) + u']';
}

}  // namespace varrow::install
