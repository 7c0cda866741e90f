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

// All cells in one allocation, column by column, so that grid(x, y) is the
// cell of column x and row y. Behind the cells, in the same allocation, lies
// one view byte per cell (state, content and bomb neighbours packed), row by
// row as the screen is: the renderer reads those and never the 32-byte records.
// Behind those lie two bits per cell that the field's construction works on.
// The memory comes uninitialised: the game writes every record and view byte.
class MineGrid
{
public:
    MineGrid(std::int32_t width, std::int32_t height);
    ~MineGrid();
    MineGrid(const MineGrid &) = delete;
    MineGrid &operator=(const MineGrid &) = delete;

    MineCell &operator()(std::int32_t x, std::int32_t y) { return FCells[Index(x, y)]; }
    const MineCell &operator()(std::int32_t x, std::int32_t y) const { return FCells[Index(x, y)]; }
    MineCell *Cells() { return FCells; }
    std::uint8_t *View() { return reinterpret_cast<std::uint8_t *>(FCells + FCount); }
    const std::uint8_t *View() const
    {
        return reinterpret_cast<const std::uint8_t *>(FCells + FCount);
    }
    // Two bit sets of Words() words each, one bit per cell in the order of Index.
    std::uint64_t *Bits() { return reinterpret_cast<std::uint64_t *>(View() + FViewBytes); }
    std::size_t Words() const { return (FCount + 63) / 64; }
    std::size_t Index(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(FHeight)
            + static_cast<std::size_t>(y);
    }
    std::size_t ViewIndex(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth)
            + static_cast<std::size_t>(x);
    }

private:
    std::int32_t FWidth;
    std::int32_t FHeight;
    std::size_t FCount;
    std::size_t FViewBytes;
    std::size_t FBytes;
    MineCell *FCells;
};

// The view byte of a cell: bits 0-1 State, bits 2-3 Content, bits 4-7 BombNeighbours.
// Between operations every cell's view byte is MineView of its record. The
// constructor writes each column's bytes once its bookkeeping is done,
// SetState writes the byte with every later change of State, and a flood,
// which opens cells on their bytes alone (open, content unknown), has
// SettleOpened bring bytes and records together before it returns.
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
    const std::uint8_t *ViewRow(std::int32_t y) const
    {
        return FGrid.View() + FGrid.ViewIndex(0, y);
    }

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

    void PlaceRandom(std::int64_t count, MineCellContent content, const MineRandom &random);
    void LayColumn(std::int32_t x, MineCellState start);
    void NoteColumn(std::int32_t x, std::uint8_t *shown);
    void ShowColumn(std::int32_t x, std::uint8_t *shown);
    void ShowColumns(std::int32_t x, const std::uint8_t *shown);
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
    // The settle's counts of three columns, kept likewise.
    std::vector<std::uint8_t> FSettle;
};
