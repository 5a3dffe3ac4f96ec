#pragma once

#include "platform/Timings.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QTextStream;

namespace varrow::model {
class ProfileStore;
}
namespace varrow::claude {
class ClaudeController;
}

namespace varrow::app {

// "varrow list | open NAME… | quit NAME | command NAME | --help | --version": the same executable
// as the tray application, talking to the running Varrow through its local socket; "open" starts
// Varrow first when none answers. Each NAME is one argument, matched exactly.
class CommandLine {
public:
    enum Exit { Done = 0, NoSuchAccount = 1, Usage = 2 };

    enum class Action { Help, Version, List, Open, Quit, Command };
    struct Request {
        Action action = Action::Help;
        QStringList names;
    };
    // A request, a usage error (one sentence), or neither: the arguments start Varrow itself.
    struct Parsed {
        std::optional<Request> request;
        QString usageError;
    };
    static Parsed parse(const QStringList& arguments);

    // Sends one socket request; none when no Varrow answers.
    using Sender = std::function<std::optional<QString>(const QString& command, const QString& argument)>;
    // Starts Varrow in the background; false when it cannot be started.
    using Starter = std::function<bool()>;
    static int execute(const Request& request, QTextStream& out, QTextStream& err, const Sender& send,
                       const Starter& start, int startWaitMs = int(Timings::commandLineStartWait().count()));

    // The whole command line for main(): an exit code, or none to start Varrow normally.
    static std::optional<int> run(int argc, char** argv);

    // Server side of the two requests only the command line makes: "quit-account NAME" and
    // "terminal-command NAME". None for any other command.
    static std::optional<QString> handle(model::ProfileStore& store, claude::ClaudeController& claude,
                                         const QString& command, const QString& argument);

    static QString helpText();
    // The running Varrow's reply when a name matches no account.
    static QString noAccountReply(const QString& name);
};

}  // namespace varrow::app
