// SPDX-License-Identifier: GPL-3.0-or-later
// What the field shows and where: the one mapping between cell positions and
// pixels of the field's picture, and the tile each cell gets.
#pragma once

#include "MineStorage.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <array>
#include <cstdint>

namespace korvane {

// The tiles of a skin by what they picture; each value is the tile's number
// (11 per row). Where a number follows, the tile is the base plus 0 to 8.
enum Tile : int {
    tiOpen = 0, // + bomb neighbours
    tiHitBomb = 9,
    tiBackground = 10,
    tiOpenWall = 11, // + bomb neighbours
    tiLostBomb = 20,
    tiFlag = 21,
    tiCovered = 22, // + bomb neighbours once the game is over
    tiWonBomb = 31,
    tiMark = 32,
    tiWrongFlag = 33, // + bomb neighbours
    tiRightFlag = 42,
    tiPressedMark = 43,
};
// A skin holds 4 rows of 11 tiles.
inline constexpr int TileCount = 44;

// The tile of a cell, first rule that applies; n counts only where the model
// lets the player see it.
int ChooseTile(MineCellState st, MineCellContent ct, int n, bool finished, bool lost);

class FieldView
{
public:
    // columns and rows count the whole field, ring included; margin is the
    // number of background columns on each side.
    FieldView(int columns, int rows, bool surround, int margin, QSize cell);

    // Without Surroundings the ring is not shown: the first drawn column and
    // row are cell column and row 1.
    int FirstRow() const { return FShift; }
    int LastRow() const { return FRows - 1 - FShift; }
    int FirstColumn() const { return FShift - FMargin; }
    int LastColumn() const { return FColumns - 1 - FShift + FMargin; }
    // The field's columns and rows on screen, without the margins.
    int ShownColumns() const { return FColumns - 2 * FShift; }
    int ShownRows() const { return FRows - 2 * FShift; }
    // The picture column of cell column x (0 for the first drawn column).
    int PictureColumn(int x) const { return x + FMargin - FShift; }

    QSize PictureSize() const;
    QRect CellRect(int x, int y) const;
    // The cell under a pixel, truncating toward zero: a position less than a
    // tile left of or above the picture maps to the first drawn column or row.
    QPoint CellAt(int px, int py) const;

    // The tile cell (x, y) shows, and shows while the mouse holds it down.
    int TileOf(const MineGame &game, int x, int y) const;
    int PressedTileOf(const MineGame &game, int x, int y) const;
    // ChooseTile for every view byte of the model, for a game in this state.
    static std::array<std::uint8_t, 256> TileTable(bool finished, bool lost);

private:
    int FColumns;
    int FRows;
    int FShift;
    int FMargin;
    QSize FCell;
};

} // namespace korvane
