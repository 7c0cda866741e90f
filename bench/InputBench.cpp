// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of mouse play on the largest field (2000 x 1000) with 1 x 1 tiles, the
// paint included: each timed step is a left release followed by the event
// processing that puts its drawing on the (offscreen) screen.
//   Flood: the release opens all but a corner of the field, renders the whole
//   field bitmap and shows it.
//   OneCell: with Auto Open off, the release opens one cell; only its
//   rectangle is redrawn and shown.
// Each reports "painted", the pixels of the field box repainted per
// iteration, and the time of the release handler alone ("handler_ms",
// "handler_us"). OneCell also runs with the status bar hidden, which leaves
// out the status bar's own update. Besides the cell, every release repaints
// the counter and the face button; DrawAndShowOneCell is the field's share.

#include "MineForm.h"
#include "RecordingDesktop.h"
#include "TestPictures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

constexpr int kWidth = 2000;
constexpr int kHeight = 1000;

// Counts the pixels that paint events ask a widget to draw.
class PaintCounter : public QObject
{
public:
    long long Pixels = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                Pixels += qint64 {r.width()} * r.height();
        }
        return false;
    }
};

// A program folder holding a skin of 1 x 1 tiles, and the window playing in it.
struct BigField
{
    QTemporaryDir Dir;
    korvane::RecordingDesktop Desktop {Dir.filePath(QStringLiteral("korvane"))};
    std::unique_ptr<TfrmKorvane> Window;
    PaintCounter Painted;
    // Of the timed steps, the time spent in the release handler itself.
    double HandlerSeconds = 0;

    BigField()
    {
        QDir(Dir.path()).mkpath(QStringLiteral("Skins"));
        korvane::test::MakeSkin(1, 1).save(
            QDir(Dir.path()).filePath(QStringLiteral("Skins/Tiny.png")), "PNG");

        Window = std::make_unique<TfrmKorvane>(Desktop);
        TfrmKorvane &w = *Window;
        if (!w.LoadSkin(QStringLiteral("Tiny")))
            throw std::runtime_error("the skin did not load");
        w.GameWidth = kWidth;
        w.GameHeight = kHeight;
        w.GameBombs = 1;
        w.GameWalls = 0;
        // The one bomb goes into the top-left corner of the interior; any
        // further ones down the diagonal.
        w.SetRandomSource([next = 0](std::int32_t n) mutable { return next++ / 2 % n; });
        w.show();
        w.pbGame->installEventFilter(&Painted);
    }

    TfrmKorvane &W() { return *Window; }

    void NewGame(bool autoOpen)
    {
        if (W().miAuto->isChecked() != autoOpen)
            W().miAuto->trigger();
        W().NewGame();
        Settle();
        if (W().Game->FWidth != kWidth || W().Game->FHeight != kHeight)
            throw std::runtime_error("the window gave the field another size");
    }

    void ShowStatusBar(bool shown)
    {
        if (W().miStatus->isChecked() != shown)
            W().miStatus->trigger();
    }

    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    void Send(QEvent::Type type, QPoint p)
    {
        QMouseEvent event(type, QPointF(p), QPointF(W().pbGame->mapToGlobal(p)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(W().pbGame, &event);
    }

    // Presses on cell (x, y) and lets the pressed look reach the screen, then
    // times the release and the paint that follows it.
    double TimedClick(int x, int y)
    {
        const QPoint p((x + W().MarginColumns) * W().CellWidth, y * W().CellHeight);
        Send(QEvent::MouseButtonPress, p);
        Settle();
        Painted.Pixels = 0;
        const auto start = std::chrono::steady_clock::now();
        Send(QEvent::MouseButtonRelease, p);
        const auto handled = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        const auto stop = std::chrono::steady_clock::now();
        HandlerSeconds += std::chrono::duration<double>(handled - start).count();
        return std::chrono::duration<double>(stop - start).count();
    }
};

BigField &Field()
{
    static BigField field;
    return field;
}

void BM_ReleaseFloodsWholeField(benchmark::State &state)
{
    BigField &f = Field();
    f.ShowStatusBar(true);
    long long painted = 0;
    f.HandlerSeconds = 0;
    for (auto _ : state) {
        f.NewGame(true);
        state.SetIterationTime(f.TimedClick(kWidth / 2, kHeight / 2));
        painted += f.Painted.Pixels;
        if (f.W().Game->OpenedCount() != kWidth * kHeight - 2 * kWidth - 2 * kHeight + 4 - 1)
            state.SkipWithError("the flood did not open the field");
    }
    state.counters["painted"]
        = benchmark::Counter(static_cast<double>(painted), benchmark::Counter::kAvgIterations);
    state.counters["handler_ms"] = f.HandlerSeconds * 1e3 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ReleaseFloodsWholeField)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

void OneCell(benchmark::State &state, bool statusBar)
{
    BigField &f = Field();
    f.ShowStatusBar(statusBar);
    f.NewGame(false);
    long long painted = 0;
    f.HandlerSeconds = 0;
    int x = 10;
    int y = 10;
    for (auto _ : state) {
        state.SetIterationTime(f.TimedClick(x, y));
        painted += f.Painted.Pixels;
        if (f.W().Game->CellState(x, y) != csOpen)
            state.SkipWithError("the cell did not open");
        // Cells of the interior, column by column: each is still covered.
        if (++y >= kHeight - 1) {
            y = 10;
            if (++x >= kWidth - 1)
                f.NewGame(false), x = 10;
        }
    }
    state.counters["painted"]
        = benchmark::Counter(static_cast<double>(painted), benchmark::Counter::kAvgIterations);
    state.counters["handler_us"] = f.HandlerSeconds * 1e6 / static_cast<double>(state.iterations());
}

void BM_ReleaseOpensOneCell(benchmark::State &state)
{
    OneCell(state, true);
}
BENCHMARK(BM_ReleaseOpensOneCell)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ReleaseOpensOneCellNoStatusBar(benchmark::State &state)
{
    OneCell(state, false);
}
BENCHMARK(BM_ReleaseOpensOneCellNoStatusBar)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The field's share alone: draw one cell into the bitmap and show it.
void BM_DrawAndShowOneCell(benchmark::State &state)
{
    BigField &f = Field();
    f.NewGame(false);
    long long painted = 0;
    int y = 10;
    for (auto _ : state) {
        f.Painted.Pixels = 0;
        const auto start = std::chrono::steady_clock::now();
        f.W().DrawCell(10, y);
        f.W().ShowCell(10, y);
        QCoreApplication::processEvents();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
        painted += f.Painted.Pixels;
        y = y % (kHeight - 2) + 1;
    }
    state.counters["painted"]
        = benchmark::Counter(static_cast<double>(painted), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DrawAndShowOneCell)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    // A screen that holds the whole window, which the window checks its field
    // against whenever it is laid out again.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KORVANE_BENCH_SCREEN);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
