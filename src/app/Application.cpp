#include "app/Application.h"

#include "app/Commands.h"
#include "app/DesktopPlatform.h"
#include "app/GnomeExtensionOffer.h"
#include "app/MainWindow.h"
#include "app/Requests.h"
#include "app/SingleInstance.h"
#include "app/StartupWiring.h"
#include "app/Translations.h"
#include "app/TrayIcon.h"
#include "app/TrayMenu.h"
#include "claude/ClaudeController.h"
#include "claude/IdleSleeper.h"
#include "claude/LinkRouter.h"
#include "claude/LoginOpener.h"
#include "hooks/TestHooks.h"
#include "model/ProfileStore.h"
#include "platform/DisplaySession.h"
#include "platform/Platform.h"
#include "platform/linux/SelfInstall.h"
#include "system/CycleHotKey.h"
#include "ui/AppGlyph.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTextStream>
#include <QThreadPool>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

namespace varrow::app {

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// VARROW_STARTUP_TRACE set: how long start-up took to each step, on standard error.
void trace(const char* step) {
    static const bool on = qEnvironmentVariableIsSet("VARROW_STARTUP_TRACE");
    if (!on) return;
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    std::fprintf(stderr, "startup %6.1f ms  %s\n", double(clock.nsecsElapsed()) / 1e6, step);
}

QString homeFolder() {
    return model::StoreLocations::standard().root;
}

}  // namespace

int run(int argc, char** argv) {
    trace("main");
    // Scripted renders and the command line work without any display.
    if (!hasDisplay() && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool x11Client = platform::display_session::shouldRunAsX11Client();
    if (x11Client) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    trace("QApplication");
    // The programs Varrow starts choose their own platform.
    if (x11Client) qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral("Varrow"));
    QApplication::setOrganizationName(QStringLiteral("Varrow"));
    Translations::install();
    // Ties windows to the installed desktop entry (Wayland app id, startup notification).
    QGuiApplication::setDesktopFileName(platform::linux_::SelfInstall::applicationId());
    QApplication::setWindowIcon(ui::AppGlyph::icon());
    // Closing the accounts window never quits; the tray (or the command line) stays.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's raster engine borrows the global pool's threads; idle, they wait without a timeout
    // rather than wake to end themselves 30 s later.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    trace("window icon");

    SingleInstance instance(homeFolder());
    if (!instance.acquire()) {
        // Another Varrow owns this home folder: show its window instead of starting a second one.
        if (SingleInstance::send(homeFolder(), QString::fromLatin1(requests::kShow))) return 0;
        QTextStream(stderr) << QCoreApplication::translate(
                                   "Application", "Varrow is already running for %1 but does not answer.")
                                   .arg(homeFolder())
                            << '\n';
        return 1;
    }

    trace("socket");
    installDesktopPlatform();
    trace("platform");
    model::ProfileStore store;
    trace("account list");
    claude::ClaudeController claude(&store, platform::Platform::services());
    trace("controller (first process scan)");

    // The accounts window is built when first shown: a login start usually never shows it.
    std::function<void()> showWindow;
    TrayMenu trayMenu(&store, &claude, [&showWindow] { showWindow(); });
    std::unique_ptr<MainWindow> mainWindow;
    auto window = [&]() -> MainWindow& {
        if (!mainWindow) {
            mainWindow = std::make_unique<MainWindow>(&store, &claude, &trayMenu, desktopWords());
            // Only the accounts window offers pinning: the panel's list is first read with it, not
            // at every start.
            platform::Platform::pinnedApps().refresh();
        }
        return *mainWindow;
    };
    showWindow = [&window] { window().bringToFront(); };
    TrayIcon trayIcon(&trayMenu);
    trace("tray");

    Commands commands(&store, &claude,
                      {showWindow,
                       [](bool backwards) {
                           if (system::CycleHotKey* key = StartupWiring::shared().hotKey())
                               key->trigger(backwards);
                       },
                       [&store, &claude](const QString& link) {
                           // A link may reach a Varrow started for it before start-up has settled.
                           StartupWiring::shared().start(&store, &claude);
                           return StartupWiring::shared().linkRouter()->route(link);
                       }});
    instance.setHandler([&commands](const QString& command, const QString& argument) {
        return commands.handle(command, argument);
    });

    // A login launch leaves only the tray; a second start or the tray brings the window back.
    const bool loginLaunch = platform::Platform::loginItems().launchedAsLoginItem();
    if (!loginLaunch || !platform::Platform::trays().isAvailable()) window().showForLaunch(loginLaunch);
    trace("window");

    claude::IdleSleeper sleeper(&claude, platform::Platform::processes());
    claude::LoginOpener loginOpener(&claude, platform::Platform::windowServer());
    QTimer::singleShot(0, &app, [&app, &store, &claude, &trayMenu, &loginOpener, loginLaunch] {
        trace("event loop");
        StartupWiring::shared().start(&store, &claude);
        trace("switcher, hot key, link handler");
        if (loginLaunch) loginOpener.start();
        hooks::TestHooks::run(&store, &claude, platform::Platform::services(),
                              QProcessEnvironment::systemEnvironment(), desktopWords(), [&trayMenu] {
                                  auto* menu = new QMenu;
                                  trayMenu.attach(menu, false);
                                  return menu;
                              });
        offerGnomeExtensionOnce(&app);
    });

    const int status = app.exec();
    StartupWiring::shared().reset();
    return status;
}

}  // namespace varrow::app
