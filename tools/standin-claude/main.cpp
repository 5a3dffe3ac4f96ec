// A stand-in for the Claude desktop application: keeps its state in the folder named by
// --user-data-dir=, shows one window naming it, quits on SIGTERM and shows its window again on
// SIGUSR1 (the reopen request on Linux). A second start on the same folder hands its arguments and
// activation token to the running instance and exits; the running one records the claude: links
// among them and activates its window with the token. Laid out as the Linux package it takes its
// app id from the package and claims claude: links at every start, as Claude's Linux build does.
#include "LinkClaim.h"
#include "SignalPipe.h"
#include "SingleFolder.h"
#include "StandinIcon.h"
#include "StandinIdentity.h"
#include "StandinState.h"
#include "StandinWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

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

void save(const StandinState& state) {
    if (!state.write())
        std::fprintf(stderr, "could not write the state file in %s\n", qPrintable(state.dataDir));
}

int writeIcon(const QString& path, int pixels) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (pixels > 0 && drawStandinIcon(pixels).save(path, "PNG")) return 0;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    // The icon is written at build time without a display: --write-icon PATH [PIXELS].
    if ((argc == 3 || argc == 4) && qstrcmp(argv[1], "--write-icon") == 0) {
        QGuiApplication app(argc, argv);
        return writeIcon(QString::fromLocal8Bit(argv[2]), argc == 4 ? std::atoi(argv[3]) : 1024);
    }

    QStringList rawArguments;
    for (int i = 0; i < argc; ++i) rawArguments.append(QString::fromLocal8Bit(argv[i]));
    SingleFolder single;
    // Electron hands the later start's activation token to the running instance.
    const SingleFolder::Later later{rawArguments, qEnvironmentVariable("XDG_ACTIVATION_TOKEN"),
                                    qEnvironmentVariable("CLAUDE_CONFIG_DIR")};
    switch (single.claim(dataDirFrom(rawArguments), later)) {
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
    const StandinIdentity identity = StandinIdentity::ofThisProcess();
    QApplication app(argc, argv);
    // The X11 class and the Wayland app id. Chromium's --class= is accepted and ignored, as
    // Electron ignores it.
    QApplication::setApplicationName(identity.windowClass);
    QGuiApplication::setDesktopFileName(identity.appId);
    // Like a desktop application on the reference platform, closing the window keeps it running.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = QCoreApplication::arguments();
    const QString dataDir = dataDirFrom(arguments);
    StandinState state = StandinState::capture(dataDir, arguments);
    state.layout = identity.layoutName();
    state.windowClass = identity.windowClass;
    state.appId = identity.appId;
    save(state);

    LinkClaim linkClaim;
    QObject::connect(&linkClaim, &LinkClaim::finished, &app, [&state, &linkClaim](bool succeeded) {
        state.linkHandler =
            StandinState::LinkHandler{linkClaim.entryPath(), succeeded, QDateTime::currentMSecsSinceEpoch()};
        save(state);
    });
    if (identity.layout == StandinIdentity::Layout::Package) linkClaim.start(identity.executable);

    SignalPipe signals_;
    StandinWindow window(dataDir, state.autoUpdatesDisabled);
    // Ground truth for tests: when the window gained and lost activation, by the display server's word.
    QObject::connect(&window, &StandinWindow::activationChanged, &app, [&state](bool active) {
        if (!state.activations.isEmpty() && state.activations.constLast().active == active) return;
        state.activations.append({active, QDateTime::currentMSecsSinceEpoch()});
        save(state);
    });
    // Keys that reached the window, so a test can tell a key the desktop held from one passed on.
    QObject::connect(&window, &StandinWindow::keyTyped, &app, [&state](const QString& key) {
        state.keys.append(key);
        save(state);
    });
    QObject::connect(&signals_, &SignalPipe::terminateRequested, &app, &QCoreApplication::quit);
    QObject::connect(&signals_, &SignalPipe::reopenRequested, &window, &StandinWindow::reopen);
    QObject::connect(&signals_, &SignalPipe::closeRequested, &window, &QWidget::hide);
    if (!single.listen())
        std::fprintf(stderr, "could not listen for later starts in %s\n", qPrintable(dataDir));
    QObject::connect(&single, &SingleFolder::secondStart, &window,
                     [&state, &window](const SingleFolder::Later& later) {
                         state.links += StandinState::linksIn(later.arguments.mid(1));
                         state.laterConfigDirs.append(later.claudeConfigDir);
                         if (!later.activationToken.isEmpty()) {
                             state.activationTokens.append(later.activationToken);
                             // Qt's Wayland plugin activates with the token it finds here.
                             qputenv("XDG_ACTIVATION_TOKEN", later.activationToken.toUtf8());
                         }
                         save(state);
                         window.reopen();
                     });
    // A slow start, as a real Claude's first window takes a while: STANDIN_SHOW_DELAY_MS.
    auto show = [&state, &window] {
        window.show();
        state.shownAt = QDateTime::currentMSecsSinceEpoch();
        save(state);
    };
    if (const int delay = qEnvironmentVariableIntValue("STANDIN_SHOW_DELAY_MS"); delay > 0)
        QTimer::singleShot(delay, &window, show);
    else
        show();
    return app.exec();
}
