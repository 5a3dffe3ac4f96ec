// Loading and saving the account list, and picking unique names, at 1,000 accounts.
#include "model/ProfileStore.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QTemporaryDir>

using namespace varrow::model;

namespace {

QList<Profile> manyAccounts(int count) {
    QList<Profile> list{ProfileStore::makeDefault()};
    for (int i = 1; i < count; ++i) {
        Profile p;
        p.id = QUuid::createUuid();
        p.name = QStringLiteral("Account %1").arg(i);
        p.note = QStringLiteral("person%1@example.com").arg(i);
        p.color = colors::allCases().at(i % 8);
        p.folderName = ProfileStore::folderName(p.name);
        p.createdAt = QDateTime::currentDateTimeUtc();
        if (i % 2) p.lastOpenedAt = p.createdAt;
        list.append(p);
    }
    return list;
}

// A home folder whose list file already holds 1,000 accounts.
StoreLocations seededLocations(const QTemporaryDir& dir) {
    const auto locations = StoreLocations::forRoot(dir.filePath("Varrow"));
    ProfileStore seed(locations);
    seed.setProfiles(manyAccounts(1000));
    seed.save();
    return locations;
}

void LoadAndSave1000(benchmark::State& state) {
    QTemporaryDir dir;
    ProfileStore store(seededLocations(dir));
    for (auto _ : state) {
        store.load();
        benchmark::DoNotOptimize(store.profiles().size());
        store.save();
        store.flush();
    }
    state.counters["accounts"] = double(store.profiles().size());
}
BENCHMARK(LoadAndSave1000)->Unit(benchmark::kMillisecond);

void Load1000(benchmark::State& state) {
    QTemporaryDir dir;
    ProfileStore store(seededLocations(dir));
    for (auto _ : state) store.load();
}
BENCHMARK(Load1000)->Unit(benchmark::kMillisecond);

void Save1000(benchmark::State& state) {
    QTemporaryDir dir;
    ProfileStore store(StoreLocations::forRoot(dir.filePath("Varrow")));
    store.setProfiles(manyAccounts(1000));
    // The whole write, not only handing it to the writer's thread.
    for (auto _ : state) {
        store.save();
        store.flush();
    }
}
BENCHMARK(Save1000)->Unit(benchmark::kMillisecond);

void UniqueName1000(benchmark::State& state) {
    QTemporaryDir dir;
    ProfileStore store(StoreLocations::forRoot(dir.filePath("Varrow")));
    store.setProfiles(manyAccounts(1000));
    for (auto _ : state) benchmark::DoNotOptimize(store.uniqueName(QStringLiteral("account 500")));
}
BENCHMARK(UniqueName1000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
