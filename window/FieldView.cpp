// SPDX-License-Identifier: GPL-3.0-or-later
#include "FieldView.h"

#include <algorithm>

namespace korvane {

int ChooseTile(MineCellState st, MineCellContent ct, int n, bool finished, bool lost)
{
    if (ct == ccWall && st == csHidden)
        return tiBackground;
    if (finished) {
        if (ct == ccBomb) {
            if (st == csOpen)
                return tiHitBomb;
            if (st == csFlagged)
                return tiRightFlag;
            return lost ? tiLostBomb : tiWonBomb;
        }
        if (ct == ccWall)
            return tiOpenWall + n;
        if (st == csOpen)
            return tiOpen + n;
        if (st == csFlagged)
            return tiWrongFlag + n;
        return tiCovered + n;
    }
    switch (st) {
    case csOpen:
        if (ct == ccBomb)
            return tiHitBomb;
        return ct == ccWall ? tiOpenWall + n : tiOpen + n;
    case csFlagged:
        return tiFlag;
    case csMarked:
        return tiMark;
    case csHidden:
        break;
    }
    return tiCovered;
}

FieldView::FieldView(int columns, int rows, bool surround, int margin, QSize cell)
    : FColumns(columns)
    , FRows(rows)
    , FShift(surround ? 0 : 1)
    , FMargin(margin)
    , FCell(cell)
{ }

QSize FieldView::PictureSize() const
{
    return {(ShownColumns() + 2 * FMargin) * FCell.width(), ShownRows() * FCell.height()};
}

QRect FieldView::CellRect(int x, int y) const
{
    return {PictureColumn(x) * FCell.width(), (y - FShift) * FCell.height(), FCell.width(),
            FCell.height()};
}

QPoint FieldView::CellAt(int px, int py) const
{
    // Division truncates toward zero, not a floor: a position less than a tile
    // left of or above the picture, which the mouse reports while a button is
    // held outside the field, maps to the first drawn column or row.
    return {px / FCell.width() - FMargin + FShift, py / FCell.height() + FShift};
}

int FieldView::TileOf(const MineGame &game, int x, int y) const
{
    const MineCellContent ct = game.CellContent(x, y);
    // Without Surroundings the ring columns lie inside the margin and look like it.
    if (ct == ccWall && FShift == 1 && (x == 0 || x == FColumns - 1))
        return tiBackground;
    return ChooseTile(game.CellState(x, y), ct, game.CellNumber(x, y), game.IsFinished(),
                      game.IsLost());
}

int FieldView::PressedTileOf(const MineGame &game, int x, int y) const
{
    const MineCellState st = game.CellState(x, y);
    if (st == csOpen || st == csFlagged || game.CellContent(x, y) == ccWall)
        return TileOf(game, x, y);
    return st == csMarked ? tiPressedMark : tiOpen;
}

std::array<std::uint8_t, 256> FieldView::TileTable(bool finished, bool lost)
{
    std::array<std::uint8_t, 256> table {};
    for (int v = 0; v < 256; ++v) {
        const auto view = static_cast<std::uint8_t>(v);
        const int n = std::min<int>(ViewBombs(view), 8);
        table[std::size_t(v)] = static_cast<std::uint8_t>(
            ChooseTile(ViewState(view), ViewContent(view), n, finished, lost));
    }
    return table;
}

} // namespace korvane
