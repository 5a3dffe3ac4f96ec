// A stand-in for the Claude desktop application: keeps its state in the folder named by
// --user-data-dir=, shows one window naming it, quits on SIGTERM and shows its window again on
// SIGUSR1 (the reopen request on Linux).
#include "SignalPipe.h"
#include "StandinIcon.h"
#include "StandinState.h"
#include "StandinWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
constexpr auto kDataDirPrefix = "--user-data-dir=";

QString dataDirFrom(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        if (argument.startsWith(QLatin1String(kDataDirPrefix)))
            return QFileInfo(argument.mid(int(qstrlen(kDataDirPrefix)))).absoluteFilePath();
    return QDir::homePath() + QStringLiteral("/.config/Claude");
}

int writeIcon(const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (drawStandinIcon(1024).save(path, "PNG")) return 0;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    // The icon is written at build time without a display.
    if (argc == 3 && qstrcmp(argv[1], "--write-icon") == 0) {
        QGuiApplication app(argc, argv);
        return writeIcon(QString::fromLocal8Bit(argv[2]));
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Claude"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.anthropic.claudefordesktop"));
    // Like a desktop application on the reference platform, closing the window keeps it running.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = QCoreApplication::arguments();
    // Like Electron's --class=: the windows' WM_CLASS class, so launchers can tell copies apart.
    for (const QString& argument : arguments.mid(1))
        if (argument.startsWith(QLatin1String("--class=")) && argument.size() > 8)
            QApplication::setApplicationName(argument.mid(8));
    const QString dataDir = dataDirFrom(arguments);
    const StandinState state = StandinState::capture(dataDir, arguments);
    if (!state.write()) std::fprintf(stderr, "could not write the state file in %s\n", qPrintable(dataDir));

    SignalPipe signals_;
    StandinWindow window(dataDir, state.autoUpdatesDisabled);
    QObject::connect(&signals_, &SignalPipe::terminateRequested, &app, &QCoreApplication::quit);
    QObject::connect(&signals_, &SignalPipe::reopenRequested, &window, &StandinWindow::reopen);
    window.show();
    return app.exec();
}
