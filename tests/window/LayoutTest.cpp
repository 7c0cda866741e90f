// SPDX-License-Identifier: GPL-3.0-or-later
// The window follows the field, the tile size and the display font, keeps its
// centre, and stays inside the work area. The offscreen screen is 1280 x 1024
// and draws no window frame, so the frame of the layout arithmetic is 0.
#include "DisplaySupport.h"

#include <QMenuBar>
#include <QTest>

using namespace korvane;
using namespace korvane::test;

class LayoutTest : public DisplayTest
{
protected:
    // Every size the layout sets, computed afresh from the field, the tiles
    // and the two display bitmaps.
    void ExpectLayoutArithmetic()
    {
        const TfrmKorvane &w = *FWindow;
        const int s = w.miSurround->isChecked() ? 0 : 1;
        const int columns = w.Game->FWidth - 2 * s;
        const int rows = w.Game->FHeight - 2 * s;
        const int need = w.CounterBitmap.width() + w.TimerBitmap.width() + 58;
        int margin = 0;
        while (16 + (columns + 2 * margin) * w.CellWidth < need)
            ++margin;
        EXPECT_EQ(w.MarginColumns, margin);
        EXPECT_EQ(w.frameGeometry().size(), w.size()) << "no frame offscreen";
        EXPECT_EQ(w.width(), 16 + (columns + 2 * margin) * w.CellWidth);
        EXPECT_EQ(w.FieldBitmap.size(),
                  QSize((columns + 2 * margin) * w.CellWidth, rows * w.CellHeight));
        EXPECT_EQ(w.pbGame->size(), w.FieldBitmap.size());
        EXPECT_EQ(w.pbGame->pos(), QPoint(4, 4));
        EXPECT_EQ(w.pGame->height(), rows * w.CellHeight + 8);
        EXPECT_EQ(w.pDisplay->height(), w.DigitHeight + 16);
        EXPECT_EQ(w.pCounterSurround->width(), w.CounterBitmap.width() + 8);
        EXPECT_EQ(w.pTimerSurround->width(), w.TimerBitmap.width() + 8);
        EXPECT_EQ(w.pbCounter->size(), w.CounterBitmap.size());
        EXPECT_EQ(w.pbTimer->size(), w.TimerBitmap.size());
        EXPECT_EQ(w.pbCounter->height(), w.DigitHeight);
        const int statusBar = w.sbInfo->isVisible() ? w.sbInfo->height() : 0;
        EXPECT_EQ(w.centralWidget()->height(),
                  32 + w.DigitHeight + rows * w.CellHeight + statusBar);
        EXPECT_EQ(w.centralWidget()->y(), w.menuBar()->height());
        EXPECT_EQ(w.height(), w.menuBar()->height() + w.centralWidget()->height());
        EXPECT_EQ(w.centralWidget()->width(), w.width());
    }
    static QPoint Centre(const QRect &r)
    {
        return {r.left() + r.width() / 2, r.top() + r.height() / 2};
    }
};

TEST_F(LayoutTest, BeginnerWithSurroundings)
{
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.MarginColumns, 0);
    EXPECT_EQ(w.width(), 192);
    EXPECT_EQ(w.centralWidget()->height(), 231 + w.sbInfo->height());
    EXPECT_EQ(w.FieldBitmap.size(), QSize(176, 176));
    EXPECT_EQ(w.pCounterSurround->width(), 4 * 13 + 8);
    EXPECT_EQ(w.pbTimer->size(), QSize(4 * 13, 23));
    ExpectLayoutArithmetic();
}

TEST_F(LayoutTest, BeginnerWithoutSurroundingsGetsOneMarginColumnEachSideWithoutAFrame)
{
    TfrmKorvane &w = Open();
    const QRect before = w.frameGeometry();
    w.miSurround->trigger();
    // 0 + 16 + 9 * 16 = 160 < 162: one column of 16 on each side.
    EXPECT_EQ(w.MarginColumns, 1);
    EXPECT_EQ(w.FieldBitmap.size(), QSize((9 + 2) * 16, 9 * 16));
    EXPECT_EQ(w.width(), 192) << "the margin takes the two ring columns' place";
    EXPECT_EQ(w.centralWidget()->height(), 199 + w.sbInfo->height());
    EXPECT_EQ(w.height(), before.height() - 2 * 16);
    ExpectLayoutArithmetic();

    w.miSurround->trigger();
    EXPECT_EQ(w.MarginColumns, 0);
    EXPECT_EQ(w.frameGeometry(), before);
    ExpectLayoutArithmetic();
}

TEST_F(LayoutTest, EveryPresetWithAndWithoutSurroundings)
{
    TfrmKorvane &w = Open();
    for (QAction *preset : {w.miInter, w.miExpert, w.miMaster, w.miBeginner}) {
        preset->trigger();
        SCOPED_TRACE(preset->text().toStdString());
        ExpectLayoutArithmetic();
        w.miSurround->trigger();
        ExpectLayoutArithmetic();
        w.miSurround->trigger();
    }
    w.miMaster->trigger();
    EXPECT_EQ(w.width(), 16 + 32 * 16);
    EXPECT_EQ(w.centralWidget()->height(), 32 + 23 + 26 * 16 + w.sbInfo->height());
}

TEST_F(LayoutTest, SmallTilesGetEqualMarginsOfBackgroundOnBothSides)
{
    WriteSkin(QStringLiteral("Small"), 8, 8);
    WriteSkin(QStringLiteral("Normal"), 16, 16);
    TfrmKorvane &w = Open();
    ChooseSkin(QStringLiteral("Small"));
    ASSERT_EQ(w.CellWidth, 8);
    // 16 + 88 = 104, then 120, 136, 152, 168 >= 162.
    EXPECT_EQ(w.MarginColumns, 4);
    EXPECT_EQ(w.width(), 168);
    EXPECT_EQ(w.FieldBitmap.size(), QSize((11 + 8) * 8, 11 * 8));
    for (int y = 0; y < 11; ++y) {
        for (int x : {-4, -3, -2, -1, 11, 12, 13, 14})
            EXPECT_EQ(DrawnCell(x, y), Tile(tiBackground)) << x << ", " << y;
    }
    // The field itself starts four tiles in and ends four tiles before the edge.
    EXPECT_EQ(w.FieldBitmap.copy(4 * 8, 0, 8, 8), Tile(tiBackground)) << "ring cell (0, 0)";
    EXPECT_EQ(w.FieldBitmap.copy(5 * 8, 8, 8, 8), Tile(tiCovered)) << "cell (1, 1)";
    EXPECT_EQ(w.FieldBitmap.copy(152 - 5 * 8 - 8, 8, 8, 8), Tile(tiCovered)) << "cell (9, 1)";
    ExpectLayoutArithmetic();

    ChooseSkin(QStringLiteral("Normal"));
    EXPECT_EQ(w.MarginColumns, 0);
    EXPECT_EQ(w.FieldBitmap.size(), QSize(176, 176));
    EXPECT_EQ(DrawnCell(1, 1), Tile(tiCovered)) << "the field was drawn again for the new margin";
    EXPECT_EQ(w.FieldBitmap.copy(16, 16, 16, 16), Tile(tiCovered));
    ExpectLayoutArithmetic();
}

TEST_F(LayoutTest, DoubleSizeSkinDoublesCellsFieldAndWindow)
{
    WriteImage(QStringLiteral("Skins"), QStringLiteral("big.png"), MakeSkin(32, 32));
    TfrmKorvane &w = Open();
    ASSERT_TRUE(w.Game->OpenCell(5, 5));
    const int opened = w.Game->OpenedCount();
    ChooseSkin(QStringLiteral("Big"));
    EXPECT_EQ(w.CellWidth, 32);
    EXPECT_EQ(w.CellHeight, 32);
    EXPECT_EQ(w.FieldBitmap.size(), QSize(352, 352));
    EXPECT_EQ(w.width(), 16 + 352);
    EXPECT_EQ(w.centralWidget()->height(), 32 + 23 + 352 + w.sbInfo->height());
    EXPECT_EQ(w.Game->OpenedCount(), opened) << "the game goes on unchanged";
    ExpectLayoutArithmetic();
}

TEST_F(LayoutTest, LayoutKeepsTheWindowCentre)
{
    TfrmKorvane &w = Open();
    w.move(300, 200);
    QPoint centre = Centre(w.frameGeometry());
    w.miExpert->trigger();
    EXPECT_EQ(Centre(w.frameGeometry()), centre);
    EXPECT_EQ(w.width(), 16 + 32 * 16);
    w.miBeginner->trigger();
    EXPECT_EQ(Centre(w.frameGeometry()), centre);
}

TEST_F(LayoutTest, StartUpCentresTheWindowOnTheScreen)
{
    TfrmKorvane &w = Open();
    const QRect g = w.frameGeometry();
    EXPECT_LE(std::abs(g.left() + g.width() / 2 - 640), 1);
    EXPECT_LE(std::abs(g.top() + g.height() / 2 - 512), 1);
}

TEST_F(LayoutTest, AWindowNearTheRightEdgeThatGrowsIsPushedLeft)
{
    TfrmKorvane &w = Open();
    w.move(1280 - 192 - 10, 300);
    w.miMaster->trigger();
    EXPECT_EQ(w.frameGeometry().right() + 1, 1280);
    EXPECT_EQ(w.x(), 1280 - (16 + 32 * 16));
}

TEST_F(LayoutTest, AWindowNearTheBottomThatGrowsIsPushedUp)
{
    TfrmKorvane &w = Open();
    w.move(400, 1024 - w.height() - 5);
    w.miMaster->trigger();
    EXPECT_EQ(w.frameGeometry().bottom() + 1, 1024);
}

TEST_F(LayoutTest, AWindowLeftOfTheAreaMovesToItsLeftEdge)
{
    TfrmKorvane &w = Open();
    w.move(-150, -120);
    w.miInter->trigger();
    EXPECT_EQ(w.pos(), QPoint(0, 0));
}

TEST_F(LayoutTest, AWindowWiderAndTallerThanTheAreaStopsAtZeroNotBelow)
{
    TfrmKorvane &w = Open();
    w.move(500, 400);
    w.GameWidth = 100; // 16 + 1600 pixels
    w.GameHeight = 80;
    w.GameBombs = 10;
    w.NewGame();
    EXPECT_EQ(w.width(), 16 + 1600);
    // Left = 1280 - 1616 < 0 and likewise the top: both end at 0.
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    ExpectLayoutArithmetic();
}

TEST_F(LayoutTest, HiddenStatusBarAtStartUpMakesTheWindowShorter)
{
    WriteSettings(QStringLiteral("[Settings]\nStatusbar=0\n"));
    TfrmKorvane &w = Open();
    EXPECT_FALSE(w.miStatus->isChecked());
    EXPECT_FALSE(w.sbInfo->isVisible());
    EXPECT_EQ(w.centralWidget()->height(), 231);
    ExpectLayoutArithmetic();
}

TEST_F(LayoutTest, WithoutSurroundingsAClickMapsThroughTheMarginToTheRightCell)
{
    TfrmKorvane &w = Open();
    Play(OpenField(11, 11, 2));
    w.miAuto->trigger();
    w.miSurround->trigger();
    ASSERT_EQ(w.MarginColumns, 1);
    // Cell (1, 1) is the first field cell of the top row, one tile in; the
    // click goes to (1, 2) below it.
    QTest::mouseClick(w.pbGame, Qt::LeftButton, {}, QPoint(16 + 8, 16 + 8));
    EXPECT_EQ(w.Game->CellState(1, 2), csOpen);
    EXPECT_EQ(w.Game->OpenedCount(), 1);
    EXPECT_EQ(DrawnCell(1, 2), Tile(tiOpen + 2));
    EXPECT_EQ(w.FieldBitmap.copy(16, 16, 16, 16), Tile(tiOpen + 2));
    // The margin column maps to the ring, which no click opens.
    QTest::mouseClick(w.pbGame, Qt::LeftButton, {}, QPoint(8, 40));
    EXPECT_EQ(w.Game->CellState(0, 3), csHidden);
}
