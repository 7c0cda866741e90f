// SPDX-License-Identifier: GPL-3.0-or-later
// The gesture without a window: sequences of presses, moves and releases, and
// what the last of them asks to draw and to play, with the buttons after it.
#include "Gesture.h"

#include <gtest/gtest.h>

#include <string>

using namespace korvane;

namespace {

constexpr auto L = Qt::LeftButton;
constexpr auto R = Qt::RightButton;
constexpr auto M = Qt::MiddleButton;

struct Event
{
    char Kind; // 'p'ress, 'm'ove, 'r'elease
    Qt::MouseButton Button;
    QPoint Cell;
    bool Upflag = true;
    bool Flagged = false;
    bool Finished = false;
};

GestureDraw Pressed(int x, int y, bool block = false)
{
    return {{x, y}, block, true};
}
GestureDraw Lifted(int x, int y, bool block = false)
{
    return {{x, y}, block, false};
}

std::string Buttons(const Gesture &g)
{
    return std::string(g.LeftDown ? "L" : "") + (g.RightDown ? "R" : "")
        + (g.LeftPending ? "l" : "") + (g.RightPending ? "r" : "");
}

} // namespace

TEST(GestureTest, EventSequences)
{
    const struct
    {
        const char *Name;
        std::vector<Event> Events;
        GestureStep Last;
        // After the last event: L, R for the buttons down, l, r for those pending.
        const char *Buttons;
    } cases[] {
        {"left press", {{'p', L, {4, 4}}}, {gaNone, {Pressed(4, 4)}, {}, true}, "Ll"},
        {"left press, move",
         {{'p', L, {4, 4}}, {'m', L, {5, 4}}},
         {gaNone, {Lifted(4, 4), Pressed(5, 4)}, {}, false},
         "Ll"},
        {"left press, move onto the same cell", {{'p', L, {4, 4}}, {'m', L, {4, 4}}}, {}, "Ll"},
        {"left click opens",
         {{'p', L, {4, 4}}, {'r', L, {5, 4}}},
         {gaOpen, {}, {Lifted(4, 4)}, false},
         ""},
        {"left click on a flag",
         {{'p', L, {4, 4}}, {'r', L, {4, 4}, true, true}},
         {gaNone, {}, {Lifted(4, 4)}, false},
         ""},
        {"right press, Upflag off", {{'p', R, {4, 4}, false}}, {gaCycleFlag, {}, {}, false}, "Rr"},
        {"right press, Upflag on", {{'p', R, {4, 4}}}, {}, "Rr"},
        {"right click, Upflag on",
         {{'p', R, {4, 4}}, {'r', R, {3, 4}}},
         {gaCycleFlag, {}, {}, false},
         ""},
        {"right click, Upflag off", {{'p', R, {4, 4}, false}, {'r', R, {4, 4}, false}}, {}, ""},
        {"right then left press",
         {{'p', R, {4, 4}}, {'p', L, {4, 4}}},
         {gaNone, {Pressed(4, 4, true)}, {}, true},
         "LRl"},
        {"both held, move",
         {{'p', L, {4, 4}}, {'p', R, {4, 4}}, {'m', L, {5, 5}}},
         {gaNone, {Lifted(4, 4, true), Pressed(5, 5, true)}, {}, false},
         "LRr"},
        {"both held, right release chords",
         {{'p', L, {4, 4}}, {'p', R, {4, 4}}, {'m', L, {5, 5}}, {'r', R, {6, 5}}},
         {gaChord, {}, {Lifted(6, 5, true), Lifted(5, 5, true)}, false},
         "L"},
        {"after the chord, the left release does nothing",
         {{'p', L, {4, 4}}, {'p', R, {4, 4}}, {'r', R, {4, 4}}, {'r', L, {4, 4}}},
         {gaNone, {}, {Lifted(4, 4)}, false},
         ""},
        {"middle press while left held",
         {{'p', L, {4, 4}}, {'p', M, {4, 4}}},
         {gaNone, {Pressed(4, 4)}, {}, true},
         "Ll"},
        {"middle release while left held lifts nothing",
         {{'p', L, {4, 4}}, {'p', M, {4, 4}}, {'r', M, {4, 4}}},
         {},
         "Ll"},
        {"middle release while both held chords",
         {{'p', L, {3, 3}}, {'p', R, {3, 3}}, {'r', M, {3, 3}}},
         {gaChord, {}, {}, false},
         "LRr"},
        {"middle alone", {{'p', M, {4, 4}}, {'r', M, {4, 4}}}, {}, ""},
        {"press on a finished game", {{'p', L, {4, 4}, true, false, true}}, {}, ""},
        {"release on a finished game still lets go",
         {{'p', L, {4, 4}}, {'r', L, {4, 4}, true, false, true}},
         {},
         ""},
    };
    for (const auto &c : cases) {
        Gesture g;
        GestureStep last;
        for (const Event &e : c.Events) {
            if (e.Kind == 'p')
                last = g.Press(e.Button, e.Cell, e.Finished, e.Upflag);
            else if (e.Kind == 'm')
                last = g.Move(e.Cell, e.Finished);
            else
                last = g.Release(e.Button, e.Cell, e.Finished, e.Upflag, e.Flagged);
        }
        EXPECT_EQ(last.Action, c.Last.Action) << c.Name;
        EXPECT_EQ(last.Draws, c.Last.Draws) << c.Name;
        EXPECT_EQ(last.Lifts, c.Last.Lifts) << c.Name;
        EXPECT_EQ(last.PressedFace, c.Last.PressedFace) << c.Name;
        EXPECT_EQ(Buttons(g), c.Buttons) << c.Name;
    }
}

TEST(GestureTest, ButtonsNoLongerHeldAreLost)
{
    Gesture g;
    g.Press(L, {4, 4}, false, true);
    g.Press(R, {4, 4}, false, true);
    EXPECT_EQ(g.Lost(L | R), std::vector<Qt::MouseButton>());
    EXPECT_EQ(g.Lost(R | M), std::vector<Qt::MouseButton>({L}));
    EXPECT_EQ(g.Lost(Qt::NoButton), std::vector<Qt::MouseButton>({L, R}));
}
