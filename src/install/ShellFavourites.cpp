#include "install/ShellFavourites.h"
#include "platform/Timings.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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

std::optional<QStringList> ShellFavourites::read() {
    const QString gsettings = tool();
    if (gsettings.isEmpty()) return std::nullopt;
    QProcess process;
    process.start(gsettings, {QStringLiteral("get"), QLatin1String(kSchema), QLatin1String(kKey)});
    if (!process.waitForFinished(int(Timings::helperToolTimeout().count())) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return parse(QString::fromUtf8(process.readAllStandardOutput()));
}

bool ShellFavourites::add(const QString& entryId) {
    auto ids = read();
    if (!ids) return false;
    if (ids->contains(entryId)) return true;
    ids->append(entryId);
    QProcess process;
    process.start(tool(), {QStringLiteral("set"), QLatin1String(kSchema), QLatin1String(kKey), format(*ids)});
    return process.waitForFinished(int(Timings::helperToolTimeout().count())) &&
           process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
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
