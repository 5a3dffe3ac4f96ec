#include "app/SingleInstance.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <future>

using namespace varrow;
using app::SingleInstance;

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", oldRuntime); }

    // The client blocks, so it runs beside the event loop that serves it.
    std::optional<QString> request(const QString& home, const QString& command,
                                   const QString& argument = {}) {
        auto reply =
            std::async(std::launch::async, [=] { return SingleInstance::send(home, command, argument); });
        test::waitUntil([&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
        return reply.get();
    }

    QTemporaryDir runtime;
    QByteArray oldRuntime;
};

TEST_F(SingleInstanceTest, SecondStartIsRefusedAndItsRequestReachesTheFirst) {
    SingleInstance first(QStringLiteral("/home/a/Varrow"));
    ASSERT_TRUE(first.acquire());
    QStringList seen;
    first.setHandler([&](const QString& command, const QString& argument) -> std::optional<QString> {
        seen.append(command + "|" + argument);
        if (command == u"list") return QStringLiteral("Work: running=false app=- path=-");
        if (command == u"dance") return std::nullopt;
        return QString();
    });

    SingleInstance second(QStringLiteral("/home/a/Varrow"));
    EXPECT_FALSE(second.acquire());

    EXPECT_EQ(request("/home/a/Varrow", "show"), QString());
    EXPECT_EQ(request("/home/a/Varrow", "open", "Work Stuff"), QString());
    EXPECT_EQ(request("/home/a/Varrow", "list"), QStringLiteral("Work: running=false app=- path=-"));
    EXPECT_EQ(request("/home/a/Varrow", "dance"), QStringLiteral("unknown command\n"));
    EXPECT_EQ(seen, (QStringList{"show|", "open|Work Stuff", "list|", "dance|"}));
}

TEST_F(SingleInstanceTest, AnotherHomeFolderIsAnotherInstance) {
    SingleInstance a(QStringLiteral("/home/a/Varrow"));
    SingleInstance b(QStringLiteral("/tmp/elsewhere"));
    EXPECT_TRUE(a.acquire());
    EXPECT_TRUE(b.acquire());
    EXPECT_NE(SingleInstance::socketPath("/home/a/Varrow"), SingleInstance::socketPath("/tmp/elsewhere"));
    // The same folder spelled differently is the same instance.
    EXPECT_EQ(SingleInstance::socketPath("/home/a/Varrow"), SingleInstance::socketPath("/home/a/./Varrow/"));
}

TEST_F(SingleInstanceTest, NothingRunningMeansNoReply) {
    EXPECT_FALSE(SingleInstance::send("/nowhere", "show", {}, 500).has_value());
}

TEST_F(SingleInstanceTest, LockAndSocketLeftByADeadProcessAreTakenOver) {
    const QString path = SingleInstance::socketPath("/home/a/Varrow");
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    test::writeFile(path + ".lock",
                    QByteArray::number(child) + "\nvarrow\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    test::writeFile(path, "left behind");

    SingleInstance instance(QStringLiteral("/home/a/Varrow"));
    ASSERT_TRUE(instance.acquire());
    instance.setHandler([](const QString&, const QString&) { return QStringLiteral("alive"); });
    EXPECT_EQ(request("/home/a/Varrow", "show"), QStringLiteral("alive"));
}

}  // namespace
