// AppCloner::prepare on the stand-in Claude bundle: a first copy (the copy is deleted before each
// run) and a copy that is already current. Needs VARROW_STANDIN_BUNDLE.
#include "copies/AppCloner.h"
#include "platform/fake/FakePlatform.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>

using varrow::copies::AppCloner;

namespace {

varrow::model::Profile account() {
    varrow::model::Profile profile;
    profile.id = QUuid::createUuid();
    profile.name = QStringLiteral("Work");
    profile.folderName = QStringLiteral("Work");
    profile.color = varrow::model::ProfileColor::Teal;
    return profile;
}

AppCloner::Prepared prepareAndWait(const varrow::platform::fake::FakePlatform& platform,
                                   const varrow::model::Profile& profile, const QString& source,
                                   const QString& root) {
    AppCloner::Prepared result;
    QEventLoop loop;
    AppCloner::prepare(platform.desktopFiles, platform.installations, profile, source, false, root + "/Apps",
                       root + "/Accounts", [&](AppCloner::Prepared p) {
                           result = p;
                           loop.quit();
                       });
    loop.exec();
    return result;
}

// The stand-in as the installed Claude, its icon as the system's, a fresh home and one account.
struct Setup {
    QString source = qEnvironmentVariable("VARROW_STANDIN_BUNDLE");
    varrow::platform::fake::FakePlatform platform;
    QTemporaryDir root;
    decltype(account()) profile = account();
    Setup() { platform.desktopFiles.systemIcon = QImage(source + "/Contents/Resources/Claude.png"); }
};

void BM_PrepareFirstCopy(benchmark::State& state) {
    const Setup setup;
    const QString& source = setup.source;
    const QTemporaryDir& root = setup.root;
    const auto& profile = setup.profile;
    for (auto _ : state) {
        state.PauseTiming();
        QDir(AppCloner::copyPath(profile, root.path() + "/Apps")).removeRecursively();
        QFile::remove(AppCloner::metaPath(AppCloner::copyPath(profile, root.path() + "/Apps")));
        state.ResumeTiming();
        if (!prepareAndWait(setup.platform, profile, source, root.path()).ok())
            state.SkipWithError("prepare failed");
    }
}

void BM_PrepareCurrentCopy(benchmark::State& state) {
    const Setup setup;
    const QString& source = setup.source;
    const QTemporaryDir& root = setup.root;
    const auto& profile = setup.profile;
    if (!prepareAndWait(setup.platform, profile, source, root.path()).ok())
        state.SkipWithError("first copy failed");
    for (auto _ : state) {
        if (!prepareAndWait(setup.platform, profile, source, root.path()).ok())
            state.SkipWithError("prepare failed");
    }
}

}  // namespace

BENCHMARK(BM_PrepareFirstCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrepareCurrentCopy)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!QDir(qEnvironmentVariable("VARROW_STANDIN_BUNDLE")).exists()) {
        fprintf(stderr, "prepare_bench: set VARROW_STANDIN_BUNDLE to the stand-in Claude.app\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
