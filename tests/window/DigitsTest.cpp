// SPDX-License-Identifier: GPL-3.0-or-later
// The bombs-left and time displays: their texts, their glyphs, the window
// laid out again exactly when a text changes length, and the game clock.
#include "DisplaySupport.h"

#include <QElapsedTimer>
#include <QTest>

using namespace korvane::test;

class DigitsTest : public DisplayTest
{
protected:
    // Moves a box of the display row out of its place: only a new layout puts
    // it back, so it tells whether one happened since.
    void MarkLayout() { FWindow->pTimerSurround->move(-500, -500); }
    bool LaidOutSinceMark() const { return FWindow->pTimerSurround->x() != -500; }
    // Sets the clock to seconds and shows it, as if it had counted there.
    void ShowSeconds(int seconds)
    {
        FWindow->ElapsedSeconds = seconds;
        FWindow->RenderTimer();
    }
};

TEST_F(DigitsTest, CounterTexts)
{
    TfrmKorvane &w = Open();
    ASSERT_EQ(w.DisplayDigits, 4);
    const std::pair<int, const char *> cases[] {
        {10, "0010"},     {0, "0000"},    {-3, "-003"}, {-123, "-123"},     {-1000, "-1000"},
        {12345, "12345"}, {9999, "9999"}, {-1, "-001"}, {-99999, "-99999"}, {1, "0001"},
    };
    for (const auto &[number, text] : cases)
        EXPECT_EQ(w.FormatCounter(number), QString::fromLatin1(text)) << number;
    w.DisplayDigits = 5;
    EXPECT_EQ(w.FormatCounter(-3), QStringLiteral("-0003"));
    EXPECT_EQ(w.FormatCounter(10000), QStringLiteral("10000"));
    EXPECT_EQ(w.FormatCounter(7), QStringLiteral("00007"));
}

TEST_F(DigitsTest, TimeTexts)
{
    const std::pair<int, const char *> minutes[] {
        {0, "0:00"},       {1, "0:01"},         {59, "0:59"},         {65, "1:05"},
        {599, "9:59"},     {600, "10:00"},      {3599, "59:59"},      {3600, "1:00:00"},
        {3725, "1:02:05"}, {36000, "10:00:00"}, {359999, "99:59:59"}, {360000, "100:00:00"},
    };
    for (const auto &[seconds, text] : minutes)
        EXPECT_EQ(TfrmKorvane::FormatTime(seconds, true, 4), QString::fromLatin1(text)) << seconds;
    const std::pair<int, const char *> plain[] {
        {0, "0000"}, {42, "0042"}, {9999, "9999"}, {10000, "10000"}, {12345, "12345"},
    };
    for (const auto &[seconds, text] : plain)
        EXPECT_EQ(TfrmKorvane::FormatTime(seconds, false, 4), QString::fromLatin1(text)) << seconds;
    EXPECT_EQ(TfrmKorvane::FormatTime(0, false, 5), QStringLiteral("00000"));
    EXPECT_EQ(TfrmKorvane::FormatTime(3600, true, 5), QStringLiteral("1:00:00"));
}

TEST_F(DigitsTest, DisplaysAreDrawnWithTheFontGlyphsSideBySide)
{
    TfrmKorvane &w = Open();
    EXPECT_EQ(CounterText(), QStringLiteral("0010"));
    EXPECT_EQ(TimerText(), QStringLiteral("0:00"));
    EXPECT_EQ(w.CounterBitmap.size(), QSize(4 * 13, 23));
    w.DrawCounterDigits(QStringLiteral("-1234567890"));
    EXPECT_EQ(w.CounterBitmap.size(), QSize(11 * 13, 23));
    for (int i = 0; i < 11; ++i) {
        const int glyph = i == 0 ? 11 : (i % 10);
        EXPECT_EQ(w.CounterBitmap.copy(i * 13, 0, 13, 23), w.ilDigits.Image(glyph)) << i;
    }
    w.DrawTimerDigits(QStringLiteral("12:34:56"));
    EXPECT_EQ(w.TimerBitmap.copy(2 * 13, 0, 13, 23), w.ilDigits.Image(10));
    EXPECT_EQ(TimerText(), QStringLiteral("12:34:56"));
}

TEST_F(DigitsTest, AFontOf20PixelGlyphsMakesFourCharacterDisplays80Wide)
{
    WriteFont(QStringLiteral("Wide"), 20, 30);
    TfrmKorvane &w = Open();
    ChooseFont(QStringLiteral("Wide"));
    EXPECT_EQ(w.CounterBitmap.size(), QSize(80, 30));
    EXPECT_EQ(w.TimerBitmap.size(), QSize(80, 30));
    EXPECT_EQ(w.pbCounter->size(), QSize(80, 30));
    EXPECT_EQ(w.pbTimer->size(), QSize(80, 30));
    EXPECT_EQ(CounterText(), QStringLiteral("0010"));
    EXPECT_EQ(TimerText(), QStringLiteral("0:00"));
}

TEST_F(DigitsTest, MoreFlagsThanBombsCountsBelowZeroInFourCharacters)
{
    TfrmKorvane &w = Open();
    Play(OpenField(11, 11, 2));
    ClickCell(5, 5, Qt::RightButton);
    ClickCell(5, 6, Qt::RightButton);
    EXPECT_EQ(CounterText(), QStringLiteral("0000"));
    ClickCell(5, 7, Qt::RightButton);
    EXPECT_EQ(CounterText(), QStringLiteral("-001"));
    ClickCell(5, 8, Qt::RightButton);
    EXPECT_EQ(CounterText(), QStringLiteral("-002"));
    EXPECT_EQ(w.CounterBitmap.width(), 4 * 13);
}

TEST_F(DigitsTest, CounterBelowMinus999WidensAndLaysTheWindowOut)
{
    TfrmKorvane &w = Open();
    Play(OpenField(40, 40, 1));
    int flags = 0;
    for (int x = 1; x <= 38 && flags < 1000; ++x)
        for (int y = 2; y <= 38 && flags < 1000; ++y)
            flags += w.Game->FlagCell(x, y) ? 1 : 0;
    w.RenderCounter();
    w.ShowCounter();
    ASSERT_EQ(CounterText(), QStringLiteral("-999"));
    const int boxBefore = w.pCounterSurround->width();

    ClickCell(20, 1, Qt::RightButton);
    EXPECT_EQ(CounterText(), QStringLiteral("-1000"));
    EXPECT_EQ(w.pCounterSurround->width(), boxBefore + 13);
    EXPECT_EQ(w.pbCounter->width(), 5 * 13);

    ClickCell(20, 1, Qt::RightButton); // the flag becomes a mark
    EXPECT_EQ(CounterText(), QStringLiteral("-999"));
    EXPECT_EQ(w.pCounterSurround->width(), boxBefore);
}

TEST_F(DigitsTest, MinutesDisplayWidensAt10MinutesAndAtOneHour)
{
    TfrmKorvane &w = Open();
    ShowSeconds(598);
    MarkLayout();
    w.timSecondTimer();
    EXPECT_EQ(TimerText(), QStringLiteral("9:59"));
    EXPECT_FALSE(LaidOutSinceMark()) << "same length, no layout";
    w.timSecondTimer();
    EXPECT_EQ(TimerText(), QStringLiteral("10:00"));
    EXPECT_TRUE(LaidOutSinceMark());
    EXPECT_EQ(w.pbTimer->width(), 5 * 13);
    EXPECT_EQ(w.pTimerSurround->width(), 5 * 13 + 8);

    ShowSeconds(3598);
    MarkLayout();
    w.timSecondTimer();
    EXPECT_EQ(TimerText(), QStringLiteral("59:59"));
    EXPECT_FALSE(LaidOutSinceMark());
    w.timSecondTimer();
    EXPECT_EQ(TimerText(), QStringLiteral("1:00:00"));
    EXPECT_TRUE(LaidOutSinceMark());
    EXPECT_EQ(w.pbTimer->width(), 7 * 13);
    EXPECT_EQ(w.ElapsedSeconds, 3600);
}

TEST_F(DigitsTest, SecondsDisplayWidensAt10000)
{
    TfrmKorvane &w = Open();
    w.miSeconds->trigger();
    EXPECT_TRUE(w.miSeconds->isChecked());
    EXPECT_FALSE(w.miMinutes->isChecked());
    EXPECT_EQ(TimerText(), QStringLiteral("0000"));
    ShowSeconds(9998);
    MarkLayout();
    w.timSecondTimer();
    EXPECT_EQ(TimerText(), QStringLiteral("9999"));
    EXPECT_FALSE(LaidOutSinceMark());
    w.timSecondTimer();
    EXPECT_EQ(TimerText(), QStringLiteral("10000"));
    EXPECT_TRUE(LaidOutSinceMark());
    EXPECT_EQ(w.pbTimer->width(), 5 * 13);
}

TEST_F(DigitsTest, SwitchingMinutesAndSecondsReformatsAndLaysOutOnlyOnAChangeOfLength)
{
    TfrmKorvane &w = Open();
    ShowSeconds(5);
    ASSERT_EQ(TimerText(), QStringLiteral("0:05"));
    MarkLayout();
    w.miSeconds->trigger();
    EXPECT_EQ(TimerText(), QStringLiteral("0005"));
    EXPECT_FALSE(LaidOutSinceMark());
    w.miMinutes->trigger();
    EXPECT_EQ(TimerText(), QStringLiteral("0:05"));
    EXPECT_FALSE(LaidOutSinceMark());

    ShowSeconds(3725);
    ASSERT_EQ(TimerText(), QStringLiteral("1:02:05"));
    w.miSeconds->trigger();
    EXPECT_EQ(TimerText(), QStringLiteral("3725"));
    EXPECT_TRUE(LaidOutSinceMark());
    EXPECT_EQ(w.pbTimer->width(), 4 * 13);
    MarkLayout();
    w.miSeconds->trigger(); // the checked item again: the same text
    EXPECT_TRUE(w.miSeconds->isChecked());
    EXPECT_EQ(TimerText(), QStringLiteral("3725"));
    EXPECT_FALSE(LaidOutSinceMark());
    w.miMinutes->trigger();
    EXPECT_EQ(TimerText(), QStringLiteral("1:02:05"));
    EXPECT_TRUE(LaidOutSinceMark());
    EXPECT_EQ(w.pbTimer->width(), 7 * 13);
    EXPECT_FALSE(w.timSecond.isActive()) << "switching never starts the clock";
}

TEST_F(DigitsTest, TenThousandBombsGiveFiveCharacterDisplaysFromTheStart)
{
    TfrmKorvane &w = Open();
    w.miSeconds->trigger();
    w.GameWidth = 103;
    w.GameHeight = 103;
    w.GameBombs = 10000;
    w.NewGame();
    EXPECT_EQ(w.DisplayDigits, 5);
    EXPECT_EQ(CounterText(), QStringLiteral("10000"));
    EXPECT_EQ(TimerText(), QStringLiteral("00000"));
    EXPECT_EQ(w.pbCounter->width(), 5 * 13);
    w.miMinutes->trigger();
    EXPECT_EQ(TimerText(), QStringLiteral("0:00"));

    w.GameBombs = 9999;
    w.NewGame();
    EXPECT_EQ(w.DisplayDigits, 4);
    EXPECT_EQ(CounterText(), QStringLiteral("9999"));
}

TEST_F(DigitsTest, TheClockIsAPreciseOneSecondTimer)
{
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.timSecond.interval(), 1000);
    EXPECT_EQ(w.timSecond.timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(w.timSecond.isActive());
    EXPECT_EQ(w.ElapsedSeconds, 0);
}

TEST_F(DigitsTest, StartClockShowsOneAtOnceAndTicksOnePerSecond)
{
    TfrmKorvane &w = Open();
    MarkLayout();
    w.StartClock();
    EXPECT_EQ(w.ElapsedSeconds, 1);
    EXPECT_EQ(TimerText(), QStringLiteral("0:01"));
    EXPECT_TRUE(w.timSecond.isActive());
    EXPECT_FALSE(LaidOutSinceMark()) << "0:00 and 0:01 have the same length";

    QElapsedTimer clock;
    clock.start();
    while (w.ElapsedSeconds < 2 && clock.elapsed() < 3000)
        QTest::qWait(10);
    EXPECT_EQ(w.ElapsedSeconds, 2);
    EXPECT_GE(clock.elapsed(), 990);
    EXPECT_EQ(TimerText(), QStringLiteral("0:02"));
}

TEST_F(DigitsTest, TheFirstClickStartsTheClock)
{
    TfrmKorvane &w = Open();
    Play(OpenField(11, 11, 1));
    ClickCell(5, 5, Qt::RightButton);
    EXPECT_TRUE(w.timSecond.isActive());
    EXPECT_EQ(TimerText(), QStringLiteral("0:01"));
}

TEST_F(DigitsTest, AGameLostByItsFirstActionShowsOneSecondAndStops)
{
    TfrmKorvane &w = Open();
    w.miSeconds->trigger();
    Play(OpenField(11, 11, 2));
    ClickCell(1, 1);
    EXPECT_TRUE(w.Game->IsLost());
    EXPECT_FALSE(w.Game->IsWon());
    EXPECT_EQ(w.ElapsedSeconds, 1);
    EXPECT_FALSE(w.timSecond.isActive());
    EXPECT_EQ(TimerText(), QStringLiteral("0001"));
}

TEST_F(DigitsTest, AGameWonByItsFirstActionShowsOneSecondAndStops)
{
    TfrmKorvane &w = Open();
    Play({"#####", "#***#", "#*.*#", "#***#", "#####"});
    ClickCell(2, 2);
    EXPECT_TRUE(w.Game->IsWon());
    EXPECT_EQ(TimerText(), QStringLiteral("0:01"));
    EXPECT_FALSE(w.timSecond.isActive());
    EXPECT_EQ(CounterText(), QStringLiteral("0000"));
}

TEST_F(DigitsTest, ANewGameStopsAndZeroesTheClock)
{
    TfrmKorvane &w = Open();
    w.StartClock();
    w.timSecondTimer();
    ASSERT_EQ(TimerText(), QStringLiteral("0:02"));
    w.miNew->trigger();
    EXPECT_FALSE(w.timSecond.isActive());
    EXPECT_EQ(w.ElapsedSeconds, 0);
    EXPECT_EQ(TimerText(), QStringLiteral("0:00"));
    EXPECT_EQ(CounterText(), QStringLiteral("0010"));
}

TEST_F(DigitsTest, SecondsFromTheSettingsShowFourZerosAtStartUp)
{
    WriteSettings(QStringLiteral("[Settings]\nMinutes=0\n"));
    TfrmKorvane &w = Open();
    EXPECT_TRUE(w.miSeconds->isChecked());
    EXPECT_FALSE(w.miMinutes->isChecked());
    EXPECT_EQ(TimerText(), QStringLiteral("0000"));
    w.StartClock();
    EXPECT_EQ(TimerText(), QStringLiteral("0001"));
}
