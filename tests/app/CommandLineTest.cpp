#include "app/CommandLine.h"
#include "app/Commands.h"

#include <gtest/gtest.h>
#include <QTextStream>

using varrow::app::CommandLine;
using Action = CommandLine::Action;

TEST(CommandLine, ParsesEachNameAsOneArgumentAndRejectsWrongUsage) {
    const auto open = CommandLine::parse({"varrow", "open", "Side Project", "Home"});
    ASSERT_TRUE(open.request);
    EXPECT_EQ(open.request->action, Action::Open);
    EXPECT_EQ(open.request->names, QStringList({"Side Project", "Home"}));
    EXPECT_EQ(CommandLine::parse({"varrow", "quit", "Work"}).request->action, Action::Quit);
    EXPECT_EQ(CommandLine::parse({"varrow", "command", "Work"}).request->action, Action::Command);
    EXPECT_EQ(CommandLine::parse({"varrow", "--version"}).request->action, Action::Version);
    EXPECT_EQ(CommandLine::parse({"varrow", "--help"}).request->action, Action::Help);

    for (const QStringList& wrong : {QStringList{"varrow", "open"},
                                     {"varrow", "command"},
                                     {"varrow", "command", "a", "b"},
                                     {"varrow", "quit", "a", "b"},
                                     {"varrow", "list", "x"},
                                     {"varrow", "frobnicate"}}) {
        const auto parsed = CommandLine::parse(wrong);
        EXPECT_FALSE(parsed.request) << wrong.join(' ').toStdString();
        EXPECT_FALSE(parsed.usageError.isEmpty()) << wrong.join(' ').toStdString();
    }
    // These start Varrow or reach it as they always did.
    for (const QStringList& passed : {QStringList{"varrow"},
                                      {"varrow", "quit"},
                                      {"varrow", "show"},
                                      {"varrow", "front"},
                                      {"varrow", "--login-item"},
                                      {"varrow", "-platform", "offscreen"}}) {
        const auto parsed = CommandLine::parse(passed);
        EXPECT_FALSE(parsed.request);
        EXPECT_TRUE(parsed.usageError.isEmpty()) << passed.join(' ').toStdString();
    }
}

namespace {

struct Session {
    QString out, err;
    QStringList sent;
    bool running = true;
    int starts = 0;
    QStringList accounts{"My Claude", "Work"};

    int run(const QStringList& arguments) {
        QTextStream outStream(&out), errStream(&err);
        const auto parsed = CommandLine::parse(arguments);
        if (!parsed.request) return CommandLine::Usage;
        auto send = [this](const QString& command, const QString& argument) -> std::optional<QString> {
            if (!running) return std::nullopt;
            sent.append(command + ":" + argument);
            if (command == "list") return QString("My Claude: running=true app=Claude path=-\n");
            if (!argument.isEmpty() && !accounts.contains(argument))
                return CommandLine::noAccountReply(argument);
            if (command == "terminal-command") return QString("CLAUDE_CONFIG_DIR=\"/x/Code\" claude\n");
            return QString();
        };
        auto start = [this] {
            ++starts;
            running = true;
            return true;
        };
        return CommandLine::execute(*parsed.request, outStream, errStream, send, start, 2000);
    }
};

}  // namespace

TEST(CommandLine, ExitCodesRepliesAndStartingVarrow) {
    Session s;
    EXPECT_EQ(s.run({"varrow", "open", "Work", "Nobody", "My Claude"}), CommandLine::NoSuchAccount);
    // Every name is tried; the missing one is reported in one sentence.
    EXPECT_EQ(s.sent, QStringList({"open:Work", "open:Nobody", "open:My Claude"}));
    EXPECT_EQ(s.err, "There is no account named “Nobody”.\n");

    Session command;
    EXPECT_EQ(command.run({"varrow", "command", "Work"}), CommandLine::Done);
    EXPECT_EQ(command.out, "CLAUDE_CONFIG_DIR=\"/x/Code\" claude\n");
    EXPECT_EQ(command.run({"varrow", "quit", "work"}), CommandLine::NoSuchAccount);  // exact match only
    EXPECT_EQ(command.run({"varrow", "list"}), CommandLine::Done);
    EXPECT_TRUE(command.out.endsWith("My Claude: running=true app=Claude path=-\n"));

    // Opening starts Varrow when nothing answers; the other commands do not.
    Session stopped;
    stopped.running = false;
    EXPECT_EQ(stopped.run({"varrow", "list"}), 3);
    EXPECT_EQ(stopped.run({"varrow", "quit", "Work"}), 3);
    EXPECT_EQ(stopped.starts, 0);
    EXPECT_EQ(stopped.run({"varrow", "open", "Work"}), CommandLine::Done);
    EXPECT_EQ(stopped.starts, 1);
    EXPECT_EQ(stopped.sent, QStringList({"open:Work"}));
}
