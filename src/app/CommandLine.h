#pragma once

#include "platform/Timings.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QTextStream;

namespace varrow::app {

// The client side of the command line: "varrow list | open NAME… | quit [NAME] | command NAME |
// code NAME [ARGS…] | open-link URL | cycle [--back] | login NAME on|off | show | front | uninstall |
// --help | --version". It parses, talks to the running Varrow through its local socket, prints the reply and
// chooses the exit status; "open" and "open-link" start Varrow first when none answers. Each NAME is one
// argument, matched exactly.
class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum Exit {
        Done = 0,
        NoSuchAccount = 1,
        Failed = 1,
        Usage = 2,
        Unreachable = 3,
        CannotRun = 126,
        NotFound = 127
    };

    enum class Action {
        Help,
        Version,
        List,
        Open,
        Quit,
        Command,
        Code,
        OpenLink,
        Cycle,
        Show,
        Front,
        QuitVarrow,
        Login,
        Uninstall
    };
    struct Request {
        Action action = Action::Help;
        QStringList names;
        QStringList passedOn;    // "code": the arguments for claude, untouched
        bool backwards = false;  // "cycle --back"
        bool on = false;         // "login NAME on"
    };
    // A request, a usage error (one sentence), or neither: the arguments start Varrow itself.
    struct Parsed {
        std::optional<Request> request;
        QString usageError;
    };
    static Parsed parse(const QStringList& arguments);

    // What the client reaches outside itself; tests give their own.
    struct Outside {
        // Sends one socket request; none when no Varrow answers.
        std::function<std::optional<QString>(const QString& command, const QString& argument)> send;
        // Starts Varrow in the background; false when it cannot be started.
        std::function<bool()> start;
        int startWaitMs = int(Timings::commandLineStartWait().count());
        // "code": the account list file, and the program that replaces this process (returns only
        // on failure, with the reason).
        QString listFile;
        QString accountsDir;
        std::function<QString(const QString& program)> findProgram;
        std::function<QString(const QString& program, const QList<QByteArray>& arguments)> replaceWith;
        // "uninstall": takes Varrow out of the desktop (Varrow is not running by then); what was
        // done and what failed, a sentence each.
        std::function<std::pair<QStringList, QStringList>()> removeFromDesktop;
        QString dataFolder;
        // The arguments exactly as the process got them, so "code" passes them on byte for byte;
        // empty: the request's own.
        QList<QByteArray> argv;
    };
    static int execute(const Request& request, QTextStream& out, QTextStream& err, const Outside& outside);

    // The whole command line for main(): an exit code, or none to start Varrow normally.
    static std::optional<int> run(int argc, char** argv);

    static QString helpText();

private:
    static int code(const Request& request, QTextStream& err, const Outside& outside);
    static int uninstall(QTextStream& out, QTextStream& err, const Outside& outside);
};

}  // namespace varrow::app
