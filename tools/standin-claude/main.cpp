// A stand-in for the Claude desktop application: keeps its state in the folder named by
// --user-data-dir=, shows one window naming it, quits on SIGTERM and shows its window again on
// SIGUSR1 (the reopen request on Linux). A second start on the same folder hands its arguments to
// the running instance and exits; the running one records the claude: links among them.
#include "SignalPipe.h"
#include "SingleFolder.h"
#include "StandinIcon.h"
#include "StandinState.h"
#include "StandinWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
constexpr auto kDataDirPrefix = "--user-data-dir=";

QString dataDirFrom(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1))
        if (argument.startsWith(QLatin1String(kDataDirPrefix)))
            return QFileInfo(argument.mid(int(qstrlen(kDataDirPrefix)))).absoluteFilePath();
    // Electron's default: the configuration folder, honouring XDG_CONFIG_HOME.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Claude");
}

// Electron's rule: a native Wayland client whenever the session offers Wayland, unless started
// with --ozone-platform=x11; then an X11 client on DISPLAY (Xwayland).
void chooseDisplayPlatform(const QStringList& arguments) {
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return;
    if (qEnvironmentVariable("QT_QPA_PLATFORM") == QLatin1String("offscreen")) return;
    QString platform = QStringLiteral("wayland");
    for (const QString& argument : arguments.mid(1))
        if (argument.startsWith(QLatin1String("--ozone-platform=")))
            platform =
                argument.mid(17) == QLatin1String("x11") ? QStringLiteral("xcb") : QStringLiteral("wayland");
    qputenv("QT_QPA_PLATFORM", platform.toLatin1());
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

    QStringList rawArguments;
    for (int i = 0; i < argc; ++i) rawArguments.append(QString::fromLocal8Bit(argv[i]));
    SingleFolder single;
    switch (single.claim(dataDirFrom(rawArguments), rawArguments)) {
        case SingleFolder::Start::HandedOver:
            return 0;
        case SingleFolder::Start::Failed:
            std::fprintf(stderr, "another instance holds %s but does not answer\n",
                         qPrintable(dataDirFrom(rawArguments)));
            return 1;
        case SingleFolder::Start::First:
            break;
    }

    chooseDisplayPlatform(rawArguments);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Claude"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.anthropic.claudefordesktop"));
    // Like a desktop application on the reference platform, closing the window keeps it running.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = QCoreApplication::arguments();
    // Like Electron's --class=: the windows' WM_CLASS class on X11 and their app_id on Wayland, so
    // launchers can tell copies apart.
    for (const QString& argument : arguments.mid(1))
        if (argument.startsWith(QLatin1String("--class=")) && argument.size() > 8) {
            QApplication::setApplicationName(argument.mid(8));
            QGuiApplication::setDesktopFileName(argument.mid(8));
        }
    const QString dataDir = dataDirFrom(arguments);
    StandinState state = StandinState::capture(dataDir, arguments);
    if (!state.write()) std::fprintf(stderr, "could not write the state file in %s\n", qPrintable(dataDir));

    SignalPipe signals_;
    StandinWindow window(dataDir, state.autoUpdatesDisabled);
    // Ground truth for tests: when the window gained and lost activation, by the display server's word.
    QObject::connect(&window, &StandinWindow::activationChanged, &app, [&state](bool active) {
        if (!state.activations.isEmpty() && state.activations.constLast().active == active) return;
        state.activations.append({active, QDateTime::currentMSecsSinceEpoch()});
        if (!state.write())
            std::fprintf(stderr, "could not write the state file in %s\n", qPrintable(state.dataDir));
    });
    QObject::connect(&signals_, &SignalPipe::terminateRequested, &app, &QCoreApplication::quit);
    QObject::connect(&signals_, &SignalPipe::reopenRequested, &window, &StandinWindow::reopen);
    if (!single.listen())
        std::fprintf(stderr, "could not listen for later starts in %s\n", qPrintable(dataDir));
    QObject::connect(
        &single, &SingleFolder::secondStart, &window, [&state, &window](const QStringList& later) {
            const QStringList links = StandinState::linksIn(later.mid(1));
            if (!links.isEmpty()) {
                state.links += links;
                if (!state.write())
                    std::fprintf(stderr, "could not write the state file in %s\n", qPrintable(state.dataDir));
            }
            window.reopen();
        });
    window.show();
    return app.exec();
}
