// Recolouring a 1024 × 1024 icon: the plain per-pixel formula against the table-driven version
// the program uses. Both produce the same bytes (checked in tests/copies).
#include "copies/Recolour.h"
#include "copies/RecolourReference.h"
#include "copies/TestIcons.h"

#include <benchmark/benchmark.h>
#include <QGuiApplication>
#include <QImage>
#include <cstring>

namespace {

constexpr quint32 kSky = 0x4A8FE0;

// The gradient icon (many distinct pixels) or the stand-in's own icon (flat areas).
QImage source(int which) {
    if (which == 1) {
        QImage icon(qEnvironmentVariable("VARROW_STANDIN_BUNDLE") + "/Contents/Resources/Claude.png");
        if (!icon.isNull())
            return icon.convertToFormat(QImage::Format_RGBA8888_Premultiplied).scaled(1024, 1024);
    }
    return varrow::test::gradientIcon(1024);
}

template <typename Recolour>
void run(benchmark::State& state, Recolour recolour) {
    const QImage pristine = source(int(state.range(0)));
    QImage work = pristine.copy();
    state.SetLabel(state.range(0) == 1 ? "stand-in icon" : "gradient icon");
    for (auto _ : state) {
        std::memcpy(work.bits(), pristine.constBits(), size_t(pristine.sizeInBytes()));
        recolour(work.bits(), work.bytesPerLine(), work.width(), work.height(), kSky);
        benchmark::DoNotOptimize(work.constBits());
    }
}

void BM_RecolourReference(benchmark::State& state) {
    run(state, varrow::test::recolourReference);
}
void BM_RecolourFast(benchmark::State& state) {
    run(state, varrow::copies::recolourPremultipliedRgba);
}
void BM_CopyOnly(benchmark::State& state) {
    run(state, [](uchar*, qsizetype, int, int, quint32) {});
}

}  // namespace

BENCHMARK(BM_RecolourReference)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecolourFast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOnly)->Arg(0)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
