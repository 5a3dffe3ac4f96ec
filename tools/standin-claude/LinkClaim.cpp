#include "LinkClaim.h"

#include "platform/linux/DesktopEntry.h"

#include <QDir>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

using varrow::platform::linux_::DesktopEntry;

LinkClaim::LinkClaim(QObject* parent) : QObject(parent) {}

QByteArray LinkClaim::entryText(const QString& executable) {
    const QString program = DesktopEntry::quoteArgument(executable);
    const auto exec = [&program](const QString& rest) {
        return QStringLiteral("Exec=") + DesktopEntry::escapeValue(program + u' ' + rest);
    };
    const QStringList lines{
        QStringLiteral("[Desktop Entry]"),
        QStringLiteral("Type=Application"),
        QStringLiteral("Name=Claude"),
        QStringLiteral("Icon=com.anthropic.Claude"),
        QStringLiteral("TryExec=") + DesktopEntry::escapeValue(executable),
        exec(QStringLiteral("%u")),
        QStringLiteral("Terminal=false"),
        QStringLiteral("MimeType=") + QLatin1String(kScheme) + u';',
        QStringLiteral("Actions=new-window;quick-entry;"),
        QStringLiteral("X-Claude-Generated=true"),
        QString(),
        QStringLiteral("[Desktop Action new-window]"),
        QStringLiteral("Name=New Window"),
        exec(QStringLiteral("--new-window")),
        QString(),
        QStringLiteral("[Desktop Action quick-entry]"),
        QStringLiteral("Name=Quick Entry"),
        exec(QStringLiteral("--quick-entry")),
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
}

void LinkClaim::start(const QString& executable) {
    // $XDG_DATA_HOME/applications, else ~/.local/share/applications.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
    QSaveFile entry(QDir(folder).filePath(QLatin1String(kEntryName)));
    if (QDir().mkpath(folder) && entry.open(QIODevice::WriteOnly)) {
        entry.write(entryText(executable));
        if (entry.commit()) entryPath_ = entry.fileName();
    }
    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        emit finished(status == QProcess::NormalExit && code == 0);
    });
    connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) emit finished(false);
    });
    process_->start(QStringLiteral("xdg-mime"),
                    {QStringLiteral("default"), QLatin1String(kEntryName), QLatin1String(kScheme)});
}
