// SPDX-License-Identifier: GPL-3.0-or-later
// Which tile each cell shows, in a running, lost and won game, pressed and
// not, and that the whole-field render draws exactly what DrawCell draws.
#include "DisplaySupport.h"

#include <QTest>

#include <random>

using namespace korvane;
using namespace korvane::test;

namespace {

//  x: 0123456
const std::vector<std::string> Small {
    "#######", // 0
    "#*..W.#", // 1
    "#..*..#", // 2
    "#.....#", // 3
    "#W..*.#", // 4
    "#*....#", // 5
    "#######", // 6
};

} // namespace

class RenderTest : public DisplayTest
{
protected:
    // Checks every visible cell against the tile table (WindowTestSupport.cpp).
    void ExpectAllByTable()
    {
        const TfrmKorvane &w = *FWindow;
        ForVisibleCells([&](int x, int y) {
            EXPECT_EQ(TileAt(x, y), ExpectedTile(*w.Game, w.miSurround->isChecked(), x, y))
                << "cell (" << x << ", " << y << ")";
        });
    }
    // The built-in skin may draw two tiles alike (20 and 31 are both a bomb
    // on a button): these tests read tiles back from a skin whose 44 differ.
    TfrmKorvane &OpenUnique()
    {
        WriteSkin(QStringLiteral("Unique"), 16, 16);
        WriteSettings(QStringLiteral("[Settings]\nSkin=Unique\n"));
        TfrmKorvane &w = Open();
        EXPECT_EQ(w.SkinName, QStringLiteral("Unique"));
        return w;
    }
};

TEST_F(RenderTest, RunningGameShowsCoveredFlaggedMarkedAndOpenedCells)
{
    TfrmKorvane &w = OpenUnique();
    Play(Small);
    MineGame &g = *w.Game;
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(TileAt(i, 0), tiBackground);
        EXPECT_EQ(TileAt(i, 6), tiBackground);
        EXPECT_EQ(TileAt(0, i), tiBackground);
        EXPECT_EQ(TileAt(6, i), tiBackground);
    }
    EXPECT_EQ(TileAt(4, 1), tiBackground) << "a hidden interior wall";
    EXPECT_EQ(TileAt(1, 4), tiBackground);
    EXPECT_EQ(TileAt(2, 1), tiCovered) << "covered plain cell";
    EXPECT_EQ(TileAt(1, 1), tiCovered) << "covered bomb";

    ASSERT_TRUE(g.FlagCell(2, 1));
    ASSERT_TRUE(g.FlagCell(3, 2));
    ASSERT_TRUE(g.MarkCell(5, 5));
    ASSERT_TRUE(g.MarkCell(1, 5));
    ASSERT_TRUE(g.OpenOne(2, 2));
    ASSERT_TRUE(g.OpenOne(5, 1));
    w.RenderField();
    EXPECT_EQ(TileAt(2, 1), tiFlag) << "flag on a plain cell";
    EXPECT_EQ(TileAt(3, 2), tiFlag) << "flag on a bomb";
    EXPECT_EQ(TileAt(5, 5), tiMark) << "marked plain cell";
    EXPECT_EQ(TileAt(1, 5), tiMark) << "marked bomb";
    EXPECT_EQ(TileAt(2, 2), tiOpen + 2);
    EXPECT_EQ(TileAt(5, 1), tiOpen);
    ExpectAllByTable();
}

TEST_F(RenderTest, CellByCellDrawingFollowsEachAction)
{
    TfrmKorvane &w = OpenUnique();
    Play(Small);
    MineGame &g = *w.Game;
    ASSERT_TRUE(g.OpenOne(3, 3));
    w.DrawCell(3, 3);
    EXPECT_EQ(TileAt(3, 3), tiOpen + 2);
    ASSERT_TRUE(g.FlagCell(3, 4));
    w.DrawCell(3, 4);
    EXPECT_EQ(TileAt(3, 4), tiFlag);
    ASSERT_TRUE(g.MarkCell(3, 4));
    w.DrawCell(3, 4);
    EXPECT_EQ(TileAt(3, 4), tiMark);
    ASSERT_TRUE(g.ClearCell(3, 4));
    w.DrawCell(3, 4);
    EXPECT_EQ(TileAt(3, 4), tiCovered);
}

TEST_F(RenderTest, OpenedWallsShowTheirNumberOnTheWallRow)
{
    TfrmKorvane &w = OpenUnique();
    w.miAuto->trigger(); // no floods: only the walls open
    Play(Small);
    EXPECT_EQ(TileAt(4, 1), tiBackground);
    w.miOpenWalls->trigger();
    ASSERT_EQ(w.Game->CellState(4, 1), csOpen);
    EXPECT_EQ(TileAt(4, 1), tiOpenWall + 1);
    EXPECT_EQ(TileAt(1, 4), tiOpenWall + 1);
    EXPECT_EQ(TileAt(0, 5), tiOpenWall + 1) << "the ring opens too with Surroundings on";
    EXPECT_EQ(TileAt(0, 0), tiOpenWall + 1);
    EXPECT_EQ(TileAt(0, 3), tiOpenWall);
    EXPECT_EQ(TileAt(2, 2), tiCovered) << "no flood with Auto Open off";
    ExpectAllByTable();
}

TEST_F(RenderTest, ABombHitThatAShieldAbsorbedShowsTile9AndThePlayGoesOn)
{
    TfrmKorvane &w = OpenUnique();
    w.miFixed3->trigger();
    Play(Small);
    ASSERT_EQ(w.Game->ExplodedCount(), 0);
    ClickCell(1, 1);
    EXPECT_EQ(w.Game->ExplodedCount(), 1);
    EXPECT_FALSE(w.Game->IsFinished());
    EXPECT_EQ(TileAt(1, 1), tiHitBomb);
    EXPECT_EQ(TileAt(3, 2), tiCovered) << "the other bombs stay covered";
    EXPECT_EQ(TileAt(4, 4), tiCovered);
    ClickCell(3, 2);
    EXPECT_EQ(TileAt(3, 2), tiHitBomb);
    EXPECT_FALSE(w.Game->IsFinished());
    ExpectAllByTable();

    w.miMaximum->trigger();
    Play(Small);
    ClickCell(1, 5);
    ClickCell(4, 4);
    EXPECT_EQ(TileAt(1, 5), tiHitBomb);
    EXPECT_EQ(TileAt(4, 4), tiHitBomb);
    EXPECT_EQ(TileAt(1, 1), tiCovered);
    EXPECT_FALSE(w.Game->IsFinished());
}

TEST_F(RenderTest, LostGameRevealsEveryCell)
{
    TfrmKorvane &w = OpenUnique();
    w.miAuto->trigger(); // no floods: exactly the cells opened here are open
    Play(Small);
    MineGame &h = *w.Game;
    ASSERT_TRUE(h.OpenWall(4, 1));
    ASSERT_TRUE(h.FlagCell(1, 1)); // right flag
    ASSERT_TRUE(h.FlagCell(2, 3)); // wrong flag
    ASSERT_TRUE(h.MarkCell(5, 3)); // marked plain cell
    ASSERT_TRUE(h.MarkCell(1, 5)); // marked bomb
    ASSERT_TRUE(h.OpenOne(2, 2));
    ClickCell(3, 2); // the hit that loses

    ASSERT_TRUE(h.IsLost());
    EXPECT_EQ(TileAt(3, 2), tiHitBomb) << "the bomb that was hit";
    EXPECT_EQ(TileAt(1, 1), tiRightFlag) << "a flag on a bomb";
    EXPECT_EQ(TileAt(2, 3), tiWrongFlag + 1) << "a wrong flag";
    EXPECT_EQ(TileAt(4, 4), tiLostBomb) << "a bomb neither hit nor flagged";
    EXPECT_EQ(TileAt(1, 5), tiLostBomb) << "a marked bomb";
    EXPECT_EQ(TileAt(5, 3), tiCovered + 1) << "a marked plain cell";
    EXPECT_EQ(TileAt(3, 3), tiCovered + 2) << "a covered plain cell";
    EXPECT_EQ(TileAt(5, 1), tiCovered) << "a covered cell without bomb neighbours";
    EXPECT_EQ(TileAt(2, 2), tiOpen + 2) << "an opened cell";
    EXPECT_EQ(TileAt(4, 1), tiOpenWall + 1) << "an opened wall";
    EXPECT_EQ(TileAt(1, 4), tiBackground) << "a hidden wall";
    EXPECT_EQ(TileAt(0, 3), tiBackground) << "the ring";
    ExpectAllByTable();
}

TEST_F(RenderTest, WonGameShowsUnflaggedBombsAsTile31)
{
    TfrmKorvane &w = OpenUnique();
    w.miAuto->trigger();
    Play(Small);
    MineGame &g = *w.Game;
    ASSERT_TRUE(g.FlagCell(1, 1));
    ASSERT_TRUE(g.MarkCell(3, 2));
    std::vector<QPoint> plain;
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 5; ++x)
            if (Small[y][x] == '.')
                plain.emplace_back(x, y);
    for (std::size_t i = 0; i + 1 < plain.size(); ++i)
        ASSERT_TRUE(g.OpenOne(plain[i].x(), plain[i].y()));
    ClickCell(plain.back().x(), plain.back().y());

    ASSERT_TRUE(g.IsWon());
    EXPECT_EQ(TileAt(1, 1), tiRightFlag);
    EXPECT_EQ(TileAt(3, 2), tiWonBomb) << "a marked bomb";
    EXPECT_EQ(TileAt(4, 4), tiWonBomb);
    EXPECT_EQ(TileAt(1, 5), tiWonBomb);
    EXPECT_EQ(TileAt(2, 2), tiOpen + 2);
    EXPECT_EQ(TileAt(4, 1), tiBackground);
    EXPECT_EQ(CounterText(), QStringLiteral("0000"));
    ExpectAllByTable();
}

TEST_F(RenderTest, GameWonByHittingEveryBombShowsWrongFlagsCrossed)
{
    TfrmKorvane &w = OpenUnique();
    w.miMaximum->trigger();
    Play(Small);
    ASSERT_TRUE(w.Game->FlagCell(5, 5));
    for (QPoint bomb : {QPoint(1, 1), QPoint(3, 2), QPoint(4, 4), QPoint(1, 5)})
        ClickCell(bomb.x(), bomb.y());
    ASSERT_TRUE(w.Game->IsWon());
    EXPECT_EQ(TileAt(5, 5), tiWrongFlag + 1);
    EXPECT_EQ(TileAt(1, 1), tiHitBomb);
    ExpectAllByTable();
}

TEST_F(RenderTest, WithoutSurroundingsTheRingColumnsInTheMarginLookLikeTheMargin)
{
    TfrmKorvane &w = OpenUnique();
    w.miOpenWalls->trigger();
    Play({"###########", "#.........#", "#.........#", "#.........#", "#....*....#", "#.........#",
          "#.........#", "#.........#", "#.........#", "#.........#", "###########"});
    ASSERT_EQ(w.Game->CellState(0, 5), csOpen);
    EXPECT_EQ(TileAt(0, 5), tiOpenWall);
    EXPECT_EQ(TileAt(10, 0), tiOpenWall);

    w.miSurround->trigger();
    // No frame here: 16 + 9 * 16 = 160 < 162, so one margin column a side.
    ASSERT_EQ(w.MarginColumns, 1);
    EXPECT_EQ(w.FieldBitmap.size(), QSize((9 + 2) * 16, 9 * 16));
    // The margin column on each side is where the ring columns lie.
    for (int y = 1; y <= 9; ++y) {
        for (int x : {0, 10})
            EXPECT_EQ(TileAt(x, y), tiBackground) << x << ", " << y;
    }
    EXPECT_EQ(w.FieldBitmap.copy(0, 0, 16, 16), Tile(tiBackground));
    EXPECT_EQ(w.FieldBitmap.copy(160, 128, 16, 16), Tile(tiBackground));
    // The ring rows are not drawn: row 1 is the top row of the bitmap.
    EXPECT_EQ(w.FieldBitmap.copy(16, 0, 16, 16), Tile(tiOpen));
    EXPECT_EQ(TileAt(4, 4), tiOpen + 1);
    ExpectAllByTable();
}

TEST_F(RenderTest, PressedLook)
{
    TfrmKorvane &w = OpenUnique();
    w.miAuto->trigger();
    Play(Small);
    MineGame &g = *w.Game;
    ASSERT_TRUE(g.FlagCell(2, 1));
    ASSERT_TRUE(g.MarkCell(3, 1));
    ASSERT_TRUE(g.OpenOne(2, 2));
    ASSERT_TRUE(g.OpenWall(4, 1));
    ASSERT_TRUE(g.OpenWall(0, 3));
    w.RenderField();

    const struct
    {
        int x, y, tile;
        const char *what;
    } cases[] {
        {3, 3, tiOpen, "covered"},
        {3, 1, tiPressedMark, "marked"},
        {2, 1, tiFlag, "flagged"},
        {2, 2, tiOpen + 2, "open"},
        {4, 1, tiOpenWall + 1, "opened wall"},
        {0, 3, tiOpenWall, "opened ring"},
        {-1, 3, -1, "outside the grid"},
    };
    for (const auto &c : cases) {
        w.DrawPressedCell(c.x, c.y);
        if (c.tile >= 0) {
            EXPECT_EQ(TileAt(c.x, c.y), c.tile) << c.what;
        }
    }

    Play(Small);
    w.DrawPressedCell(4, 1);
    EXPECT_EQ(TileAt(4, 1), tiBackground) << "hidden wall";
    w.DrawPressedBlock(2, 2);
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y) {
            EXPECT_EQ(TileAt(x, y), tiOpen) << x << ", " << y;
        }
    w.DrawBlock(2, 2);
    for (int x = 1; x <= 3; ++x)
        for (int y = 1; y <= 3; ++y) {
            EXPECT_EQ(TileAt(x, y), tiCovered) << x << ", " << y;
        }
}

TEST_F(RenderTest, PressingTheMouseShowsThePressedLook)
{
    TfrmKorvane &w = OpenUnique();
    Play(Small);
    ASSERT_TRUE(w.Game->FlagCell(2, 1));
    ASSERT_TRUE(w.Game->MarkCell(3, 1));
    w.RenderField();

    QTest::mousePress(w.pbGame, Qt::LeftButton, {}, CellCentre(3, 3));
    EXPECT_EQ(TileAt(3, 3), tiOpen);
    QTest::mouseMove(w.pbGame, CellCentre(3, 1));
    EXPECT_EQ(TileAt(3, 3), tiCovered) << "left behind";
    EXPECT_EQ(TileAt(3, 1), tiPressedMark);
    QTest::mouseMove(w.pbGame, CellCentre(2, 1));
    EXPECT_EQ(TileAt(3, 1), tiMark);
    EXPECT_EQ(TileAt(2, 1), tiFlag) << "a flag does not go down";
    QTest::mouseRelease(w.pbGame, Qt::LeftButton, {}, CellCentre(2, 1));
    EXPECT_EQ(TileAt(2, 1), tiFlag);
    EXPECT_EQ(w.Game->OpenedCount(), 0);
}

// RenderField draws, cell for cell, what DrawCell draws, and every pixel of
// the bitmap belongs to some cell's tile.
class RenderAgreementTest : public RenderTest,
                            public ::testing::WithParamInterface<std::tuple<int, bool, int>>
{ };

TEST_P(RenderAgreementTest, WholeFieldRenderEqualsCellByCellDrawing)
{
    const auto [tile, surround, seed] = GetParam();
    if (tile != 16)
        WriteSkin(QStringLiteral("Test"), tile, tile);
    TfrmKorvane &w = Open();
    if (tile != 16)
        ChooseSkin(QStringLiteral("Test"));
    if (!surround)
        w.miSurround->trigger();
    w.miMaximum->trigger(); // many hits, and games that go on after them

    std::mt19937 random(static_cast<unsigned>(seed));
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    int checks = 0;
    for (int round = 0; round < 6; ++round) {
        if (round == 3)
            w.miSingle->trigger(); // now games get lost
        w.GameWidth = 5 + pick(12);
        w.GameHeight = 5 + pick(10);
        const int interior = (w.GameWidth - 2) * (w.GameHeight - 2);
        w.GameWalls = pick(interior / 6 + 1);
        w.GameBombs = pick((interior - w.GameWalls) / 3 + 1);
        if (pick(3) == 0)
            w.miStartMarked->trigger();
        if (pick(3) == 0)
            w.miAuto->trigger();
        w.NewGame();
        MineGame &g = *w.Game;
        for (int step = 0; step < 60; ++step) {
            const int x = pick(g.FWidth + 2) - 1;
            const int y = pick(g.FHeight + 2) - 1;
            switch (pick(8)) {
            case 0:
            case 1:
                g.OpenCell(x, y);
                break;
            case 2:
                g.OpenOne(x, y);
                break;
            case 3:
                g.FlagCell(x, y);
                break;
            case 4:
                g.MarkCell(x, y);
                break;
            case 5:
                g.Chord(x, y);
                break;
            case 6:
                g.OpenWall(x, y);
                break;
            default:
                g.ClearCell(x, y);
                break;
            }
            if (step % 5 != 4)
                continue;
            w.RenderField();
            const QImage whole = w.FieldBitmap.copy();
            w.FieldBitmap.fill(qRgb(1, 2, 3));
            ForVisibleCells([&](int cx, int cy) { w.DrawCell(cx, cy); });
            ASSERT_EQ(w.FieldBitmap, whole) << "round " << round << " step " << step;
            ++checks;
            if (step % 20 == 19)
                ExpectAllByTable();
        }
    }
    EXPECT_EQ(checks, 6 * 12);
}

INSTANTIATE_TEST_SUITE_P(
    TileSizesAndRing, RenderAgreementTest,
    ::testing::Values(std::make_tuple(16, true, 1), std::make_tuple(16, false, 2),
                      std::make_tuple(8, true, 3), std::make_tuple(8, false, 4),
                      std::make_tuple(1, true, 5), std::make_tuple(1, false, 6),
                      std::make_tuple(3, false, 7), std::make_tuple(4, true, 8),
                      std::make_tuple(32, false, 9)));
