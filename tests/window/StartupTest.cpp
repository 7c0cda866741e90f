// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTestSupport.h"

#include "Menus.h"

using namespace korvane::test;

using StartupTest = WindowTest;

TEST_F(StartupTest, WithoutSettingsFileTheFirstGameIsBeginnerWithDefaultOptions)
{
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.Game->FWidth, 11);
    EXPECT_EQ(w.Game->FHeight, 11);
    EXPECT_EQ(w.Game->BombCount(), 10);
    EXPECT_TRUE(w.miBeginner->isChecked());
    for (QAction *on : {w.miSurround, w.miMarks, w.miAuto, w.miUpflag, w.miMinutes, w.miStatus})
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
    for (QAction *off : {w.miStartMarked, w.miOpenWalls, w.miSeconds})
        EXPECT_FALSE(off->isChecked()) << off->text().toStdString();
    EXPECT_TRUE(w.miSingle->isChecked());
    EXPECT_EQ(w.ComputeShields(10), 1);
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
}

TEST_F(StartupTest, BeginnerWindowFollowsTheLayoutArithmetic)
{
    TfrmKorvane &w = Open();
    // 11 columns of 16 pixels + 16 = 192; with no window frame 192 < 162 is false
    // only after one margin column on each side would... here 16 + 176 = 192 >= 162.
    EXPECT_EQ(w.MarginColumns, 0);
    EXPECT_EQ(w.width(), 192);
    EXPECT_EQ(w.centralWidget()->height(), 231 + w.sbInfo->height());
    EXPECT_EQ(w.pbGame->size(), QSize(176, 176));
    EXPECT_EQ(w.FieldBitmap.size(), QSize(176, 176));
}
