// Rescan cost of the Linux process service's /proc scanner on a synthetic tree: a number of ordinary
// processes plus 20 bundle processes. "Steady" is the timer's case (nothing changed); "Churn"
// replaces one process per scan.
#include "platform/Timings.h"
#include "platform/linux/LinuxProcesses.h"
#include "platform/linux/ProcScanner.h"

#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <future>
#include <thread>
#include <vector>

extern char** environ;

using varrow::platform::RunningApplication;
using varrow::platform::linux_::ProcScanner;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// The files the scanner reads: PID/stat, PID/exe, PID/cmdline.
class ProcTree {
public:
    explicit ProcTree(QString root) : root_(std::move(root)) { QDir().mkpath(root_); }
    QString root() const { return root_; }
    void addProcess(int pid, int parent, quint64 start, const QString& exe, const QStringList& args = {}) {
        const QString dir = root_ + u'/' + QString::number(pid);
        QDir().mkpath(dir);
        write(dir + "/stat", QStringLiteral("%1 (p) S %2 %1 %1 0 -1 0 0 0 0 0 3 1 0 0 20 0 1 0 %3 1000 100\n")
                                 .arg(pid)
                                 .arg(parent)
                                 .arg(start)
                                 .toUtf8());
        QFile::remove(dir + "/exe");
        QFile::link(exe, dir + "/exe");
        write(dir + "/cmdline", (QStringList{exe} + args).join(QChar(0)).toUtf8() + '\0');
    }
    static QString makeBundle(const QString& folder, const QString& name, const QString& id,
                              const QString& exe) {
        const QString bundle = folder + u'/' + name + ".app";
        QDir().mkpath(bundle + "/Contents/MacOS");
        write(bundle + "/Contents/Info.plist",
              QStringLiteral(
                  "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>CFBundleIdentifier</key>"
                  "<string>%1</string><key>CFBundleExecutable</key><string>%2</string></dict></plist>")
                  .arg(id, exe)
                  .toUtf8());
        write(bundle + "/Contents/MacOS/" + exe, "#!/bin/sh\n");
        return bundle;
    }

private:
    QString root_;
};

struct Tree {
    QTemporaryDir dir;
    ProcTree tree{dir.filePath("proc")};
    QString bundle =
        ProcTree::makeBundle(dir.filePath("Apps"), "Claude", "com.anthropic.claudefordesktop", "Claude");

    explicit Tree(int others) {
        for (int i = 0; i < others; ++i)
            tree.addProcess(1000 + i, 1, 10 + i, "/usr/bin/proc" + QString::number(i % 50));
        for (int i = 0; i < 20; ++i)
            tree.addProcess(50000 + i, 1, 5000 + i, bundle + "/Contents/MacOS/Claude",
                            {"--user-data-dir=/d" + QString::number(i)});
    }
};

ProcScanner makeScanner(const Tree& t) {
    return ProcScanner(t.tree.root(), ::getuid(),
                       [](pid_t pid, quint64 s, const QString& id, const QString& p, const QString& n) {
                           return std::make_shared<RunningApplication>(nullptr, pid, s, id, p, n);
                       });
}

void Steady(benchmark::State& state) {
    Tree t(int(state.range(0)));
    ProcScanner scanner = makeScanner(t);
    scanner.scan();
    if (scanner.applications().size() != 20) state.SkipWithError("wrong application count");
    for (auto _ : state) benchmark::DoNotOptimize(scanner.scan());
    state.counters["processes"] = double(state.range(0) + 20);
}

void Churn(benchmark::State& state) {
    Tree t(int(state.range(0)));
    ProcScanner scanner = makeScanner(t);
    scanner.scan();
    quint64 start = 100000;
    for (auto _ : state) {
        state.PauseTiming();
        t.tree.addProcess(1000, 1, ++start, "/usr/bin/new");  // the pid is reused by a new process
        state.ResumeTiming();
        benchmark::DoNotOptimize(scanner.scan());
    }
}

void FirstScan(benchmark::State& state) {
    Tree t(int(state.range(0)));
    for (auto _ : state) {
        ProcScanner scanner = makeScanner(t);
        benchmark::DoNotOptimize(scanner.scan());
    }
}

}  // namespace

// The machine's own /proc, for comparison with the synthetic tree.
void RealProc(benchmark::State& state) {
    ProcScanner scanner("/proc", ::getuid(),
                        [](pid_t pid, quint64 s, const QString& id, const QString& p, const QString& n) {
                            return std::make_shared<RunningApplication>(nullptr, pid, s, id, p, n);
                        });
    scanner.scan();
    for (auto _ : state) benchmark::DoNotOptimize(scanner.scan());
    state.counters["processes"] = double(QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs).size());
}

// The event-driven watcher's cost per process created on the machine: a batch of processes (or of
// threads of this one) is created, then the updates that find them and look again for a late exec.
// Per-process cost, counted whatever the batch's programs are.
void NewProcesses(benchmark::State& state) {
    ProcScanner scanner("/proc", ::getuid(),
                        [](pid_t pid, quint64 s, const QString& id, const QString& p, const QString& n) {
                            return std::make_shared<RunningApplication>(nullptr, pid, s, id, p, n);
                        });
    scanner.scan();
    const int batch = int(state.range(0));
    const bool threads = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<pid_t> children;
        std::vector<std::thread> workers;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        for (int i = 0; i < batch; ++i) {
            if (threads) {
                workers.emplace_back([released] { released.wait(); });
                continue;
            }
            pid_t pid = 0;
            char program[] = "sleep", seconds[] = "1000";
            char* argv[] = {program, seconds, nullptr};
            if (::posix_spawnp(&pid, "sleep", nullptr, nullptr, argv, environ) == 0) children.push_back(pid);
        }
        state.ResumeTiming();
        for (int look = 0; look <= varrow::Timings::execLooks; ++look)
            benchmark::DoNotOptimize(scanner.update());
        state.PauseTiming();
        release.set_value();
        for (std::thread& worker : workers) worker.join();
        for (pid_t pid : children) ::kill(pid, SIGKILL);
        for (pid_t pid : children) ::waitpid(pid, nullptr, 0);
        benchmark::DoNotOptimize(scanner.update());  // the batch's exits, outside the timing
        state.ResumeTiming();
    }
    state.counters["created"] =
        benchmark::Counter(double(batch), benchmark::Counter::kIsIterationInvariantRate);
}

// Idle cost of the watcher: the process service alone in an event loop for the given seconds, CPU time
// read from /proc/self/stat before and after.
int idle(int seconds) {
    auto ticks = [] {
        QFile file("/proc/self/stat");
        file.open(QIODevice::ReadOnly);
        const QByteArray stat = file.readAll();
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        return fields.value(11).toLongLong() + fields.value(12).toLongLong();  // utime + stime
    };
    varrow::platform::linux_::LinuxProcesses processes(nullptr);
    const long long before = ticks();
    QTimer::singleShot(seconds * 1000, qApp, &QCoreApplication::quit);
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::exec();
    const double cpu = double(ticks() - before) / double(::sysconf(_SC_CLK_TCK));
    std::printf("idle watcher: %.3f s CPU in %.1f s = %.3f %% of one core (%d applications seen)\n", cpu,
                clock.elapsed() / 1000.0, 100.0 * cpu / (clock.elapsed() / 1000.0),
                int(processes.applications().size()));
    return 0;
}

BENCHMARK(RealProc)->Unit(benchmark::kMicrosecond);
BENCHMARK(Steady)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMicrosecond);
BENCHMARK(Churn)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(FirstScan)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(NewProcesses)->Args({50, 0})->Args({50, 1})->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // proc_scan_bench --idle SECONDS: measure the watcher's idle CPU instead.
    if (argc == 3 && std::strcmp(argv[1], "--idle") == 0) return idle(std::atoi(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
