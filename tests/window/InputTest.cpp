// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse and keyboard play, through real Qt mouse and key events on the field:
// what the model does, which tiles are drawn, the face, the counter, the
// clock and the status bar.
#include "FieldPicture.h"
#include "InputTestSupport.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

using namespace korvane;
using namespace korvane::test;

namespace {

// Bombs at (2, 2) and (7, 6), an interior wall at (5, 8). Cell (3, 3) shows 1.
const std::vector<std::string> TwoBombs {
    "###########", //
    "#.........#", //
    "#.*.......#", //
    "#.........#", //
    "#.........#", //
    "#.........#", //
    "#......*..#", //
    "#.........#", //
    "#....W....#", //
    "#.........#", //
    "###########", //
};

// A column of bombs at x = 4: a flood on the left never reaches the right.
const std::vector<std::string> Split {
    "###########", //
    "#...*.....#", //
    "#...*.....#", //
    "#...*.....#", //
    "#...*.....#", //
    "#...*.....#", //
    "#...*.....#", //
    "#...*.....#", //
    "#...*.....#", //
    "#...*.....#", //
    "###########", //
};

// Two plain cells, (2, 1) and (2, 3), among seven bombs.
const std::vector<std::string> TwoPlain {
    "#####", //
    "#*.*#", //
    "#***#", //
    "#*.*#", //
    "#####", //
};

// One row: a bomb at (1, 1), then a 1 at (2, 1) and a 0 at (3, 1).
const std::vector<std::string> OneRow {
    "#####", //
    "#*..#", //
    "#####", //
};

// Eleven columns inside the ring: wide enough for no margin without Surroundings.
const std::vector<std::string> Wide {
    "#############", //
    "#...........#", //
    "#...........#", //
    "#...........#", //
    "#...........#", //
    "#...........#", //
    "#...........#", //
    "#...........#", //
    "#.........*.#", //
    "#...........#", //
    "#############", //
};

const QRgb ScribbleColour = qRgb(0xFF, 0x00, 0xFF);

} // namespace

class InputTest : public WindowTest
{
protected:
    void SetUp() override { Open(); }

    void TearDown() override
    {
        // Each test releases what it pressed; QTest would otherwise carry the
        // held buttons into the next test.
        EXPECT_EQ(FHeld, Qt::NoButton);
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            if (FHeld & b)
                ReleaseElsewhere(b);
        }
    }

    TfrmKorvane &W() { return *FWindow; }
    const MineGame &G() const { return *FWindow->Game; }

    void Press(Qt::MouseButton b, QPoint p)
    {
        FHeld |= b;
        QTest::mousePress(W().pbGame, b, {}, p);
    }
    void Release(Qt::MouseButton b, QPoint p)
    {
        FHeld &= ~b;
        QTest::mouseRelease(W().pbGame, b, {}, p);
    }
    // A release the field never sees: it goes to a widget outside the window.
    void ReleaseElsewhere(Qt::MouseButton b)
    {
        FHeld &= ~b;
        QWidget elsewhere;
        QTest::mouseRelease(&elsewhere, b);
    }
    // Only with a button held: QTest sends a move event then.
    void Move(QPoint p) { QTest::mouseMove(W().pbGame, p); }
    void Click(Qt::MouseButton b, QPoint p)
    {
        Press(b, p);
        Release(b, p);
    }
    QPoint At(int x, int y) const { return CellCentre(x, y); }

    void SetOption(QAction *item, bool on)
    {
        if (item->isChecked() != on)
            item->trigger();
        ASSERT_EQ(item->isChecked(), on);
    }

    bool Surround() const { return FWindow->miSurround->isChecked(); }

    ::testing::AssertionResult Drawn(int x, int y, int tile) const
    {
        const QImage drawn = DrawnCell(x, y);
        if (drawn == Tile(tile))
            return ::testing::AssertionSuccess();
        int found = -1;
        for (int i = 0; i < 44 && found < 0; ++i)
            if (drawn == Tile(i))
                found = i;
        return ::testing::AssertionFailure()
            << "cell (" << x << ", " << y << ") shows tile " << found << ", expected " << tile;
    }
    ::testing::AssertionResult DrawnAsModel(int x, int y) const
    {
        return Drawn(x, y, ExpectedTile(*FWindow->Game, Surround(), x, y));
    }
    ::testing::AssertionResult DrawnPressed(int x, int y) const
    {
        return Drawn(x, y, ExpectedPressedTile(*FWindow->Game, Surround(), x, y));
    }
    // Every drawn position, margin columns included, shows what the model says.
    void ExpectFieldAsModel() const
    {
        const TfrmKorvane &w = *FWindow;
        const int s = Surround() ? 0 : 1;
        const int m = w.MarginColumns;
        for (int x = s - m; x <= w.Game->FWidth - 1 - s + m; ++x)
            for (int y = s; y <= w.Game->FHeight - 1 - s; ++y)
                EXPECT_TRUE(DrawnAsModel(x, y));
    }

    ::testing::AssertionResult FaceIs(int index) const
    {
        const QImage shown = FWindow->spbNew->Glyph();
        if (shown == ExpectedFace(*FWindow, index))
            return ::testing::AssertionSuccess();
        for (int i = 0; i < 4; ++i)
            if (shown == ExpectedFace(*FWindow, i))
                return ::testing::AssertionFailure() << "face " << i << ", expected " << index;
        return ::testing::AssertionFailure() << "no face, expected " << index;
    }

    ::testing::AssertionResult CounterReads(const QString &text) const
    {
        if (!CounterShows(*FWindow, text))
            return ::testing::AssertionFailure()
                << "the counter does not show " << text.toStdString();
        if (CounterText(FWindow->Game->BombsLeft(), FWindow->DisplayDigits) != text)
            return ::testing::AssertionFailure()
                << "bombs left is " << FWindow->Game->BombsLeft() << ", not " << text.toStdString();
        return ::testing::AssertionSuccess();
    }

    QString Panel(int i) const { return FWindow->sbInfo->PanelText(i); }

    bool ClockWaiting() const
    {
        return !FWindow->timSecond.isActive() && FWindow->ElapsedSeconds == 0;
    }
    bool ClockRunningAtOne() const
    {
        return FWindow->timSecond.isActive() && FWindow->ElapsedSeconds == 1;
    }
    bool ClockStoppedAtOne() const
    {
        return !FWindow->timSecond.isActive() && FWindow->ElapsedSeconds == 1;
    }

    std::vector<MineCellState> States() const
    {
        std::vector<MineCellState> states;
        for (int x = 0; x < G().FWidth; ++x)
            for (int y = 0; y < G().FHeight; ++y)
                states.push_back(G().CellState(x, y));
        return states;
    }

    // Paints over a cell of the field bitmap: only a redraw of that cell, or
    // of the whole field, paints it back.
    void Scribble(int x, int y)
    {
        const int s = Surround() ? 0 : 1;
        TfrmKorvane &w = *FWindow;
        for (int i = 0; i < w.CellWidth; ++i)
            for (int j = 0; j < w.CellHeight; ++j)
                w.FieldBitmap.setPixel((x + w.MarginColumns - s) * w.CellWidth + i,
                                       (y - s) * w.CellHeight + j, ScribbleColour);
    }
    bool Scribbled(int x, int y) const
    {
        const QImage cell = DrawnCell(x, y);
        return cell.pixel(0, 0) == ScribbleColour
            && cell.pixel(cell.width() - 1, cell.height() - 1) == ScribbleColour;
    }

    // Open or flag a cell through the model, behind the window's back, and
    // redraw: a way to set up a field without starting the clock.
    void Prepare(const std::function<void(MineGame &)> &change)
    {
        change(*FWindow->Game);
        FWindow->RenderField();
    }

private:
    // The buttons pressed and not yet released, as QTest holds them.
    Qt::MouseButtons FHeld;
};

TEST_F(InputTest, TheFourFacesLookDifferent)
{
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            EXPECT_NE(ExpectedFace(W(), i), ExpectedFace(W(), j)) << i << " " << j;
}

TEST_F(InputTest, LeftClickOnCoveredCellOpensItAndStartsTheClockAtOne)
{
    Play(TwoBombs);
    ASSERT_TRUE(ClockWaiting());
    ASSERT_TRUE(FaceIs(0));

    Press(Qt::LeftButton, At(3, 3));
    EXPECT_EQ(G().CellState(3, 3), csHidden);
    EXPECT_TRUE(Drawn(3, 3, tiOpen));
    EXPECT_TRUE(FaceIs(1));
    EXPECT_TRUE(ClockWaiting());

    Release(Qt::LeftButton, At(3, 3));
    EXPECT_EQ(G().CellState(3, 3), csOpen);
    EXPECT_EQ(G().OpenedCount(), 1);
    EXPECT_TRUE(Drawn(3, 3, tiOpen + 1));
    EXPECT_TRUE(FaceIs(0));
    EXPECT_TRUE(ClockRunningAtOne());
    EXPECT_TRUE(CounterReads(QStringLiteral("0002")));
    EXPECT_EQ(Panel(0), QStringLiteral("Flags: 0"));
    EXPECT_EQ(Panel(1), QStringLiteral("Open: 1"));
    ExpectFieldAsModel();
}

TEST_F(InputTest, LeftClickOnOpenCellWallRingOrFlagChangesNothing)
{
    Play(TwoBombs);
    Prepare([](MineGame &g) {
        g.OpenCell(3, 3);
        g.FlagCell(7, 6);
    });
    const auto before = States();
    const struct
    {
        int x, y;
        const char *what;
    } targets[] {{3, 3, "open cell"}, {5, 8, "interior wall"}, {0, 5, "ring"}, {7, 6, "flag"}};
    for (const auto &t : targets) {
        Press(Qt::LeftButton, At(t.x, t.y));
        EXPECT_TRUE(DrawnAsModel(t.x, t.y)) << t.what << ": no pressed look";
        Release(Qt::LeftButton, At(t.x, t.y));
        EXPECT_EQ(States(), before) << t.what;
        EXPECT_TRUE(ClockWaiting()) << t.what;
        EXPECT_TRUE(FaceIs(0)) << t.what;
    }
    ExpectFieldAsModel();
}

TEST_F(InputTest, PressOnOneCellReleaseOnAnotherOpensOnlyTheSecond)
{
    SetOption(W().miAuto, false);
    Play(TwoBombs);
    Press(Qt::LeftButton, At(3, 5));
    EXPECT_TRUE(Drawn(3, 5, tiOpen));
    Move(At(4, 5));
    EXPECT_TRUE(Drawn(3, 5, tiCovered)) << "unpressed as soon as the mouse leaves it";
    EXPECT_TRUE(Drawn(4, 5, tiOpen));
    Move(At(6, 5));
    EXPECT_TRUE(Drawn(4, 5, tiCovered));
    EXPECT_TRUE(Drawn(6, 5, tiOpen));
    EXPECT_TRUE(FaceIs(1));
    Release(Qt::LeftButton, At(6, 5));

    EXPECT_EQ(G().CellState(6, 5), csOpen);
    EXPECT_EQ(G().CellState(3, 5), csHidden);
    EXPECT_EQ(G().CellState(4, 5), csHidden);
    EXPECT_EQ(G().OpenedCount(), 1);
    EXPECT_TRUE(FaceIs(0));
    ExpectFieldAsModel();
}

TEST_F(InputTest, MovingWithinTheSameCellKeepsItPressed)
{
    Play(TwoBombs);
    Press(Qt::LeftButton, At(3, 5));
    Move(At(3, 5) + QPoint(3, -4));
    EXPECT_TRUE(Drawn(3, 5, tiOpen));
    EXPECT_EQ(W().PressedX, 3);
    EXPECT_EQ(W().PressedY, 5);
    Release(Qt::LeftButton, At(3, 5) + QPoint(3, -4));
    EXPECT_EQ(G().CellState(3, 5), csOpen);
}

TEST_F(InputTest, LeftReleaseOnFlaggedCellOpensNothing)
{
    Play(TwoBombs);
    Click(Qt::RightButton, At(5, 5));
    ASSERT_EQ(G().CellState(5, 5), csFlagged);
    Press(Qt::LeftButton, At(5, 4));
    Move(At(5, 5));
    EXPECT_TRUE(Drawn(5, 5, tiFlag)) << "a flag has no pressed look";
    EXPECT_TRUE(Drawn(5, 4, tiCovered));
    Release(Qt::LeftButton, At(5, 5));
    EXPECT_EQ(G().CellState(5, 5), csFlagged);
    EXPECT_EQ(G().OpenedCount(), 0);
    EXPECT_TRUE(FaceIs(0));
    ExpectFieldAsModel();
}

TEST_F(InputTest, PressedLookOfAMarkedCell)
{
    SetOption(W().miStartMarked, true);
    Play(TwoBombs);
    EXPECT_TRUE(Drawn(4, 4, tiMark));
    Press(Qt::LeftButton, At(4, 4));
    EXPECT_TRUE(Drawn(4, 4, tiPressedMark));
    Release(Qt::LeftButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csOpen);
    ExpectFieldAsModel();
}

TEST_F(InputTest, WithUpflagOffRightPressFlagsAtOnceAndStartsTheClock)
{
    SetOption(W().miUpflag, false);
    Play(TwoBombs);
    Press(Qt::RightButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csFlagged);
    EXPECT_TRUE(Drawn(4, 4, tiFlag));
    EXPECT_TRUE(ClockRunningAtOne());
    EXPECT_TRUE(CounterReads(QStringLiteral("0001")));
    EXPECT_EQ(Panel(0), QStringLiteral("Flags: 1"));
    EXPECT_TRUE(FaceIs(0)) << "the right button alone shows no pressed face";

    Release(Qt::RightButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csFlagged) << "the release does not cycle again";
    EXPECT_EQ(G().FlagCount(), 1);
    ExpectFieldAsModel();
}

TEST_F(InputTest, WithUpflagOnNothingHappensUntilTheRelease)
{
    SetOption(W().miUpflag, true);
    Play(TwoBombs);
    Press(Qt::RightButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csHidden);
    EXPECT_TRUE(Drawn(4, 4, tiCovered));
    EXPECT_TRUE(ClockWaiting());
    EXPECT_TRUE(CounterReads(QStringLiteral("0002")));

    // Moving with only the right button held changes nothing; the release
    // acts on the cell under the mouse at that moment.
    Move(At(5, 5));
    EXPECT_TRUE(Drawn(4, 4, tiCovered));
    EXPECT_TRUE(Drawn(5, 5, tiCovered));
    Release(Qt::RightButton, At(5, 5));
    EXPECT_EQ(G().CellState(4, 4), csHidden);
    EXPECT_EQ(G().CellState(5, 5), csFlagged);
    EXPECT_TRUE(Drawn(5, 5, tiFlag));
    EXPECT_TRUE(ClockRunningAtOne());
    EXPECT_TRUE(CounterReads(QStringLiteral("0001")));
    EXPECT_EQ(Panel(0), QStringLiteral("Flags: 1"));
    ExpectFieldAsModel();
}

TEST_F(InputTest, WithMarksTheRightButtonCyclesHiddenFlaggedMarkedHidden)
{
    for (bool upflag : {true, false}) {
        SetOption(W().miUpflag, upflag);
        SetOption(W().miMarks, true);
        Play(TwoBombs);
        const std::pair<MineCellState, int> cycle[] {
            {csFlagged, tiFlag}, {csMarked, tiMark}, {csHidden, tiCovered}, {csFlagged, tiFlag}};
        const char *counters[] {"0001", "0002", "0002", "0001"};
        for (int i = 0; i < 4; ++i) {
            Click(Qt::RightButton, At(6, 2));
            EXPECT_EQ(G().CellState(6, 2), cycle[i].first) << "upflag " << upflag << " step " << i;
            EXPECT_TRUE(Drawn(6, 2, cycle[i].second)) << "upflag " << upflag << " step " << i;
            EXPECT_TRUE(CounterReads(QString::fromLatin1(counters[i])));
        }
    }
}

TEST_F(InputTest, WithoutMarksTheRightButtonCyclesHiddenFlaggedHidden)
{
    for (bool upflag : {true, false}) {
        SetOption(W().miUpflag, upflag);
        SetOption(W().miMarks, false);
        Play(TwoBombs);
        for (int i = 0; i < 4; ++i) {
            Click(Qt::RightButton, At(6, 2));
            const bool flagged = i % 2 == 0;
            EXPECT_EQ(G().CellState(6, 2), flagged ? csFlagged : csHidden) << i;
            EXPECT_TRUE(Drawn(6, 2, flagged ? tiFlag : tiCovered));
            EXPECT_EQ(Panel(0), flagged ? QStringLiteral("Flags: 1") : QStringLiteral("Flags: 0"));
        }
    }
}

TEST_F(InputTest, WithoutMarksAMarkedCellGoesStraightBackToHidden)
{
    SetOption(W().miMarks, true);
    Play(TwoBombs);
    Click(Qt::RightButton, At(6, 2));
    Click(Qt::RightButton, At(6, 2));
    ASSERT_EQ(G().CellState(6, 2), csMarked);
    SetOption(W().miMarks, false);
    Click(Qt::RightButton, At(6, 2));
    EXPECT_EQ(G().CellState(6, 2), csHidden);
    EXPECT_TRUE(Drawn(6, 2, tiCovered));

    // A field that starts marked.
    SetOption(W().miStartMarked, true);
    Play(TwoBombs);
    ASSERT_EQ(G().CellState(6, 2), csMarked);
    Click(Qt::RightButton, At(6, 2));
    EXPECT_EQ(G().CellState(6, 2), csHidden);
    EXPECT_TRUE(Drawn(6, 2, tiCovered));
    EXPECT_TRUE(ClockRunningAtOne()) << "clearing a mark is a change";
}

TEST_F(InputTest, RightClickInAMarginColumnOrOnACoveredWallChangesNothing)
{
    SetOption(W().miSurround, false);
    Play(TwoBombs);
    // 16 + 9 x 16 = 160 < 162: one margin column on each side.
    ASSERT_EQ(W().MarginColumns, 1);
    const int right = W().pbGame->width() - 5;
    const QPoint spots[] {QPoint(5, 40), QPoint(right, 40), At(5, 8), At(-1, 4), At(11, 4)};
    const auto before = States();
    for (bool upflag : {false, true}) {
        SetOption(W().miUpflag, upflag);
        for (QPoint p : spots) {
            Click(Qt::RightButton, p);
            EXPECT_EQ(States(), before) << p.x() << "," << p.y();
            EXPECT_TRUE(ClockWaiting());
            EXPECT_TRUE(CounterReads(QStringLiteral("0002")));
        }
    }
    EXPECT_TRUE(Drawn(0, 4, tiBackground));
    EXPECT_TRUE(Drawn(10, 4, tiBackground));
    EXPECT_TRUE(Drawn(5, 8, tiBackground));
    ExpectFieldAsModel();

    // With Surroundings the ring is the outermost drawn column: the same.
    SetOption(W().miSurround, true);
    ASSERT_EQ(W().MarginColumns, 0);
    Click(Qt::RightButton, At(0, 4));
    Click(Qt::RightButton, At(10, 10));
    EXPECT_EQ(States(), before);
    EXPECT_TRUE(ClockWaiting());
}

TEST_F(InputTest, LeftPressInAMarginShowsNoPressedLookAndOpensNothing)
{
    SetOption(W().miSurround, false);
    Play(TwoBombs);
    ASSERT_EQ(W().MarginColumns, 1);
    const auto before = States();
    Press(Qt::LeftButton, QPoint(5, 40));
    EXPECT_TRUE(Drawn(0, 3, tiBackground));
    EXPECT_TRUE(FaceIs(1));
    Release(Qt::LeftButton, QPoint(5, 40));
    EXPECT_EQ(States(), before);
    EXPECT_TRUE(ClockWaiting());
    EXPECT_TRUE(FaceIs(0));
    ExpectFieldAsModel();
}

// Chords: (first button pressed, first button released).
class ChordTest : public InputTest,
                  public ::testing::WithParamInterface<std::pair<Qt::MouseButton, Qt::MouseButton>>
{
protected:
    static Qt::MouseButton Other(Qt::MouseButton b)
    {
        return b == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
    }
};

TEST_P(ChordTest, BothButtonsOnAOneWithItsFlagOpenTheRestAndRenderTheWholeField)
{
    const auto [firstPressed, firstReleased] = GetParam();
    SetOption(W().miAuto, false);
    SetOption(W().miUpflag, true);
    Play(TwoBombs);
    Click(Qt::LeftButton, At(3, 3));
    Click(Qt::RightButton, At(2, 2));
    ASSERT_EQ(G().CellNumber(3, 3), 1);
    ASSERT_EQ(G().CellState(2, 2), csFlagged);
    Scribble(9, 9);

    Press(firstPressed, At(3, 3));
    Press(Other(firstPressed), At(3, 3));
    EXPECT_TRUE(Drawn(3, 3, tiOpen + 1));
    EXPECT_TRUE(Drawn(2, 2, tiFlag));
    for (auto [x, y] : {std::pair {3, 2}, {4, 2}, {2, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}})
        EXPECT_TRUE(Drawn(x, y, tiOpen)) << x << "," << y;
    EXPECT_TRUE(Drawn(5, 5, tiCovered)) << "outside the block";
    EXPECT_TRUE(FaceIs(1));
    EXPECT_EQ(G().FlagCount(), 1) << "no flag change from the second press";

    Release(firstReleased, At(3, 3));
    EXPECT_EQ(G().OpenedCount(), 8);
    for (auto [x, y] : {std::pair {3, 2}, {4, 2}, {2, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}})
        EXPECT_EQ(G().CellState(x, y), csOpen) << x << "," << y;
    EXPECT_FALSE(Scribbled(9, 9)) << "a chord renders the whole field";
    ExpectFieldAsModel();
    EXPECT_TRUE(FaceIs(0));
    EXPECT_TRUE(CounterReads(QStringLiteral("0001")));
    EXPECT_EQ(Panel(1), QStringLiteral("Open: 8"));

    // The second release does nothing, wherever it happens.
    const auto before = States();
    Release(Other(firstReleased), At(5, 5));
    EXPECT_EQ(States(), before);
    EXPECT_FALSE(W().LeftDown || W().RightDown || W().LeftPending || W().RightPending);
    ExpectFieldAsModel();
}

INSTANTIATE_TEST_SUITE_P(EitherOrder, ChordTest,
                         ::testing::Values(std::pair {Qt::LeftButton, Qt::LeftButton},
                                           std::pair {Qt::LeftButton, Qt::RightButton},
                                           std::pair {Qt::RightButton, Qt::LeftButton},
                                           std::pair {Qt::RightButton, Qt::RightButton}),
                         [](const auto &info) {
                             auto name = [](Qt::MouseButton b) {
                                 return b == Qt::LeftButton ? "Left" : "Right";
                             };
                             return std::string(name(info.param.first)) + "PressedFirst"
                                 + name(info.param.second) + "ReleasedFirst";
                         });

TEST_P(ChordTest, FlagsThatDoNotMatchChangeNothingAndTheBlockIsLiftedOnTheFirstRelease)
{
    const auto [firstPressed, firstReleased] = GetParam();
    SetOption(W().miAuto, false);
    SetOption(W().miUpflag, true);
    Play(TwoBombs);
    Click(Qt::LeftButton, At(3, 3));
    const auto before = States();
    Press(firstPressed, At(3, 3));
    Press(Other(firstPressed), At(3, 3));
    EXPECT_TRUE(Drawn(2, 2, tiOpen));
    EXPECT_TRUE(Drawn(4, 4, tiOpen));

    Release(firstReleased, At(3, 3));
    EXPECT_EQ(States(), before);
    for (int x = 2; x <= 4; ++x)
        for (int y = 2; y <= 4; ++y)
            EXPECT_TRUE(DrawnAsModel(x, y)) << x << "," << y;
    EXPECT_TRUE(FaceIs(0));

    // The other button's release opens or flags nothing, even on a covered cell.
    Release(Other(firstReleased), At(4, 4));
    EXPECT_EQ(States(), before);
    EXPECT_EQ(G().FlagCount(), 0);
    ExpectFieldAsModel();
}

TEST_F(InputTest, ALeftReleaseAfterTheChordChangesNothingAndLiftsThePressedLook)
{
    SetOption(W().miUpflag, true);
    Play(TwoBombs);
    Press(Qt::LeftButton, At(3, 3));
    Press(Qt::RightButton, At(3, 3));
    Release(Qt::RightButton, At(3, 3));
    Move(At(6, 6));
    EXPECT_TRUE(Drawn(6, 6, tiOpen));
    Release(Qt::LeftButton, At(6, 6));
    EXPECT_EQ(G().OpenedCount(), 0);
    EXPECT_TRUE(Drawn(6, 6, tiCovered)) << "covered, as the status bar says";
    EXPECT_EQ(Panel(1), QStringLiteral("Open: 0"));
}

// A menu, a message box or a release the field never sees: the gesture ends as
// a release outside the field would, and the next right press flags.
TEST_F(InputTest, AGestureWhoseReleaseTheFieldNeverSeesEndsOutsideTheField)
{
    SetOption(W().miUpflag, false);
    Play(TwoBombs);
    for (const bool byMenu : {true, false}) {
        SCOPED_TRACE(byMenu ? "a menu took the mouse" : "the release went elsewhere");
        Press(Qt::LeftButton, At(3, 3));
        ASSERT_TRUE(FaceIs(1));
        ReleaseElsewhere(Qt::LeftButton);
        if (byMenu) {
            W().Options1->popup(W().mapToGlobal(QPoint(0, 0)));
            W().Options1->hide();
            EXPECT_FALSE(W().LeftDown);
            EXPECT_TRUE(FaceIs(0));
            EXPECT_TRUE(Drawn(3, 3, tiCovered));
        }
        const QPoint flag = byMenu ? At(5, 5) : At(6, 5);
        Press(Qt::RightButton, flag);
        Release(Qt::RightButton, flag);
        EXPECT_EQ(G().CellState(flag.x() / 16, flag.y() / 16), csFlagged);
        EXPECT_TRUE(Drawn(3, 3, tiCovered));
        EXPECT_TRUE(Drawn(4, 4, tiCovered)) << "no 3 x 3 chord look";
        EXPECT_TRUE(FaceIs(0));
        EXPECT_EQ(G().OpenedCount(), 0);
    }
}

TEST_F(InputTest, RightThenLeftWithUpflagOffFlagsOnThePressAndStillChords)
{
    SetOption(W().miAuto, false);
    SetOption(W().miUpflag, false);
    Play(TwoBombs);
    Click(Qt::LeftButton, At(3, 3));

    Press(Qt::RightButton, At(2, 2));
    EXPECT_EQ(G().CellState(2, 2), csFlagged) << "flagged on the press";
    Press(Qt::LeftButton, At(2, 2));
    EXPECT_TRUE(Drawn(2, 2, tiFlag));
    EXPECT_TRUE(Drawn(1, 1, tiOpen));
    EXPECT_TRUE(Drawn(3, 3, tiOpen + 1));
    Move(At(3, 3));
    EXPECT_TRUE(Drawn(1, 1, tiCovered)) << "the block follows the mouse";
    EXPECT_TRUE(Drawn(4, 4, tiOpen));
    Release(Qt::LeftButton, At(3, 3));
    EXPECT_EQ(G().OpenedCount(), 8);
    EXPECT_EQ(G().CellState(4, 4), csOpen);
    Release(Qt::RightButton, At(3, 3));
    EXPECT_EQ(G().CellState(2, 2), csFlagged);
    EXPECT_EQ(G().FlagCount(), 1);
    ExpectFieldAsModel();
}

TEST_F(InputTest, RightThenLeftWithUpflagOnChangesNoFlag)
{
    SetOption(W().miAuto, false);
    SetOption(W().miUpflag, true);
    Play(TwoBombs);
    Click(Qt::LeftButton, At(3, 3));
    Click(Qt::RightButton, At(2, 2));

    // On a covered cell: neither press nor release flags it.
    Press(Qt::RightButton, At(4, 4));
    Press(Qt::LeftButton, At(4, 4));
    Release(Qt::LeftButton, At(4, 4));
    Release(Qt::RightButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csHidden);
    EXPECT_EQ(G().FlagCount(), 1);
    ExpectFieldAsModel();

    // Moved onto the 1, the release chords and opens the cell pressed first.
    Press(Qt::RightButton, At(4, 4));
    Press(Qt::LeftButton, At(4, 4));
    Move(At(3, 3));
    Release(Qt::RightButton, At(3, 3));
    EXPECT_EQ(G().CellState(4, 4), csOpen);
    EXPECT_EQ(G().FlagCount(), 1);
    Release(Qt::LeftButton, At(3, 3));
    EXPECT_EQ(G().OpenedCount(), 8);
    ExpectFieldAsModel();
}

TEST_F(InputTest, MiddleButtonAloneChangesNothing)
{
    for (bool upflag : {false, true}) {
        SetOption(W().miUpflag, upflag);
        Play(TwoBombs);
        const auto before = States();
        Press(Qt::MiddleButton, At(4, 4));
        EXPECT_FALSE(W().LeftDown || W().RightDown || W().LeftPending || W().RightPending);
        EXPECT_TRUE(Drawn(4, 4, tiCovered));
        EXPECT_TRUE(FaceIs(0));
        Release(Qt::MiddleButton, At(4, 4));
        EXPECT_EQ(States(), before);
        EXPECT_TRUE(ClockWaiting());
        EXPECT_FALSE(W().LeftDown || W().RightDown || W().LeftPending || W().RightPending);
    }
}

TEST_F(InputTest, MiddleButtonWhileLeftHeldLeavesTheLeftGestureAlone)
{
    Play(TwoBombs);
    Press(Qt::LeftButton, At(4, 4));
    Press(Qt::MiddleButton, At(4, 4));
    EXPECT_TRUE(W().LeftDown && W().LeftPending);
    EXPECT_TRUE(Drawn(4, 4, tiOpen));
    EXPECT_TRUE(FaceIs(1));
    Release(Qt::MiddleButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csHidden);
    EXPECT_TRUE(W().LeftDown && W().LeftPending);
    EXPECT_TRUE(Drawn(4, 4, 0)) << "still pressed";
    EXPECT_TRUE(FaceIs(0)) << "every release on a running game shows the normal face";
    Release(Qt::LeftButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csOpen);
    EXPECT_TRUE(ClockRunningAtOne());
}

TEST_F(InputTest, MiddleReleaseWhileBothHeldMakesTheChord)
{
    SetOption(W().miAuto, false);
    Play(TwoBombs);
    Click(Qt::LeftButton, At(3, 3));
    Click(Qt::RightButton, At(2, 2));
    Press(Qt::LeftButton, At(3, 3));
    Press(Qt::RightButton, At(3, 3));
    Click(Qt::MiddleButton, At(3, 3));
    EXPECT_EQ(G().OpenedCount(), 8);
    ExpectFieldAsModel();
    EXPECT_TRUE(W().LeftDown && W().RightDown);
    const auto after = States();
    Release(Qt::LeftButton, At(3, 3));
    Release(Qt::RightButton, At(3, 3));
    EXPECT_EQ(States(), after);
    ExpectFieldAsModel();
}

TEST_F(InputTest, MiddlePressWhileRightHeldRunsTheRightPressStepsAgain)
{
    // The middle press runs the press steps with the state the right press
    // left: with Upflag off that is one more turn of the flag cycle.
    SetOption(W().miUpflag, false);
    SetOption(W().miMarks, true);
    Play(TwoBombs);
    Press(Qt::RightButton, At(4, 4));
    ASSERT_EQ(G().CellState(4, 4), csFlagged);
    Press(Qt::MiddleButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csMarked);
    EXPECT_TRUE(Drawn(4, 4, tiMark));
    Release(Qt::MiddleButton, At(4, 4));
    Release(Qt::RightButton, At(4, 4));
    EXPECT_EQ(G().CellState(4, 4), csMarked);
}

TEST_F(InputTest, WithAutoOpenAZeroFloodsAndTheWholeFieldIsRendered)
{
    SetOption(W().miAuto, true);
    Play(Split);
    Scribble(8, 5);
    Click(Qt::LeftButton, At(1, 5));
    EXPECT_EQ(G().OpenedCount(), 27);
    EXPECT_EQ(G().CellState(3, 9), csOpen);
    EXPECT_EQ(G().CellState(5, 5), csHidden);
    EXPECT_FALSE(Scribbled(8, 5));
    ExpectFieldAsModel();
    EXPECT_EQ(Panel(1), QStringLiteral("Open: 27"));
    EXPECT_TRUE(ClockRunningAtOne());
}

TEST_F(InputTest, WithoutAutoOpenAZeroOpensAndDrawsOnlyThatCell)
{
    SetOption(W().miAuto, false);
    Play(Split);
    Scribble(8, 5);
    Click(Qt::LeftButton, At(1, 5));
    EXPECT_EQ(G().OpenedCount(), 1);
    EXPECT_TRUE(Drawn(1, 5, tiOpen));
    EXPECT_TRUE(Scribbled(8, 5)) << "only the opened cell is drawn";
}

TEST_F(InputTest, WithAutoOpenANumberDrawsOnlyThatCell)
{
    SetOption(W().miAuto, true);
    Play(Split);
    Scribble(8, 5);
    Click(Qt::LeftButton, At(3, 5));
    EXPECT_EQ(G().OpenedCount(), 1);
    EXPECT_TRUE(Drawn(3, 5, tiOpen + 3));
    EXPECT_TRUE(Scribbled(8, 5));
}

TEST_F(InputTest, AutoOpenTurnedOnInARunningGameFloodsTheNextZero)
{
    SetOption(W().miAuto, false);
    Play(Split);
    Click(Qt::LeftButton, At(1, 1));
    EXPECT_EQ(G().OpenedCount(), 1);
    SetOption(W().miAuto, true);
    EXPECT_TRUE(W().Game->FAutoOpen);
    Click(Qt::LeftButton, At(1, 8));
    EXPECT_EQ(G().OpenedCount(), 27);
    ExpectFieldAsModel();
}

TEST_F(InputTest, ABombHitWithShieldsLeftKeepsTheGameRunning)
{
    Play(TwoBombs);
    W().miFixed3->trigger();
    ASSERT_TRUE(W().miFixed3->isChecked());
    Click(Qt::LeftButton, At(2, 2));
    EXPECT_EQ(G().ExplodedCount(), 1);
    EXPECT_FALSE(G().IsFinished());
    EXPECT_TRUE(ClockRunningAtOne());
    EXPECT_TRUE(FaceIs(0));
    EXPECT_TRUE(Drawn(2, 2, tiHitBomb));
    EXPECT_TRUE(Drawn(7, 6, tiCovered)) << "the other bomb stays covered";
    EXPECT_TRUE(CounterReads(QStringLiteral("0001")));
    EXPECT_EQ(Panel(1), QStringLiteral("Open: 1"));
    ExpectFieldAsModel();

    // Play goes on.
    Click(Qt::LeftButton, At(3, 3));
    EXPECT_EQ(G().CellState(3, 3), csOpen);
}

TEST_F(InputTest, TheHitThatUsesUpTheShieldsStopsTheClockRevealsTheFieldAndShowsTheLostFace)
{
    SetOption(W().miUpflag, true);
    Play(Split);
    W().miFixed2->trigger();
    Click(Qt::RightButton, At(4, 1)); // right
    Click(Qt::RightButton, At(1, 1)); // wrong
    Click(Qt::LeftButton, At(4, 5));
    ASSERT_FALSE(G().IsFinished());
    EXPECT_TRUE(FaceIs(0));
    Scribble(8, 8);
    Click(Qt::LeftButton, At(4, 6));
    ASSERT_TRUE(G().IsLost());
    EXPECT_TRUE(ClockStoppedAtOne());
    EXPECT_TRUE(FaceIs(2));
    EXPECT_FALSE(Scribbled(8, 8));
    EXPECT_TRUE(Drawn(4, 5, tiHitBomb));
    EXPECT_TRUE(Drawn(4, 6, tiHitBomb));
    EXPECT_TRUE(Drawn(4, 1, tiRightFlag));
    EXPECT_TRUE(Drawn(1, 1, tiWrongFlag));
    EXPECT_TRUE(Drawn(4, 2, tiLostBomb));
    EXPECT_TRUE(Drawn(3, 3, tiCovered + 3));
    ExpectFieldAsModel();
    // 9 bombs - 2 flags - 2 hits + 1 wrong flag.
    EXPECT_TRUE(CounterReads(QStringLiteral("0006")));
    EXPECT_EQ(Panel(0), QStringLiteral("Flags: 2"));
    EXPECT_EQ(Panel(1), QStringLiteral("Open: 2"));
}

TEST_F(InputTest, AGameLostByItsFirstClickShowsOneSecond)
{
    Play(TwoBombs);
    ASSERT_TRUE(W().miSingle->isChecked());
    Click(Qt::LeftButton, At(7, 6));
    EXPECT_TRUE(G().IsLost());
    EXPECT_TRUE(ClockStoppedAtOne());
    EXPECT_TRUE(FaceIs(2));
    ExpectFieldAsModel();
}

TEST_F(InputTest, OpeningTheLastPlainCellStopsTheClockZeroesTheCounterAndShowsTheWonFace)
{
    Play(TwoPlain);
    EXPECT_TRUE(CounterReads(QStringLiteral("0007")));
    Click(Qt::LeftButton, At(2, 1));
    ASSERT_FALSE(G().IsFinished());
    EXPECT_TRUE(FaceIs(0));
    Click(Qt::LeftButton, At(2, 3));
    ASSERT_TRUE(G().IsWon());
    EXPECT_TRUE(ClockStoppedAtOne());
    EXPECT_TRUE(CounterReads(QStringLiteral("0000")));
    EXPECT_TRUE(FaceIs(3));
    EXPECT_TRUE(Drawn(1, 1, tiWonBomb));
    ExpectFieldAsModel();
    EXPECT_EQ(Panel(2), QStringLiteral("Known: 100%"));
}

TEST_F(InputTest, AfterTheEndPressesAndReleasesChangeNothing)
{
    Play(TwoPlain);
    Click(Qt::LeftButton, At(2, 1));
    Click(Qt::LeftButton, At(2, 3));
    ASSERT_TRUE(G().IsWon());
    const auto before = States();
    const QImage field = W().FieldBitmap.copy();
    for (bool upflag : {false, true}) {
        SetOption(W().miUpflag, upflag);
        Press(Qt::LeftButton, At(1, 1));
        EXPECT_FALSE(W().LeftDown) << "a press on a finished game is ignored";
        EXPECT_TRUE(FaceIs(3));
        Move(At(2, 2));
        Release(Qt::LeftButton, At(2, 2));
        Click(Qt::RightButton, At(3, 3));
        Press(Qt::LeftButton, At(2, 1));
        Press(Qt::RightButton, At(2, 1));
        Release(Qt::LeftButton, At(2, 1));
        Release(Qt::RightButton, At(2, 1));
        Click(Qt::MiddleButton, At(2, 2));
    }
    EXPECT_EQ(States(), before);
    EXPECT_EQ(W().FieldBitmap, field);
    EXPECT_TRUE(FaceIs(3));
    EXPECT_TRUE(ClockStoppedAtOne());
    EXPECT_TRUE(CounterReads(QStringLiteral("0000")));
}

TEST_F(InputTest, ReleasesAfterTheEndStillKeepTheButtonState)
{
    // The middle release makes the chord that wins while both buttons are held.
    SetOption(W().miAuto, false);
    Play(OneRow);
    Click(Qt::LeftButton, At(2, 1));
    Click(Qt::RightButton, At(1, 1));
    Press(Qt::LeftButton, At(2, 1));
    Press(Qt::RightButton, At(2, 1));
    Click(Qt::MiddleButton, At(2, 1));
    ASSERT_TRUE(G().IsWon());
    EXPECT_TRUE(FaceIs(3));
    ASSERT_TRUE(W().LeftDown && W().RightDown);

    Release(Qt::LeftButton, At(2, 1));
    EXPECT_FALSE(W().LeftDown);
    EXPECT_FALSE(W().LeftPending);
    EXPECT_TRUE(W().RightDown);
    EXPECT_FALSE(W().RightPending);
    Release(Qt::RightButton, At(2, 1));
    EXPECT_FALSE(W().RightDown);
    EXPECT_TRUE(FaceIs(3));
}

class KeyTest : public InputTest, public ::testing::WithParamInterface<Qt::KeyboardModifiers>
{ };

TEST_P(KeyTest, F2StartsANewGameWhereverTheFocusIs)
{
    const Qt::KeyboardModifiers modifiers = GetParam();
    QWidget *const targets[] {W().pbGame, W().sbInfo,          W().spbNew,
                              W().pMain,  W().centralWidget(), &W()};
    for (QWidget *target : targets) {
        Play(Split);
        Click(Qt::LeftButton, At(4, 5));
        ASSERT_TRUE(G().IsLost());
        QTest::keyClick(target, Qt::Key_F2, modifiers);
        EXPECT_FALSE(G().IsFinished()) << target->metaObject()->className();
        EXPECT_EQ(G().OpenedCount(), 0);
        EXPECT_TRUE(ClockWaiting());
        EXPECT_TRUE(FaceIs(0));
        ExpectFieldAsModel();
        // The new game takes clicks again.
        Click(Qt::RightButton, At(4, 4));
        EXPECT_EQ(G().FlagCount(), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Modifiers, KeyTest,
                         ::testing::Values(Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier),
                         [](const auto &info) {
                             return info.param == Qt::NoModifier   ? std::string("Plain")
                                 : info.param == Qt::ShiftModifier ? std::string("Shift")
                                                                   : std::string("Ctrl");
                         });

TEST_F(InputTest, EveryKeyDownOfAHeldF2StartsANewGame)
{
    // A held key sends repeated key-downs: each starts a game.
    Play(Split);
    Click(Qt::LeftButton, At(1, 1));
    ASSERT_EQ(G().OpenedCount(), 27);
    W().SetRandomSource(PictureRandom(Split));
    QTest::keyPress(W().pbGame, Qt::Key_F2);
    EXPECT_EQ(G().OpenedCount(), 0);
    for (int i = 0; i < 3; ++i) {
        Click(Qt::LeftButton, At(1, 1));
        ASSERT_EQ(G().OpenedCount(), 27);
        W().SetRandomSource(PictureRandom(Split));
        QKeyEvent repeated(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(W().pbGame, &repeated);
        EXPECT_EQ(G().OpenedCount(), 0) << "repeat " << i;
        EXPECT_TRUE(ClockWaiting());
    }
    QTest::keyRelease(W().pbGame, Qt::Key_F2);
    W().SetRandomSource({});
}

TEST_F(InputTest, OtherKeysStartNoGame)
{
    Play(TwoBombs);
    Click(Qt::LeftButton, At(3, 3));
    for (Qt::Key key : {Qt::Key_F1, Qt::Key_F3, Qt::Key_N, Qt::Key_Space, Qt::Key_Return})
        QTest::keyClick(W().pbGame, key);
    EXPECT_EQ(G().CellState(3, 3), csOpen);
    EXPECT_TRUE(ClockRunningAtOne());
}

TEST_F(InputTest, F2WhileTheLeftButtonIsHeldKeepsTheGestureForTheNewGame)
{
    // A new game does not reset the button state: the release opens a cell
    // of the new field.
    SetOption(W().miAuto, false);
    Play(Split);
    Press(Qt::LeftButton, At(6, 4));
    W().SetRandomSource(PictureRandom(Split));
    QTest::keyClick(W().pbGame, Qt::Key_F2);
    W().SetRandomSource({});
    EXPECT_TRUE(W().LeftDown && W().LeftPending);
    Release(Qt::LeftButton, At(6, 4));
    EXPECT_EQ(G().CellState(6, 4), csOpen);
    EXPECT_EQ(G().OpenedCount(), 1);
    EXPECT_TRUE(ClockRunningAtOne());
}

TEST_F(InputTest, PositionsLeftOfOrAboveTheBoxTruncateToTheFirstDrawnCell)
{
    SetOption(W().miAuto, false);
    SetOption(W().miSurround, false);
    Play(Wide);
    ASSERT_EQ(W().MarginColumns, 0);
    ASSERT_EQ(At(1, 1), QPoint(8, 8));

    Press(Qt::LeftButton, QPoint(-3, 5));
    EXPECT_EQ(W().PressedX, 1);
    EXPECT_EQ(W().PressedY, 1);
    EXPECT_TRUE(Drawn(1, 1, tiOpen));
    Release(Qt::LeftButton, QPoint(-3, 5));
    EXPECT_EQ(G().CellState(1, 1), csOpen);

    // Presses inside, dragged out to the left and above.
    Press(Qt::LeftButton, At(3, 3));
    Move(QPoint(-15, 40));
    EXPECT_TRUE(Drawn(3, 3, tiCovered));
    EXPECT_TRUE(Drawn(1, 3, tiOpen));
    Release(Qt::LeftButton, QPoint(-15, 40));
    EXPECT_EQ(G().CellState(1, 3), csOpen);

    Press(Qt::LeftButton, At(3, 3));
    Move(QPoint(40, -15));
    EXPECT_TRUE(Drawn(3, 1, tiOpen));
    Release(Qt::LeftButton, QPoint(40, -15));
    EXPECT_EQ(G().CellState(3, 1), csOpen);
    EXPECT_EQ(G().OpenedCount(), 3);

    // A whole tile out maps to the hidden ring: nothing.
    Press(Qt::LeftButton, QPoint(-17, 40));
    EXPECT_EQ(W().PressedX, 0);
    Release(Qt::LeftButton, QPoint(-17, 40));
    EXPECT_EQ(G().OpenedCount(), 3);
    ExpectFieldAsModel();
}

TEST_F(InputTest, WithoutSurroundingsAndWithoutMarginTheTopLeftCornerIsCellOneOne)
{
    SetOption(W().miSurround, false);
    Play(Wide);
    ASSERT_EQ(W().MarginColumns, 0);
    Click(Qt::RightButton, QPoint(1, 1));
    EXPECT_EQ(G().CellState(1, 1), csFlagged);
    EXPECT_TRUE(Drawn(1, 1, tiFlag));
}
