#include "app/CommandLine.h"
#include "platform/Timings.h"

#include "app/Commands.h"
#include "app/LinkCommand.h"
#include "app/SingleInstance.h"
#include "claude/ClaudeController.h"
#include "hooks/TestHooks.h"
#include "model/ProfileStore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>
#include <QThread>

namespace varrow::app {

namespace {

constexpr int kUnreachable = 3;

QString quoted(const QString& name) {
    return QStringLiteral("“%1”").arg(name);
}

bool isNoAccount(const QString& reply) {
    return reply.startsWith(QLatin1String(Commands::kNoAccountPrefix));
}

// Sends, starting Varrow and waiting for its socket when nothing answers the first time.
std::optional<QString> sendStarting(const CommandLine::Sender& send, const CommandLine::Starter& start,
                                    int waitMs, const QString& command, const QString& argument) {
    if (auto reply = send(command, argument)) return reply;
    if (!start || !start()) return std::nullopt;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < waitMs) {
        QThread::msleep(ulong(Timings::commandLinePoll().count()));
        if (auto reply = send(command, argument)) return reply;
    }
    return std::nullopt;
}

}  // namespace

QString CommandLine::helpText() {
    return QStringLiteral(
        "Usage: varrow [COMMAND]\n"
        "Keeps several Claude accounts open side by side. Without a command, starts Varrow\n"
        "(or shows the accounts window of the one already running).\n"
        "\n"
        "Commands:\n"
        "  list              the accounts; running=true for each one that is open\n"
        "  open NAME...      opens each named account, or brings it to the front\n"
        "                    (starts Varrow first when it is not running)\n"
        "  quit NAME         quits the named account's Claude\n"
        "  command NAME      prints the terminal command for Claude Code with that account\n"
        "  open-link URL     passes a claude: sign-in link to the account that asked for it\n"
        "  --help            shows this text\n"
        "  --version         shows Varrow's version\n"
        "\n"
        "Names match exactly; quote a name that holds spaces: varrow open \"Side Project\".\n"
        "Exit status: 0 done, 1 no such account, 2 wrong usage, 3 Varrow is not running or could not be "
        "started.\n");
}

QString CommandLine::noAccountReply(const QString& name) {
    return QString::fromUtf8(Commands::kNoAccountPrefix) + name + QLatin1Char('\n');
}

CommandLine::Parsed CommandLine::parse(const QStringList& arguments) {
    if (arguments.size() < 2) return {};
    const QString& verb = arguments.at(1);
    const QStringList rest = arguments.mid(2);
    auto usage = [](const QString& sentence) { return Parsed{std::nullopt, sentence}; };
    if (verb == u"--help" || verb == u"-h" || verb == u"help") return {Request{Action::Help, {}}, {}};
    if (verb == u"--version") return {Request{Action::Version, {}}, {}};
    if (verb == u"list") {
        if (!rest.isEmpty()) return usage(QStringLiteral("“list” takes no names."));
        return {Request{Action::List, {}}, {}};
    }
    if (verb == u"open") {
        if (rest.isEmpty()) return usage(QStringLiteral("“open” needs at least one account name."));
        return {Request{Action::Open, rest}, {}};
    }
    // "quit" alone quits Varrow itself, as before; with a name it quits that account.
    if (verb == u"quit" && !rest.isEmpty()) {
        if (rest.size() > 1)
            return usage(QStringLiteral("“quit” takes one account name; quote a name with spaces."));
        return {Request{Action::Quit, rest}, {}};
    }
    if (verb == u"command") {
        if (rest.size() != 1) return usage(QStringLiteral("“command” takes exactly one account name."));
        return {Request{Action::Command, rest}, {}};
    }
    // The shell's own requests, Qt's options and the login-item flag start or reach Varrow as before.
    if (verb == u"show" || verb == u"front" || verb == u"quit" || verb.startsWith(u'-')) return {};
    return usage(QStringLiteral("“%1” is not a Varrow command; see varrow --help.").arg(verb));
}

int CommandLine::execute(const Request& request, QTextStream& out, QTextStream& err, const Sender& send,
                         const Starter& start, int startWaitMs) {
    auto ask = [&](const QString& command, const QString& argument) {
        return sendStarting(send, start, startWaitMs, command, argument);
    };
    auto notRunning = [&err] {
        err << "Varrow is not running.\n";
        return kUnreachable;
    };
    auto unreachable = [&err] {
        err << "Varrow is not running and could not be started.\n";
        return kUnreachable;
    };
    switch (request.action) {
        case Action::Help:
            out << helpText();
            return Done;
        case Action::Version:
            out << "Varrow " << QCoreApplication::applicationVersion() << '\n';
            return Done;
        case Action::List: {
            // The running Varrow's report ("Name: running=true app=… path=…"), which scripts read.
            const auto reply = send(QStringLiteral("list"), {});
            if (!reply) return notRunning();
            out << *reply;
            return Done;
        }
        case Action::Open: {
            int status = Done;
            for (const QString& name : request.names) {
                const auto reply = ask(QStringLiteral("open"), name);
                if (!reply) return unreachable();
                if (isNoAccount(*reply)) {
                    err << "There is no account named " << quoted(name) << ".\n";
                    status = NoSuchAccount;
                }
            }
            return status;
        }
        case Action::Quit:
        case Action::Command: {
            const QString& name = request.names.first();
            // Nothing to quit, and nothing to gain from starting Varrow for a command line.
            const auto reply = send(request.action == Action::Quit ? QStringLiteral("quit-account")
                                                                   : QStringLiteral("terminal-command"),
                                    name);
            if (!reply) return notRunning();
            if (isNoAccount(*reply)) {
                err << "There is no account named " << quoted(name) << ".\n";
                return NoSuchAccount;
            }
            out << *reply;
            return Done;
        }
    }
    return Usage;
}

std::optional<int> CommandLine::run(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], LinkCommand::kVerb) == 0) return LinkCommand::run(argc, argv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    const Parsed parsed = parse(arguments);
    if (!parsed.request && parsed.usageError.isEmpty()) return std::nullopt;

    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(VARROW_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parsed.request) {
        err << parsed.usageError << '\n';
        return Usage;
    }
    const QString home = model::StoreLocations::standard().root;
    const Sender send = [&home](const QString& command, const QString& argument) {
        return SingleInstance::send(home, command, argument);
    };
    const Starter start = [] { return QProcess::startDetached(QCoreApplication::applicationFilePath(), {}); };
    return execute(*parsed.request, out, err, send, start);
}

std::optional<QString> CommandLine::handle(model::ProfileStore& store, claude::ClaudeController& claude,
                                           const QString& command, const QString& argument) {
    if (command != u"quit-account" && command != u"terminal-command") return std::nullopt;
    const auto profile = hooks::TestHooks::findByName(store.profiles(), argument);
    if (!profile) return noAccountReply(argument);
    if (command == u"terminal-command")
        return profile->terminalCommand(store.accountsURL()) + QLatin1Char('\n');
    if (const platform::AppHandle app = claude.running().value(profile->id)) app->terminate();
    return QString();
}

}  // namespace varrow::app
