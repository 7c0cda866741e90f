// SPDX-License-Identifier: GPL-3.0-or-later
// A second, deliberately plain implementation of the rules of one game, used
// as the oracle of the randomised tests. It keeps the contents and states of
// the cells; every number about a cell is counted afresh from its block. The
// game's totals change in one place, SetState, from the old and new state of
// the cell, and RecountAgrees() holds them against a count over the field.
#pragma once

#include "FieldPicture.h"

#include <cstdint>
#include <vector>

class ReferenceGame
{
public:
    ReferenceGame(const FieldLayout &layout, std::int32_t shields, bool startMarked);

    bool autoOpen = true;

    bool OpenOne(std::int32_t x, std::int32_t y);
    bool OpenCell(std::int32_t x, std::int32_t y);
    bool OpenWall(std::int32_t x, std::int32_t y);
    bool OpenInnerWalls();
    bool OpenBorderWalls();
    bool Chord(std::int32_t x, std::int32_t y);
    bool TryOpen(std::int32_t x, std::int32_t y);
    bool FlagCell(std::int32_t x, std::int32_t y);
    bool MarkCell(std::int32_t x, std::int32_t y);
    bool ClearCell(std::int32_t x, std::int32_t y);
    void SetShields(std::int32_t n) { FShields = n; }

    MineCellState CellState(std::int32_t x, std::int32_t y) const;
    MineCellContent CellContent(std::int32_t x, std::int32_t y) const;
    std::int32_t CellNumber(std::int32_t x, std::int32_t y) const;
    std::int32_t KnownAround(std::int32_t x, std::int32_t y) const;

    // Count() is a fresh count over the whole field; the queries after it
    // answer from the kept totals.
    struct Totals
    {
        std::int64_t bombs = 0, exploded = 0, flags = 0, wrongFlags = 0, opened = 0, walls = 0,
                     openedWalls = 0;
        friend bool operator==(const Totals &, const Totals &) = default;
    };
    Totals Count() const;
    std::int32_t BombCount() const;
    std::int32_t ExplodedCount() const;
    std::int32_t FlagCount() const;
    std::int32_t OpenedCount() const;
    std::int32_t CountableCells() const;
    bool IsLost() const;
    bool IsWon() const;
    bool IsFinished() const;
    std::int32_t BombsLeft() const;

    // The true field, for the test's own choices and for the counter checks.
    bool Inside(std::int32_t x, std::int32_t y) const
    {
        return x >= 0 && y >= 0 && x < FWidth && y < FHeight;
    }
    // ccWall outside the grid.
    MineCellContent Content(std::int32_t x, std::int32_t y) const
    {
        return Inside(x, y) ? FContents[Index(x, y)] : ccWall;
    }
    // Inside the grid only.
    MineCellState State(std::int32_t x, std::int32_t y) const { return FStates[Index(x, y)]; }
    std::int32_t Shields() const { return FShields; }
    // How many of the up to eight neighbours inside the grid satisfy the test.
    template<typename Test>
    std::int32_t Around(std::int32_t x, std::int32_t y, Test test) const
    {
        std::int32_t n = 0;
        for (std::int32_t dx = -1; dx <= 1; ++dx) {
            for (std::int32_t dy = -1; dy <= 1; ++dy) {
                if ((dx != 0 || dy != 0) && Inside(x + dx, y + dy) && test(x + dx, y + dy))
                    ++n;
            }
        }
        return n;
    }
    std::int32_t BombsAround(std::int32_t x, std::int32_t y) const;
    // The totals kept during actions agree with a fresh count.
    bool RecountAgrees() const;

private:
    std::size_t Index(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(FHeight)
            + static_cast<std::size_t>(y);
    }
    // The one place where a cell's state changes.
    void SetState(std::int32_t x, std::int32_t y, MineCellState state);
    static bool Lost(const Totals &t, std::int32_t shields);
    bool Won(const Totals &t) const;

    std::int32_t FWidth;
    std::int32_t FHeight;
    std::vector<MineCellContent> FContents; // column by column
    std::vector<MineCellState> FStates;
    std::int32_t FShields;
    Totals FKept;
};
