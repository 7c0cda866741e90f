// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of drawing in the main window.
//   Fill: QImage::fill of a 3840 x 2160 RGB32 bitmap, the cheapest way to
//   touch every pixel of a 4K field; the yardstick for the rest.
//   RenderField/<tile>: the whole field drawn into FieldBitmap, the field
//   filling 3840 x 2160 with tiles of 1 pixel a side and of each shipped
//   skin's size, 8, 16, 20, 24 and 32 (with the ring shown, no margin), part
//   of it opened, flagged and hit.
//   "x_fill" is the processor time of one render divided by that of one fill.
//   Tick: one timer tick of a running clock whose text keeps its length; it
//   draws the time display and lays nothing out. Layout, for scale: a counter
//   change of length, which draws the counter and lays the window out.
//   SaveSettings: the settings file written as at exit, on disk.

#include "MineForm.h"
#include "RecordingDesktop.h"
#include "TestPictures.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

// Thread CPU time: the ratio to a fill stays meaningful on a busy machine.
double CpuNanoseconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e9 + double(t.tv_nsec);
}

// The time of one fill of a 4K bitmap: the median of a few, measured once.
double FillNanoseconds()
{
    static const double median = [] {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        std::vector<double> times;
        for (int i = 0; i < 31; ++i) {
            const double start = CpuNanoseconds();
            image.fill(i % 2 ? 0xFFC0C0C0u : 0xFF808080u);
            benchmark::DoNotOptimize(image.constBits());
            times.push_back(CpuNanoseconds() - start);
        }
        std::nth_element(times.begin(), times.begin() + 15, times.end());
        return times[15];
    }();
    return median;
}

// A program folder with a skin for each tile size, and a window of its own.
class Program
{
public:
    Program()
        : FDesktop(FDir.filePath(QStringLiteral("korvane")))
    {
        QDir(FDir.path()).mkpath(QStringLiteral("Skins"));
        for (int tile : {1, 8, 16, 20, 24, 32})
            korvane::test::MakeSkin(tile, tile)
                .save(FDir.filePath(QStringLiteral("Skins/T%1.png").arg(tile)), "PNG");
        FWindow = std::make_unique<TfrmKorvane>(FDesktop);
    }
    TfrmKorvane &Window() { return *FWindow; }

private:
    QTemporaryDir FDir;
    korvane::RecordingDesktop FDesktop;
    std::unique_ptr<TfrmKorvane> FWindow;
};

// Lays out a game filling 3840 x 2160 with the given tiles and plays part of it.
bool PrepareField(TfrmKorvane &w, int tile)
{
    if (!w.LoadSkin(QStringLiteral("T%1").arg(tile)))
        return false;
    w.miMaximum->trigger(); // hits leave the game running
    w.GameWidth = kWidth / tile;
    // 2160 is no multiple of 32: those tiles get one row more (2176 pixels).
    w.GameHeight = (kHeight + tile - 1) / tile;
    const int interior = (w.GameWidth - 2) * (w.GameHeight - 2);
    w.GameWalls = interior / 50;
    w.GameBombs = interior / 6;
    w.NewGame();
    MineGame &g = *w.Game;
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> x(1, g.FWidth - 2);
    std::uniform_int_distribution<int> y(1, g.FHeight - 2);
    for (int i = 0; i < interior / 4; ++i)
        g.OpenOne(x(random), y(random));
    for (int i = 0; i < interior / 20; ++i)
        g.FlagCell(x(random), y(random));
    for (int i = 0; i < interior / 50; ++i)
        g.MarkCell(x(random), y(random));
    for (int i = 0; i < 20; ++i)
        g.OpenCell(x(random), y(random));
    g.OpenInnerWalls();
    return w.MarginColumns == 0 && w.FieldBitmap.width() == kWidth
        && w.FieldBitmap.height() >= kHeight && w.FieldBitmap.height() < kHeight + tile
        && !g.IsFinished();
}

void Fill(benchmark::State &state)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(0xFFC0C0C0u);
        benchmark::DoNotOptimize(image.constBits());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * qint64 {kWidth} * kHeight * 4);
}
BENCHMARK(Fill)->Unit(benchmark::kMillisecond);

void RenderField(benchmark::State &state)
{
    const int tile = static_cast<int>(state.range(0));
    Program program;
    TfrmKorvane &w = program.Window();
    if (!PrepareField(w, tile)) {
        state.SkipWithError("the field does not fill 3840 x 2160");
        return;
    }
    const double fill = FillNanoseconds();
    double total = 0;
    for (auto _ : state) {
        const double start = CpuNanoseconds();
        w.RenderField();
        benchmark::DoNotOptimize(w.FieldBitmap.constBits());
        benchmark::ClobberMemory();
        total += CpuNanoseconds() - start;
    }
    state.SetBytesProcessed(state.iterations() * w.FieldBitmap.sizeInBytes());
    state.counters["cells"] = double(w.Game->FWidth) * w.Game->FHeight;
    state.counters["x_fill"] = total / double(state.iterations()) / fill;
}
BENCHMARK(RenderField)
    ->Arg(1)
    ->Arg(8)
    ->Arg(16)
    ->Arg(20)
    ->Arg(24)
    ->Arg(32)
    ->Unit(benchmark::kMillisecond);

void Tick(benchmark::State &state)
{
    Program program;
    TfrmKorvane &w = program.Window();
    w.show();
    w.StartClock();
    w.timSecond.stop(); // the benchmark ticks by hand
    // A layout puts this box back in its place: it must stay where it is put.
    w.pTimerSurround->move(-100, -100);
    for (auto _ : state) {
        w.ElapsedSeconds = 600; // 10:01 and on: five characters all along
        w.timSecondTimer();
    }
    if (w.pTimerSurround->x() != -100)
        state.SkipWithError("a tick laid the window out");
}
BENCHMARK(Tick)->Unit(benchmark::kMicrosecond);

void Layout(benchmark::State &state)
{
    Program program;
    TfrmKorvane &w = program.Window();
    w.show();
    // The counter changes length at every step, as from -999 to -1000.
    const QString texts[2] {QStringLiteral("-999"), QStringLiteral("-1000")};
    int i = 0;
    for (auto _ : state) {
        w.UpdateCounterDisplay(texts[i], texts[1 - i]);
        i = 1 - i;
    }
}
BENCHMARK(Layout)->Unit(benchmark::kMicrosecond);

// The settings file written at exit: every key, into a file in the
// program's folder on disk (synced, as a real exit does).
void SaveSettings(benchmark::State &state)
{
    Program program;
    TfrmKorvane &w = program.Window();
    for (auto _ : state)
        w.SaveSettings();
}
BENCHMARK(SaveSettings)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
