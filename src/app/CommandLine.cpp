#include "app/CommandLine.h"

#include "app/Requests.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"
#include "app/Uninstall.h"
#include "claude/LinkRouter.h"
#include "install/ClaudeInstallations.h"
#include "install/ShellExtensionInstaller.h"
#include "model/ProfileStore.h"
#include "platform/ProcessReplace.h"
#include "platform/linux/LinuxLinkHandlers.h"
#include "platform/linux/LinuxLoginItems.h"
#include "platform/linux/ProcReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QThread>

namespace varrow::app {

namespace {

constexpr auto kConfigVariable = "CLAUDE_CONFIG_DIR";

QString quoted(const QString& name) {
    return QCoreApplication::translate("CommandLine", "“%1”", "a quoted name or path").arg(name);
}

bool isNoAccount(const QString& reply) {
    return reply.startsWith(QLatin1String(requests::kNoAccountPrefix));
}

// Waits a poll step at a time until done() holds or waitMs are up; whether it held.
bool pollUntil(int waitMs, const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs) {
        QThread::msleep(ulong(Timings::commandLinePoll().count()));
        if (done()) return true;
    }
    return false;
}

// Sends, starting Varrow and waiting for its socket when nothing answers the first time.
std::optional<QString> sendStarting(const CommandLine::Outside& outside, const QString& command,
                                    const QString& argument) {
    std::optional<QString> reply = outside.send(command, argument);
    if (reply) return reply;
    if (!outside.start || !outside.start()) return std::nullopt;
    pollUntil(outside.startWaitMs, [&] { return (reply = outside.send(command, argument)).has_value(); });
    return reply;
}

// Every step of "uninstall" with this session's own services; returns once all are done.
std::pair<QStringList, QStringList> removeForThisUser(const QString& apps) {
    install::ClaudeInstallations installations;
    platform::linux_::LinuxLoginItems loginItems;
    platform::linux_::LinuxLinkHandlers linkHandlers;
    install::ShellExtensionInstaller extension(install::ShellExtensionInstaller::sessionPlaces());

    QSet<QString> running;
    const platform::linux_::ProcReader processes(QStringLiteral("/proc"), &installations);
    const QString inside = QDir::cleanPath(apps) + u'/';
    for (pid_t pid : processes.listProcesses())
        if (const QString folder = processes.folderOfProcess(pid); folder.startsWith(inside))
            running.insert(folder);

    Uninstall uninstall({loginItems, linkHandlers, installations, extension}, apps, running);
    std::optional<std::pair<QStringList, QStringList>> result;
    QEventLoop loop;
    QObject::connect(&uninstall, &Uninstall::finished, &loop,
                     [&](const QStringList& done, const QStringList& failed) {
                         result.emplace(done, failed);
                         loop.quit();
                     });
    uninstall.run();
    if (!result) loop.exec();
    return *result;
}

}  // namespace

QString CommandLine::helpText() {
    return tr(
        "Usage: varrow [COMMAND]\n"
        "Keeps several Claude accounts open side by side. Without a command, starts Varrow\n"
        "(or shows the accounts window of the one already running).\n"
        "\n"
        "Commands:\n"
        "  list              the accounts; running=true for each one that is open\n"
        "  open NAME...      opens each named account, or brings it to the front\n"
        "                    (starts Varrow first when it is not running)\n"
        "  quit NAME         quits the named account's Claude (\"quit\" alone quits Varrow)\n"
        "  command NAME      prints the terminal command for Claude Code with that account\n"
        "  code NAME [ARGS]  runs Claude Code (claude) with that account's configuration,\n"
        "                    passing ARGS on unchanged\n"
        "  open-link URL     passes a claude: sign-in link to the account that asked for it\n"
        "  cycle [--back]    brings the next (or previous) open account forward, as Ctrl+` does;\n"
        "                    nothing happens unless Claude is in front\n"
        "  login NAME on|off whether the named account opens when Varrow starts at login\n"
        "  show              shows the accounts window\n"
        "  front             prints the account in front, or \"-\"\n"
        "  uninstall         quits Varrow and takes out of your desktop what it put there: its\n"
        "                    login entry, the accounts' copies of Claude and their launcher\n"
        "                    entries, its sign-in link handler and GNOME Shell extension;\n"
        "                    your accounts and their data stay\n"
        "  --help            shows this text\n"
        "  --version         shows Varrow's version\n"
        "\n"
        "Names match exactly; quote a name that holds spaces: varrow open \"Side Project\".\n"
        "Exit status: 0 done, 1 no such account (or the link was not passed on), 2 wrong usage, 3 Varrow is "
        "not running or could not be started, 127 claude is not on PATH.\n");
}

CommandLine::Parsed CommandLine::parse(const QStringList& arguments) {
    if (arguments.size() < 2) return {};
    const QString& verb = arguments.at(1);
    const QStringList rest = arguments.mid(2);
    auto usage = [](const QString& sentence) { return Parsed{std::nullopt, sentence}; };
    auto plain = [](Action action, const QStringList& names = {}) {
        return Parsed{Request{action, names, {}, false, false}, {}};
    };
    if (verb == u"--help" || verb == u"-h" || verb == u"help") return plain(Action::Help);
    if (verb == u"--version") return plain(Action::Version);
    if (verb == u"uninstall") {
        if (!rest.isEmpty()) return usage(tr("“%1” takes no names.").arg(verb));
        return plain(Action::Uninstall);
    }
    if (verb == u"list" || verb == u"show" || verb == u"front") {
        if (!rest.isEmpty()) return usage(tr("“%1” takes no names.").arg(verb));
        return plain(verb == u"list" ? Action::List : verb == u"show" ? Action::Show : Action::Front);
    }
    if (verb == u"open") {
        if (rest.isEmpty()) return usage(tr("“open” needs at least one account name."));
        return plain(Action::Open, rest);
    }
    if (verb == u"quit") {
        if (rest.isEmpty()) return plain(Action::QuitVarrow);
        if (rest.size() > 1) return usage(tr("“quit” takes one account name; quote a name with spaces."));
        return plain(Action::Quit, rest);
    }
    if (verb == u"command") {
        if (rest.size() != 1) return usage(tr("“command” takes exactly one account name."));
        return plain(Action::Command, rest);
    }
    if (verb == u"code") {
        if (rest.isEmpty()) return usage(tr("“code” needs an account name."));
        return Parsed{Request{Action::Code, {rest.first()}, rest.mid(1), false, false}, {}};
    }
    if (verb == u"open-link") {
        if (rest.size() != 1) return usage(tr("“open-link” takes exactly one link."));
        // Anything else would reach a Claude as an argument it was never meant to get.
        if (!claude::LinkRouter::isClaudeLink(rest.first()))
            return usage(tr("Varrow only passes on claude: links; “%1” is not one.").arg(rest.first()));
        return plain(Action::OpenLink, rest);
    }
    if (verb == u"cycle") {
        if (rest.size() > 1 || (rest.size() == 1 && rest.first() != u"--back"))
            return usage(tr("“cycle” takes only --back."));
        return Parsed{Request{Action::Cycle, {}, {}, rest.size() == 1, false}, {}};
    }
    if (verb == u"login") {
        if (rest.size() != 2 || (rest.at(1) != u"on" && rest.at(1) != u"off"))
            return usage(tr("“login” takes an account name and on or off."));
        return Parsed{Request{Action::Login, {rest.first()}, {}, false, rest.at(1) == u"on"}, {}};
    }
    // Qt's own options and the login-item flag start Varrow.
    if (verb.startsWith(u'-')) return {};
    return usage(tr("“%1” is not a Varrow command; see varrow --help.").arg(verb));
}

int CommandLine::execute(const Request& request, QTextStream& out, QTextStream& err, const Outside& outside) {
    auto notRunning = [&err] {
        err << tr("Varrow is not running.") << '\n';
        return Unreachable;
    };
    // A request for the running Varrow that is not worth starting it for.
    auto ask = [&](const char* command, const QString& argument = {}) -> int {
        const auto reply = outside.send(QString::fromLatin1(command), argument);
        if (!reply) return notRunning();
        if (isNoAccount(*reply)) {
            err << tr("There is no account named %1.").arg(quoted(argument)) << '\n';
            return NoSuchAccount;
        }
        out << *reply;
        return Done;
    };
    switch (request.action) {
        case Action::Help:
            out << helpText();
            return Done;
        case Action::Version:
            out << tr("Varrow %1").arg(QCoreApplication::applicationVersion()) << '\n';
            return Done;
        case Action::List:
            // The running Varrow's report ("Name: running=true app=… path=…"), which scripts read.
            return ask(requests::kList);
        case Action::Show:
            return ask(requests::kShow);
        case Action::Front:
            return ask(requests::kFront);
        case Action::QuitVarrow:
            return ask(requests::kQuit);
        case Action::Quit:
            return ask(requests::kQuitAccount, request.names.first());
        case Action::Command:
            return ask(requests::kTerminalCommand, request.names.first());
        case Action::Login:
            return ask(request.on ? requests::kLoginOn : requests::kLoginOff, request.names.first());
        case Action::Cycle:
            return ask(requests::kCycle,
                       request.backwards ? QString::fromLatin1(requests::kCycleBackwards) : QString());
        case Action::Code:
            return code(request, err, outside);
        case Action::Uninstall:
            return uninstall(out, err, outside);
        case Action::OpenLink: {
            const auto reply =
                sendStarting(outside, QString::fromLatin1(requests::kOpenLink), request.names.first());
            if (!reply) {
                err << tr("Varrow is not running and could not be started.") << '\n';
                return Unreachable;
            }
            if (reply->isEmpty()) return Done;
            err << *reply << '\n';
            return Failed;
        }
        case Action::Open: {
            int status = Done;
            for (const QString& name : request.names) {
                const auto reply = sendStarting(outside, QString::fromLatin1(requests::kOpen), name);
                if (!reply) {
                    err << tr("Varrow is not running and could not be started.") << '\n';
                    return Unreachable;
                }
                if (isNoAccount(*reply)) {
                    err << tr("There is no account named %1.").arg(quoted(name)) << '\n';
                    status = NoSuchAccount;
                }
            }
            return status;
        }
    }
    return Usage;
}

int CommandLine::code(const Request& request, QTextStream& err, const Outside& outside) {
    // The list file, read only: this works whether or not Varrow runs, and never writes.
    QList<model::Profile> profiles{model::ProfileStore::makeDefault()};
    QFile file(outside.listFile);
    if (file.exists()) {
        QString reason;
        const auto list = file.open(QIODevice::ReadOnly)
                              ? model::ProfileStore::decodeList(file.readAll(), &reason)
                              : std::nullopt;
        if (!list) {
            err << (reason.isEmpty()
                        ? tr("Varrow's account list %1 cannot be read.").arg(quoted(outside.listFile))
                        : tr("Varrow's account list %1 cannot be read: %2.")
                              .arg(quoted(outside.listFile), reason))
                << '\n';
            return NoSuchAccount;
        }
        profiles = *list;
    }
    const QString& name = request.names.first();
    const auto profile = model::ProfileStore::findByName(profiles, name);
    if (!profile) {
        err << tr("There is no account named %1. The accounts are:").arg(quoted(name)) << '\n';
        for (const model::Profile& p : profiles) err << "  " << p.name << '\n';
        return NoSuchAccount;
    }
    const QString program = outside.findProgram(QStringLiteral("claude"));
    if (program.isEmpty()) {
        err << tr("Claude Code is not installed here: there is no “claude” command on your PATH.") << '\n';
        return NotFound;
    }
    // My Claude is Claude Code's own configuration; every other account has a folder of its own.
    if (const auto folder = profile->codeFolder(outside.accountsDir))
        qputenv(kConfigVariable, QFile::encodeName(*folder));
    else
        qunsetenv(kConfigVariable);
    QList<QByteArray> arguments{QByteArrayLiteral("claude")};
    if (outside.argv.size() >= 3)
        arguments += outside.argv.mid(3);
    else
        for (const QString& argument : request.passedOn) arguments.append(argument.toLocal8Bit());
    const QString failure = outside.replaceWith(program, arguments);
    err << tr("Claude Code could not be started: %1.").arg(failure) << '\n';
    return CannotRun;
}

int CommandLine::uninstall(QTextStream& out, QTextStream& err, const Outside& outside) {
    // A running Varrow would put its entries back: it quits first.
    const auto gone = [&] { return !outside.send(QString::fromLatin1(requests::kFront), {}); };
    if (outside.send(QString::fromLatin1(requests::kQuit), {}) && !gone() &&
        !pollUntil(outside.startWaitMs, gone)) {
        err << tr("Varrow did not quit, so nothing was removed.") << '\n';
        return Failed;
    }
    const auto [done, failed] = outside.removeFromDesktop();
    for (const QString& line : done) out << line << '\n';
    for (const QString& line : failed) err << line << '\n';
    if (done.isEmpty() && failed.isEmpty())
        out << tr("Varrow had nothing in your desktop to take away.") << '\n';
    out << tr("Your accounts and their data stay in %1; delete that folder to remove them too.")
               .arg(quoted(outside.dataFolder))
        << '\n';
    return failed.isEmpty() ? Done : Failed;
}

std::optional<int> CommandLine::run(int argc, char** argv) {
    // Read before QCoreApplication, which may take its own options out of argv.
    QList<QByteArray> raw;
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        raw.append(QByteArray(argv[i]));
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    if (const Parsed first = parse(arguments); !first.request && first.usageError.isEmpty())
        return std::nullopt;

    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(VARROW_VERSION));
    Translations::install();
    // Once more, for the usage errors in the user's language.
    const Parsed parsed = parse(arguments);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parsed.request) {
        err << parsed.usageError << '\n';
        return Usage;
    }
    const model::StoreLocations& locations = model::StoreLocations::standard();
    Outside outside;
    outside.send = [&locations](const QString& command, const QString& argument) {
        return SingleInstance::send(locations.root, command, argument);
    };
    outside.start = [] { return QProcess::startDetached(QCoreApplication::applicationFilePath(), {}); };
    outside.listFile = QDir(locations.root).filePath(QStringLiteral("profiles.json"));
    outside.accountsDir = locations.accounts;
    outside.dataFolder = locations.root;
    outside.removeFromDesktop = [&locations] { return removeForThisUser(locations.apps); };
    outside.findProgram = [](const QString& program) { return QStandardPaths::findExecutable(program); };
    outside.argv = raw;
    outside.replaceWith = [&out, &err](const QString& program, const QList<QByteArray>& args) {
        // Whatever is buffered goes out before the process is replaced.
        out.flush();
        err.flush();
        return platform::replaceProcess(program, args);
    };
    return execute(*parsed.request, out, err, outside);
}

}  // namespace varrow::app
