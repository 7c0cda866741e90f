// SPDX-License-Identifier: GPL-3.0-or-later
// Randomised games played against the plain reference implementation of the
// rules: after every action, every query of every cell and every total of the
// game must agree with a count made afresh from the field, and so must the
// seven neighbour counters of every cell record and the view byte that the
// renderer reads.
//
// Each batch plays a fixed list of seeds, so a failure reproduces; the
// message names the seed, the action and the actions before it.

#include "FieldPicture.h"
#include "ModelPeek.h"
#include "ReferenceGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// splitmix64: the same sequence on every platform and standard library.
class Rng
{
public:
    explicit Rng(std::uint64_t seed)
        : FState(seed)
    { }

    std::uint64_t Next()
    {
        std::uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform enough in 0..n-1 for n > 0.
    std::int32_t Below(std::int64_t n) { return static_cast<std::int32_t>(Next() % n); }
    std::int32_t Between(std::int32_t lo, std::int32_t hi)
    {
        return lo + Below(std::int64_t {hi} - lo + 1);
    }
    bool Chance(int percent) { return Below(100) < percent; }

    template<typename T>
    const T &Pick(const std::vector<T> &items)
    {
        return items[static_cast<std::size_t>(Below(static_cast<std::int64_t>(items.size())))];
    }

private:
    std::uint64_t FState;
};

// How the player of a field behaves: a careful one mostly opens cells that
// hold no bomb and flags the bombs, a reckless one goes for the bombs (and
// plays with as many shields as there are bombs, so that the last hit both
// wins and loses the game).
enum class Player { Careful, Reckless };

struct Scenario
{
    FieldLayout layout;
    std::int32_t bombsAsked = 0;
    std::int32_t wallsAsked = 0;
    std::int32_t shields = 0;
    bool startMarked = false;
    std::vector<Pos> draws; // every draw the constructor will see, rejected ones included
};

std::int32_t AskFor(Rng &rng, std::int32_t interior, std::int32_t typical)
{
    switch (rng.Below(20)) {
    case 0:
        return -rng.Between(1, 3);
    case 1:
        return interior + rng.Between(0, 4); // more than fits
    case 2:
        return kMax;
    case 3:
    case 4:
        return 0;
    default:
        return rng.Between(0, typical);
    }
}

// The sizes a batch of fields is drawn from.
struct Sizes
{
    std::int32_t minWidth, maxWidth, minHeight, maxHeight;
};

Scenario MakeScenario(Rng &rng, Player player, const Sizes &sizes)
{
    Scenario s;
    const std::int32_t width = rng.Between(sizes.minWidth, sizes.maxWidth);
    const std::int32_t height = rng.Between(sizes.minHeight, sizes.maxHeight);
    const std::int32_t interior = (width - 2) * (height - 2);
    s.wallsAsked = AskFor(rng, interior, interior / 5);
    const std::vector<std::int32_t> densities {3, interior / 10 + 1, interior / 4 + 1};
    s.bombsAsked = AskFor(rng, interior, rng.Pick(densities));
    const std::int32_t walls = std::clamp(s.wallsAsked, 0, interior);
    const std::int32_t bombs = std::clamp(s.bombsAsked, 0, interior - walls);

    // Which interior cells get walls and bombs: a shuffled list of them all.
    std::vector<Pos> cells;
    for (std::int32_t x = 1; x <= width - 2; ++x)
        for (std::int32_t y = 1; y <= height - 2; ++y)
            cells.push_back({x, y});
    for (std::size_t i = cells.size(); i > 1; --i)
        std::swap(cells[i - 1],
                  cells[static_cast<std::size_t>(rng.Below(static_cast<std::int64_t>(i)))]);
    const std::vector<Pos> wallCells(cells.begin(), cells.begin() + walls);
    const std::vector<Pos> bombCells(cells.begin() + walls, cells.begin() + walls + bombs);
    s.layout = MakeLayout(width, height, wallCells, bombCells);

    // The draws, with some that the constructor must reject before each
    // accepted one: the right column and bottom row of the ring are in the
    // draw range, and so is every cell placed already.
    std::vector<Pos> taken;
    for (std::int32_t y = 1; y <= height - 1; ++y)
        taken.push_back({width - 1, y});
    for (std::int32_t x = 1; x <= width - 2; ++x)
        taken.push_back({x, height - 1});
    for (const std::vector<Pos> *group : {&wallCells, &bombCells}) {
        for (const Pos p : *group) {
            while (rng.Chance(25))
                s.draws.push_back(rng.Pick(taken));
            s.draws.push_back(p);
            taken.push_back(p);
        }
    }

    switch (rng.Below(6)) {
    case 0:
        s.shields = 0;
        break;
    case 1:
        s.shields = 1;
        break;
    case 2:
        s.shields = bombs;
        break;
    case 3:
        s.shields = bombs + 1;
        break;
    default:
        s.shields = rng.Between(1, std::max(1, bombs / 2 + 2));
        break;
    }
    if (player == Player::Reckless)
        s.shields = bombs;
    s.startMarked = rng.Chance(30);
    return s;
}

// Positions for the actions: mostly inside, some just outside, some far away.
Pos AnyPos(Rng &rng, const FieldLayout &layout)
{
    const int kind = rng.Below(20);
    if (kind < 16)
        return {rng.Below(layout.width), rng.Below(layout.height)};
    if (kind < 18) {
        const std::vector<std::int32_t> xs {-1, layout.width, rng.Between(-1, layout.width)};
        const std::vector<std::int32_t> ys {-1, layout.height, rng.Between(-1, layout.height)};
        Pos p {rng.Pick(xs), rng.Pick(ys)};
        if (layout.Inside(p.x, p.y))
            p.x = -1;
        return p;
    }
    const std::vector<std::int32_t> far {kMin, kMin + 1, -1000000, 1000000, kMax - 1, kMax};
    return {rng.Chance(50) ? rng.Pick(far) : rng.Below(layout.width), rng.Pick(far)};
}

// An inside cell for which the test holds, or any position when none does.
template<typename Test>
Pos CellWhere(Rng &rng, const FieldLayout &layout, Test test)
{
    std::vector<Pos> found;
    for (std::int32_t x = 0; x < layout.width; ++x)
        for (std::int32_t y = 0; y < layout.height; ++y)
            if (test(x, y))
                found.push_back({x, y});
    return found.empty() ? AnyPos(rng, layout) : rng.Pick(found);
}

std::string Describe(const char *name, Pos p)
{
    return std::string(name) + "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

// One random action, played on both games: what it was and what each answered.
struct Step
{
    std::string what;
    bool modelAnswer = false;
    bool refAnswer = false;
};

Step PlayRandomAction(Rng &rng, Player player, MineGame &game, ReferenceGame &ref,
                      const FieldLayout &layout)
{
    auto covered = [&](std::int32_t x, std::int32_t y) {
        return ref.State(x, y) != csOpen && ref.Content(x, y) != ccWall;
    };
    auto coveredBomb = [&](std::int32_t x, std::int32_t y) {
        return covered(x, y) && ref.Content(x, y) == ccBomb;
    };
    auto coveredPlain = [&](std::int32_t x, std::int32_t y) {
        return covered(x, y) && ref.Content(x, y) == ccPlain;
    };
    auto open = [&](std::int32_t x, std::int32_t y) { return ref.State(x, y) == csOpen; };
    // An open cell that a chord would open something around.
    auto chordable = [&](std::int32_t x, std::int32_t y) {
        return open(x, y) && ref.BombsAround(x, y) == ref.KnownAround(x, y)
            && ref.Around(x, y,
                          [&](std::int32_t i, std::int32_t j) {
                              return ref.State(i, j) == csHidden || ref.State(i, j) == csMarked;
                          })
            > 0;
    };
    auto pick = [&](int percent, auto test) {
        return rng.Chance(percent) ? CellWhere(rng, layout, test) : AnyPos(rng, layout);
    };

    Step step;
    auto both = [&](const char *name, Pos p, bool (MineGame::*m)(std::int32_t, std::int32_t),
                    bool (ReferenceGame::*r)(std::int32_t, std::int32_t)) {
        step.what = Describe(name, p);
        step.modelAnswer = (game.*m)(p.x, p.y);
        step.refAnswer = (ref.*r)(p.x, p.y);
    };

    // A lost game is played on, mostly, as if the player had had more shields.
    const int roll = ref.IsLost() && !ref.IsWon() && rng.Chance(40) ? 85 : rng.Below(100);
    if (roll < 20) {
        auto coveredZero = [&](std::int32_t x, std::int32_t y) {
            return coveredPlain(x, y) && ref.BombsAround(x, y) == 0;
        };
        const Pos p = player == Player::Reckless ? pick(50, coveredBomb)
            : rng.Chance(50)                     ? pick(100, coveredZero)
                                                 : pick(60, coveredPlain);
        both("OpenCell", p, &MineGame::OpenCell, &ReferenceGame::OpenCell);
    } else if (roll < 26) {
        both("OpenOne", pick(30, coveredPlain), &MineGame::OpenOne, &ReferenceGame::OpenOne);
    } else if (roll < 40) {
        const Pos p = rng.Chance(50) ? pick(100, chordable) : pick(60, open);
        both("Chord", p, &MineGame::Chord, &ReferenceGame::Chord);
    } else if (roll < 44) {
        const Pos p {rng.Below(layout.width), rng.Below(layout.height)};
        both("TryOpen", p, &MineGame::TryOpen, &ReferenceGame::TryOpen);
    } else if (roll < 58) {
        // Wrong flags too, some of them beside an open cell that lacks just one
        // flag for a chord, which will then hit a bomb.
        auto trap = [&](std::int32_t x, std::int32_t y) {
            return coveredPlain(x, y) && ref.State(x, y) != csFlagged
                && ref.Around(x, y,
                              [&](std::int32_t i, std::int32_t j) {
                                  return open(i, j)
                                      && ref.BombsAround(i, j) == ref.KnownAround(i, j) + 1;
                              })
                > 0;
        };
        const int aim = rng.Below(100);
        const Pos p = aim < 15 ? pick(100, trap)
            : aim < 25         ? pick(100, coveredPlain)
                               : pick(player == Player::Careful ? 80 : 20, coveredBomb);
        both("FlagCell", p, &MineGame::FlagCell, &ReferenceGame::FlagCell);
    } else if (roll < 64) {
        both("MarkCell", pick(30, covered), &MineGame::MarkCell, &ReferenceGame::MarkCell);
    } else if (roll < 71) {
        const Pos p = pick(50, [&](std::int32_t x, std::int32_t y) {
            return ref.State(x, y) == csFlagged || ref.State(x, y) == csMarked;
        });
        both("ClearCell", p, &MineGame::ClearCell, &ReferenceGame::ClearCell);
    } else if (roll < 80) {
        const Pos p
            = pick(60, [&](std::int32_t x, std::int32_t y) { return ref.Content(x, y) == ccWall; });
        both("OpenWall", p, &MineGame::OpenWall, &ReferenceGame::OpenWall);
    } else if (roll < 82) {
        step.what = "OpenInnerWalls()";
        step.modelAnswer = game.OpenInnerWalls();
        step.refAnswer = ref.OpenInnerWalls();
    } else if (roll < 84) {
        step.what = "OpenBorderWalls()";
        step.modelAnswer = game.OpenBorderWalls();
        step.refAnswer = ref.OpenBorderWalls();
    } else if (roll < 92) {
        const std::int32_t hits = ref.ExplodedCount();
        const std::int32_t bombs = ref.BombCount();
        const std::vector<std::int32_t> choices {hits + 1, hits + 2,  hits + rng.Between(0, 3),
                                                 bombs,    bombs + 1, rng.Between(-2, bombs + 2),
                                                 kMin,     kMax};
        const std::int32_t n = ref.IsLost() && !ref.IsWon() ? hits + rng.Between(1, 3)
            : player == Player::Reckless && rng.Chance(50)  ? bombs
                                                            : rng.Pick(choices);
        step.what = "SetShields(" + std::to_string(n) + ")";
        game.SetShields(n);
        ref.SetShields(n);
    } else {
        const bool on = !ref.autoOpen;
        step.what = std::string("FAutoOpen = ") + (on ? "true" : "false");
        game.FAutoOpen = on;
        ref.autoOpen = on;
    }
    return step;
}

// The first disagreement between the game and the reference, or "".
std::string FirstDifference(const MineGame &game, const ReferenceGame &ref,
                            const FieldLayout &layout)
{
    std::ostringstream out;
    auto differ = [&](const char *what, Pos p, long long got, long long want) {
        out << what << "(" << p.x << ", " << p.y << ") is " << got << ", should be " << want;
        return out.str();
    };
    auto differTotal = [&](const char *what, long long got, long long want) {
        out << what << " is " << got << ", should be " << want;
        return out.str();
    };

    if (!ref.RecountAgrees())
        return "the reference lost track of its own totals";

    std::vector<Pos> positions {{-1, -1},
                                {layout.width, 0},
                                {0, layout.height},
                                {layout.width, layout.height},
                                {-1, layout.height / 2},
                                {kMin, 0},
                                {0, kMax},
                                {kMax, kMin},
                                {kMin, kMin}};
    for (std::int32_t x = 0; x < layout.width; ++x)
        for (std::int32_t y = 0; y < layout.height; ++y)
            positions.push_back({x, y});

    for (const Pos p : positions) {
        if (game.CellState(p.x, p.y) != ref.CellState(p.x, p.y))
            return differ("CellState", p, game.CellState(p.x, p.y), ref.CellState(p.x, p.y));
        if (game.CellContent(p.x, p.y) != ref.CellContent(p.x, p.y))
            return differ("CellContent", p, game.CellContent(p.x, p.y), ref.CellContent(p.x, p.y));
        if (game.CellNumber(p.x, p.y) != ref.CellNumber(p.x, p.y))
            return differ("CellNumber", p, game.CellNumber(p.x, p.y), ref.CellNumber(p.x, p.y));
        if (game.KnownAround(p.x, p.y) != ref.KnownAround(p.x, p.y))
            return differ("KnownAround", p, game.KnownAround(p.x, p.y), ref.KnownAround(p.x, p.y));
    }

    if (game.BombCount() != ref.BombCount())
        return differTotal("BombCount()", game.BombCount(), ref.BombCount());
    if (game.ExplodedCount() != ref.ExplodedCount())
        return differTotal("ExplodedCount()", game.ExplodedCount(), ref.ExplodedCount());
    if (game.FlagCount() != ref.FlagCount())
        return differTotal("FlagCount()", game.FlagCount(), ref.FlagCount());
    if (game.OpenedCount() != ref.OpenedCount())
        return differTotal("OpenedCount()", game.OpenedCount(), ref.OpenedCount());
    if (game.CountableCells() != ref.CountableCells())
        return differTotal("CountableCells()", game.CountableCells(), ref.CountableCells());
    if (game.IsLost() != ref.IsLost())
        return differTotal("IsLost()", game.IsLost(), ref.IsLost());
    if (game.IsWon() != ref.IsWon())
        return differTotal("IsWon()", game.IsWon(), ref.IsWon());
    if (game.IsFinished() != ref.IsFinished())
        return differTotal("IsFinished()", game.IsFinished(), ref.IsFinished());
    if (game.BombsLeft() != ref.BombsLeft())
        return differTotal("BombsLeft()", game.BombsLeft(), ref.BombsLeft());

    // The bookkeeping no query shows.
    const ReferenceGame::Totals t = ref.Count();
    if (peek::Walls(game) != t.walls)
        return differTotal("FWalls", peek::Walls(game), t.walls);
    if (peek::WrongFlags(game) != t.wrongFlags)
        return differTotal("FWrongFlags", peek::WrongFlags(game), t.wrongFlags);
    if (peek::OpenedWalls(game) != t.openedWalls)
        return differTotal("FOpenedWalls", peek::OpenedWalls(game), t.openedWalls);
    if (peek::Shields(game) != ref.Shields())
        return differTotal("FShields", peek::Shields(game), ref.Shields());

    // The seven counters of every record against a recount of its block.
    const std::int32_t w = layout.width, h = layout.height;
    struct Truth
    {
        bool bomb, wall, open, flagged;
    };
    std::vector<Truth> truth(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    auto at = [h](std::int32_t x, std::int32_t y) {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(h)
            + static_cast<std::size_t>(y);
    };
    for (std::int32_t x = 0; x < w; ++x) {
        for (std::int32_t y = 0; y < h; ++y) {
            const MineCellContent c = ref.Content(x, y);
            const MineCellState st = ref.State(x, y);
            truth[at(x, y)] = {c == ccBomb, c == ccWall, st == csOpen, st == csFlagged};
        }
    }
    for (std::int32_t x = 0; x < w; ++x) {
        for (std::int32_t y = 0; y < h; ++y) {
            MineCell want;
            for (std::int32_t i = x - 1; i <= x + 1; ++i) {
                for (std::int32_t j = y - 1; j <= y + 1; ++j) {
                    if ((i == x && j == y) || i < 0 || j < 0 || i >= w || j >= h)
                        continue;
                    const Truth t = truth[at(i, j)];
                    ++want.Neighbours;
                    want.OpenNeighbours += t.open && !t.bomb;
                    want.WallNeighbours += t.wall;
                    want.OpenWallNeighbours += t.open && t.wall;
                    want.BombNeighbours += t.bomb;
                    want.ExplodedNeighbours += t.open && t.bomb;
                    want.FlagNeighbours += t.flagged;
                }
            }
            const Pos p {x, y};
            const MineCell &cell = peek::Cell(game, x, y);
            if (cell.State != ref.State(x, y))
                return differ("State", p, cell.State, ref.State(x, y));
            if (cell.Content != ref.Content(x, y))
                return differ("Content", p, cell.Content, ref.Content(x, y));
            if (cell.Neighbours != want.Neighbours)
                return differ("Neighbours", p, cell.Neighbours, want.Neighbours);
            if (cell.OpenNeighbours != want.OpenNeighbours)
                return differ("OpenNeighbours", p, cell.OpenNeighbours, want.OpenNeighbours);
            if (cell.WallNeighbours != want.WallNeighbours)
                return differ("WallNeighbours", p, cell.WallNeighbours, want.WallNeighbours);
            if (cell.OpenWallNeighbours != want.OpenWallNeighbours)
                return differ("OpenWallNeighbours", p, cell.OpenWallNeighbours,
                              want.OpenWallNeighbours);
            if (cell.BombNeighbours != want.BombNeighbours)
                return differ("BombNeighbours", p, cell.BombNeighbours, want.BombNeighbours);
            if (cell.ExplodedNeighbours != want.ExplodedNeighbours)
                return differ("ExplodedNeighbours", p, cell.ExplodedNeighbours,
                              want.ExplodedNeighbours);
            if (cell.FlagNeighbours != want.FlagNeighbours)
                return differ("FlagNeighbours", p, cell.FlagNeighbours, want.FlagNeighbours);
            const std::uint8_t view
                = MineView(ref.State(x, y), ref.Content(x, y), want.BombNeighbours);
            if (game.ViewRow(y)[x] != view)
                return differ("view byte", p, game.ViewRow(y)[x], view);
        }
    }
    return {};
}

// What the played games went through, so that a change of the generator
// that stops reaching some outcome does not go unnoticed.
struct Reached
{
    int won = 0;
    int lost = 0;
    int wonAndLost = 0;
    int chordsThatOpened = 0;
    int chordsThatEndedTheGame = 0;
    int floods = 0;
    int wallsOpened = 0;
    int oversizeRequests = 0;
};

constexpr int kFieldsPerBatch = 20;
constexpr int kActionsPerField = 160;

// Batches 0 to 7 play small fields, 8 to 11 tall ones whose columns cross
// the 64-row and 8-column boundaries that faster code tends to work in, 12
// and 13 wide ones whose rows cross 64 and 128 columns.
Sizes BatchSizes(int batch)
{
    if (batch < 8)
        return {3, 30, 3, 30};
    return batch < 12 ? Sizes {9, 40, 60, 140} : Sizes {100, 300, 3, 12};
}

class RandomGames : public testing::TestWithParam<int>
{ };

TEST_P(RandomGames, EveryQueryAgreesWithARecountAfterEveryAction)
{
    Reached reached;
    for (int k = 0; k < kFieldsPerBatch; ++k) {
        const std::uint64_t seed = static_cast<std::uint64_t>(GetParam()) * kFieldsPerBatch + k;
        Rng rng(seed);
        const Player player = k % 4 == 3 ? Player::Reckless : Player::Careful;
        const Scenario s = MakeScenario(rng, player, BatchSizes(GetParam()));
        const FieldLayout &layout = s.layout;
        if (static_cast<std::int64_t>(layout.walls.size()) < s.wallsAsked
            || static_cast<std::int64_t>(layout.bombs.size()) < s.bombsAsked)
            ++reached.oversizeRequests;

        DrawScript script(layout.width, layout.height);
        script.Draw(s.draws);
        MineGame game(layout.width, layout.height, s.bombsAsked, s.wallsAsked, s.shields,
                      s.startMarked, script.Source());
        ASSERT_EQ(script.Remaining(), 0u) << "seed " << seed;
        ASSERT_EQ(script.Mismatches(), std::vector<std::string> {}) << "seed " << seed;
        ReferenceGame ref(layout, s.shields, s.startMarked);

        std::deque<std::string> recent;
        std::string difference = FirstDifference(game, ref, layout);
        ASSERT_EQ(difference, "") << "seed " << seed << ", right after construction\n"
                                  << Rows(layout.Draw());

        int actionsAfterTheWin = 0;
        for (int a = 0; a < kActionsPerField && actionsAfterTheWin < 10; ++a) {
            actionsAfterTheWin += ref.IsWon();
            const bool wasFinished = ref.IsFinished();
            const std::int64_t openedBefore = ref.OpenedCount();
            const std::int64_t wallsBefore = ref.Count().openedWalls;
            const Step step = PlayRandomAction(rng, player, game, ref, layout);
            recent.push_back(step.what);
            if (recent.size() > 12)
                recent.pop_front();
            auto context = [&] {
                std::string text = "seed " + std::to_string(seed) + ", action " + std::to_string(a)
                    + " " + step.what + "\nlayout:\n" + Rows(layout.Draw()) + "\nseen after it:\n"
                    + Render(game) + "\nlast actions:";
                for (const std::string &r : recent)
                    text += " " + r + ";";
                return text;
            };

            ASSERT_EQ(step.modelAnswer, step.refAnswer) << "the answer of " << context();
            difference = FirstDifference(game, ref, layout);
            ASSERT_EQ(difference, "") << context();

            if (!wasFinished && ref.IsFinished()) {
                reached.won += ref.IsWon();
                reached.lost += ref.IsLost();
                reached.wonAndLost += ref.IsWon() && ref.IsLost();
            }
            const std::int64_t openedNow = ref.OpenedCount() - openedBefore;
            const bool chord = step.what.rfind("Chord", 0) == 0;
            if (chord && openedNow > 0)
                ++reached.chordsThatOpened;
            if (chord && !wasFinished && ref.IsFinished())
                ++reached.chordsThatEndedTheGame;
            const bool flooding
                = step.what.rfind("OpenCell", 0) == 0 || step.what.rfind("OpenWall", 0) == 0;
            if (flooding && openedNow > 1)
                ++reached.floods;
            reached.wallsOpened += static_cast<int>(ref.Count().openedWalls - wallsBefore);
        }
    }
    EXPECT_GT(reached.won, 0);
    EXPECT_GT(reached.lost, 0);
    EXPECT_GT(reached.chordsThatOpened, 0);
    EXPECT_GT(reached.floods, 0);
    EXPECT_GT(reached.wallsOpened, 0);
    RecordProperty("won", reached.won);
    RecordProperty("lost", reached.lost);
    RecordProperty("wonAndLost", reached.wonAndLost);
    RecordProperty("oversizeRequests", reached.oversizeRequests);
    RecordProperty("chordsThatEndedTheGame", reached.chordsThatEndedTheGame);
    RecordProperty("chordsThatOpened", reached.chordsThatOpened);
    RecordProperty("floods", reached.floods);
    RecordProperty("wallsOpened", reached.wallsOpened);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomGames, testing::Range(0, 14));

// A big field built right after a played one was freed must agree with the
// reference as the first did.
TEST(BigFields, SecondFieldBuiltWhereAPlayedOneLayAgreesWithTheReference)
{
    constexpr std::int32_t kSide = 300;
    Rng rng(2024);
    for (int k = 0; k < 2; ++k) {
        std::vector<Pos> walls, bombs;
        for (std::int32_t y = 1; y < kSide - 1; ++y) {
            for (std::int32_t x = 1; x < kSide - 1; ++x) {
                const std::int32_t r = rng.Below(25);
                if (r < 2)
                    (r == 0 ? walls : bombs).push_back({x, y});
            }
        }
        const FieldLayout layout = MakeLayout(kSide, kSide, walls, bombs);
        DrawScript script(kSide, kSide);
        script.Draw(walls);
        script.Draw(bombs);
        MineGame game(kSide, kSide, static_cast<std::int32_t>(bombs.size()),
                      static_cast<std::int32_t>(walls.size()), 1000, k == 1, script.Source());
        ReferenceGame ref(layout, 1000, k == 1);
        ASSERT_EQ(FirstDifference(game, ref, layout), "") << "field " << k;
        for (std::int32_t x = 10; x < kSide; x += 40) {
            EXPECT_EQ(game.OpenCell(x, x), ref.OpenCell(x, x)) << x;
            EXPECT_EQ(game.OpenWall(x, x + 1), ref.OpenWall(x, x + 1)) << x;
        }
        ASSERT_EQ(FirstDifference(game, ref, layout), "") << "field " << k;
    }
}

// A line of bombs across a long field, across row 64 of a narrow, tall one
// and across column 128 of a wide, short one: each flood stops at it, one
// from either side, and every counter on both sides of the line must agree
// with the reference.
struct LineCase
{
    std::int32_t width, height;
    std::vector<Pos> bombs;
    struct Click
    {
        Pos at;
        std::int32_t opened;
        bool won;
    } clicks[2];
};

TEST(LongFields, FloodsStopAtALineOfBombs)
{
    const LineCase cases[] = {
        {5, 130, {{1, 64}, {2, 64}, {3, 64}}, {{{2, 1}, 189, false}, {{2, 128}, 381, true}}},
        {260, 5, {{128, 1}, {128, 2}, {128, 3}}, {{{1, 2}, 381, false}, {{258, 2}, 771, true}}},
    };
    for (const LineCase &c : cases) {
        const FieldLayout layout = MakeLayout(c.width, c.height, {}, c.bombs);
        DrawScript script(c.width, c.height);
        script.Draw(c.bombs);
        MineGame game(c.width, c.height, 3, 0, 1, false, script.Source());
        ReferenceGame ref(layout, 1, false);
        for (const LineCase::Click &click : c.clicks) {
            EXPECT_TRUE(game.OpenCell(click.at.x, click.at.y));
            EXPECT_TRUE(ref.OpenCell(click.at.x, click.at.y));
            EXPECT_EQ(game.OpenedCount(), click.opened) << c.width;
            EXPECT_EQ(game.IsWon(), click.won) << c.width;
            EXPECT_EQ(FirstDifference(game, ref, layout), "") << c.width << " " << click.at.x;
        }
    }
}

} // namespace
