// SPDX-License-Identifier: GPL-3.0-or-later
// The presets, new games from the menu, the face and F2, and the option
// toggles of the Options menu, all driven through their menu items.
#include "DisplaySupport.h"
#include "FieldPicture.h"

#include <QTest>

using namespace korvane;
using namespace korvane::test;

namespace {

//  x: 0123456
const std::vector<std::string> Walled {
    "#######", // 0
    "#W..*.#", // 1
    "#...**#", // 2
    "#..W..#", // 3
    "#.....#", // 4
    "#*...W#", // 5
    "#######", // 6
};

// (5, 1) is walled in by bombs: no flood reaches it, so no flood wins.

// The layout of a game's bombs and walls, as the model holds them.
std::vector<std::uint8_t> Contents(const MineGame &g)
{
    std::vector<std::uint8_t> contents;
    for (int x = 0; x < g.FWidth; ++x)
        for (int y = 0; y < g.FHeight; ++y)
            contents.push_back((g.ViewRow(y)[x] >> 2) & 3);
    return contents;
}

} // namespace

class OptionsTest : public DisplayTest
{
protected:
    // Counts the draws of field generation; every game of one bomb and no
    // walls draws exactly twice.
    int *CountDraws()
    {
        auto draws = std::make_shared<int>(0);
        FWindow->SetRandomSource([draws](std::int32_t) {
            ++*draws;
            return 0;
        });
        FDraws = draws;
        return draws.get();
    }
    std::shared_ptr<int> FDraws;
};

TEST_F(OptionsTest, PresetsSetTheNextGameAndStartIt)
{
    TfrmKorvane &w = Open();
    const struct
    {
        QAction *item;
        int width, height, bombs;
    } presets[] {
        {w.miInter, 18, 18, 40},
        {w.miExpert, 32, 18, 99},
        {w.miMaster, 32, 26, 180},
        {w.miBeginner, 11, 11, 10},
    };
    for (const auto &p : presets) {
        w.GameWalls = 3;
        p.item->trigger();
        SCOPED_TRACE(p.item->text().toStdString());
        EXPECT_EQ(w.GameWidth, p.width);
        EXPECT_EQ(w.GameHeight, p.height);
        EXPECT_EQ(w.GameBombs, p.bombs);
        EXPECT_EQ(w.GameWalls, 0);
        EXPECT_EQ(w.Game->FWidth, p.width);
        EXPECT_EQ(w.Game->FHeight, p.height);
        EXPECT_EQ(w.Game->BombCount(), p.bombs);
        EXPECT_EQ(CounterText(), QStringLiteral("%1").arg(p.bombs, 4, 10, QChar(u'0')));
        for (const auto &other : presets)
            EXPECT_EQ(other.item->isChecked(), other.item == p.item);
        EXPECT_FALSE(w.miCustom->isChecked());
    }
}

TEST_F(OptionsTest, ThePresetAlreadyCheckedStartsAFreshField)
{
    TfrmKorvane &w = Open();
    w.miInter->trigger();
    ASSERT_TRUE(w.Game->OpenCell(8, 8) || w.Game->OpenCell(9, 9));
    w.StartClock();
    const std::vector<std::uint8_t> before = Contents(*w.Game);
    w.miInter->trigger();
    EXPECT_TRUE(w.miInter->isChecked());
    EXPECT_EQ(w.Game->OpenedCount(), 0);
    EXPECT_EQ(w.ElapsedSeconds, 0);
    EXPECT_FALSE(w.timSecond.isActive());
    EXPECT_NE(Contents(*w.Game), before) << "40 bombs in 256 cells laid out alike twice";
}

TEST_F(OptionsTest, NewGameFromTheMenuAndTheFaceButton)
{
    TfrmKorvane &w = Open();
    w.GameBombs = 1;
    int *draws = CountDraws();
    w.miNew->trigger();
    EXPECT_EQ(*draws, 2);
    QTest::mouseClick(w.spbNew, Qt::LeftButton);
    EXPECT_EQ(*draws, 4);
    EXPECT_EQ(w.Game->BombCount(), 1);
}

TEST_F(OptionsTest, F2StartsOneNewGameWhateverTheShiftStateAndFocus)
{
    TfrmKorvane &w = Open();
    w.GameBombs = 1;
    int *draws = CountDraws();
    QTest::keyClick(&w, Qt::Key_F2);
    EXPECT_EQ(*draws, 2);
    QTest::keyClick(&w, Qt::Key_F2, Qt::ShiftModifier);
    EXPECT_EQ(*draws, 4);
    QTest::keyClick(w.pbGame, Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(*draws, 6);
    QTest::keyClick(w.sbInfo, Qt::Key_F2, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(*draws, 8);
    QTest::keyClick(&w, Qt::Key_F3);
    EXPECT_EQ(*draws, 8);
}

TEST_F(OptionsTest, SurroundingsShowsTheRingWithoutOpeningIt)
{
    TfrmKorvane &w = Open();
    w.miSurround->trigger();
    w.miOpenWalls->trigger();
    Play(Walled);
    EXPECT_EQ(w.Game->CellState(3, 3), csOpen) << "interior walls open at the new game";
    EXPECT_EQ(w.Game->CellState(0, 3), csHidden) << "the ring only with Surroundings";
    const int opened = w.Game->OpenedCount();
    const int height = w.height();

    w.miSurround->trigger();
    EXPECT_EQ(w.Game->CellState(0, 3), csHidden);
    EXPECT_EQ(w.Game->OpenedCount(), opened);
    EXPECT_EQ(w.height(), height + 2 * 16);
    EXPECT_EQ(DrawnCell(0, 3), Tile(tiBackground));
    EXPECT_EQ(w.sbInfo->PanelText(1), QStringLiteral("Open: %1").arg(opened));

    // The same field again: a clock-seeded one is sometimes won by the walls'
    // floods alone, and a won game opens no ring.
    w.SetRandomSource(PictureRandom(Walled));
    w.miNew->trigger();
    EXPECT_EQ(w.Game->CellState(0, 3), csOpen) << "the next new game opens the ring";
}

TEST_F(OptionsTest, OpenWallsOnARunningGameOpensTheWallsAtOnce)
{
    TfrmKorvane &w = Open();
    w.miSurround->trigger();
    w.miAuto->trigger();
    Play(Walled);
    ASSERT_EQ(w.Game->CellState(3, 3), csHidden);
    EXPECT_EQ(w.sbInfo->PanelText(1), QStringLiteral("Open: 0"));

    w.miOpenWalls->trigger();
    EXPECT_TRUE(w.miOpenWalls->isChecked());
    for (QPoint wall : {QPoint(1, 1), QPoint(3, 3), QPoint(5, 5)})
        EXPECT_EQ(w.Game->CellState(wall.x(), wall.y()), csOpen);
    EXPECT_EQ(w.Game->CellState(0, 3), csHidden);
    EXPECT_EQ(w.Game->OpenedCount(), 3) << "no floods with Auto Open off";
    EXPECT_EQ(w.sbInfo->PanelText(1), QStringLiteral("Open: 3"));
    EXPECT_EQ(DrawnCell(3, 3), Tile(tiOpenWall + 1));
    EXPECT_EQ(DrawnCell(1, 1), Tile(tiOpenWall));

    w.miOpenWalls->trigger();
    EXPECT_FALSE(w.miOpenWalls->isChecked());
    EXPECT_EQ(w.Game->CellState(3, 3), csOpen) << "turning the option off closes nothing";

    w.miSurround->trigger();
    w.miOpenWalls->trigger();
    EXPECT_EQ(w.Game->CellState(0, 3), csOpen);
    EXPECT_EQ(w.Game->CellState(6, 6), csOpen);
    EXPECT_EQ(DrawnCell(0, 3), Tile(tiOpenWall));
    EXPECT_EQ(w.sbInfo->PanelText(1), QStringLiteral("Open: %1").arg(3 + 24));
}

TEST_F(OptionsTest, WallsOpenedByANewGameFloodWhateverAutoOpenSays)
{
    TfrmKorvane &w = Open();
    w.miSurround->trigger();
    w.miAuto->trigger();
    w.miOpenWalls->trigger();
    Play(Walled);
    EXPECT_FALSE(w.Game->FAutoOpen) << "the option reaches the game after its walls";
    // The walls at (1, 1) and (5, 5) have no bomb neighbour: their floods
    // open the field up to the cells next to bombs; (5, 1) stays covered.
    EXPECT_EQ(w.Game->CellState(2, 2), csOpen);
    EXPECT_EQ(w.Game->CellState(3, 4), csOpen);
    EXPECT_EQ(w.Game->CellState(5, 1), csHidden);
    EXPECT_GT(w.Game->OpenedCount(), 3);

    w.miAuto->trigger();
    const int autoOn = w.Game->OpenedCount();
    Play(Walled);
    EXPECT_EQ(w.Game->OpenedCount(), autoOn);
}

TEST_F(OptionsTest, AutoOpenGoesIntoTheRunningGame)
{
    TfrmKorvane &w = Open();
    Play(OpenField(11, 11, 1));
    EXPECT_TRUE(w.Game->FAutoOpen);
    w.miAuto->trigger();
    EXPECT_FALSE(w.miAuto->isChecked());
    EXPECT_FALSE(w.Game->FAutoOpen);
    ClickCell(8, 8);
    EXPECT_EQ(w.Game->OpenedCount(), 1);
    w.miAuto->trigger();
    EXPECT_TRUE(w.Game->FAutoOpen);
    ClickCell(8, 6);
    EXPECT_GT(w.Game->OpenedCount(), 2);
}

TEST_F(OptionsTest, StartMarkedChangesOnlyTheNextGame)
{
    TfrmKorvane &w = Open();
    w.miStartMarked->trigger();
    EXPECT_TRUE(w.miStartMarked->isChecked());
    EXPECT_EQ(w.Game->CellState(5, 5), csHidden);
    EXPECT_EQ(DrawnCell(5, 5), Tile(tiCovered));
    w.miNew->trigger();
    EXPECT_EQ(w.Game->CellState(5, 5), csMarked);
    EXPECT_EQ(w.Game->CellState(0, 5), csHidden) << "walls are never marked";
    EXPECT_EQ(DrawnCell(5, 5), Tile(tiMark));
    EXPECT_EQ(CounterText(), QStringLiteral("0010"));
}

TEST_F(OptionsTest, MarksAndUpflagChangeNothingAtOnce)
{
    TfrmKorvane &w = Open();
    const QImage field = w.FieldBitmap.copy();
    const MineGame *game = w.Game.get();
    w.miMarks->trigger();
    w.miUpflag->trigger();
    EXPECT_FALSE(w.miMarks->isChecked());
    EXPECT_FALSE(w.miUpflag->isChecked());
    EXPECT_EQ(w.Game.get(), game);
    EXPECT_EQ(w.FieldBitmap, field);
}
