// SPDX-License-Identifier: GPL-3.0-or-later
// The four figures of the status bar, the panel widths, the overflow rule and
// the Status toggle.
#include "DisplaySupport.h"

#include <QCoreApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QScreen>

using namespace korvane::test;

namespace {

// The bar's texts in its 11-pixel narrow face as it resolves on the test
// machine (no Tahoma there), measured once.
const std::pair<QString, int> TextWidths[] {
    {"Flags: 0", 39},     {"Open: 0", 39},      {"Known: 0%", 55},
    {"Chances: 12%", 71}, {"Chances: 20%", 71},
};

} // namespace

class StatusBarTest : public DisplayTest
{
protected:
    QStringList Texts() const
    {
        QStringList texts;
        for (int i = 0; i < 4; ++i)
            texts << FWindow->sbInfo->PanelText(i);
        return texts;
    }
    // A Beginner field with its ten bombs in row 1 and at (1, 2); played with
    // Auto Open off, so that each click opens exactly one cell.
    void PlayBeginner()
    {
        FWindow->miAuto->trigger();
        Play(OpenField(11, 11, 10));
    }
    // Opens n plain cells from row 3 down, left to right, by clicks.
    void OpenPlain(int n)
    {
        for (int i = 0; i < n; ++i)
            ClickCell(1 + i % 9, 3 + i / 9);
    }
    QList<int> Widths() const
    {
        QList<int> widths;
        for (int i = 0; i < 4; ++i)
            widths << FWindow->sbInfo->PanelWidth(i);
        return widths;
    }
};

TEST_F(StatusBarTest, BeginnerStart)
{
    Open();
    EXPECT_EQ(Texts(), QStringList({"Flags: 0", "Open: 0", "Known: 0%", "Chances: 12%"}));
}

TEST_F(StatusBarTest, OneFlagAndFortyOpenedCells)
{
    Open();
    PlayBeginner();
    OpenPlain(40);
    ClickCell(9, 2, Qt::RightButton);
    // 41 * 100 div 81 and 9 * 100 div 40.
    EXPECT_EQ(Texts(), QStringList({"Flags: 1", "Open: 40", "Known: 50%", "Chances: 22%"}));
}

TEST_F(StatusBarTest, MoreFlagsThanBombsGiveNegativeChances)
{
    Open();
    PlayBeginner();
    OpenPlain(50);
    // 11 flags: the ten bombs' row and one more; 81 - 50 - 11 = 20 covered.
    for (int x = 1; x <= 9; ++x)
        ClickCell(x, 1, Qt::RightButton);
    ClickCell(1, 2, Qt::RightButton);
    ClickCell(9, 8, Qt::RightButton);
    // -1 * 100 div 20 = -5.
    EXPECT_EQ(Texts(), QStringList({"Flags: 11", "Open: 50", "Known: 75%", "Chances: -5%"}));
}

TEST_F(StatusBarTest, AWinShowsEverythingKnownAndNoChances)
{
    TfrmKorvane &w = Open();
    PlayBeginner();
    ClickCell(9, 1, Qt::RightButton);
    for (int x = 2; x <= 9; ++x)
        ClickCell(x, 2);
    OpenPlain(63);
    ASSERT_TRUE(w.Game->IsWon());
    EXPECT_EQ(Texts(), QStringList({"Flags: 1", "Open: 71", "Known: 100%", "Chances: 0%"}));
}

TEST_F(StatusBarTest, EveryCellOpenedOrFlaggedButWrongFlagsStandingGivesZeroChances)
{
    TfrmKorvane &w = Open();
    PlayBeginner();
    for (int x = 1; x <= 9; ++x)
        ClickCell(x, 1, Qt::RightButton);
    ClickCell(1, 2, Qt::RightButton);
    // Three wrong flags, every other plain cell opened.
    for (int x = 2; x <= 4; ++x)
        ClickCell(x, 2, Qt::RightButton);
    for (int x = 5; x <= 9; ++x)
        ClickCell(x, 2);
    OpenPlain(63);
    ASSERT_FALSE(w.Game->IsFinished());
    EXPECT_EQ(Texts(), QStringList({"Flags: 13", "Open: 68", "Known: 100%", "Chances: 0%"}));
}

TEST_F(StatusBarTest, PanelsAreAsWideAsTheirTextsOnAWideWindow)
{
    TfrmKorvane &w = Open();
    w.miExpert->trigger();
    EXPECT_EQ(w.sbInfo->font().pixelSize(), 11);
    ASSERT_EQ(QFontInfo(w.sbInfo->font()).family(), QStringLiteral("DejaVu Sans Condensed"));
    for (const auto &[text, width] : TextWidths)
        EXPECT_EQ(w.sbInfo->TextWidth(0, text), width) << text.toStdString();
    ASSERT_EQ(Texts(), QStringList({"Flags: 0", "Open: 0", "Known: 0%", "Chances: 20%"}));
    EXPECT_EQ(Widths(), QList<int>({39 + 5, 39 + 7, 55 + 7, 71 + 7}));
    EXPECT_EQ(w.sbInfo->width(), w.width());

    // Every text stays inside its bevel, two pixels of bare face clear of the
    // left edge and a pixel clear of the right.
    const QImage bar = w.sbInfo->grab().toImage();
    int left = 0;
    for (int i = 0; i < 4; ++i) {
        const int bevel = left + w.sbInfo->PanelWidth(i) - 3;
        for (int y = 3; y < bar.height() - 1; ++y) {
            for (int x : {left + 1, left + 2})
                EXPECT_EQ(bar.pixel(x, y), qRgb(0xC0, 0xC0, 0xC0))
                    << "panel " << i << " at " << x << "," << y;
            for (int x : {bevel - 1, bevel})
                EXPECT_NE(bar.pixel(x, y), qRgb(0, 0, 0))
                    << "panel " << i << " at " << x << "," << y;
        }
        left += w.sbInfo->PanelWidth(i);
    }
}

TEST_F(StatusBarTest, OnANarrowWindowTheLastPanelThatFitsFillsTheBar)
{
    WriteSkin(QStringLiteral("Tiny"), 4, 4);
    TfrmKorvane &w = Open();
    ChooseSkin(QStringLiteral("Tiny"));
    ASSERT_EQ(w.sbInfo->width(), w.width());
    // Panels of 44, 46, 62 and 78 pixels: at every size the fourth reaches
    // past the tiny field's bar, so the third fills it.
    const struct
    {
        QAction *preset;
        int bar;
        QList<int> widths;
    } cases[] {
        {w.miBeginner, 164, {44, 46, 164, 78}},
        {w.miInter, 168, {44, 46, 168, 78}},
        {w.miExpert, 168, {44, 46, 168, 78}},
    };
    for (const auto &c : cases) {
        c.preset->trigger();
        EXPECT_EQ(w.sbInfo->width(), c.bar) << c.preset->text().toStdString();
        EXPECT_EQ(Widths(), c.widths) << c.preset->text().toStdString();
    }
}

TEST_F(StatusBarTest, WhatReachesTheScreenIsTheWholeBarAfterEveryClick)
{
    TfrmKorvane &w = Open();
    PlayBeginner();
    // Twelve cells: "Open" changes text at the same width and then grows at
    // 10; "Known" and "Chances" change now and then.
    for (int i = 0; i < 12; ++i) {
        const QList<int> before = Widths();
        ClickCell(1 + i % 9, 3 + i / 9);
        QCoreApplication::processEvents();
        const QImage shown = w.screen()
                                 ->grabWindow(w.winId())
                                 .toImage()
                                 .copy(QRect(w.sbInfo->mapTo(&w, QPoint(0, 0)), w.sbInfo->size()))
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown, w.sbInfo->grab().toImage().convertToFormat(QImage::Format_RGB32))
            << Texts().join(u' ').toStdString() << (Widths() == before ? ", same widths" : "");
    }
}

TEST_F(StatusBarTest, HidingAndShowingChangesOnlyTheWindowHeight)
{
    TfrmKorvane &w = Open();
    PlayBeginner();
    const int barHeight = w.sbInfo->height();
    ASSERT_GT(barHeight, 0);
    const QRect before = w.frameGeometry();
    const QPoint field = w.pbGame->mapToGlobal(QPoint(0, 0));
    const QPoint counter = w.pbCounter->mapToGlobal(QPoint(0, 0));

    w.miStatus->trigger();
    EXPECT_FALSE(w.miStatus->isChecked());
    EXPECT_FALSE(w.sbInfo->isVisible());
    EXPECT_EQ(w.height(), before.height() - barHeight);
    EXPECT_EQ(w.frameGeometry().topLeft(), before.topLeft());
    EXPECT_EQ(w.width(), before.width());
    EXPECT_EQ(w.pbGame->mapToGlobal(QPoint(0, 0)), field);
    EXPECT_EQ(w.pbCounter->mapToGlobal(QPoint(0, 0)), counter);
    EXPECT_EQ(w.pbGame->size(), QSize(176, 176));

    // While hidden the texts go stale; showing the bar refreshes them.
    ClickCell(5, 5);
    EXPECT_EQ(w.sbInfo->PanelText(1), QStringLiteral("Open: 0"));
    w.miStatus->trigger();
    EXPECT_TRUE(w.sbInfo->isVisible());
    EXPECT_EQ(w.frameGeometry(), before);
    EXPECT_EQ(w.pbGame->mapToGlobal(QPoint(0, 0)), field);
    EXPECT_EQ(w.sbInfo->PanelText(1), QStringLiteral("Open: 1"));
    EXPECT_EQ(w.sbInfo->geometry().bottom() + 1, w.centralWidget()->height());
}

TEST_F(StatusBarTest, AHiddenBarStaysHiddenThroughNewGamesAndLayouts)
{
    TfrmKorvane &w = Open();
    w.miStatus->trigger();
    const int height = w.height();
    w.miExpert->trigger();
    w.miBeginner->trigger();
    EXPECT_FALSE(w.sbInfo->isVisible());
    EXPECT_EQ(w.height(), height);
    EXPECT_EQ(w.centralWidget()->height(), 231);
}
