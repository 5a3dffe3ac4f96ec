// A copy of a 300 MB Linux build of Claude (150 MB executable, 150 MB resources) as AppCloner makes
// it: a clone where the file system can, else the linked layout. Reports the disk the copy adds.
#include "copies/AppCloner.h"
#include "install/AsarArchive.h"

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <filesystem>

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
    for (const auto& entry : fs::recursive_directory_iterator(folder.toStdString())) {
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0 || seen->contains(info.st_ino)) continue;
        seen->insert(info.st_ino);
        total += qint64(info.st_blocks) * 512;
    }
    return total;
}

void BM_LinuxCopy(benchmark::State& state) {
    QTemporaryDir dir(QDir::homePath() + "/.cache/varrow-bench-XXXXXX");  // the disk copies live on
    const QString install = dir.filePath("claude-desktop");
    writeSized(install + "/claude-desktop", 150 << 20);
    QFile::setPermissions(install + "/claude-desktop",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (int i = 0; i < 6; ++i)
        writeSized(install + QStringLiteral("/resources/part%1.pak").arg(i), 25 << 20);
    QFile asar(install + "/resources/app.asar");
    asar.open(QIODevice::WriteOnly);
    asar.write(varrow::install::AsarArchive::build(
        {{"package.json", R"({"productName":"Claude","version":"1.0"})"}}));
    asar.close();
    const QString apps = dir.filePath("Apps");
    qint64 used = 0;
    for (auto _ : state) {
        const QString error = varrow::copies::AppCloner::makeCopy(install, apps + "/Claude Work.app", apps);
        if (!error.isEmpty()) state.SkipWithError(error.toStdString().c_str());
        state.PauseTiming();
        QSet<ino_t> seen;
        diskUse(install, &seen);
        used = diskUse(apps + "/Claude Work.app", &seen);
        state.ResumeTiming();
    }
    QSet<ino_t> none;
    state.counters["copy_adds_MB"] = double(used) / (1 << 20);
    state.counters["install_MB"] = double(diskUse(install, &none)) / (1 << 20);
}
BENCHMARK(BM_LinuxCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
