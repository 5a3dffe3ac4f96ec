#include "app/Application.h"

#include "app/Commands.h"
#include "app/Helpers.h"
#include "app/MainWindow.h"
#include "app/SingleInstance.h"
#include "app/TrayIcon.h"
#include "app/TrayMenu.h"
#include "claude/ClaudeController.h"
#include "hooks/TestHooks.h"
#include "model/ProfileStore.h"
#include "platform/Platform.h"
#include "platform/linux/Installation.h"
#include "platform/linux/LinuxPlatform.h"
#include "ui/AppGlyph.h"

#include <QApplication>
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

int runClient(const CommandLineRequest& request) {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const std::optional<QString> reply =
        SingleInstance::send(homeFolder(), request.command, request.argument);
    if (!reply) {
        err << "Varrow is not running.\n";
        return 1;
    }
    if (*reply == Commands::kUnknown) {
        err << *reply;
        return 2;
    }
    out << *reply;
    if (!reply->isEmpty() && !reply->endsWith(QLatin1Char('\n'))) out << '\n';
    return reply->startsWith(QLatin1String(Commands::kNoAccountPrefix)) ? 1 : 0;
}

}  // namespace

std::optional<CommandLineRequest> commandLineRequest(const QStringList& arguments) {
    if (arguments.size() < 2) return std::nullopt;
    const QString& command = arguments.at(1);
    if (command == u"open" && arguments.size() >= 3)
        return CommandLineRequest{command, arguments.mid(2).join(u' ')};
    if (command == u"list" || command == u"show" || command == u"quit" || command == u"front")
        return CommandLineRequest{command, {}};
    return std::nullopt;
}

int run(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    if (auto request = commandLineRequest(arguments)) {
        QCoreApplication core(argc, argv);
        return runClient(*request);
    }

    // Scripted renders and the command line work without any display.
    if (!hasDisplay() && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varrow"));
    QApplication::setOrganizationName(QStringLiteral("Varrow"));
    // Ties windows to the installed desktop entry (Wayland app id, startup notification).
    QGuiApplication::setDesktopFileName(platform::linux_::Installation::applicationId());
    QApplication::setWindowIcon(ui::AppGlyph::icon());
    // Closing the accounts window never quits; the tray (or the command line) stays.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance(homeFolder());
    if (!instance.acquire()) {
        // Another Varrow owns this home folder: show its window instead of starting a second one.
        if (SingleInstance::send(homeFolder(), QStringLiteral("show"))) return 0;
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
    MainWindow mainWindow(&store, &claude, &trayMenu);
    window = &mainWindow;
    TrayIcon trayIcon(&trayMenu);

    Commands commands(&store, &claude, [&mainWindow] { mainWindow.bringToFront(); });
    instance.setHandler([&commands](const QString& command, const QString& argument) {
        return commands.handle(command, argument);
    });

    // A login launch leaves only the tray; a second start or the tray brings the window back.
    mainWindow.showForLaunch(platform::Platform::loginItems().launchedAsLoginItem());

    QTimer::singleShot(0, &app, [&store, &claude] {
        Helpers::shared().start(&store, &claude);
        hooks::TestHooks::run(&store, &claude);
    });

    const int status = app.exec();
    Helpers::shared().reset();
    return status;
}

}  // namespace varrow::app
