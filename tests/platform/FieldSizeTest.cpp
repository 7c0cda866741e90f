// SPDX-License-Identifier: GPL-3.0-or-later
// The largest inner field a screen's free area shows, as the custom field
// dialog offers it and a stored size is cut to.
#include "FieldSize.h"

#include <gtest/gtest.h>

using namespace korvane;

TEST(FieldMaximaTest, CountsWholeTilesOfTheFreeAreaWithoutTheRing)
{
    struct Case
    {
        const char *Name;
        QSize Outer, FieldBox, Tile;
        bool Ring;
        QSize Expected;
    };
    // A 1280 x 1024 work area throughout.
    const Case cases[] {
        {"ChromeOnlyWithRing", {20, 70}, {0, 0}, {16, 16}, true, {76, 57}},
        {"ChromeOnlyWithoutRing", {20, 70}, {0, 0}, {16, 16}, false, {78, 59}},
        {"NonSquareTiles", {20, 70}, {0, 0}, {16, 24}, true, {76, 37}},
        // The cells shown now and the free room are counted apart, each in
        // whole tiles: their two leftovers never add up to one more column.
        {"ShownCellsAndRoomApart", {210, 240}, {190, 176}, {16, 16}, true, {75, 58}},
        {"NeverBelowNineByNine", {20, 70}, {0, 0}, {200, 200}, true, {9, 9}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FieldMaxima({1280, 1024}, c.Outer, c.FieldBox, c.Tile, c.Ring), c.Expected)
            << c.Name;
}
