// SPDX-License-Identifier: GPL-3.0-or-later
// Long sequences of actions on the model, decoded from the input: a field of
// up to 34 x 34 cells with any counts of bombs, walls and shields, then three
// bytes per action (which action, column, row; positions reach one cell past
// every edge). After every action the game's totals must equal a recount made
// through the public queries; at the end the game is finished, which uncovers
// every cell, and everything hidden is recounted too.
#include "MineStorage.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <vector>

namespace {

void Check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// splitmix64: the field's draws, from a seed in the input.
MineRandom SeededRandom(std::uint64_t seed)
{
    return [state = seed](std::int32_t n) mutable {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return static_cast<std::int32_t>(z % static_cast<std::uint64_t>(n));
    };
}

struct Totals
{
    std::int32_t Flags = 0;
    std::int32_t Open = 0;
    std::int32_t Walls = 0;
    std::int32_t OpenWalls = 0;
    std::int32_t Exploded = 0;
};

// What the public queries show of the field, counted cell by cell; states
// receives the state and content of every cell, column by column.
Totals Recount(const MineGame &g, std::vector<std::pair<MineCellState, MineCellContent>> &cells)
{
    Totals t;
    cells.clear();
    for (std::int32_t x = 0; x < g.FWidth; ++x) {
        for (std::int32_t y = 0; y < g.FHeight; ++y) {
            const MineCellState s = g.CellState(x, y);
            const MineCellContent c = g.CellContent(x, y);
            cells.emplace_back(s, c);
            t.Flags += s == csFlagged;
            t.Open += s == csOpen;
            t.Walls += c == ccWall;
            t.OpenWalls += s == csOpen && c == ccWall;
            t.Exploded += s == csOpen && c == ccBomb;
            Check(c != ccWall || s == csHidden || s == csOpen, "walls are never flagged or marked");
            Check(s != csOpen || c != ccUnknown, "an open cell shows what it holds");
        }
    }
    return t;
}

void CheckTotals(const MineGame &g, const Totals &t)
{
    Check(g.FlagCount() == t.Flags, "FlagCount = flagged cells");
    Check(g.OpenedCount() == t.Open, "OpenedCount = open cells");
    Check(g.ExplodedCount() == t.Exploded, "ExplodedCount = open bombs");
    Check(g.CountableCells() == g.FWidth * g.FHeight - t.Walls + t.OpenWalls,
          "CountableCells = cells that are not covered walls");
}

std::int32_t Around(const MineGame &g, std::int32_t x, std::int32_t y,
                    bool (*counts)(const MineGame &, std::int32_t, std::int32_t))
{
    std::int32_t n = 0;
    for (std::int32_t i = x - 1; i <= x + 1; ++i) {
        for (std::int32_t j = y - 1; j <= y + 1; ++j) {
            if ((i != x || j != y) && g.Inside(i, j) && counts(g, i, j))
                ++n;
        }
    }
    return n;
}

bool IsBomb(const MineGame &g, std::int32_t x, std::int32_t y)
{
    return g.CellContent(x, y) == ccBomb;
}

bool IsKnown(const MineGame &g, std::int32_t x, std::int32_t y)
{
    return g.CellState(x, y) == csFlagged || (g.CellState(x, y) == csOpen && IsBomb(g, x, y));
}

enum Action : std::uint8_t {
    aOpenOne,
    aOpenCell,
    aOpenWall,
    aOpenInnerWalls,
    aOpenBorderWalls,
    aChord,
    aTryOpen,
    aFlag,
    aMark,
    aClear,
    aShields,
    aAutoOpen,
    aCount
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::int32_t width = in.ConsumeIntegralInRange<std::int32_t>(0, 34);
    const std::int32_t height = in.ConsumeIntegralInRange<std::int32_t>(0, 34);
    const std::int32_t bombs = in.ConsumeIntegral<std::int16_t>();
    const std::int32_t walls = in.ConsumeIntegral<std::int16_t>();
    const std::int32_t shields = in.ConsumeIntegral<std::int8_t>();
    const bool startMarked = in.ConsumeBool();
    MineGame g(width, height, bombs, walls, shields, startMarked,
               SeededRandom(in.ConsumeIntegral<std::uint64_t>()));

    Check(g.FWidth == std::max(width, 3) && g.FHeight == std::max(height, 3),
          "sizes below 3 become 3");
    const std::int64_t interior = std::int64_t {g.FWidth - 2} * (g.FHeight - 2);
    const std::int64_t wallsPlaced = std::clamp<std::int64_t>(walls, 0, interior);
    const std::int64_t bombsPlaced = std::clamp<std::int64_t>(bombs, 0, interior - wallsPlaced);
    Check(g.BombCount() == bombsPlaced, "bombs are placed as far as there is room");
    std::vector<std::pair<MineCellState, MineCellContent>> was, now;
    Totals t = Recount(g, was);
    Check(t.Walls == 2 * g.FWidth + 2 * g.FHeight - 4 + wallsPlaced,
          "the ring and the walls asked for");
    CheckTotals(g, t);

    std::int32_t shieldsNow = shields;
    while (in.remaining_bytes() >= 3) {
        const auto action = static_cast<Action>(in.ConsumeIntegral<std::uint8_t>() % aCount);
        const std::int32_t x = in.ConsumeIntegral<std::uint8_t>() % (g.FWidth + 2) - 1;
        const std::int32_t y = in.ConsumeIntegral<std::uint8_t>() % (g.FHeight + 2) - 1;

        const bool finished = g.IsFinished();
        const Totals before = t;
        const bool chordable
            = g.CellState(x, y) == csOpen && g.CellNumber(x, y) == g.KnownAround(x, y);
        bool result = false;
        switch (action) {
        case aOpenOne:
            result = g.OpenOne(x, y);
            break;
        case aOpenCell:
            result = g.OpenCell(x, y);
            break;
        case aOpenWall:
            result = g.OpenWall(x, y);
            break;
        case aOpenInnerWalls:
            result = g.OpenInnerWalls();
            break;
        case aOpenBorderWalls:
            result = g.OpenBorderWalls();
            break;
        case aChord:
            result = g.Chord(x, y);
            break;
        case aTryOpen:
            result = g.TryOpen(x, y);
            break;
        case aFlag:
            result = g.FlagCell(x, y);
            break;
        case aMark:
            result = g.MarkCell(x, y);
            break;
        case aClear:
            result = g.ClearCell(x, y);
            break;
        case aShields:
            shieldsNow = x + y - 1;
            g.SetShields(shieldsNow);
            break;
        case aAutoOpen:
            g.FAutoOpen = !g.FAutoOpen;
            break;
        case aCount:
            break;
        }
        t = Recount(g, now);
        CheckTotals(g, t);

        bool onlyWallsChanged = true;
        for (std::size_t i = 0; i < now.size(); ++i) {
            Check(was[i].first != csOpen || now[i].first == csOpen, "an open cell stays open");
            if (was[i].first != now[i].first && now[i].second != ccWall)
                onlyWallsChanged = false;
        }
        std::swap(was, now);
        Check(t.Walls == before.Walls, "walls stay walls");
        if (finished && action != aShields)
            Check(onlyWallsChanged && t.Flags == before.Flags, "a finished game only opens walls");
        const std::int32_t hits = t.Exploded - before.Exploded;
        switch (action) {
        case aOpenOne:
        case aOpenCell:
        case aTryOpen:
            Check(hits <= 1, "a flood never opens a bomb");
            break;
        case aChord:
            Check(hits <= 8, "a chord opens only the neighbours and floods on from them");
            Check(!result || chordable, "a chord needs as many known bombs as the number");
            break;
        case aOpenWall:
        case aOpenInnerWalls:
        case aOpenBorderWalls:
            Check(hits == 0, "opening walls never opens a bomb");
            break;
        default:
            Check(t.Open == before.Open, "only opening opens");
        }
        if (action == aFlag && result)
            Check(g.CellState(x, y) == csFlagged, "a flag that was set is there");
    }

    // What the running game answered, judged after everything is uncovered.
    const bool won = g.IsWon();
    const bool lost = g.IsLost();
    const std::int32_t left = g.BombsLeft();
    g.SetShields(std::numeric_limits<std::int32_t>::min());
    Check(g.IsFinished(), "without shields the game is over");

    std::int32_t bombCells = 0, plain = 0, openPlain = 0, wrongFlags = 0;
    for (std::int32_t x = 0; x < g.FWidth; ++x) {
        for (std::int32_t y = 0; y < g.FHeight; ++y) {
            const MineCellContent c = g.CellContent(x, y);
            const MineCellState s = g.CellState(x, y);
            Check(c != ccUnknown, "a finished game shows every cell");
            bombCells += c == ccBomb;
            plain += c == ccPlain;
            openPlain += c == ccPlain && s == csOpen;
            wrongFlags += s == csFlagged && c != ccBomb;
            const std::int32_t number = Around(g, x, y, IsBomb);
            Check(g.CellNumber(x, y) == number, "numbers count the bombs around");
            Check(g.KnownAround(x, y) == Around(g, x, y, IsKnown),
                  "KnownAround = flags and hits around");
            Check(g.ViewRow(y)[x] == MineView(s, c, number), "the view byte matches the cell");
        }
    }
    Check(g.BombCount() == bombCells, "BombCount = bomb cells");
    Check(won == (openPlain == plain || t.Exploded >= bombCells),
          "won = every plain cell open, or every bomb hit");
    Check(lost == (t.Exploded >= shieldsNow), "lost = as many hits as shields");
    const std::int32_t expected
        = won ? 0 : bombCells - t.Flags - t.Exploded + (lost ? wrongFlags : 0);
    Check(left == expected, "BombsLeft recounted");
    return 0;
}
