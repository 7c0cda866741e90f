// SPDX-License-Identifier: GPL-3.0-or-later
// The Shields submenu: how the choice turns a bomb count into the number of
// hits that ends a game, and what a change of choice does to a game.
#include "DialogTestSupport.h"

#include "Menus.h"
#include "MineShields.h"

#include <limits>
#include <random>

using namespace korvane;
using namespace korvane::test;

namespace {

// 16 bombs in the top left, the rest plain: hits are taken one bomb at a time.
const std::vector<std::string> SixteenBombs {
    "##########", "#****....#", "#****....#", "#****....#", "#****....#",
    "#........#", "#........#", "#........#", "#........#", "##########",
};

// Opens the next n bombs of SixteenBombs, left to right and top to bottom.
void Hit(MineGame &game, int n)
{
    for (int y = 1; y <= 4 && n > 0; ++y) {
        for (int x = 1; x <= 4 && n > 0; ++x) {
            if (game.CellState(x, y) == csOpen)
                continue;
            ASSERT_TRUE(game.OpenCell(x, y)) << x << ", " << y;
            --n;
        }
    }
    ASSERT_EQ(n, 0) << "no bombs left to hit";
}

// The hits the game takes before it is lost: S minus the hits so far.
int HitsToLose(MineGame &game)
{
    int hits = 0;
    while (!game.IsLost()) {
        Hit(game, 1);
        ++hits;
        if (hits > 16)
            break;
    }
    return hits;
}

QList<QAction *> TopLevel(const TfrmKorvane &w)
{
    return {w.miSingle, w.miMaximum, w.miPercentage, w.miFixed};
}

QList<QAction *> PercentageValues(const TfrmKorvane &w)
{
    return {w.miPercentage10, w.miPercentage20, w.miPercentage30, w.miPercentage40,
            w.miPercentageCustom};
}

QList<QAction *> FixedValues(const TfrmKorvane &w)
{
    return {w.miFixed2, w.miFixed3, w.miFixed4, w.miFixed5, w.miFixedCustom};
}

int CountChecked(const QList<QAction *> &items)
{
    return static_cast<int>(
        std::count_if(items.begin(), items.end(), [](QAction *a) { return a->isChecked(); }));
}

// Exactly one top-level item checked; exactly one value item under a checked
// family and none under the other; the "Custom..." items never checked.
::testing::AssertionResult MenuStateHolds(const TfrmKorvane &w)
{
    if (CountChecked(TopLevel(w)) != 1)
        return ::testing::AssertionFailure()
            << CountChecked(TopLevel(w)) << " top-level items checked";
    const int percent = CountChecked(PercentageValues(w));
    const int fixed = CountChecked(FixedValues(w));
    const int wantPercent = w.miPercentage->isChecked() ? 1 : 0;
    const int wantFixed = w.miFixed->isChecked() ? 1 : 0;
    if (percent != wantPercent || fixed != wantFixed)
        return ::testing::AssertionFailure()
            << percent << " percentage and " << fixed << " fixed items checked";
    if (w.miPercentageSelect->isChecked() || w.miFixedSelect->isChecked())
        return ::testing::AssertionFailure() << "a Custom... item is checked";
    return ::testing::AssertionSuccess();
}

} // namespace

using ShieldsTest = DialogWindowTest;

struct ComputeCase
{
    const char *Name;
    std::function<void(TfrmKorvane &)> Choose;
    int Bombs;
    int Shields;
};

class ComputeShieldsTable : public DialogWindowTest, public testing::WithParamInterface<ComputeCase>
{ };

TEST_P(ComputeShieldsTable, GivesTheShieldCount)
{
    TfrmKorvane &w = Open();
    GetParam().Choose(w);
    EXPECT_EQ(w.ComputeShields(GetParam().Bombs), GetParam().Shields);
    // A new game takes its count from the same rule.
    w.GameBombs = std::clamp(GetParam().Bombs, 1, 40);
    w.NewGame();
    EXPECT_FALSE(w.Game->IsFinished());
}

namespace {

auto Pick(QAction *TfrmKorvane::*item)
{
    return [item](TfrmKorvane &w) { (w.*item)->trigger(); };
}

const ComputeCase ComputeCases[] {
    {"Single", Pick(&TfrmKorvane::miSingle), 99, 1},
    {"Beginner10Percent", Pick(&TfrmKorvane::miPercentage10), 10, 1},
    {"Beginner20Percent", Pick(&TfrmKorvane::miPercentage20), 10, 2},
    {"Expert30Percent", Pick(&TfrmKorvane::miPercentage30), 99, 29},
    {"Expert40Percent", Pick(&TfrmKorvane::miPercentage40), 99, 39},
    {"Expert50Percent", Pick(&TfrmKorvane::miPercentageCustom), 99, 49},
    {"MaximumExpert", Pick(&TfrmKorvane::miMaximum), 99, 100},
    {"MaximumNoBombs", Pick(&TfrmKorvane::miMaximum), 0, 1},
    {"Fixed2", Pick(&TfrmKorvane::miFixed2), 10, 2},
    {"Fixed5", Pick(&TfrmKorvane::miFixed5), 99, 5},
    {"FixedCustom10", Pick(&TfrmKorvane::miFixedCustom), 3, 10},
    {"Custom5PercentOf10",
     [](TfrmKorvane &w) {
         SetTag(w.miPercentageCustom, 5);
         w.ShieldClick(w.miPercentageCustom);
     },
     10, 1},
    {"PercentageOfNoBombs", Pick(&TfrmKorvane::miPercentage40), 0, 1},
    {"FixedWithoutAValue",
     [](TfrmKorvane &w) {
         w.miFixed->setChecked(true);
         for (QAction *item : FixedValues(w))
             item->setChecked(false);
     },
     99, 1},
    {"PercentageWithoutAValue",
     [](TfrmKorvane &w) {
         w.miPercentage->setChecked(true);
         for (QAction *item : PercentageValues(w))
             item->setChecked(false);
     },
     99, 1},
    {"NothingChecked",
     [](TfrmKorvane &w) {
         for (QAction *item : TopLevel(w) + PercentageValues(w) + FixedValues(w))
             item->setChecked(false);
     },
     99, 1},
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Shields, ComputeShieldsTable, testing::ValuesIn(ComputeCases),
                         [](const testing::TestParamInfo<ComputeCase> &info) {
                             return std::string(info.param.Name);
                         });

TEST_F(ShieldsTest, AFivePercentGameOfTenBombsIsLostAtTheFirstHit)
{
    WriteSettings(QStringLiteral("[Shields]\nSelectionPercentage=1\nSelection=5\n"));
    TfrmKorvane &w = Open();
    ASSERT_TRUE(w.miPercentageCustom->isChecked());
    Play({
        "###########",
        "#*********#",
        "#*........#",
        "#.........#",
        "#.........#",
        "#.........#",
        "#.........#",
        "#.........#",
        "#.........#",
        "#.........#",
        "###########",
    });
    ASSERT_EQ(w.Game->BombCount(), 10);
    EXPECT_FALSE(w.Game->IsFinished());
    // Playable: a plain cell opens.
    EXPECT_TRUE(w.Game->OpenCell(2, 2));
    EXPECT_FALSE(w.Game->IsFinished());
    EXPECT_TRUE(w.Game->OpenCell(1, 1));
    EXPECT_TRUE(w.Game->IsLost());
}

TEST_F(ShieldsTest, ChoosingSingleAfterTwoHitsLeavesOneMoreHit)
{
    TfrmKorvane &w = Open();
    w.miMaximum->trigger();
    Play(SixteenBombs);
    Hit(*w.Game, 2);
    ASSERT_EQ(w.Game->ExplodedCount(), 2);
    w.miSingle->trigger();
    EXPECT_FALSE(w.Game->IsFinished());
    EXPECT_TRUE(MenuStateHolds(w));
    // S = hits so far + 1 = 3: the next hit ends the game.
    EXPECT_EQ(HitsToLose(*w.Game), 1);
}

TEST_F(ShieldsTest, ChoosingFixed3AfterThreeHitsLeavesOneMoreHit)
{
    TfrmKorvane &w = Open();
    w.miMaximum->trigger();
    Play(SixteenBombs);
    Hit(*w.Game, 3);
    w.miFixed3->trigger();
    EXPECT_FALSE(w.Game->IsFinished());
    EXPECT_EQ(HitsToLose(*w.Game), 1);
}

TEST_F(ShieldsTest, ChoosingFixed10AfterTwoHitsSetsTen)
{
    TfrmKorvane &w = Open();
    w.miMaximum->trigger();
    Play(SixteenBombs);
    Hit(*w.Game, 2);
    w.miFixedCustom->trigger();
    EXPECT_TRUE(w.miFixed->isChecked());
    EXPECT_TRUE(MenuStateHolds(w));
    EXPECT_FALSE(w.Game->IsFinished());
    EXPECT_EQ(HitsToLose(*w.Game), 8);
    EXPECT_EQ(w.Game->ExplodedCount(), 10);
}

TEST_F(ShieldsTest, APercentageBelowTheHitsSoFarStillLeavesOneHit)
{
    TfrmKorvane &w = Open();
    w.miMaximum->trigger();
    Play(SixteenBombs);
    Hit(*w.Game, 5);
    // 16 bombs at 20% are 3 shields, fewer than the 5 hits so far.
    w.miPercentage20->trigger();
    EXPECT_FALSE(w.Game->IsFinished());
    EXPECT_EQ(HitsToLose(*w.Game), 1);
}

TEST_F(ShieldsTest, MaximumNeverLetsAGameBeLost)
{
    TfrmKorvane &w = Open();
    w.miMaximum->trigger();
    Play(SixteenBombs);
    Hit(*w.Game, 15);
    EXPECT_FALSE(w.Game->IsFinished());
    Hit(*w.Game, 1);
    EXPECT_FALSE(w.Game->IsLost());
    EXPECT_TRUE(w.Game->IsWon());
}

TEST_F(ShieldsTest, ALostGameOnlyChangesTheMarks)
{
    TfrmKorvane &w = Open();
    Play(SixteenBombs);
    Hit(*w.Game, 1);
    ASSERT_TRUE(w.Game->IsLost());
    const MineGame *lost = w.Game.get();
    w.miFixed5->trigger();
    EXPECT_TRUE(w.miFixed->isChecked());
    EXPECT_TRUE(w.miFixed5->isChecked());
    EXPECT_TRUE(MenuStateHolds(w));
    EXPECT_EQ(w.Game.get(), lost);
    EXPECT_TRUE(w.Game->IsLost());
    EXPECT_EQ(w.Game->ExplodedCount(), 1);
    // The next game takes the new choice.
    Play(SixteenBombs);
    EXPECT_EQ(HitsToLose(*w.Game), 5);
}

TEST_F(ShieldsTest, AWonGameStaysWon)
{
    TfrmKorvane &w = Open();
    Play({
        "#####",
        "#*..#",
        "#...#",
        "#####",
    });
    for (int y = 1; y <= 2; ++y) {
        for (int x = 1; x <= 3; ++x) {
            if (x != 1 || y != 1)
                w.Game->OpenCell(x, y);
        }
    }
    ASSERT_TRUE(w.Game->IsWon());
    w.miPercentage40->trigger();
    EXPECT_TRUE(w.Game->IsWon());
    EXPECT_FALSE(w.Game->IsLost());
    EXPECT_TRUE(w.miPercentage->isChecked());
    EXPECT_TRUE(MenuStateHolds(w));
}

TEST_F(ShieldsTest, TheMenuStateHoldsAfterEveryHandler)
{
    TfrmKorvane &w = OpenWithDialogs();
    EXPECT_TRUE(MenuStateHolds(w));
    const QList<QAction *> items = TopLevel(w).mid(0, 2) + PercentageValues(w) + FixedValues(w);
    std::mt19937 random(2024);
    for (int step = 0; step < 300; ++step) {
        QAction *item = items[static_cast<int>(random() % items.size())];
        item->trigger();
        ASSERT_TRUE(MenuStateHolds(w)) << "after " << item->text().toStdString();
        ASSERT_TRUE(item->isChecked()) << item->text().toStdString();
        if (item == w.miSingle || item == w.miMaximum)
            continue;
        const bool percent = PercentageValues(w).contains(item);
        EXPECT_EQ(w.miPercentage->isChecked(), percent);
        EXPECT_EQ(w.miFixed->isChecked(), !percent);
    }
    // The custom dialogs, confirmed and cancelled, keep it too.
    for (bool percentage : {true, false}) {
        for (bool confirm : {true, false}) {
            WhileModal(
                *Shields, [&] { confirm ? Shields->accept() : Shields->reject(); },
                [&] { percentage ? w.miPercentageSelectClick() : w.miFixedSelectClick(); });
            EXPECT_TRUE(MenuStateHolds(w));
        }
    }
}

TEST_F(ShieldsTest, AHugeCustomPercentageDoesNotOverflow)
{
    WriteSettings(QStringLiteral("[Shields]\nSelectionPercentage=1\nSelection=2147483647\n"));
    TfrmKorvane &w = Open();
    ASSERT_TRUE(w.miPercentageCustom->isChecked());
    EXPECT_EQ(Tag(w.miPercentageCustom), std::numeric_limits<int>::max());
    EXPECT_EQ(w.ComputeShields(99), 2126008810); // 99 x (2^31 - 1) / 100
    EXPECT_EQ(w.ComputeShields(10000), std::numeric_limits<int>::max());
    EXPECT_EQ(w.ComputeShields(0), 1);
    Play(SixteenBombs);
    Hit(*w.Game, 15);
    EXPECT_FALSE(w.Game->IsLost());
    w.ShieldClick(w.miPercentageCustom);
    EXPECT_FALSE(w.Game->IsFinished());
}

TEST_F(ShieldsTest, AHugeNegativePercentageGivesOneShield)
{
    WriteSettings(QStringLiteral("[Shields]\nSelectionPercentage=1\nSelection=-2147483648\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.ComputeShields(99), 1);
    EXPECT_EQ(w.ComputeShields(std::numeric_limits<int>::max()), 1);
}

TEST_F(ShieldsTest, MaximumOfTheLargestBombCountDoesNotOverflow)
{
    TfrmKorvane &w = Open();
    w.miMaximum->trigger();
    EXPECT_GE(w.ComputeShields(std::numeric_limits<int>::max()), std::numeric_limits<int>::max());
}

class NonPositiveFixedShields : public DialogWindowTest, public testing::WithParamInterface<int>
{ };

TEST_P(NonPositiveFixedShields, StillGiveAPlayableGame)
{
    WriteSettings(QStringLiteral("[Shields]\nCustomFixed=%1\n").arg(GetParam()));
    TfrmKorvane &w = Open();
    ASSERT_EQ(Tag(w.miFixedCustom), GetParam());
    // The player chooses the custom count from the menu.
    w.miFixedCustom->trigger();
    EXPECT_TRUE(w.miFixed->isChecked());
    EXPECT_GE(w.ComputeShields(10), 1);
    Play(SixteenBombs);
    EXPECT_FALSE(w.Game->IsFinished());
    EXPECT_EQ(HitsToLose(*w.Game), 1);
}

INSTANTIATE_TEST_SUITE_P(Shields, NonPositiveFixedShields,
                         testing::Values(0, -3, std::numeric_limits<int>::min()));
