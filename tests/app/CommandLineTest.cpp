#include "app/CommandLine.h"
#include "app/Requests.h"
#include "model/ProfileStore.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
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
    EXPECT_EQ(CommandLine::parse({"varrow", "quit"}).request->action, Action::QuitVarrow);
    EXPECT_EQ(CommandLine::parse({"varrow", "front"}).request->action, Action::Front);
    EXPECT_FALSE(CommandLine::parse({"varrow", "cycle"}).request->backwards);
    EXPECT_TRUE(CommandLine::parse({"varrow", "cycle", "--back"}).request->backwards);
    const auto login = CommandLine::parse({"varrow", "login", "Side Project", "on"});
    ASSERT_TRUE(login.request);
    EXPECT_EQ(login.request->names, QStringList{"Side Project"});
    EXPECT_TRUE(login.request->on);
    EXPECT_FALSE(CommandLine::parse({"varrow", "login", "Work", "off"}).request->on);
    // Everything after the account name belongs to claude, options included.
    const auto code = CommandLine::parse({"varrow", "code", "Side Project", "--resume", "", "--help"});
    ASSERT_TRUE(code.request);
    EXPECT_EQ(code.request->names, QStringList{"Side Project"});
    EXPECT_EQ(code.request->passedOn, QStringList({"--resume", "", "--help"}));

    for (const QStringList& wrong : {QStringList{"varrow", "open"},
                                     {"varrow", "command"},
                                     {"varrow", "command", "a", "b"},
                                     {"varrow", "quit", "a", "b"},
                                     {"varrow", "list", "x"},
                                     {"varrow", "cycle", "back"},
                                     {"varrow", "code"},
                                     {"varrow", "login", "Work"},
                                     {"varrow", "login", "Work", "yes"},
                                     {"varrow", "frobnicate"}}) {
        const auto parsed = CommandLine::parse(wrong);
        EXPECT_FALSE(parsed.request) << wrong.join(' ').toStdString();
        EXPECT_FALSE(parsed.usageError.isEmpty()) << wrong.join(' ').toStdString();
    }
    // These start Varrow.
    for (const QStringList& passed :
         {QStringList{"varrow"}, {"varrow", "--login-item"}, {"varrow", "-platform", "offscreen"}}) {
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
    int removals = 0;
    bool removedWhileRunning = false;
    QStringList accounts{"My Claude", "Work"};

    int run(const QStringList& arguments) {
        QTextStream outStream(&out), errStream(&err);
        const auto parsed = CommandLine::parse(arguments);
        if (!parsed.request) return CommandLine::Usage;
        auto send = [this](const QString& command, const QString& argument) -> std::optional<QString> {
            if (!running) return std::nullopt;
            sent.append(command + ":" + argument);
            if (command == "list") return QString("My Claude: running=true app=Claude path=-\n");
            if (command != varrow::app::requests::kCycle && !argument.isEmpty() &&
                !accounts.contains(argument))
                return varrow::app::requests::kNoAccountPrefix + argument + "\n";
            if (command == "terminal-command") return QString("CLAUDE_CONFIG_DIR=\"/x/Code\" claude\n");
            if (command == varrow::app::requests::kQuit) running = false;
            return QString();
        };
        CommandLine::Outside outside;
        outside.send = send;
        outside.start = [this] {
            ++starts;
            running = true;
            return true;
        };
        outside.startWaitMs = 2000;
        outside.removeFromDesktop = [this] {
            ++removals;
            removedWhileRunning = running;
            return std::pair{QStringList{"Removed 1 copy."}, QStringList{}};
        };
        return CommandLine::execute(*parsed.request, outStream, errStream, outside);
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
    EXPECT_EQ(stopped.run({"varrow", "cycle"}), 3);
    EXPECT_EQ(stopped.starts, 0);
    EXPECT_EQ(stopped.run({"varrow", "open", "Work"}), CommandLine::Done);
    EXPECT_EQ(stopped.starts, 1);
    EXPECT_EQ(stopped.sent, QStringList({"open:Work"}));

    // Leaving Varrow quits the running one first: it would put its entries back.
    Session leaving;
    EXPECT_EQ(leaving.run({"varrow", "uninstall"}), CommandLine::Done);
    EXPECT_EQ(leaving.removals, 1);
    EXPECT_FALSE(leaving.removedWhileRunning);
    EXPECT_TRUE(leaving.out.startsWith("Removed 1 copy.\n")) << leaving.out.toStdString();
    EXPECT_FALSE(CommandLine::parse({"varrow", "uninstall", "Work"}).request);
}

// The real executable: "code" replaces itself with claude on the account's own folder.
TEST(CommandLine, CodeRunsClaudeOnTheAccountsFolderWithItsArgumentsUntouched) {
    varrow::test::TempHome home;
    const auto locations = home.locations();
    {
        varrow::model::ProfileStore store(locations);
        varrow::model::Profile work = varrow::model::ProfileStore::makeDefault();
        work.isDefault = false;
        work.id = QUuid::createUuid();
        work.name = "Work";
        work.folderName = "work";
        store.setProfiles({store.profiles().first(), work});
        ASSERT_TRUE(store.save());
    }
    const QString bin = home.file("bin");
    varrow::test::writeFile(bin + "/claude",
                            "#!/bin/sh\necho \"config=${CLAUDE_CONFIG_DIR-unset}\"\n"
                            "for a in \"$@\"; do echo \"[$a]\"; done\nexit 7\n");
    QFile::setPermissions(bin + "/claude", QFile::ReadOwner | QFile::ExeOwner);
    auto run = [&](const QStringList& arguments, const QString& path, QString* out, QString* err) {
        QProcess varrow;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("VARROW_HOME", locations.root);
        environment.insert("CLAUDE_CONFIG_DIR", "/inherited");
        environment.insert("PATH", path);
        varrow.setProcessEnvironment(environment);
        varrow.start(VARROW_BIN_PATH, arguments);
        EXPECT_TRUE(varrow.waitForFinished(20000));
        *out = QString::fromUtf8(varrow.readAllStandardOutput());
        *err = QString::fromUtf8(varrow.readAllStandardError());
        return varrow.exitCode();
    };
    QString out, err;
    EXPECT_EQ(run({"code", "Work", "--resume", "two words", "", "-p"}, bin + ":/usr/bin:/bin", &out, &err), 7)
        << err.toStdString();
    EXPECT_EQ(out, "config=" + locations.accounts + "/work/Code\n[--resume]\n[two words]\n[]\n[-p]\n");
    EXPECT_EQ(run({"code", "My Claude"}, bin, &out, &err), 7);
    EXPECT_EQ(out, "config=unset\n");

    EXPECT_EQ(run({"code", "work"}, bin, &out, &err), 1);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(err, "There is no account named “work”. The accounts are:\n  My Claude\n  Work\n");
    EXPECT_EQ(run({"code", "Work"}, home.file("nowhere"), &out, &err), 127);
    EXPECT_TRUE(err.contains("claude")) << err.toStdString();
}
