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
#include "claude/LinkRouter.h"
#include "hooks/TestHooks.h"
#include "model/ProfileStore.h"
#include "platform/DisplaySession.h"
#include "platform/Platform.h"
#include "platform/linux/Installation.h"
#include "system/CycleHotKey.h"
#include "ui/AppGlyph.h"

#include <QApplication>
#include <QMenu>
#include <QTextStream>
#include <QTimer>
#include <cstdio>

namespace varrow::app {

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QString homeFolder() {
    return model::StoreLocations::standard().root;
}

}  // namespace

int run(int argc, char** argv) {
    // Scripted renders and the command line work without any display.
    if (!hasDisplay() && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool x11Client = platform::display_session::shouldRunAsX11Client();
    if (x11Client) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    // The programs Varrow starts choose their own platform.
    if (x11Client) qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral("Varrow"));
    QApplication::setOrganizationName(QStringLiteral("Varrow"));
    Translations::install();
    // Ties windows to the installed desktop entry (Wayland app id, startup notification).
    QGuiApplication::setDesktopFileName(platform::linux_::Installation::applicationId());
    QApplication::setWindowIcon(ui::AppGlyph::icon());
    // Closing the accounts window never quits; the tray (or the command line) stays.
    QApplication::setQuitOnLastWindowClosed(false);

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

    installDesktopPlatform();
    model::ProfileStore store;
    claude::ClaudeController claude(&store);

    MainWindow* window = nullptr;
    TrayMenu trayMenu(&store, &claude, [&window] {
        if (window) window->bringToFront();
    });
    MainWindow mainWindow(&store, &claude, &trayMenu, desktopWords());
    window = &mainWindow;
    TrayIcon trayIcon(&trayMenu);

    Commands commands(&store, &claude,
                      {[&mainWindow] { mainWindow.bringToFront(); },
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
    mainWindow.showForLaunch(platform::Platform::loginItems().launchedAsLoginItem());

    QTimer::singleShot(0, &app, [&app, &store, &claude, &trayMenu] {
        StartupWiring::shared().start(&store, &claude);
        hooks::TestHooks::run(&store, &claude, QProcessEnvironment::systemEnvironment(), desktopWords(),
                              [&trayMenu] {
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
