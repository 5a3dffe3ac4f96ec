// refresh() runs on every launch and exit of any application; it must stay cheap as the number
// of running applications grows. Target: under 2 ms with 20 Claude instances among 1,000 others.
#include "claude/ClaudeController.h"
#include "model/ProfileStore.h"
#include "platform/fake/FakePlatform.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

using namespace varrow;

namespace {

// args: number of other applications, number of Claude instances (one account each).
void BM_Refresh(benchmark::State& state) {
    const int others = int(state.range(0));
    const int claudes = int(state.range(1));
    QTemporaryDir dir;
    platform::fake::FakePlatform fake;
    model::ProfileStore store(model::StoreLocations::forRoot(dir.filePath("Varrow")));

    QList<model::Profile> profiles = store.profiles();
    for (int i = 0; i < claudes; ++i) {
        model::Profile p;
        p.id = QUuid::createUuid();
        p.name = QStringLiteral("Account %1").arg(i);
        p.folderName = model::ProfileStore::folderName(p.name);
        p.createdAt = QDateTime::currentDateTimeUtc();
        profiles.append(p);
    }
    store.setProfiles(profiles);

    for (int i = 0; i < others; ++i)
        fake.processes.addApplication(QStringLiteral("org.example.app%1").arg(i),
                                      QStringLiteral("/usr/lib/app%1/App.app").arg(i), QStringLiteral("App"),
                                      {QStringLiteral("/usr/lib/app%1/App.app/Contents/MacOS/App").arg(i)},
                                      false);
    for (int i = 1; i <= claudes; ++i) {
        const QString desktop = QDir(store.accountsURL()).filePath(profiles[i].folderName + "/Desktop");
        QDir().mkpath(desktop);
        const QString copy = QDir(store.appsURL()).filePath("Claude " + profiles[i].name + ".app");
        QDir().mkpath(copy);
        fake.processes.addApplication(claude::ClaudeController::kApplicationId, copy, profiles[i].name,
                                      {copy + "/Contents/MacOS/Claude", "--user-data-dir=" + desktop}, false);
    }

    claude::ClaudeController controller(&store, fake.services());
    if (controller.running().size() != claudes) state.SkipWithError("accounts were not recognised");
    for (auto _ : state) {
        controller.refresh();
        benchmark::DoNotOptimize(controller.running().size());
    }
    state.counters["apps"] = others + claudes;
}

BENCHMARK(BM_Refresh)
    ->Args({100, 20})
    ->Args({1000, 20})
    ->Args({10000, 20})
    ->Args({1000, 1})
    ->Args({1000, 100})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
