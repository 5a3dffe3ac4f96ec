// Copies of a Linux build of Claude (150 MB executable, 100 MB of resources, a 30 MB app.asar) as
// AppCloner makes them: a clone where the file system can, else the linked layout, and either way
// an archive of the copy's own naming its launcher entry. Each iteration makes a new copy, so the
// counters are per copy: copy_adds_MB counts the blocks of files the installation does not share by
// inode (a clone's shared blocks count in full), fs_grew_MB how much the file system's used space
// grew (exact for clones, noisy where others write to the same file system). VARROW_BENCH_DIR picks
// the file system (default ~/.cache).
#include "copies/AppCloner.h"
#include "install/AsarArchive.h"
#include "install/AsarRewrite.h"
#include "install/ClaudeInstallations.h"
#include "install/LinuxClaudeCopy.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <filesystem>
#include <functional>

namespace {

void writeSized(const QString& path, qint64 bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return;
    const QByteArray block(1 << 20, 'x');
    for (qint64 written = 0; written < bytes; written += block.size()) file.write(block);
}

// Blocks allocated under a folder, links not followed, skipping inodes already counted in *seen
// (so a hard link into the installation adds nothing).
qint64 diskUse(const QString& folder, QSet<ino_t>* seen) {
    namespace fs = std::filesystem;
    qint64 total = 0;
    auto count = [&](const fs::path& path) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || seen->contains(info.st_ino)) return;
        seen->insert(info.st_ino);
        total += qint64(info.st_blocks) * 512;
    };
    if (!QFileInfo(folder).isDir())
        count(folder.toStdString());
    else
        for (const auto& entry : fs::recursive_directory_iterator(folder.toStdString())) count(entry.path());
    return total;
}

// The file system's used bytes once everything written so far has reached it.
qint64 fileSystemUsed(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    struct statvfs info {};
    if (fd >= 0) {
        ::syncfs(fd);
        ::fstatvfs(fd, &info);
        ::close(fd);
    }
    return qint64(info.f_blocks - info.f_bfree) * qint64(info.f_frsize);
}

struct Fixture {
    QTemporaryDir dir{(qEnvironmentVariableIsSet("VARROW_BENCH_DIR")
                           ? qEnvironmentVariable("VARROW_BENCH_DIR")
                           : QDir::homePath() + "/.cache") +
                      "/varrow-bench-XXXXXX"};
    varrow::install::ClaudeInstallations installations;
    QString install = dir.filePath("claude-desktop");
    QString archive = install + "/resources/app.asar";

    Fixture() {
        writeSized(install + "/claude-desktop", 150 << 20);
        QFile::setPermissions(install + "/claude-desktop",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (int i = 0; i < 4; ++i)
            writeSized(install + QStringLiteral("/resources/part%1.pak").arg(i), 25 << 20);
        writeSized(install + "/resources/app.asar.unpacked/native.node", 1 << 20);
        // package.json first, as Electron's tool stores it: everything after it is 30 MB.
        QList<std::pair<QString, QByteArray>> files{
            {"package.json", R"({"productName":"Claude","version":"1.0"})"}};
        for (int i = 0; i < 3; ++i)
            files.append({QStringLiteral("dist/chunk%1.js").arg(i), QByteArray(10 << 20, 'a' + i)});
        QFile asar(archive);
        asar.open(QIODevice::WriteOnly);
        asar.write(varrow::install::AsarArchive::build(files));
    }
};

Fixture& fixture() {
    static Fixture made;
    return made;
}

// Runs make(n) once per iteration, each into a new place, and reports what each one added.
void measure(benchmark::State& state, const std::function<QString(int)>& make,
             const std::function<QString(int)>& made) {
    Fixture& f = fixture();
    QSet<ino_t> installed;
    diskUse(f.install, &installed);
    qint64 blocks = 0;
    qint64 grew = 0;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const qint64 before = fileSystemUsed(f.dir.path());
        state.ResumeTiming();
        if (const QString error = make(n); !error.isEmpty()) state.SkipWithError(error.toStdString().c_str());
        state.PauseTiming();
        grew += fileSystemUsed(f.dir.path()) - before;
        QSet<ino_t> seen = installed;
        blocks += diskUse(made(n), &seen);
        ++n;
        state.ResumeTiming();
    }
    state.counters["copy_adds_MB"] = double(blocks) / n / (1 << 20);
    state.counters["fs_grew_MB"] = double(grew) / n / (1 << 20);
}

QString copyPath(int n) {
    return fixture().dir.filePath(QStringLiteral("Apps/Claude Work %1.app").arg(n));
}

void BM_LinuxCopy(benchmark::State& state) {
    const QString apps = fixture().dir.filePath("Apps");
    measure(
        state,
        [&](int n) {
            return varrow::copies::AppCloner::makeCopy(fixture().installations, fixture().install,
                                                       copyPath(n), apps);
        },
        copyPath);
}

// The linked layout alone, as copies were before they had archives of their own.
void BM_LinkedCopyWithoutOwnArchive(benchmark::State& state) {
    auto path = [](int n) {
        return fixture().dir.filePath(QStringLiteral("Linked/Claude Work %1.app").arg(n));
    };
    measure(
        state,
        [&](int n) { return varrow::install::LinuxClaudeCopy::makeLinked(fixture().install, path(n)); },
        path);
}

void BM_AsarRewrite(benchmark::State& state) {
    auto path = [](int n) { return fixture().dir.filePath(QStringLiteral("app-%1.asar").arg(n)); };
    measure(
        state,
        [&](int n) {
            return varrow::install::AsarRewrite::withDesktopName(fixture().archive, path(n), "x.desktop");
        },
        path);
}

BENCHMARK(BM_LinuxCopy)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_LinkedCopyWithoutOwnArchive)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AsarRewrite)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
