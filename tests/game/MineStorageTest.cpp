// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of one game, case by case. Fields are drawn as pictures (see
// FieldPicture.h): '#' ring, 'W' interior wall, '*' bomb, '.' plain cell for
// layouts; Render shows what the player sees, with '-' covered, 'F' flag,
// '?' mark, ' ' and digits open, 'X' hit bomb, '=' open wall.

#include "FieldPicture.h"
#include "ModelPeek.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

// A stand-in for the process's generator, for fields whose layout does not matter.
MineRandom SeededRandom(std::uint64_t seed)
{
    return [state = seed](std::int32_t n) mutable {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::int32_t>((state >> 33) % static_cast<std::uint64_t>(n));
    };
}

std::string At(Pos p)
{
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}

// The contents of every cell, told by a game that is over.
struct ContentCount
{
    int plain = 0, bombs = 0, walls = 0, unknown = 0;
};
ContentCount CountInterior(const MineGame &game)
{
    ContentCount n;
    for (std::int32_t x = 1; x <= game.FWidth - 2; ++x) {
        for (std::int32_t y = 1; y <= game.FHeight - 2; ++y) {
            switch (game.CellContent(x, y)) {
            case ccPlain:
                ++n.plain;
                break;
            case ccBomb:
                ++n.bombs;
                break;
            case ccWall:
                ++n.walls;
                break;
            case ccUnknown:
                ++n.unknown;
                break;
            }
        }
    }
    return n;
}

std::vector<Pos> OutsidePositions(const MineGame &game)
{
    const std::int32_t w = game.FWidth, h = game.FHeight;
    return {{-1, 0},   {0, -1},    {-1, -1},     {w, 1},       {1, h},
            {w, h},    {w - 1, h}, {w, h - 1},   {kMin, 1},    {1, kMin},
            {kMax, 1}, {1, kMax},  {kMax, kMax}, {kMin, kMax}, {-1000000, 1000000}};
}

// Field construction ---------------------------------------------------------

TEST(FieldConstruction, BeginnerFieldHasFortyRingWallsTenBombsAndSeventyOnePlainCells)
{
    MineGame game(11, 11, 10, 0, 1, false, SeededRandom(7));
    EXPECT_EQ(peek::Walls(game), 40);
    EXPECT_EQ(game.CountableCells(), 81);
    EXPECT_EQ(game.BombCount(), 10);
    EXPECT_EQ(game.OpenedCount(), 0);
    EXPECT_FALSE(game.IsFinished());

    game.SetShields(0); // over at once, which shows every cell
    const ContentCount interior = CountInterior(game);
    EXPECT_EQ(interior.bombs, 10);
    EXPECT_EQ(interior.plain, 71);
    EXPECT_EQ(interior.walls, 0);
    for (std::int32_t i = 0; i < 11; ++i) {
        EXPECT_EQ(game.CellContent(i, 0), ccWall);
        EXPECT_EQ(game.CellContent(i, 10), ccWall);
        EXPECT_EQ(game.CellContent(0, i), ccWall);
        EXPECT_EQ(game.CellContent(10, i), ccWall);
    }
}

TEST(FieldConstruction, NeighbourCountsCountOnlyPositionsInsideTheGrid)
{
    const MineGame game(11, 11, 0, 0, 1, false, SeededRandom(1));
    struct Case
    {
        Pos cell;
        std::int32_t neighbours;
        std::int32_t wallNeighbours;
    };
    const Case cases[] = {
        {{0, 0}, 3, 2}, {{10, 0}, 3, 2}, {{10, 10}, 3, 2}, {{5, 0}, 5, 2}, {{0, 5}, 5, 2},
        {{1, 1}, 8, 5}, {{9, 9}, 8, 5},  {{5, 1}, 8, 3},   {{1, 5}, 8, 3}, {{5, 5}, 8, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(At(c.cell));
        const MineCell &cell = peek::Cell(game, c.cell.x, c.cell.y);
        EXPECT_EQ(cell.Neighbours, c.neighbours);
        EXPECT_EQ(cell.WallNeighbours, c.wallNeighbours);
    }
}

TEST(FieldConstruction, RingCellShowsItsBombNeighboursOnceOpened)
{
    auto game = MakeGame(
        {
            "######",
            "#*..*#",
            "#*...#",
            "#....#",
            "######",
        },
        {.autoOpen = false});
    struct Case
    {
        Pos wall;
        std::int32_t number;
    };
    const Case cases[] = {{{0, 1}, 2}, {{0, 0}, 1}, {{5, 0}, 1}, {{2, 0}, 1},
                          {{0, 3}, 1}, {{3, 0}, 1}, {{3, 4}, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(At(c.wall));
        EXPECT_EQ(game->CellNumber(c.wall.x, c.wall.y), -1);
        EXPECT_TRUE(game->OpenWall(c.wall.x, c.wall.y));
        EXPECT_EQ(game->CellNumber(c.wall.x, c.wall.y), c.number);
    }
}

TEST(FieldConstruction, StartMarkedMarksEveryInteriorCellButTheWalls)
{
    const Picture layout({
        "######",
        "#*.W.#",
        "#.W*.#",
        "######",
    });
    auto marked = MakeGame(layout, {.startMarked = true});
    EXPECT_EQ(Render(*marked),
              Rows({
                  "######",
                  "#??#?#",
                  "#?#??#",
                  "######",
              }));
    auto plain = MakeGame(layout, {.startMarked = false});
    EXPECT_EQ(Render(*plain),
              Rows({
                  "######",
                  "#--#-#",
                  "#-#--#",
                  "######",
              }));
    // Marks are no flags: nothing counts as known.
    EXPECT_EQ(marked->FlagCount(), 0);
    EXPECT_EQ(marked->KnownAround(2, 1), 0);
}

TEST(FieldConstruction, NoPlainCellLeftIsWonFromTheStart)
{
    auto drawn = MakeGame({
        "#####",
        "#*W*#",
        "#W*W#",
        "#####",
    });
    EXPECT_TRUE(drawn->IsWon());
    EXPECT_FALSE(drawn->IsLost());
    EXPECT_EQ(drawn->BombsLeft(), 0);
    EXPECT_EQ(Render(*drawn),
              Rows({
                  "#####",
                  "#*#*#",
                  "##*##",
                  "#####",
              }));

    const MineGame counted(6, 6, 10, 6, 1, false, SeededRandom(3));
    EXPECT_TRUE(counted.IsWon());
    EXPECT_FALSE(counted.IsLost());
    EXPECT_EQ(counted.BombCount(), 10);
}

// The random draws of construction ------------------------------------------

TEST(FieldDraws, DrawsOnTheRingOrOnATakenCellAreDrawnAgain)
{
    const FieldLayout layout = ParseLayout({
        "######",
        "#W..*#",
        "#..*.#",
        "#W...#",
        "######",
    });
    DrawScript script(layout.width, layout.height);
    script.Draw({{5, 2}, {1, 1}}); // right column of the ring, then the first wall
    script.Draw({{1, 1}, {2, 4}, {1, 3}}); // the wall just placed, the bottom row, the second wall
    script.Draw({{1, 3}, {5, 4}, {4, 1}}); // a wall, the ring's corner, the first bomb
    script.Draw({{4, 1}, {1, 1}, {3, 2}}); // the bomb just placed, a wall, the second bomb
    auto game = MakeGame(layout, script);

    EXPECT_EQ(peek::Walls(*game), 18 + 2);
    EXPECT_EQ(game->BombCount(), 2);
    game->SetShields(0); // shows the field
    EXPECT_EQ(Render(*game),
              Rows({
                  "######",
                  "##--*#",
                  "#--*-#",
                  "##---#",
                  "######",
              }));
}

TEST(FieldDraws, WallsAreDrawnBeforeBombs)
{
    struct Case
    {
        Pos first, second;
        std::string shown;
    };
    const Case cases[] = {
        {{2, 1},
         {1, 2},
         Rows({
             "####",
             "#-##",
             "#*-#",
             "####",
         })},
        {{1, 2},
         {2, 1},
         Rows({
             "####",
             "#-*#",
             "##-#",
             "####",
         })},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(At(c.first));
        DrawScript script(4, 4);
        script.Draw({c.first, c.second});
        MineGame game(4, 4, 1, 1, 0, false, script.Source());
        EXPECT_EQ(script.Remaining(), 0u);
        EXPECT_EQ(Render(game), c.shown);
    }
}

// Requests the interior cannot hold, and sizes below the smallest field ------

struct OversizeCase
{
    std::int32_t width, height, bombs, walls;
    std::int32_t wallsPlaced, bombsPlaced;
};

class OversizeRequests : public testing::TestWithParam<OversizeCase>
{ };

TEST_P(OversizeRequests, WallsComeFirstAndBombsTakeWhatRoomIsLeft)
{
    const OversizeCase c = GetParam();
    MineGame game(c.width, c.height, c.bombs, c.walls, 1, false, SeededRandom(11));
    const std::int32_t ring = 2 * c.width + 2 * c.height - 4;
    const std::int32_t interior = (c.width - 2) * (c.height - 2);
    EXPECT_EQ(peek::Walls(game), ring + c.wallsPlaced);
    EXPECT_EQ(game.BombCount(), c.bombsPlaced);
    EXPECT_EQ(game.CountableCells(), interior - c.wallsPlaced);
    EXPECT_EQ(game.IsWon(), c.wallsPlaced + c.bombsPlaced == interior || c.bombsPlaced == 0);

    game.SetShields(0);
    const ContentCount n = CountInterior(game);
    EXPECT_EQ(n.walls, c.wallsPlaced);
    EXPECT_EQ(n.bombs, c.bombsPlaced);
    EXPECT_EQ(n.plain, interior - c.wallsPlaced - c.bombsPlaced);
}

INSTANTIATE_TEST_SUITE_P(
    Construction, OversizeRequests,
    testing::Values(OversizeCase {5, 5, 10, 4, 4, 5}, OversizeCase {5, 5, 5, 20, 9, 0},
                    OversizeCase {5, 5, kMax, kMax, 9, 0}, OversizeCase {5, 5, kMax, 0, 0, 9},
                    OversizeCase {5, 5, 9, 0, 0, 9}, OversizeCase {5, 5, 3, 6, 6, 3},
                    OversizeCase {6, 4, 3, -7, 0, 3}, OversizeCase {6, 4, -1, -1, 0, 0},
                    OversizeCase {6, 4, kMin, 2, 2, 0}, OversizeCase {3, 3, 1, 1, 1, 0},
                    OversizeCase {3, 3, 2, 0, 0, 1}));

struct SizeCase
{
    std::int32_t width, height;
    std::int32_t actualWidth, actualHeight;
};

class SmallSizes : public testing::TestWithParam<SizeCase>
{ };

TEST_P(SmallSizes, AreRaisedToThree)
{
    const SizeCase c = GetParam();
    // The raised size is the one the draws see: x from 1 + R(width - 1).
    DrawScript script(c.actualWidth, c.actualHeight);
    script.Draw(Pos {1, 1});
    MineGame game(c.width, c.height, 1, 0, 1, false, script.Source());
    EXPECT_EQ(script.Remaining(), 0u);
    EXPECT_EQ(script.Mismatches(), std::vector<std::string> {});
    EXPECT_EQ(game.FWidth, c.actualWidth);
    EXPECT_EQ(game.FHeight, c.actualHeight);
    EXPECT_EQ(game.CountableCells(), (c.actualWidth - 2) * (c.actualHeight - 2));
    EXPECT_EQ(game.BombCount(), 1);
    EXPECT_TRUE(game.OpenWall(c.actualWidth - 1, c.actualHeight - 1));
    EXPECT_EQ(game.CellNumber(c.actualWidth - 1, c.actualHeight - 1),
              c.actualWidth == 3 && c.actualHeight == 3 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Construction, SmallSizes,
                         testing::Values(SizeCase {0, 0, 3, 3}, SizeCase {1, 1, 3, 3},
                                         SizeCase {2, 2, 3, 3}, SizeCase {-1, 2, 3, 3},
                                         SizeCase {kMin, kMin, 3, 3}, SizeCase {2, 7, 3, 7},
                                         SizeCase {9, -3, 9, 3}, SizeCase {3, 3, 3, 3}));

TEST(LongFields, CorridorOfTheLargestWidthOrHeightFloodsEndToEnd)
{
    constexpr std::int32_t kLong = 32767;
    struct Case
    {
        std::int32_t width, height;
        Pos bomb, click, beside;
    };
    const Case cases[] = {
        {kLong, 3, {kLong - 2, 1}, {1, 1}, {kLong - 3, 1}},
        {3, kLong, {1, kLong - 2}, {1, 1}, {1, kLong - 3}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        DrawScript script(c.width, c.height);
        script.Draw(c.bomb);
        MineGame game(c.width, c.height, 1, 0, 1, false, script.Source());
        EXPECT_EQ(script.Mismatches(), std::vector<std::string> {});
        EXPECT_EQ(game.CountableCells(), kLong - 2);
        EXPECT_TRUE(game.OpenCell(c.click.x, c.click.y));
        EXPECT_EQ(game.OpenedCount(), kLong - 3);
        EXPECT_TRUE(game.IsWon());
        EXPECT_EQ(game.CellNumber(c.beside.x, c.beside.y), 1);
        EXPECT_EQ(game.CellContent(c.bomb.x, c.bomb.y), ccBomb);
        EXPECT_EQ(game.BombsLeft(), 0);
    }
}

// Opening cells ----------------------------------------------------------------

TEST(OpenCell, ZeroCellWithoutAutoOpenOpensOnlyItself)
{
    auto game = MakeGame(
        {
            "#######",
            "#.....#",
            "#.....#",
            "#....*#",
            "#######",
        },
        {.autoOpen = false});
    EXPECT_TRUE(game->OpenCell(1, 1));
    EXPECT_EQ(game->OpenedCount(), 1);
    EXPECT_EQ(Render(*game),
              Rows({
                  "#######",
                  "# ----#",
                  "#-----#",
                  "#-----#",
                  "#######",
              }));
}

TEST(OpenCell, ZeroCellFloodsItsRegionAndNumberedBorderUpToWallsAndFlags)
{
    const Picture layout({
        "#########",
        "#...W...#",
        "#...W.*.#",
        "#...W...#",
        "#...W...#",
        "#*......#",
        "#########",
    });
    // The only way from the left part to the right one is the gap at (4, 5).
    struct Case
    {
        bool flagTheGap;
        std::string shown;
        std::int32_t opened;
    };
    const Case cases[] = {
        {true,
         Rows({
             "#########",
             "#   #---#",
             "#   #---#",
             "#   #---#",
             "#11 #---#",
             "#-1 F---#",
             "#########",
         }),
         14},
        {false,
         Rows({
             "#########",
             "#   #---#",
             "#   #---#",
             "#   #111#",
             "#11 #   #",
             "#-1     #",
             "#########",
         }),
         24},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flagTheGap ? "gap flagged" : "gap open");
        auto game = MakeGame(layout);
        if (c.flagTheGap) {
            ASSERT_TRUE(game->FlagCell(4, 5));
        }
        EXPECT_TRUE(game->OpenCell(3, 1));
        EXPECT_EQ(Render(*game), c.shown);
        EXPECT_EQ(game->OpenedCount(), c.opened);
        EXPECT_FALSE(game->IsFinished());
    }
}

TEST(OpenCell, RefusesFlagsWallsOpenCellsAndPositionsOutside)
{
    auto game = MakeGame({
        "######",
        "#.W..#",
        "#..*.#",
        "######",
    });
    ASSERT_TRUE(game->FlagCell(3, 1));
    ASSERT_TRUE(game->OpenCell(4, 2));
    const std::string before = Render(*game);
    ASSERT_EQ(before,
              Rows({
                  "######",
                  "#-#F-#",
                  "#---1#",
                  "######",
              }));

    std::vector<Pos> refused = {{3, 1}, {2, 1}, {0, 0}, {5, 3}, {4, 2}};
    const std::vector<Pos> outside = OutsidePositions(*game);
    refused.insert(refused.end(), outside.begin(), outside.end());
    for (const Pos p : refused) {
        SCOPED_TRACE(At(p));
        EXPECT_FALSE(game->OpenCell(p.x, p.y));
        EXPECT_FALSE(game->OpenOne(p.x, p.y));
        EXPECT_EQ(Render(*game), before);
        EXPECT_EQ(game->OpenedCount(), 1);
    }
}

TEST(OpenCell, BombCountsAHitAndNeverFloods)
{
    auto game = MakeGame(
        {
            "#######",
            "#.....#",
            "#..*..#",
            "#....*#",
            "#######",
        },
        {.shields = 2});
    ASSERT_EQ(game->CellNumber(3, 2), 0); // nothing would stop a flood
    EXPECT_TRUE(game->OpenCell(3, 2));
    EXPECT_EQ(game->ExplodedCount(), 1);
    EXPECT_EQ(game->OpenedCount(), 1);
    EXPECT_FALSE(game->IsFinished());
    EXPECT_EQ(Render(*game),
              Rows({
                  "#######",
                  "#-----#",
                  "#--X--#",
                  "#-----#",
                  "#######",
              }));
    EXPECT_EQ(game->KnownAround(2, 2), 1);
}

TEST(OpenCell, MarkedCellsOpenLikeHiddenOnesAlsoInAFlood)
{
    auto game = MakeGame({
        "######",
        "#....#",
        "#....#",
        "#...*#",
        "######",
    });
    ASSERT_TRUE(game->MarkCell(3, 2));
    EXPECT_TRUE(game->OpenCell(3, 2));
    EXPECT_EQ(Render(*game),
              Rows({
                  "######",
                  "#----#",
                  "#--1-#",
                  "#----#",
                  "######",
              }));

    ASSERT_TRUE(game->MarkCell(1, 1));
    ASSERT_TRUE(game->MarkCell(2, 3));
    ASSERT_TRUE(game->MarkCell(4, 2));
    EXPECT_TRUE(game->OpenCell(1, 2));
    EXPECT_TRUE(game->IsWon());
    EXPECT_EQ(Render(*game),
              Rows({
                  "######",
                  "#    #",
                  "#  11#",
                  "#  1*#",
                  "######",
              }));
}

TEST(OpenCell, OpenOneNeverFloods)
{
    auto game = MakeGame({
        "#####",
        "#...#",
        "#..*#",
        "#####",
    });
    EXPECT_TRUE(game->OpenOne(1, 1));
    EXPECT_EQ(Render(*game),
              Rows({
                  "#####",
                  "# --#",
                  "#---#",
                  "#####",
              }));
}

// Chords ---------------------------------------------------------------------

TEST(Chord, NumberTwoWithAFlagAndAHitOpensEveryHiddenAndMarkedNeighbour)
{
    const Picture layout({
        "#######",
        "#*.*..#",
        "#.....#",
        "#.....#",
        "#######",
    });
    struct Case
    {
        bool flag, hit, secondFlag, opens;
    };
    const Case cases[] = {{true, true, false, true},
                          {true, false, false, false},
                          {false, true, false, false},
                          {true, true, true, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.flag ? "flag" : "no flag") + (c.hit ? ", hit" : ", no hit")
                     + (c.secondFlag ? ", second flag" : ""));
        auto game = MakeGame(layout, {.shields = 3, .autoOpen = false});
        if (c.flag) {
            ASSERT_TRUE(game->FlagCell(1, 1));
        }
        if (c.secondFlag) {
            ASSERT_TRUE(game->FlagCell(1, 2));
        }
        if (c.hit) {
            ASSERT_TRUE(game->OpenCell(3, 1));
        }
        ASSERT_TRUE(game->MarkCell(1, 3));
        ASSERT_TRUE(game->OpenCell(2, 2));
        ASSERT_EQ(game->CellNumber(2, 2), 2);
        const std::string before = Render(*game);

        EXPECT_EQ(game->Chord(2, 2), c.opens);
        if (c.opens) {
            EXPECT_EQ(Render(*game),
                      Rows({
                          "#######",
                          "#F2X--#",
                          "#121--#",
                          "#   --#",
                          "#######",
                      }));
        } else {
            EXPECT_EQ(Render(*game), before);
        }
    }
}

TEST(Chord, RefusesCoveredCellsAndFinishedGames)
{
    const Picture layout({
        "#######",
        "#.....#",
        "#.*...#",
        "#.....#",
        "#...*.#",
        "#######",
    });
    // A covered bomb shows its number, 0 here, which equals what is known
    // around it: only its being covered refuses the chord.
    auto game = MakeGame(layout, {.shields = 2});
    ASSERT_EQ(game->CellNumber(2, 2), game->KnownAround(2, 2));
    for (const Pos p : {Pos {2, 2}, Pos {1, 1}, Pos {0, 0}, Pos {-1, 3}, Pos {kMax, kMin}}) {
        SCOPED_TRACE(At(p));
        EXPECT_FALSE(game->Chord(p.x, p.y));
    }
    ASSERT_TRUE(game->FlagCell(1, 1));
    ASSERT_TRUE(game->MarkCell(3, 3));
    EXPECT_FALSE(game->Chord(1, 1));
    EXPECT_FALSE(game->Chord(3, 3));
    EXPECT_EQ(game->OpenedCount(), 0);

    // Once the game is over, an open cell whose number equals what is known
    // around it no longer chords.
    game->FAutoOpen = false;
    ASSERT_TRUE(game->OpenCell(5, 1));
    ASSERT_EQ(game->CellNumber(5, 1), game->KnownAround(5, 1));
    game->SetShields(1);
    ASSERT_TRUE(game->OpenCell(2, 2));
    ASSERT_TRUE(game->IsLost());
    const std::string over = Render(*game);
    EXPECT_FALSE(game->Chord(5, 1));
    EXPECT_EQ(Render(*game), over);
}

TEST(Chord, WrongFlagLetsItHitABombAndColumnsOpenInOrderUntilTheHit)
{
    // (2, 2) shows 1 for the bomb at (2, 3); the flag at (1, 1) is wrong. The
    // chord walks the columns x = 1, 2, 3, each from top to bottom: column 1,
    // then (2, 1), then the bomb, which ends the game with one shield, so
    // column 3 stays covered. With Auto Open each opened neighbour floods
    // before the next one is tried.
    const Picture layout({
        "######",
        "#...*#",
        "#....#",
        "#.*..#",
        "######",
    });
    struct Case
    {
        bool autoOpen;
        std::string shown;
    };
    const Case cases[] = {
        {false,
         Rows({
             "######",
             "#f -*#",
             "#11--#",
             "#1X--#",
             "######",
         })},
        {true,
         Rows({
             "######",
             "#f 1*#",
             "#112-#",
             "#1X--#",
             "######",
         })},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.autoOpen ? "Auto Open" : "no Auto Open");
        auto game = MakeGame(layout, {.shields = 1, .autoOpen = c.autoOpen});
        ASSERT_TRUE(game->FlagCell(1, 1));
        ASSERT_TRUE(game->OpenCell(2, 2));
        ASSERT_EQ(game->CellNumber(2, 2), 1);

        EXPECT_TRUE(game->Chord(2, 2));
        EXPECT_TRUE(game->IsLost());
        EXPECT_FALSE(game->IsWon());
        EXPECT_EQ(game->ExplodedCount(), 1);
        EXPECT_EQ(game->BombsLeft(), 2 - 1 - 1 + 1);
        EXPECT_EQ(Render(*game), c.shown);
    }
}

TEST(Chord, CoveredWallAloneIsACandidateThatNothingOpens)
{
    struct Case
    {
        bool innerWallOpen;
        bool answer;
    };
    for (const Case c : {Case {false, true}, Case {true, false}}) {
        SCOPED_TRACE(c.innerWallOpen ? "wall open" : "wall covered");
        auto game = MakeGame(
            {
                "#######",
                "#.W..*#",
                "#######",
            },
            {.autoOpen = false});
        ASSERT_TRUE(game->OpenBorderWalls());
        if (c.innerWallOpen) {
            ASSERT_TRUE(game->OpenInnerWalls());
        }
        ASSERT_TRUE(game->OpenCell(1, 1));
        const std::string before = Render(*game);
        const std::int32_t opened = game->OpenedCount();

        EXPECT_EQ(game->Chord(1, 1), c.answer);
        EXPECT_EQ(Render(*game), before);
        EXPECT_EQ(game->OpenedCount(), opened);
    }
}

TEST(Chord, ZeroWithoutAutoOpenOpensEveryCoveredNeighbourWithoutFlooding)
{
    auto game = MakeGame(
        {
            "######",
            "#....#",
            "#....#",
            "#...*#",
            "######",
        },
        {.autoOpen = false});
    ASSERT_TRUE(game->OpenCell(1, 1));
    EXPECT_TRUE(game->Chord(1, 1));
    EXPECT_EQ(Render(*game),
              Rows({
                  "######",
                  "#  --#",
                  "#  --#",
                  "#----#",
                  "######",
              }));
}

TEST(Chord, OpenWallsAndHitBombsChordWithTheirOwnNumbers)
{
    const Picture layout({
        "########",
        "#W....*#",
        "#..*...#",
        "########",
    });
    {
        SCOPED_TRACE("open wall");
        auto game = MakeGame(layout, {.autoOpen = false});
        ASSERT_TRUE(game->OpenWall(1, 1));
        EXPECT_TRUE(game->Chord(1, 1));
        EXPECT_EQ(Render(*game),
                  Rows({
                      "########",
                      "#=1----#",
                      "# 1----#",
                      "########",
                  }));
    }
    {
        SCOPED_TRACE("hit bomb");
        auto game = MakeGame(layout, {.shields = 2, .autoOpen = false});
        ASSERT_TRUE(game->OpenCell(3, 2));
        EXPECT_TRUE(game->Chord(3, 2));
        EXPECT_EQ(Render(*game),
                  Rows({
                      "########",
                      "##111--#",
                      "#-1X1--#",
                      "########",
                  }));
    }
}

TEST(Chord, TryOpenAnswersForCoveredCellsEvenWhenNothingOpens)
{
    auto game = MakeGame(
        {
            "#######",
            "#W.*..#",
            "#....*#",
            "#######",
        },
        {.shields = 1});
    ASSERT_TRUE(game->FlagCell(4, 1));
    ASSERT_TRUE(game->MarkCell(2, 2));
    ASSERT_TRUE(game->OpenCell(4, 2));
    struct Case
    {
        Pos cell;
        bool answer;
    };
    // A hidden wall and a hidden bomb are candidates; flags and open cells are not.
    const Case running[] = {{{1, 1}, true}, {{0, 0}, true}, {{4, 1}, false}, {{4, 2}, false}};
    for (const Case &c : running) {
        SCOPED_TRACE(At(c.cell));
        EXPECT_EQ(game->TryOpen(c.cell.x, c.cell.y), c.answer);
    }
    EXPECT_EQ(game->OpenedCount(), 1);

    EXPECT_TRUE(game->TryOpen(3, 1)); // the bomb: lost
    ASSERT_TRUE(game->IsLost());
    EXPECT_TRUE(game->TryOpen(2, 2)); // marked, still a candidate, but refused
    EXPECT_EQ(game->CellState(2, 2), csMarked);
    EXPECT_EQ(game->OpenedCount(), 2);
}

// Flags and marks ----------------------------------------------------------------

enum class Sign { Flag, Mark, Clear };

bool Apply(MineGame &game, Sign sign, Pos p)
{
    switch (sign) {
    case Sign::Flag:
        return game.FlagCell(p.x, p.y);
    case Sign::Mark:
        return game.MarkCell(p.x, p.y);
    case Sign::Clear:
        return game.ClearCell(p.x, p.y);
    }
    return false;
}

const char *Name(Sign sign)
{
    return sign == Sign::Flag ? "FlagCell" : sign == Sign::Mark ? "MarkCell" : "ClearCell";
}

TEST(Signs, EverySignCanFollowEveryOtherOnBombsAndPlainCells)
{
    struct Case
    {
        MineCellState from;
        Sign sign;
        MineCellState to;
    };
    const Case cases[] = {
        {csHidden, Sign::Flag, csFlagged}, {csHidden, Sign::Mark, csMarked},
        {csHidden, Sign::Clear, csHidden}, {csFlagged, Sign::Flag, csFlagged},
        {csFlagged, Sign::Mark, csMarked}, {csFlagged, Sign::Clear, csHidden},
        {csMarked, Sign::Flag, csFlagged}, {csMarked, Sign::Mark, csMarked},
        {csMarked, Sign::Clear, csHidden},
    };
    const Pos bomb {1, 1}, plain {3, 1};
    for (const Case &c : cases) {
        for (const Pos cell : {bomb, plain}) {
            SCOPED_TRACE(std::string(Name(c.sign)) + " from state " + std::to_string(c.from)
                         + " on " + (cell == bomb ? "a bomb" : "a plain cell"));
            auto game = MakeGame({
                "######",
                "#*...#",
                "#...*#",
                "######",
            });
            if (c.from == csFlagged) {
                ASSERT_TRUE(game->FlagCell(cell.x, cell.y));
            }
            if (c.from == csMarked) {
                ASSERT_TRUE(game->MarkCell(cell.x, cell.y));
            }

            EXPECT_TRUE(Apply(*game, c.sign, cell));
            EXPECT_EQ(game->CellState(cell.x, cell.y), c.to);
            const bool flagged = c.to == csFlagged;
            EXPECT_EQ(game->FlagCount(), flagged ? 1 : 0);
            EXPECT_EQ(peek::WrongFlags(*game), flagged && cell == plain ? 1 : 0);
            EXPECT_EQ(game->KnownAround(2, 1), flagged ? 1 : 0);
            EXPECT_EQ(game->BombsLeft(), flagged ? 1 : 2);
            EXPECT_EQ(game->OpenedCount(), 0);
        }
    }
}

TEST(Signs, FlagOnAFlagChangesNoCounterAndMarkTakesItOff)
{
    auto game = MakeGame({
        "#####",
        "#.*.#",
        "#...#",
        "#####",
    });
    EXPECT_TRUE(game->FlagCell(1, 1));
    EXPECT_EQ(game->FlagCount(), 1);
    EXPECT_EQ(peek::WrongFlags(*game), 1);

    EXPECT_TRUE(game->FlagCell(1, 1));
    EXPECT_EQ(game->FlagCount(), 1);
    EXPECT_EQ(peek::WrongFlags(*game), 1);
    EXPECT_EQ(game->KnownAround(2, 2), 1);
    EXPECT_EQ(peek::Cell(*game, 2, 2).FlagNeighbours, 1);

    EXPECT_TRUE(game->MarkCell(1, 1));
    EXPECT_EQ(game->FlagCount(), 0);
    EXPECT_EQ(peek::WrongFlags(*game), 0);
    EXPECT_EQ(game->KnownAround(2, 2), 0);

    EXPECT_TRUE(game->FlagCell(2, 1)); // on the bomb: a right flag
    EXPECT_EQ(game->FlagCount(), 1);
    EXPECT_EQ(peek::WrongFlags(*game), 0);
}

TEST(Signs, RefusedOnWallsOpenCellsOutsideAndOnceTheGameIsOver)
{
    auto game = MakeGame(
        {
            "######",
            "#W.*.#",
            "#....#",
            "#...*#",
            "######",
        },
        {.shields = 1});
    ASSERT_TRUE(game->OpenCell(4, 2));
    ASSERT_TRUE(game->OpenWall(5, 1));
    std::vector<Pos> refused = {{1, 1}, {0, 0}, {5, 3}, {4, 2}, {5, 1}};
    const std::vector<Pos> outside = OutsidePositions(*game);
    refused.insert(refused.end(), outside.begin(), outside.end());
    const std::string before = Render(*game);
    for (const Sign sign : {Sign::Flag, Sign::Mark, Sign::Clear}) {
        for (const Pos p : refused) {
            SCOPED_TRACE(std::string(Name(sign)) + At(p));
            EXPECT_FALSE(Apply(*game, sign, p));
        }
    }
    EXPECT_EQ(Render(*game), before);

    ASSERT_TRUE(game->FlagCell(2, 2));
    ASSERT_TRUE(game->MarkCell(1, 2));
    ASSERT_TRUE(game->OpenCell(3, 1)); // lost
    const std::string over = Render(*game);
    for (const Sign sign : {Sign::Flag, Sign::Mark, Sign::Clear}) {
        for (const Pos p : {Pos {2, 2}, Pos {1, 2}, Pos {2, 1}}) {
            SCOPED_TRACE(std::string(Name(sign)) + At(p) + " after the loss");
            EXPECT_FALSE(Apply(*game, sign, p));
        }
    }
    EXPECT_EQ(Render(*game), over);
    EXPECT_EQ(game->FlagCount(), 1);
}

// Walls ------------------------------------------------------------------------

TEST(Walls, InteriorWallWithoutBombNeighboursOpensItsCoveredNeighboursWithFloods)
{
    auto game = MakeGame({
        "#########",
        "#.......#",
        "#..W....#",
        "#.......#",
        "#.....*.#",
        "#.......#",
        "#########",
    });
    ASSERT_TRUE(game->FlagCell(2, 1));
    EXPECT_TRUE(game->OpenWall(3, 2));
    EXPECT_EQ(game->CellNumber(3, 2), 0);
    // The flag stays, and so do the cells in the corner whose neighbours
    // all show numbers: a flood opens numbered cells but goes on only from
    // cells without bomb neighbours.
    EXPECT_EQ(Render(*game),
              Rows({
                  "#########",
                  "# F     #",
                  "#  =    #",
                  "#    111#",
                  "#    1--#",
                  "#    1--#",
                  "#########",
              }));
    EXPECT_EQ(game->OpenedCount(), 29 + 1);
    EXPECT_EQ(game->CountableCells(), 63 - 29 + 1);
    EXPECT_FALSE(game->IsFinished());
}

TEST(Walls, WallOpensAloneWithoutAutoOpenOrBesideABomb)
{
    struct Case
    {
        const char *name;
        Picture layout;
        bool autoOpen;
        std::string shown;
    };
    const Case cases[] = {
        {"no Auto Open",
         {
             "######",
             "#.W..#",
             "#...*#",
             "######",
         },
         false,
         Rows({
             "######",
             "#-=--#",
             "#----#",
             "######",
         })},
        {"bomb beside",
         {
             "######",
             "#.W*.#",
             "#....#",
             "######",
         },
         true,
         Rows({
             "######",
             "#-=--#",
             "#----#",
             "######",
         })},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto game = MakeGame(c.layout, {.autoOpen = c.autoOpen});
        EXPECT_TRUE(game->OpenWall(2, 1));
        EXPECT_EQ(Render(*game), c.shown);
        EXPECT_EQ(game->OpenedCount(), 1);
    }
}

TEST(Walls, OpenWallRefusesCellsThatAreNoCoveredWalls)
{
    auto game = MakeGame(
        {
            "######",
            "#W.*.#",
            "#....#",
            "######",
        },
        {.autoOpen = false});
    ASSERT_TRUE(game->OpenWall(1, 1));
    ASSERT_TRUE(game->OpenCell(4, 2));
    ASSERT_TRUE(game->FlagCell(2, 2));
    const std::string before = Render(*game);
    std::vector<Pos> refused = {{1, 1}, {2, 1}, {3, 1}, {4, 2}, {2, 2}};
    const std::vector<Pos> outside = OutsidePositions(*game);
    refused.insert(refused.end(), outside.begin(), outside.end());
    for (const Pos p : refused) {
        SCOPED_TRACE(At(p));
        EXPECT_FALSE(game->OpenWall(p.x, p.y));
    }
    EXPECT_EQ(Render(*game), before);
}

TEST(Walls, AfterTheGameEndsOnlyInteriorWallsStillOpen)
{
    auto game = MakeGame({
        "#######",
        "#....*#",
        "#.W...#",
        "#....*#",
        "#######",
    });
    ASSERT_TRUE(game->OpenCell(5, 3)); // lost with one shield
    ASSERT_TRUE(game->IsLost());
    const std::int32_t countable = game->CountableCells();

    EXPECT_FALSE(game->OpenBorderWalls());
    EXPECT_EQ(game->CellState(0, 0), csHidden);
    EXPECT_TRUE(game->OpenInnerWalls());
    EXPECT_FALSE(game->OpenInnerWalls()); // nothing left to open
    // The wall has no bomb neighbours, but its floods open nothing any more.
    EXPECT_EQ(Render(*game),
              Rows({
                  "#######",
                  "#----*#",
                  "#-=---#",
                  "#----X#",
                  "#######",
              }));
    EXPECT_EQ(game->CountableCells(), countable + 1);
    EXPECT_EQ(game->OpenedCount(), 2);
    // A single ring wall has no such test either.
    EXPECT_TRUE(game->OpenWall(0, 0));
}

TEST(Walls, OpeningTheRingCanWinWithoutAClick)
{
    auto game = MakeGame({
        "######",
        "#....#",
        "#....#",
        "#...*#",
        "######",
    });
    EXPECT_TRUE(game->OpenBorderWalls());
    EXPECT_TRUE(game->IsWon());
    // Every ring wall is opened, also those after the one that won.
    EXPECT_EQ(game->OpenedCount(), 18 + 11);
    EXPECT_EQ(Render(*game),
              Rows({
                  "======",
                  "=    =",
                  "=  11=",
                  "=  1*=",
                  "======",
              }));
    EXPECT_FALSE(game->OpenBorderWalls());
}

// What a cell shows ------------------------------------------------------------

TEST(CellQueries, CoveredCellsKeepTheirContentsUntilTheGameIsOver)
{
    auto game = MakeGame({
        "######",
        "#*W..#",
        "#..*.#",
        "######",
    });
    struct Case
    {
        const char *name;
        Pos cell;
        MineCellContent during, after;
        std::int32_t numberDuring, numberAfter;
    };
    const Case cases[] = {
        {"covered bomb", {1, 1}, ccUnknown, ccBomb, 0, 0},
        {"covered plain cell", {4, 1}, ccUnknown, ccPlain, -1, 1},
        {"covered interior wall", {2, 1}, ccWall, ccWall, -1, 2},
        {"covered ring wall", {0, 0}, ccWall, ccWall, -1, 1},
        {"flagged plain cell", {1, 2}, ccUnknown, ccPlain, -1, 1},
    };
    ASSERT_TRUE(game->FlagCell(1, 2));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(game->CellContent(c.cell.x, c.cell.y), c.during);
        EXPECT_EQ(game->CellNumber(c.cell.x, c.cell.y), c.numberDuring);
    }
    ASSERT_TRUE(game->OpenCell(3, 2)); // lost
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " after the loss");
        EXPECT_EQ(game->CellContent(c.cell.x, c.cell.y), c.after);
        EXPECT_EQ(game->CellNumber(c.cell.x, c.cell.y), c.numberAfter);
    }
}

TEST(CellQueries, PositionsOutsideTheGridAnswerFixedValues)
{
    auto game = MakeGame({
        "######",
        "#*...#",
        "#...*#",
        "#....#",
        "######",
    });
    for (const bool over : {false, true}) {
        if (over)
            game->SetShields(0);
        for (const Pos p : OutsidePositions(*game)) {
            SCOPED_TRACE(At(p) + (over ? " after the game" : " during the game"));
            EXPECT_EQ(game->CellState(p.x, p.y), csHidden);
            EXPECT_EQ(game->CellContent(p.x, p.y), ccWall);
            EXPECT_EQ(game->CellNumber(p.x, p.y), 0);
            EXPECT_EQ(game->KnownAround(p.x, p.y), 0);
        }
    }
}

// The verdict and the bombs-left figure ----------------------------------------

TEST(Verdict, NoBombsIsWonAtOnce)
{
    MineGame game(9, 9, 0, 5, 1, false, SeededRandom(5));
    EXPECT_TRUE(game.IsWon());
    EXPECT_FALSE(game.IsLost());
    EXPECT_EQ(game.BombsLeft(), 0);
    EXPECT_FALSE(game.OpenCell(4, 4));
}

TEST(Verdict, NoShieldsIsLostAtOnce)
{
    auto game = MakeGame(
        {
            "#####",
            "#*..#",
            "#...#",
            "#####",
        },
        {.shields = 0});
    EXPECT_TRUE(game->IsLost());
    EXPECT_FALSE(game->IsWon());
    EXPECT_TRUE(game->IsFinished());
    EXPECT_FALSE(game->OpenCell(3, 2));
    EXPECT_EQ(game->BombsLeft(), 1);
    EXPECT_EQ(Render(*game),
              Rows({
                  "#####",
                  "#*--#",
                  "#---#",
                  "#####",
              }));
}

TEST(Verdict, HittingEveryBombWinsAndTheLastShieldAlsoLoses)
{
    const Picture layout({
        "######",
        "#*.*.#",
        "#..*.#",
        "######",
    });
    const Pos bombs[] = {{1, 1}, {3, 1}, {3, 2}};
    struct Case
    {
        std::int32_t shields;
        bool lostAtTheEnd;
    };
    for (const Case c : {Case {4, false}, Case {3, true}}) {
        SCOPED_TRACE("shields " + std::to_string(c.shields));
        auto game = MakeGame(layout, {.shields = c.shields});
        for (const Pos b : bombs) {
            ASSERT_FALSE(game->IsFinished());
            EXPECT_TRUE(game->OpenCell(b.x, b.y));
        }
        EXPECT_TRUE(game->IsWon());
        EXPECT_EQ(game->IsLost(), c.lostAtTheEnd);
        EXPECT_TRUE(game->IsFinished());
        EXPECT_EQ(game->BombsLeft(), 0);
        EXPECT_EQ(game->ExplodedCount(), 3);
    }
}

TEST(Verdict, OpenedWallsCountOnBothSidesOfTheWonTest)
{
    auto game = MakeGame(
        {
            "######",
            "#.W..#",
            "#...*#",
            "######",
        },
        {.autoOpen = false});
    EXPECT_TRUE(game->OpenBorderWalls());
    EXPECT_TRUE(game->OpenInnerWalls());
    EXPECT_EQ(game->OpenedCount(), 16 + 1);
    EXPECT_EQ(game->CountableCells(), 6 * 4); // every cell, once every wall is open
    EXPECT_FALSE(game->IsWon());

    const Pos plain[] = {{1, 1}, {3, 1}, {4, 1}, {1, 2}, {2, 2}, {3, 2}};
    for (const Pos p : plain) {
        ASSERT_FALSE(game->IsWon()) << At(p);
        EXPECT_TRUE(game->OpenCell(p.x, p.y));
    }
    EXPECT_TRUE(game->IsWon());
    EXPECT_EQ(game->OpenedCount(), 17 + 6);
}

TEST(Verdict, BombsLeftCountsEveryFlagDuringPlayAndOnlyRightOnesAfterALoss)
{
    auto game = MakeGame(
        {
            "#######",
            "#*****#",
            "#*****#",
            "#.....#",
            "#.....#",
            "#######",
        },
        {.shields = 1});
    ASSERT_EQ(game->BombCount(), 10);
    for (std::int32_t x = 1; x <= 5; ++x)
        ASSERT_TRUE(game->FlagCell(x, 1));
    for (std::int32_t x = 1; x <= 4; ++x)
        ASSERT_TRUE(game->FlagCell(x, 2));
    for (std::int32_t x = 1; x <= 3; ++x)
        ASSERT_TRUE(game->FlagCell(x, 4)); // wrong
    ASSERT_EQ(game->FlagCount(), 12);
    EXPECT_EQ(game->BombsLeft(), 10 - 12);

    ASSERT_TRUE(game->OpenCell(5, 2));
    ASSERT_TRUE(game->IsLost());
    ASSERT_FALSE(game->IsWon());
    EXPECT_EQ(game->BombsLeft(), 10 - 12 - 1 + 3);
}

TEST(Verdict, BombsLeftIsZeroAfterAWinWhateverTheFlags)
{
    const Picture layout({
        "#######",
        "#*.*..#",
        "#....*#",
        "#######",
    });
    {
        SCOPED_TRACE("won by opening, one bomb flagged, one not, one marked");
        auto game = MakeGame(layout);
        ASSERT_TRUE(game->FlagCell(1, 1));
        ASSERT_TRUE(game->MarkCell(5, 2));
        for (const Pos p :
             {Pos {2, 1}, Pos {4, 1}, Pos {5, 1}, Pos {1, 2}, Pos {2, 2}, Pos {3, 2}, Pos {4, 2}})
            ASSERT_TRUE(game->OpenCell(p.x, p.y)) << At(p);
        EXPECT_TRUE(game->IsWon());
        EXPECT_EQ(game->BombsLeft(), 0);
    }
    {
        SCOPED_TRACE("won by hitting every bomb, with wrong flags");
        auto game = MakeGame(layout, {.shields = 4});
        for (const Pos p : {Pos {2, 1}, Pos {4, 1}, Pos {1, 2}, Pos {2, 2}})
            ASSERT_TRUE(game->FlagCell(p.x, p.y));
        for (const Pos p : {Pos {1, 1}, Pos {3, 1}, Pos {5, 2}})
            ASSERT_TRUE(game->OpenCell(p.x, p.y));
        EXPECT_TRUE(game->IsWon());
        EXPECT_EQ(game->BombsLeft(), 0);
    }
}

TEST(Verdict, ShieldsAtOrBelowTheHitsLoseFromThatMoment)
{
    auto game = MakeGame(
        {
            "######",
            "#*.*.#",
            "#..*.#",
            "######",
        },
        {.shields = 5});
    ASSERT_TRUE(game->OpenCell(1, 1));
    ASSERT_TRUE(game->OpenCell(3, 1));
    game->SetShields(3);
    EXPECT_FALSE(game->IsLost());
    for (const std::int32_t shields : {2, 1, 0, -5, kMin}) {
        game->SetShields(shields);
        EXPECT_TRUE(game->IsLost()) << shields;
        EXPECT_FALSE(game->FlagCell(4, 2)) << shields;
    }
    EXPECT_EQ(game->BombsLeft(), 3 - 0 - 2);
}

// A large field ----------------------------------------------------------------

TEST(LargeField, OneClickFloodsTwoMillionCellsAndWins)
{
    constexpr std::int32_t kWidth = 2000, kHeight = 1000;
    const std::vector<Pos> corner = {{1, 1}, {2, 1}, {1, 2}, {2, 2}};
    DrawScript script(kWidth, kHeight);
    script.Draw(corner);
    MineGame game(kWidth, kHeight, 4, 0, 1, false, script.Source());
    ASSERT_EQ(script.Remaining(), 0u);

    const std::int32_t interior = (kWidth - 2) * (kHeight - 2);
    EXPECT_EQ(game.CountableCells(), interior);
    EXPECT_TRUE(game.OpenCell(kWidth - 2, kHeight - 2));
    EXPECT_TRUE(game.IsWon());
    EXPECT_FALSE(game.IsLost());
    EXPECT_EQ(game.OpenedCount(), interior - 4);
    EXPECT_EQ(game.BombsLeft(), 0);
    EXPECT_EQ(game.CellNumber(3, 1), 2);
    EXPECT_EQ(game.CellNumber(3, 3), 1);
    EXPECT_EQ(game.CellNumber(4, 4), 0);
    EXPECT_EQ(game.CellState(1, 1), csHidden);
    EXPECT_EQ(game.CellContent(1, 1), ccBomb);
    EXPECT_EQ(game.CellState(kWidth / 2, kHeight / 2), csOpen);
}

// The front of a flood from the middle of an open field is longer than the
// flood's queue is at first; the queue grows and keeps its order.
TEST(LargeField, FloodFromTheMiddleOfAnOpenFieldOpensItAll)
{
    auto game = MakeGame({
        "###############",
        "#*............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "#.............#",
        "###############",
    });
    EXPECT_TRUE(game->OpenCell(7, 7));
    EXPECT_EQ(game->OpenedCount(), 13 * 13 - 1);
    EXPECT_TRUE(game->IsWon());
    EXPECT_EQ(game->CellNumber(2, 2), 1);
}

} // namespace
