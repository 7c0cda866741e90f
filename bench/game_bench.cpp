// SPDX-License-Identifier: GPL-3.0-or-later
// Costs of the game model: building a new field, and one click that floods a
// whole field, on the largest field the custom dialog allows (2000 x 1000)
// and on the Beginner field (11 x 11, 10 bombs), and the many small floods of
// opening the inner walls of a big field. Each reports, besides the
// time per iteration, the time per cell ("time/cell", in seconds: 1n is one
// nanosecond): per cell of the grid for a new game, per opened cell for a
// flood. LargeGameAndFlood sets a new game plus its whole-field flood against
// a memset of the grid's bytes, timed in turn in the same iterations
// ("memset" in seconds, "xMemset" the ratio).

#include "MineStorage.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

namespace {

struct Field
{
    std::int32_t width, height;
};
constexpr Field kLarge {2000, 1000};
constexpr Field kBeginner {11, 11};

// The process's generator in the program; any uniform source will do here.
MineRandom SeededRandom(std::uint64_t seed)
{
    return [state = seed](std::int32_t n) mutable {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::int32_t>((state >> 33) % static_cast<std::uint64_t>(n));
    };
}

// A source that places the bombs at the given cells, in order.
MineRandom PlaceAt(std::vector<std::int32_t> cells)
{
    return [cells = std::move(cells), next = std::size_t {0}](std::int32_t) mutable {
        return cells[next++ % cells.size()];
    };
}

void SetCellCounter(benchmark::State &state, std::int64_t cellsPerIteration)
{
    state.counters["time/cell"] = benchmark::Counter(static_cast<double>(cellsPerIteration),
                                                     benchmark::Counter::kIsIterationInvariantRate
                                                         | benchmark::Counter::kInvert);
    state.SetItemsProcessed(state.iterations() * cellsPerIteration);
}

void NewGame(benchmark::State &state, Field field, std::int32_t bombs)
{
    MineRandom random = SeededRandom(42);
    for (auto _ : state) {
        MineGame game(field.width, field.height, bombs, 0, 1, false, random);
        benchmark::DoNotOptimize(game.BombCount());
    }
    SetCellCounter(state, std::int64_t {field.width} * field.height);
}

// 2000 x 1000 with four bombs in the top left corner: a click in the bottom
// right corner opens every other interior cell.
std::unique_ptr<MineGame> LargeFloodField()
{
    // Draws x - 1, y - 1 of (1, 1), (2, 1), (1, 2), (2, 2).
    return std::make_unique<MineGame>(kLarge.width, kLarge.height, 4, 0, 1, false,
                                      PlaceAt({0, 0, 1, 0, 0, 1, 1, 1}));
}

// Beginner with its ten bombs in the bottom right corner (columns 8 and 9,
// rows 5 to 9): a click at (1, 1) opens all 71 plain cells.
std::unique_ptr<MineGame> BeginnerFloodField()
{
    std::vector<std::int32_t> draws;
    for (std::int32_t x = 8; x <= 9; ++x) {
        for (std::int32_t y = 5; y <= 9; ++y) {
            draws.push_back(x - 1);
            draws.push_back(y - 1);
        }
    }
    return std::make_unique<MineGame>(kBeginner.width, kBeginner.height, 10, 0, 1, false,
                                      PlaceAt(std::move(draws)));
}

void LargeFlood(benchmark::State &state)
{
    const std::int64_t opened = std::int64_t {kLarge.width - 2} * (kLarge.height - 2) - 4;
    for (auto _ : state) {
        state.PauseTiming();
        auto game = LargeFloodField();
        state.ResumeTiming();
        game->OpenCell(kLarge.width - 2, kLarge.height - 2);
        state.PauseTiming();
        if (!game->IsWon() || game->OpenedCount() != opened) {
            state.SkipWithError("the click did not flood the whole field");
            break;
        }
        game.reset();
        state.ResumeTiming();
    }
    SetCellCounter(state, opened);
}

// 2000 x 1000 with a bomb in every sixth interior cell and a wall in every
// fiftieth: opening the inner walls floods from each wall without bomb
// neighbours, tens of thousands of small floods on a big field.
void LargeInnerWalls(benchmark::State &state)
{
    const std::int32_t interior = (kLarge.width - 2) * (kLarge.height - 2);
    MineRandom random = SeededRandom(42);
    for (auto _ : state) {
        state.PauseTiming();
        auto game = std::make_unique<MineGame>(kLarge.width, kLarge.height, interior / 6,
                                               interior / 50, 1, false, random);
        state.ResumeTiming();
        benchmark::DoNotOptimize(game->OpenInnerWalls());
        state.PauseTiming();
        game.reset();
        state.ResumeTiming();
    }
}

void BeginnerFlood(benchmark::State &state)
{
    // Games are built in batches with the clock stopped: stopping it for each
    // would cost more than the flood.
    constexpr std::size_t kBatch = 4096;
    std::vector<std::unique_ptr<MineGame>> batch;
    std::size_t next = kBatch;
    for (auto _ : state) {
        if (next == kBatch) {
            state.PauseTiming();
            for (const auto &game : batch) {
                if (!game->IsWon() || game->OpenedCount() != 71) {
                    state.SkipWithError("the click did not flood the whole field");
                    break;
                }
            }
            batch.clear();
            for (std::size_t i = 0; i < kBatch; ++i)
                batch.push_back(BeginnerFloodField());
            next = 0;
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(batch[next++]->OpenCell(1, 1));
    }
    SetCellCounter(state, 71);
}

// The thread's processor time: on a shared machine the wall clock also counts
// the time other processes hold the processor.
double ThreadSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The flood field built and flooded, then the same bytes as its grid's cells
// set with memset, in every iteration: both see the same load on the machine.
// Both are timed in processor time of the thread.
void LargeGameAndFlood(benchmark::State &state)
{
    const std::size_t bytes = sizeof(MineCell) * kLarge.width * kLarge.height;
    std::vector<unsigned char> block(bytes, 1);
    double game = 0, memset = 0;
    int fill = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        auto field = LargeFloodField();
        field->OpenCell(kLarge.width - 2, kLarge.height - 2);
        field.reset();
        const double middle = ThreadSeconds();
        std::memset(block.data(), ++fill & 0x7f, bytes);
        benchmark::ClobberMemory();
        const double end = ThreadSeconds();
        game += middle - start;
        memset += end - middle;
        state.SetIterationTime(middle - start);
    }
    state.counters["memset"] = benchmark::Counter(memset, benchmark::Counter::kAvgIterations);
    state.counters["xMemset"] = game / memset;
}

BENCHMARK_CAPTURE(NewGame, Large2000x1000_1bomb, kLarge, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NewGame, Large2000x1000_250000bombs, kLarge, 250000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NewGame, Beginner, kBeginner, 10);
BENCHMARK(LargeFlood)->Unit(benchmark::kMillisecond);
BENCHMARK(LargeInnerWalls)->Unit(benchmark::kMillisecond);
BENCHMARK(BeginnerFlood);
BENCHMARK(LargeGameAndFlood)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
