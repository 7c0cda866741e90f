// The four figures of the status bar, the panel widths, the overflow rule and
// the Status toggle.
#include "DisplaySupport.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QScreen>

using namespace korvane::test;

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
    // The widths the panels get for their texts on a bar of barWidth.
    QList<int> ExpectedWidths(int barWidth) const
    {
        const QFontMetrics metrics(FWindow->sbInfo->font());
        QList<int> widths;
        for (const QString &text : Texts())
            widths << metrics.horizontalAdvance(text) + 7;
        widths[0] -= 2;
        int sum = 0;
        for (int i = 0; i < 4; ++i) {
            sum += widths[i];
            if (sum >= barWidth) {
                if (i > 0)
                    widths[i - 1] = barWidth;
                break;
            }
        }
        return widths;
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
    const QFontMetrics metrics(w.sbInfo->font());
    EXPECT_EQ(w.sbInfo->TextWidth(QStringLiteral("Flags: 0")),
              metrics.horizontalAdvance(QStringLiteral("Flags: 0")));
    const QStringList texts = Texts();
    EXPECT_EQ(w.sbInfo->PanelWidth(0), metrics.horizontalAdvance(texts[0]) + 5);
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(w.sbInfo->PanelWidth(i), metrics.horizontalAdvance(texts[i]) + 7) << i;
    EXPECT_EQ(w.sbInfo->width(), w.width());
    EXPECT_EQ(w.sbInfo->font().pixelSize(), 11);

    // Every text stays inside its bevel, a pixel clear of the right edge.
    const QImage bar = w.sbInfo->grab().toImage();
    int left = 0;
    for (int i = 0; i < 4; ++i) {
        const int bevel = left + w.sbInfo->PanelWidth(i) - 3;
        for (int y = 3; y < bar.height() - 1; ++y)
            for (int x : {bevel - 1, bevel})
                EXPECT_NE(bar.pixel(x, y), qRgb(0, 0, 0))
                    << "panel " << i << " at " << x << "," << y;
        left += w.sbInfo->PanelWidth(i);
    }
}

TEST_F(StatusBarTest, OnANarrowWindowTheLastPanelThatFitsFillsTheBar)
{
    WriteSkin(QStringLiteral("Tiny"), 4, 4);
    TfrmKorvane &w = Open();
    ChooseSkin(QStringLiteral("Tiny"));
    const int bar = w.sbInfo->width();
    ASSERT_EQ(bar, w.width());
    const QList<int> expected = ExpectedWidths(bar);
    EXPECT_EQ(Widths(), expected);
    // The four texts need more than the narrowest window's 164 pixels.
    const QFontMetrics metrics(w.sbInfo->font());
    int sum = 0;
    int first = -1;
    for (int i = 0; i < 4 && first < 0; ++i) {
        sum += metrics.horizontalAdvance(w.sbInfo->PanelText(i)) + (i == 0 ? 5 : 7);
        if (sum >= bar)
            first = i;
    }
    ASSERT_GT(first, 0) << "the panels should not all fit in " << bar << " pixels";
    EXPECT_EQ(w.sbInfo->PanelWidth(first - 1), bar);

    // Every window size follows the same rule.
    for (QAction *preset : {w.miBeginner, w.miInter, w.miExpert}) {
        preset->trigger();
        EXPECT_EQ(Widths(), ExpectedWidths(w.sbInfo->width())) << preset->text().toStdString();
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
