#include "app/Application.h"

#include "app/Commands.h"
#include "app/MainWindow.h"
#include "app/Requests.h"
#include "app/SingleInstance.h"
#include "app/StartupWiring.h"
#include "app/TrayMenu.h"
#include "claude/ClaudeController.h"
#include "hooks/TestHooks.h"
#include "model/ProfileStore.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "system/CycleHotKey.h"
#include "ui/AppGlyph.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varrow"));
    QApplication::setOrganizationName(QStringLiteral("Varrow"));
    QApplication::setWindowIcon(ui::AppGlyph::icon());
    // Closing the accounts window never quits; the tray (or the command line) stays.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(homeFolder());
    if (!instance.acquire()) {
        // Another Varrow owns this home folder: show its window instead of starting a second one.
        if (SingleInstance::send(homeFolder(), QString::fromLatin1(requests::kShow))) return 0;
        QTextStream(stderr) << "Varrow is already running for " << homeFolder() << " but does not answer.\n";
        return 1;
    }

    platform::linux_::installLinuxPlatform();
    model::ProfileStore store;
    claude::ClaudeController claude(&store);

    MainWindow* window = nullptr;
    TrayMenu trayMenu(&store, &claude, [&window] {
        if (window) window->bringToFront();
    });
    const bool trayAvailable = QSystemTrayIcon::isSystemTrayAvailable();
    MainWindow mainWindow(&store, &claude, &trayMenu, !trayAvailable);
    window = &mainWindow;

    QMenu trayContent;
    QSystemTrayIcon tray(ui::AppGlyph::icon());
    if (trayAvailable) {
        trayMenu.attach(&trayContent, true);
        tray.setContextMenu(&trayContent);
        tray.setToolTip(QStringLiteral("Varrow"));
        // A plain click opens the same menu as a right click, as a menu-bar item would.
        QObject::connect(&tray, &QSystemTrayIcon::activated, &trayContent, [&trayContent](auto reason) {
            if (reason == QSystemTrayIcon::Trigger) trayContent.popup(QCursor::pos());
        });
        tray.show();
    }

    Commands commands(&store, &claude,
                      {[&mainWindow] { mainWindow.bringToFront(); },
                       [](bool backwards) {
                           if (system::CycleHotKey* key = StartupWiring::shared().hotKey())
                               key->trigger(backwards);
                       }});
    instance.setHandler([&commands](const QString& command, const QString& argument) {
        return commands.handle(command, argument);
    });

    // A login launch leaves only the tray; a second start or the tray brings the window back.
    if (!platform::Platform::loginItems().launchedAsLoginItem()) mainWindow.show();

    QTimer::singleShot(0, &app, [&store, &claude] {
        StartupWiring::shared().start(&store, &claude);
        hooks::TestHooks::run(&store, &claude);
    });

    const int status = app.exec();
    StartupWiring::shared().reset();
    return status;
}

}  // namespace varrow::app
