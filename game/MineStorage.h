// SPDX-License-Identifier: GPL-3.0-or-later
// The model of one game: the field, what each cell holds, what the player has
// done to it, and the running totals from which the game is judged. It knows
// nothing of windows, timers or drawing; randomness comes in from the caller.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

enum MineCellState : std::uint8_t { csHidden, csFlagged, csMarked, csOpen };
enum MineCellContent : std::uint8_t { ccUnknown, ccPlain, ccBomb, ccWall };

struct MineCell
{
    MineCellState State = csHidden;
    MineCellContent Content = ccUnknown;
    std::int32_t Neighbours = 0;
    std::int32_t OpenNeighbours = 0;
    std::int32_t WallNeighbours = 0;
    std::int32_t OpenWallNeighbours = 0;
    std::int32_t BombNeighbours = 0;
    std::int32_t ExplodedNeighbours = 0;
    std::int32_t FlagNeighbours = 0;
};

// A uniform draw in 0..n-1.
using MineRandom = std::function<std::int32_t(std::int32_t n)>;

// The cells of one game: FWidth columns of FHeight records each, grid(x, y)
// being the cell of column x and row y. It belongs to its game and is
// released with it.
class MineGrid
{
public:
    MineGrid(std::int32_t width, std::int32_t height);
    ~MineGrid();
    MineGrid(const MineGrid &) = delete;
    MineGrid &operator=(const MineGrid &) = delete;

    MineCell &operator()(std::int32_t x, std::int32_t y) { return FCells[Index(x, y)]; }
    const MineCell &operator()(std::int32_t x, std::int32_t y) const { return FCells[Index(x, y)]; }

private:
    std::size_t Index(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(FHeight)
            + static_cast<std::size_t>(y);
    }

    std::int32_t FHeight;
    std::size_t FBytes;
    MineCell *FCells;
};

// The view byte of a cell, what the field is drawn from: bits 0-1 State,
// bits 2-3 Content, bits 4-7 BombNeighbours.
constexpr std::uint8_t MineView(MineCellState state, MineCellContent content, std::int32_t bombs)
{
    return static_cast<std::uint8_t>(state | (content << 2) | (bombs << 4));
}
constexpr MineCellState ViewState(std::uint8_t view)
{
    return static_cast<MineCellState>(view & 3);
}
constexpr MineCellContent ViewContent(std::uint8_t view)
{
    return static_cast<MineCellContent>((view >> 2) & 3);
}
constexpr std::int32_t ViewBombs(std::uint8_t view)
{
    return view >> 4;
}

class MineGame
{
public:
    // Sizes below 3 are raised to 3. Walls, then bombs, are placed only as far
    // as the interior has room for them.
    MineGame(std::int32_t width, std::int32_t height, std::int32_t bombs, std::int32_t walls,
             std::int32_t shields, bool startMarked, MineRandom random);

    MineGame(const MineGame &) = delete;
    MineGame &operator=(const MineGame &) = delete;

    // Cell actions
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

    // Cell queries: what the player may see of a cell
    MineCellState CellState(std::int32_t x, std::int32_t y) const;
    MineCellContent CellContent(std::int32_t x, std::int32_t y) const;
    std::int32_t CellNumber(std::int32_t x, std::int32_t y) const;
    std::int32_t KnownAround(std::int32_t x, std::int32_t y) const;

    // Game status: totals only, constant time
    std::int32_t BombCount() const { return FBombs; }
    std::int32_t ExplodedCount() const { return FExploded; }
    std::int32_t FlagCount() const { return FFlags; }
    std::int32_t OpenedCount() const { return FOpened; }
    std::int32_t CountableCells() const;
    bool IsLost() const { return FExploded >= FShields; }
    bool IsWon() const;
    bool IsFinished() const { return IsLost() || IsWon(); }
    std::int32_t BombsLeft() const;

    // The view bytes of row y, columns 0 to FWidth-1; y must lie inside the grid.
    const std::uint8_t *ViewRow(std::int32_t y) const;

    bool Inside(std::int32_t x, std::int32_t y) const
    {
        return x >= 0 && y >= 0 && x < FWidth && y < FHeight;
    }

    const std::int32_t FWidth;
    const std::int32_t FHeight;
    bool FAutoOpen = true;

private:
    // Bookkeeping: each adjusts the game totals, then one counter of every
    // neighbour inside the grid.
    void NoteNeighbour(std::int32_t x, std::int32_t y);
    void NoteWall(std::int32_t x, std::int32_t y);
    void NoteBomb(std::int32_t x, std::int32_t y);
    void NoteOpened(std::int32_t x, std::int32_t y);
    void NoteExplosion(std::int32_t x, std::int32_t y);
    void NoteFlag(std::int32_t x, std::int32_t y);
    void NoteUnflag(std::int32_t x, std::int32_t y);
    void SetState(std::int32_t x, std::int32_t y, MineCellState state);
    bool CanSign(std::int32_t x, std::int32_t y) const;
    template<typename Adjust>
    void ForNeighbours(std::int32_t x, std::int32_t y, Adjust adjust);

    void Flood(std::int32_t x, std::int32_t y);
    struct Box
    {
        std::int32_t Left, Right, Top, Bottom;
    };
    void SettleOpened(const Box &box);
    std::int64_t Area() const { return std::int64_t {FWidth} * FHeight; }

    MineGrid FGrid;
    std::int32_t FBombs = 0;
    std::int32_t FExploded = 0;
    std::int32_t FFlags = 0;
    std::int32_t FWrongFlags = 0;
    std::int32_t FOpened = 0;
    std::int32_t FWalls = 0;
    std::int32_t FOpenedWalls = 0;
    std::int32_t FShields = 0;
    // The flood's first-in first-out queue, a ring whose size is a power of
    // two, kept for the next flood of the game.
    std::vector<std::uint64_t> FQueue;
    // The settle's flood cells and their counts for a band of columns, kept
    // likewise.
    std::vector<std::uint8_t> FSettle;
};
