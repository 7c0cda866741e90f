// SPDX-License-Identifier: GPL-3.0-or-later
// The next game's size, and the one rule that keeps it within what the screen
// can show at the skin's tile size.
#pragma once

#include <QSize>

namespace korvane {

// Columns and rows with the wall ring included (the inner size + 2), bombs
// and interior walls: the order the settings file, the custom field dialog
// and a new game all use.
struct FieldSize
{
    int Width = 11;
    int Height = 11;
    int Bombs = 10;
    int Walls = 0;
    bool operator==(const FieldSize &) const = default;
};

// The most inner columns (width) and rows (height) the screen's free area can
// show: the cells of the field box already on screen, without the ring when it
// is drawn, plus whole tiles of the room the window's outer size leaves.
// Never below the smallest field the custom field dialog offers, 9 x 9.
QSize FieldMaxima(QSize screen, QSize outer, QSize fieldBox, QSize tile, bool ringShown);

// A size brought into the custom field dialog's limits, as its OK would leave
// it: at least 9 x 9 inside the ring and at most the inner maxima, no larger a
// picture than memory should hold at the tile size, bombs from 10 to the
// cells, then walls up to the cells the bombs leave.
FieldSize LimitFieldSize(FieldSize field, QSize maxInner, QSize tile);

} // namespace korvane
