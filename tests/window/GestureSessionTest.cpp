// SPDX-License-Identifier: GPL-3.0-or-later
// A long random session of presses, moves and releases of all three buttons,
// anywhere on or around the field, with options toggled and new games started
// on the way. The test feeds the same events to a gesture of its own and keeps
// its own account of what follows (the cells drawn pressed, face, clock); after
// every event it compares the window with it: the button state, every drawn
// tile against the tile rules applied to the model, the face, the counter, the
// clock and the status bar.
#include "InputTestSupport.h"
#include "TestPictures.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <chrono>
#include <cstring>
#include <random>
#include <set>
#include <sstream>

using namespace korvane::test;

namespace {

using Cell = std::pair<int, int>;

// What the window should hold, worked out from the events sent to it.
struct Expected
{
    korvane::Gesture gesture;
    // Positions drawn with the pressed look since they were last drawn plainly.
    std::set<Cell> pressed;
    int face = 0;
    // The game has changed through play: the clock has started.
    bool started = false;
    int digits = 4;
};

} // namespace

class GestureSessionTest : public WindowTest
{
protected:
    TfrmKorvane &W() { return *FWindow; }
    const MineGame &G() const { return *FWindow->Game; }
    bool Surround() const { return FWindow->miSurround->isChecked(); }
    int Shift() const { return Surround() ? 0 : 1; }

    int Random(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRng); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(FRng); }

    std::vector<std::string> RandomPicture()
    {
        const int width = Random(4, 16);
        const int height = Random(4, 12);
        const double bombs = Random(0, 20) / 100.0;
        const double walls = Random(0, 10) / 100.0;
        std::vector<std::string> picture(height, std::string(width, '#'));
        for (int y = 1; y < height - 1; ++y)
            for (int x = 1; x < width - 1; ++x)
                picture[y][x] = Chance(bombs) ? '*' : Chance(walls) ? 'W' : '.';
        // At least one bomb and one plain cell: the game is not over before it starts.
        picture[1][Random(1, width - 2)] = '*';
        picture[2][Random(1, width - 2)] = '.';
        return picture;
    }

    void NewRound()
    {
        if (Chance(0.3)) {
            // Switch between the built-in skin and the small one.
            if (W().CellWidth == 16)
                ASSERT_TRUE(W().LoadSkin(QStringLiteral("Distinct")));
            else
                W().LoadDefaultSkin();
            CacheTiles();
        }
        if (Chance(0.3))
            W().miSurround->trigger();
        if (Chance(0.2))
            W().miStartMarked->trigger();
        QAction *const shields[] {W().miSingle,  W().miFixed2,  W().miFixed3,
                                  W().miMaximum, W().miMaximum, W().miPercentage20};
        shields[Random(0, 5)]->trigger();
        Play(RandomPicture());
        W().SetRandomSource(FFieldRandom);
        ExpectNewGame();
    }

    void ExpectNewGame()
    {
        FExpected.pressed.clear();
        FExpected.face = 0;
        FExpected.started = false;
        FExpected.digits = std::max<int>(4, QString::number(G().BombsLeft()).size());
        FLog.str({});
    }

    void CacheTiles()
    {
        FTiles.clear();
        for (int i = 0; i < 44; ++i)
            FTiles.push_back(Tile(i).convertToFormat(QImage::Format_RGB32));
    }

    // A point on or around the field: mostly the centre of a cell of the
    // grid, sometimes any drawn cell, any pixel, or a point well outside the
    // box, negative positions included.
    QPoint RandomPoint()
    {
        const QSize box = W().pbGame->size();
        const int cw = W().CellWidth;
        const int ch = W().CellHeight;
        const int kind = Random(0, 19);
        if (kind < 12) {
            const int x = Random(1, G().FWidth - 2) + W().MarginColumns - Shift();
            const int y = Random(1, G().FHeight - 2) - Shift();
            return {x * cw + Random(0, cw - 1), y * ch + Random(0, ch - 1)};
        }
        if (kind < 15) {
            return {Random(0, box.width() / cw - 1) * cw + cw / 2,
                    Random(0, box.height() / ch - 1) * ch + ch / 2};
        }
        if (kind < 17)
            return {Random(0, box.width() - 1), Random(0, box.height() - 1)};
        return {Random(-3 * cw - 20, box.width() + 3 * cw + 20),
                Random(-3 * ch - 20, box.height() + 3 * ch + 20)};
    }

    Cell ToCell(QPoint p) const
    {
        return {PixelToCell(p.x(), FWindow->CellWidth) - FWindow->MarginColumns + Shift(),
                PixelToCell(p.y(), FWindow->CellHeight) + Shift()};
    }

    static std::vector<Cell> Block(Cell c)
    {
        std::vector<Cell> block;
        for (int i = -1; i <= 1; ++i)
            for (int j = -1; j <= 1; ++j)
                block.push_back({c.first + i, c.second + j});
        return block;
    }
    void DrawnPlain(const std::vector<Cell> &cells)
    {
        for (const Cell &c : cells)
            FExpected.pressed.erase(c);
    }
    void DrawnPressed(const std::vector<Cell> &cells)
    {
        FExpected.pressed.insert(cells.begin(), cells.end());
    }
    void Drawn(const std::vector<korvane::GestureDraw> &draws)
    {
        for (const korvane::GestureDraw &d : draws) {
            const Cell c {d.At.x(), d.At.y()};
            const std::vector<Cell> cells = d.Block ? Block(c) : std::vector {c};
            d.Pressed ? DrawnPressed(cells) : DrawnPlain(cells);
        }
    }

    std::vector<MineCellState> States() const
    {
        std::vector<MineCellState> states;
        for (int x = 0; x < G().FWidth; ++x)
            for (int y = 0; y < G().FHeight; ++y)
                states.push_back(G().CellState(x, y));
        return states;
    }

    static bool Covered(MineCellState st) { return st == csHidden || st == csMarked; }

    bool OpenWouldChange(Cell c) const
    {
        return G().Inside(c.first, c.second) && Covered(G().CellState(c.first, c.second))
            && G().CellContent(c.first, c.second) != ccWall;
    }
    bool ChordWouldChange(Cell c) const
    {
        const auto [x, y] = c;
        if (G().CellState(x, y) != csOpen || G().CellNumber(x, y) != G().KnownAround(x, y))
            return false;
        for (const Cell &n : Block(c))
            if (n != c && G().Inside(n.first, n.second)
                && Covered(G().CellState(n.first, n.second)))
                return true;
        return false;
    }
    // The state the right-button cycle leaves, or the same state when it refuses.
    MineCellState CycleResult(Cell c) const
    {
        const auto [x, y] = c;
        switch (G().CellState(x, y)) {
        case csHidden:
            return G().Inside(x, y) && G().CellContent(x, y) != ccWall ? csFlagged : csHidden;
        case csFlagged:
            return FWindow->miMarks->isChecked() ? csMarked : csHidden;
        case csMarked:
            return csHidden;
        case csOpen:
            break;
        }
        return csOpen;
    }

    Qt::MouseButtons Held() const
    {
        Qt::MouseButtons held;
        if (FLeft)
            held |= Qt::LeftButton;
        if (FRight)
            held |= Qt::RightButton;
        if (FMiddle)
            held |= Qt::MiddleButton;
        return held;
    }
    bool &HeldFlag(Qt::MouseButton b)
    {
        return b == Qt::LeftButton ? FLeft : b == Qt::RightButton ? FRight : FMiddle;
    }

    void Send(QEvent::Type type, Qt::MouseButton button, QPoint p)
    {
        QWidget *box = W().pbGame;
        QMouseEvent event(type, QPointF(p), QPointF(box->mapToGlobal(p)), button, Held(),
                          Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    }

    void Press(Qt::MouseButton button, QPoint p)
    {
        FLog << "press " << button << " at " << p.x() << "," << p.y() << "; ";
        Expected &e = FExpected;
        const bool finished = G().IsFinished();
        const Cell c = ToCell(p);
        const MineCellState cycled = CycleResult(c);
        const MineCellState stateBefore = G().CellState(c.first, c.second);
        const korvane::GestureStep step
            = e.gesture.Press(button, {c.first, c.second}, finished, W().miUpflag->isChecked());
        HeldFlag(button) = true;
        Send(QEvent::MouseButtonPress, button, p);
        Drawn(step.Draws);
        if (step.PressedFace)
            e.face = 1;
        if (step.Action == korvane::gaCycleFlag) {
            // The flag cycle on the press: a changed cell is drawn plainly.
            EXPECT_EQ(G().CellState(c.first, c.second), cycled) << FLog.str();
            if (cycled != stateBefore) {
                e.started = true;
                DrawnPlain({c});
            }
        }
    }

    void Move(QPoint p)
    {
        FLog << "move to " << p.x() << "," << p.y() << "; ";
        Expected &e = FExpected;
        const bool finished = G().IsFinished();
        const Cell c = ToCell(p);
        Send(QEvent::MouseMove, Qt::NoButton, p);
        Drawn(e.gesture.Move({c.first, c.second}, finished).Draws);
    }

    void Release(Qt::MouseButton button, QPoint p)
    {
        FLog << "release " << button << " at " << p.x() << "," << p.y() << "; ";
        Expected &e = FExpected;
        const bool finished = G().IsFinished();
        const Cell c = ToCell(p);
        const auto [x, y] = c;
        const korvane::GestureStep step = e.gesture.Release(
            button, {x, y}, finished, W().miUpflag->isChecked(), G().CellState(x, y) == csFlagged);
        enum { None, Open, Chord, Cycle } action = None;
        if (step.Action == korvane::gaOpen)
            action = Open;
        else if (step.Action == korvane::gaChord)
            action = Chord;
        else if (step.Action == korvane::gaCycleFlag)
            action = Cycle;
        const bool changes = action == Open ? OpenWouldChange(c)
            : action == Chord               ? ChordWouldChange(c)
            : action == Cycle               ? CycleResult(c) != G().CellState(x, y)
                                            : false;
        const MineCellState cycled = CycleResult(c);
        std::vector<Cell> chordTargets;
        for (const Cell &n : Block(c))
            if (n != c && OpenWouldChange(n))
                chordTargets.push_back(n);
        const auto before = States();

        HeldFlag(button) = false;
        Send(QEvent::MouseButtonRelease, button, p);

        if (!finished) {
            if (!changes) {
                EXPECT_EQ(States(), before) << FLog.str();
            } else if (action == Open) {
                EXPECT_EQ(G().CellState(x, y), csOpen) << FLog.str();
            } else if (action == Cycle) {
                EXPECT_EQ(G().CellState(x, y), cycled) << FLog.str();
            } else if (!G().IsFinished()) {
                for (const Cell &n : chordTargets)
                    EXPECT_EQ(G().CellState(n.first, n.second), csOpen) << FLog.str();
            }
            if (changes) {
                ++FActions[action];
                e.started = true;
                if (action == Chord || (G().CellNumber(x, y) == 0 && G().FAutoOpen))
                    e.pressed.clear();
                else
                    DrawnPlain({c});
            } else {
                Drawn(step.Lifts);
            }
            if (G().IsFinished()) {
                ++FActions[G().IsWon() ? 4 : 5];
                e.pressed.clear();
                e.face = G().IsWon() ? 3 : 2;
            } else {
                e.face = 0;
            }
        }
    }

    void PressF2()
    {
        FLog << "F2; ";
        QWidget *const targets[] {W().pbGame, W().sbInfo, W().centralWidget(), &W()};
        QWidget *target = targets[Random(0, 3)];
        const Qt::KeyboardModifiers modifiers[] {Qt::NoModifier, Qt::ShiftModifier,
                                                 Qt::ControlModifier};
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, modifiers[Random(0, 2)]);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_F2, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
        ExpectNewGame();
    }

    void ToggleOption()
    {
        QAction *const options[] {W().miUpflag, W().miMarks, W().miAuto, W().miSurround};
        QAction *option = options[Random(0, 3)];
        FLog << option->text().toStdString() << "; ";
        option->trigger();
        if (option == W().miSurround)
            FExpected.pressed.clear();
    }

    // Everything the player can see, against the model and the account above.
    void Check()
    {
        const TfrmKorvane &w = *FWindow;
        const Expected &e = FExpected;
        ASSERT_EQ(w.LeftDown, e.gesture.LeftDown) << FLog.str();
        ASSERT_EQ(w.RightDown, e.gesture.RightDown) << FLog.str();
        ASSERT_EQ(w.LeftPending, e.gesture.LeftPending) << FLog.str();
        ASSERT_EQ(w.RightPending, e.gesture.RightPending) << FLog.str();
        ASSERT_EQ(w.PressedX, e.gesture.PressedX) << FLog.str();
        ASSERT_EQ(w.PressedY, e.gesture.PressedY) << FLog.str();
        ASSERT_EQ(w.Game->FAutoOpen, w.miAuto->isChecked());

        const int s = Shift();
        const int m = w.MarginColumns;
        const int cw = w.CellWidth;
        const int ch = w.CellHeight;
        ASSERT_EQ(w.FieldBitmap.format(), QImage::Format_RGB32);
        for (int x = s - m; x <= G().FWidth - 1 - s + m; ++x) {
            for (int y = s; y <= G().FHeight - 1 - s; ++y) {
                const bool pressed = e.pressed.count({x, y}) > 0;
                const int tile = pressed ? ExpectedPressedTile(G(), s == 0, x, y)
                                         : ExpectedTile(G(), s == 0, x, y);
                const QImage &want = FTiles[tile];
                for (int r = 0; r < ch; ++r) {
                    const auto *drawn = reinterpret_cast<const QRgb *>(
                                            w.FieldBitmap.constScanLine((y - s) * ch + r))
                        + (x + m - s) * cw;
                    if (std::memcmp(drawn, want.constScanLine(r), sizeof(QRgb) * cw) != 0) {
                        FAIL() << "cell (" << x << ", " << y << ") is not tile " << tile
                               << (pressed ? " (pressed)" : "") << " after " << FLog.str();
                    }
                }
            }
        }

        ASSERT_EQ(w.spbNew->Glyph(), FFaces[e.face])
            << "face " << e.face << " after " << FLog.str();
        ASSERT_EQ(w.DisplayDigits, e.digits);
        ASSERT_TRUE(CounterShows(w, CounterText(G().BombsLeft(), e.digits))) << FLog.str();
        ASSERT_EQ(w.timSecond.isActive(), e.started && !G().IsFinished()) << FLog.str();
        if (e.started)
            ASSERT_GE(w.ElapsedSeconds, 1);
        else
            ASSERT_EQ(w.ElapsedSeconds, 0);
        ASSERT_EQ(w.sbInfo->PanelText(0), QStringLiteral("Flags: %1").arg(G().FlagCount()));
        ASSERT_EQ(w.sbInfo->PanelText(1), QStringLiteral("Open: %1").arg(G().OpenedCount()));
    }

    std::mt19937 FRng;
    MineRandom FFieldRandom;
    Expected FExpected;
    std::vector<QImage> FTiles;
    QImage FFaces[4];
    bool FLeft = false;
    bool FRight = false;
    bool FMiddle = false;
    std::ostringstream FLog;
    // Releases that opened, chorded, cycled; games won and lost.
    int FActions[6] {};
};

TEST_F(GestureSessionTest, RandomGesturesKeepWhatIsShownTrueToTheModel)
{
    using namespace std::chrono_literals;
    const unsigned seed = 20260611;
    FRng.seed(seed);
    auto fieldRng = std::make_shared<std::mt19937>(seed + 1);
    FFieldRandom = [fieldRng](std::int32_t n) {
        return std::uniform_int_distribution<std::int32_t>(0, n - 1)(*fieldRng);
    };
    WriteImage(QStringLiteral("Skins"), QStringLiteral("Distinct.png"), MakeSkin(3, 2));
    Open();
    for (int i = 0; i < 4; ++i)
        FFaces[i] = ExpectedFace(W(), i);
    CacheTiles();
    NewRound();
    Check();

    // Bounded by time as well as by count, so that a sanitizer build stays quick.
    const auto start = std::chrono::steady_clock::now();
    const Qt::MouseButton buttons[] {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
    int events = 0;
    int games = 1;
    while (events < 60000 && std::chrono::steady_clock::now() - start < 3s) {
        const int roll = Random(0, 999);
        if (roll < 2 && Held() == Qt::NoButton) {
            NewRound();
            ++games;
        } else if (roll < 4 || (G().IsFinished() && roll < 60)) {
            PressF2();
            ++games;
        } else if (roll < 40) {
            ToggleOption();
        } else if (roll < 45) {
            QAction *const shields[] {W().miSingle, W().miFixed3, W().miMaximum};
            shields[Random(0, 2)]->trigger();
        } else if (roll < 50) {
            QCoreApplication::processEvents();
        } else {
            const int pick = Random(0, 9);
            const Qt::MouseButton button = buttons[pick < 5 ? 0 : pick < 8 ? 1 : 2];
            const int kind = Random(0, 9);
            if (kind < 3) {
                Move(RandomPoint());
            } else if (HeldFlag(button)) {
                Release(button, RandomPoint());
            } else {
                Press(button, RandomPoint());
            }
        }
        ++events;
        Check();
        if (HasFailure())
            return;
    }
    for (Qt::MouseButton button : buttons) {
        if (HeldFlag(button)) {
            Release(button, RandomPoint());
            Check();
        }
    }
    RecordProperty("events", events);
    RecordProperty("games", games);
    RecordProperty("opens", FActions[1]);
    RecordProperty("chords", FActions[2]);
    RecordProperty("cycles", FActions[3]);
    RecordProperty("won", FActions[4]);
    RecordProperty("lost", FActions[5]);
    EXPECT_GT(events, 500);
}
