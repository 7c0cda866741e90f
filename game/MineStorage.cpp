// SPDX-License-Identifier: GPL-3.0-or-later
#include "MineStorage.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace {

std::int32_t AtLeast3(std::int32_t n)
{
    return std::max<std::int32_t>(n, 3);
}

std::int32_t Saturate(std::int64_t n)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The block of the last grid freed, kept for the next grid of the same size:
// a new game follows right after the old one is freed, and on a big field the
// kernel's fresh pages cost more than all the work of the game. Games are
// made on the user-interface thread only.
class SpareBlock
{
public:
    SpareBlock() = default;
    SpareBlock(const SpareBlock &) = delete;
    SpareBlock &operator=(const SpareBlock &) = delete;
    ~SpareBlock() { std::free(FData); }

    void *Take(std::size_t bytes)
    {
        if (FData && FBytes == bytes)
            return std::exchange(FData, nullptr);
        std::free(std::exchange(FData, nullptr));
        return std::malloc(bytes);
    }
    void Give(void *data, std::size_t bytes)
    {
        std::free(std::exchange(FData, data));
        FBytes = bytes;
    }

private:
    void *FData = nullptr;
    std::size_t FBytes = 0;
};

SpareBlock &Spare()
{
    static SpareBlock spare;
    return spare;
}

bool TestBit(const std::uint64_t *bits, std::size_t i)
{
    return (bits[i / 64] >> (i % 64)) & 1;
}

void SetBit(std::uint64_t *bits, std::size_t i)
{
    bits[i / 64] |= std::uint64_t {1} << (i % 64);
}

// Whether OpenOne opens a cell, by its view byte: neither flagged nor open,
// and no wall.
constexpr bool Openable(std::uint8_t view)
{
    const MineCellState state = ViewState(view);
    return state != csFlagged && state != csOpen && ViewContent(view) != ccWall;
}

// A flood opens cells on their view bytes alone and marks them open with
// content unknown, which no settled cell is; the settle finds them by it.
constexpr std::uint8_t FloodMark(std::uint8_t view)
{
    return MineView(csOpen, ccUnknown, ViewBombs(view));
}
constexpr bool Flooded(std::uint8_t view)
{
    return ViewState(view) == csOpen && ViewContent(view) == ccUnknown;
}

// The eight neighbours of a cell inside the ring, columns outer and rows
// inner as everywhere; h is the column height.
template<typename Adjust>
void ForInnerNeighbours(MineCell *cell, std::ptrdiff_t h, Adjust adjust)
{
    adjust(cell[-h - 1]);
    adjust(cell[-h]);
    adjust(cell[-h + 1]);
    adjust(cell[-1]);
    adjust(cell[1]);
    adjust(cell[h - 1]);
    adjust(cell[h]);
    adjust(cell[h + 1]);
}

// A grid's one allocation: the records, column by column, then one view byte
// per cell, row by row as the screen is, so that the renderer reads those and
// never the 32-byte records, then two bit sets (taken, bomb) of one bit per
// record that the field's construction works on. The memory comes
// uninitialised: the game writes every record and view byte.
//
// Between operations every cell's view byte is MineView of its record. The
// constructor writes each column's bytes once its bookkeeping is done,
// SetState writes the byte with every later change of State, and a flood,
// which opens cells on their bytes alone (open, content unknown), has
// SettleOpened bring bytes and records together before it returns.
struct Block
{
    Block(MineGrid &grid, std::int32_t width, std::int32_t height)
        : Cells(&grid(0, 0))
        , Width(width)
        , Height(height)
    { }

    static std::size_t Bytes(std::int32_t width, std::int32_t height)
    {
        const std::size_t count = Count(width, height);
        return count * sizeof(MineCell) + ViewBytes(count) + 2 * Words(count) * 8;
    }
    static std::size_t Count(std::int32_t width, std::int32_t height)
    {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
    static std::size_t ViewBytes(std::size_t count) { return (count + 7) / 8 * 8; }
    static std::size_t Words(std::size_t count) { return (count + 63) / 64; }

    std::uint8_t *View() const
    {
        return reinterpret_cast<std::uint8_t *>(Cells + Count(Width, Height));
    }
    std::uint64_t *Taken() const
    {
        return reinterpret_cast<std::uint64_t *>(View() + ViewBytes(Count(Width, Height)));
    }
    std::uint64_t *Bomb() const { return Taken() + Words(Count(Width, Height)); }
    // The bit of a cell, in the order of the records.
    std::size_t Index(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(x) * static_cast<std::size_t>(Height)
            + static_cast<std::size_t>(y);
    }
    std::size_t ViewIndex(std::int32_t x, std::int32_t y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(Width)
            + static_cast<std::size_t>(x);
    }

    MineCell *Cells;
    std::int32_t Width;
    std::int32_t Height;
};

} // namespace

MineGrid::MineGrid(std::int32_t width, std::int32_t height)
    : FHeight(height)
    , FBytes(Block::Bytes(width, height))
    , FCells(static_cast<MineCell *>(Spare().Take(FBytes)))
{
    if (!FCells)
        throw std::bad_alloc();
}

MineGrid::~MineGrid()
{
    Spare().Give(FCells, FBytes);
}

void MineGame::SetState(std::int32_t x, std::int32_t y, MineCellState state)
{
    MineCell &cell = FGrid(x, y);
    cell.State = state;
    const Block block(FGrid, FWidth, FHeight);
    block.View()[block.ViewIndex(x, y)] = MineView(state, cell.Content, cell.BombNeighbours);
}

const std::uint8_t *MineGame::ViewRow(std::int32_t y) const
{
    // The block is only read here.
    const Block block(const_cast<MineGrid &>(FGrid), FWidth, FHeight);
    return block.View() + block.ViewIndex(0, y);
}

namespace {

// Both bit sets cleared, and the ring taken.
void TakeRing(const Block &block)
{
    std::uint64_t *taken = block.Taken();
    std::fill(taken, taken + 2 * Block::Words(Block::Count(block.Width, block.Height)), 0);
    for (std::int32_t x = 0; x < block.Width; ++x) {
        SetBit(taken, block.Index(x, 0));
        SetBit(taken, block.Index(x, block.Height - 1));
    }
    for (std::int32_t y = 1; y <= block.Height - 2; ++y) {
        SetBit(taken, block.Index(0, y));
        SetBit(taken, block.Index(block.Width - 1, y));
    }
}

void PlaceRandom(const Block &block, std::int64_t count, MineCellContent content,
                 const MineRandom &random)
{
    std::uint64_t *taken = block.Taken();
    std::uint64_t *bomb = block.Bomb();
    while (count > 0) {
        const std::int32_t x = 1 + random(block.Width - 1);
        const std::int32_t y = 1 + random(block.Height - 1);
        if (x < 0 || y < 0 || x >= block.Width || y >= block.Height
            || TestBit(taken, block.Index(x, y)))
            continue;
        SetBit(taken, block.Index(x, y));
        if (content == ccBomb)
            SetBit(bomb, block.Index(x, y));
        --count;
    }
}

// Column x as the draws left it (plain and bombs in the start state, walls
// hidden, every other counter zero), with the NoteNeighbour steps its cells
// receive: one from each neighbour position inside the grid.
void LayColumn(const Block &block, std::int32_t x, MineCellState start)
{
    const std::uint64_t *taken = block.Taken();
    const std::uint64_t *bomb = block.Bomb();
    std::size_t i = block.Index(x, 0);
    MineCell *cell = block.Cells + i;
    const std::int32_t last = block.Height - 1;
    // Whole records copied, one wide store a cell rather than one a field.
    const MineCell kinds[3] {{start, ccPlain}, {start, ccBomb}, {csHidden, ccWall}};
    const std::int32_t columns = 1 + std::int32_t {x > 0} + std::int32_t {x < block.Width - 1};
    for (std::int32_t y = 0; y <= last; ++y, ++i, ++cell) {
        const int kind = TestBit(taken, i) ? 2 - int(TestBit(bomb, i)) : 0;
        std::memcpy(cell, &kinds[kind], sizeof(MineCell));
        cell->Neighbours = columns * (1 + std::int32_t {y > 0} + std::int32_t {y < last}) - 1;
    }
}

// The creation steps of the walls and bombs of column x: `note` (NoteWall or
// NoteBomb) for each.
template<typename Note>
void NoteColumn(const Block &block, std::int32_t x, Note note)
{
    const std::uint64_t *taken = block.Taken();
    const std::uint64_t *bomb = block.Bomb();
    const std::size_t first = block.Index(x, 0);
    const std::size_t end = first + static_cast<std::size_t>(block.Height);
    for (std::size_t w = first / 64; w * 64 < end; ++w) {
        std::uint64_t word = taken[w];
        if (w * 64 < first)
            word &= ~std::uint64_t {0} << (first % 64);
        if ((w + 1) * 64 > end)
            word &= (std::uint64_t {1} << (end % 64)) - 1;
        for (; word != 0; word &= word - 1) {
            const std::size_t i = w * 64 + static_cast<std::size_t>(std::countr_zero(word));
            note(static_cast<std::int32_t>(i - first), TestBit(bomb, i));
        }
    }
}

// The view bytes of column x, once its records have all their steps.
void ShowColumn(const Block &block, std::int32_t x)
{
    const MineCell *column = block.Cells + block.Index(x, 0);
    std::uint8_t *view = block.View() + block.ViewIndex(x, 0);
    for (std::int32_t y = 0; y < block.Height; ++y, view += block.Width)
        *view = MineView(column[y].State, column[y].Content, column[y].BombNeighbours);
}

} // namespace

// The walls and bombs are drawn on two bits per cell (taken, bomb), which
// stay in the cache where the 32-byte records would not. The records are then
// written column by column: each column is laid out fresh just before the
// bookkeeping steps of the column to its left reach it, so every step works
// on three columns in the cache, and a column's view bytes follow as soon as
// the steps of both its neighbour columns are done.
MineGame::MineGame(std::int32_t width, std::int32_t height, std::int32_t bombs, std::int32_t walls,
                   std::int32_t shields, bool startMarked, MineRandom random)
    : FWidth(AtLeast3(width))
    , FHeight(AtLeast3(height))
    , FGrid(FWidth, FHeight)
    , FShields(shields)
{
    const Block block(FGrid, FWidth, FHeight);
    TakeRing(block);

    // Asking for more than fits would make the draw loops below run forever:
    // walls come first, bombs take what room is left.
    const std::int64_t interior = std::int64_t {FWidth - 2} * (FHeight - 2);
    const std::int64_t wallCount = std::clamp<std::int64_t>(walls, 0, interior);
    const std::int64_t bombCount = std::clamp<std::int64_t>(bombs, 0, interior - wallCount);
    PlaceRandom(block, wallCount, ccWall, random);
    PlaceRandom(block, bombCount, ccBomb, random);

    const MineCellState start = startMarked ? csMarked : csHidden;
    LayColumn(block, 0, start);
    for (std::int32_t x = 0; x < FWidth; ++x) {
        if (x + 1 < FWidth)
            LayColumn(block, x + 1, start);
        NoteColumn(block, x, [this, x](std::int32_t y, bool bomb) {
            if (bomb)
                NoteBomb(x, y);
            else
                NoteWall(x, y);
        });
        if (x > 0)
            ShowColumn(block, x - 1);
    }
    ShowColumn(block, FWidth - 1);
}

template<typename Adjust>
void MineGame::ForNeighbours(std::int32_t x, std::int32_t y, Adjust adjust)
{
    if (x > 0 && y > 0 && x < FWidth - 1 && y < FHeight - 1) {
        ForInnerNeighbours(&FGrid(x, y), FHeight, adjust);
        return;
    }
    const std::int32_t x0 = std::max(x - 1, 0), x1 = std::min(x + 1, FWidth - 1);
    const std::int32_t y0 = std::max(y - 1, 0), y1 = std::min(y + 1, FHeight - 1);
    for (std::int32_t i = x0; i <= x1; ++i) {
        for (std::int32_t j = y0; j <= y1; ++j) {
            if (i != x || j != y)
                adjust(FGrid(i, j));
        }
    }
}

void MineGame::NoteNeighbour(std::int32_t x, std::int32_t y)
{
    ForNeighbours(x, y, [](MineCell &c) { ++c.Neighbours; });
}

void MineGame::NoteWall(std::int32_t x, std::int32_t y)
{
    ++FWalls;
    ForNeighbours(x, y, [](MineCell &c) { ++c.WallNeighbours; });
}

void MineGame::NoteBomb(std::int32_t x, std::int32_t y)
{
    ++FBombs;
    ForNeighbours(x, y, [](MineCell &c) { ++c.BombNeighbours; });
}

void MineGame::NoteOpened(std::int32_t x, std::int32_t y)
{
    ++FOpened;
    const bool wall = FGrid(x, y).Content == ccWall;
    ForNeighbours(x, y, [wall](MineCell &c) {
        ++c.OpenNeighbours;
        if (wall)
            ++c.OpenWallNeighbours;
    });
}

void MineGame::NoteExplosion(std::int32_t x, std::int32_t y)
{
    ++FExploded;
    ++FOpened;
    ForNeighbours(x, y, [](MineCell &c) { ++c.ExplodedNeighbours; });
}

void MineGame::NoteFlag(std::int32_t x, std::int32_t y)
{
    ++FFlags;
    if (FGrid(x, y).Content != ccBomb)
        ++FWrongFlags;
    ForNeighbours(x, y, [](MineCell &c) { ++c.FlagNeighbours; });
}

void MineGame::NoteUnflag(std::int32_t x, std::int32_t y)
{
    --FFlags;
    if (FGrid(x, y).Content != ccBomb)
        --FWrongFlags;
    ForNeighbours(x, y, [](MineCell &c) { --c.FlagNeighbours; });
}

bool MineGame::OpenOne(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y) || IsFinished())
        return false;
    MineCell &cell = FGrid(x, y);
    const Block block(FGrid, FWidth, FHeight);
    if (!Openable(block.View()[block.ViewIndex(x, y)]))
        return false;
    SetState(x, y, csOpen);
    if (cell.Content == ccBomb)
        NoteExplosion(x, y);
    else
        NoteOpened(x, y);
    return true;
}

bool MineGame::OpenCell(std::int32_t x, std::int32_t y)
{
    if (!OpenOne(x, y))
        return false;
    const MineCell &start = FGrid(x, y);
    if (FAutoOpen && start.Content != ccBomb && start.BombNeighbours == 0)
        Flood(x, y);
    return true;
}

// OpenOne on the 3 x 3 block of every queued cell, rows outer and columns
// inner, first in first out; a cell it opens without bomb neighbours joins the
// queue. A position is queued at most once, because OpenOne refuses a cell
// that is already open (the block's centre among them). A flood opens plain
// cells only (no bomb lies next to a cell without bomb neighbours), so of the
// game's tests only the won one can change, and only by their number. The
// flood runs on the view bytes, which decide what OpenOne accepts; the
// records take the steps of the opened cells afterwards, column by column.
void MineGame::Flood(std::int32_t x, std::int32_t y)
{
    if (IsFinished())
        return;
    // Plain cells still to open before the game is won.
    std::int64_t left
        = Area() - FBombs - FWalls + FOpenedWalls - (std::int64_t {FOpened} - FExploded);
    const std::int64_t before = left;
    std::vector<std::uint64_t> &ring = FQueue;
    if (ring.size() < static_cast<std::size_t>(FWidth + FHeight))
        ring.resize(std::bit_ceil(static_cast<std::size_t>(FWidth + FHeight)));
    // A queued cell is its view position shifted left by kColumnBits, plus its
    // column: a neighbour is the cell plus a constant of its step. The widest
    // field the program makes has 16-bit columns.
    constexpr int kColumnBits = 24;
    constexpr std::uint64_t kColumnMask = (std::uint64_t {1} << kColumnBits) - 1;
    const std::ptrdiff_t w = FWidth;
    const auto queued = [](std::ptrdiff_t step, std::int32_t across) {
        return (static_cast<std::uint64_t>(step) << kColumnBits)
            + static_cast<std::uint64_t>(across);
    };
    const std::uint64_t upLeft = queued(-w - 1, -1), up = queued(-w, 0),
                        upRight = queued(-w + 1, 1), toLeft = queued(-1, -1),
                        toRight = queued(1, 1), downLeft = queued(w - 1, -1), down = queued(w, 0),
                        downRight = queued(w + 1, 1);
    // Locals only in the loop: a store through a byte pointer may alias
    // anything, and members would be read again after every view byte.
    const Block block(FGrid, FWidth, FHeight);
    std::uint64_t *queue = ring.data();
    std::size_t mask = ring.size() - 1, head = 0, tail = 0;
    queue[tail++]
        = (std::uint64_t {block.ViewIndex(x, y)} << kColumnBits) + static_cast<std::uint64_t>(x);
    std::uint8_t *const view = block.View();
    // The first and last queued cells in the view's order, and the first and
    // last column of one: the box of their blocks holds every cell opened here.
    std::uint64_t lowest = queue[0], highest = queue[0];
    std::uint64_t leftmost = queue[0] & kColumnMask, rightmost = leftmost;
    // One neighbour of a queued cell: OpenOne's steps on the view byte, the
    // neighbour queued when it has no bomb neighbours. Opening a cell changes
    // no other cell's state or content, so each neighbour can be opened as
    // soon as it is tested; written out for each, every address is known
    // before a byte is read.
    const auto visit = [&](std::uint8_t &seen, std::uint64_t next) {
        const std::uint8_t was = seen;
        if (!Openable(was))
            return;
        seen = FloodMark(was);
        --left;
        if (ViewBombs(was) == 0)
            queue[tail++ & mask] = next;
    };
    // The last plain cell wins the game, and no cell of the blocks after it
    // can be opened then: every plain cell is open, and no bomb lies next to
    // a queued cell.
    while (head != tail && left != 0) {
        if (tail - head + 8 > mask + 1) {
            // A front that may outgrow the ring: unroll it into one twice the size.
            std::vector<std::uint64_t> bigger(2 * ring.size());
            for (std::size_t n = 0; head + n != tail; ++n)
                bigger[n] = queue[(head + n) & mask];
            tail -= head;
            head = 0;
            ring.swap(bigger);
            queue = ring.data();
            mask = ring.size() - 1;
        }
        const std::uint64_t at = queue[head++ & mask];
        lowest = std::min(lowest, at);
        highest = std::max(highest, at);
        leftmost = std::min(leftmost, at & kColumnMask);
        rightmost = std::max(rightmost, at & kColumnMask);
        // Queued cells are open and no walls, so inside the ring: every
        // neighbour exists. Rows outer, columns inner.
        std::uint8_t *const middle = view + (at >> kColumnBits);
        std::uint8_t *const above = middle - w, *const below = middle + w;
        visit(above[-1], at + upLeft);
        visit(above[0], at + up);
        visit(above[1], at + upRight);
        visit(middle[-1], at + toLeft);
        visit(middle[1], at + toRight);
        visit(below[-1], at + downLeft);
        visit(below[0], at + down);
        visit(below[1], at + downRight);
    }
    FOpened += static_cast<std::int32_t>(before - left);
    const auto row = [&](std::uint64_t at) {
        return static_cast<std::int32_t>((at >> kColumnBits) / static_cast<std::uint64_t>(w));
    };
    SettleOpened({static_cast<std::int32_t>(leftmost) - 1, static_cast<std::int32_t>(rightmost) + 1,
                  row(lowest) - 1, row(highest) + 1});
}

// The records' side of the cells a flood opened, all within the box: it
// left their view bytes open with content unknown (all were plain). Their
// records open and their view bytes become plain again. Their NoteOpened
// steps are gathered by the cell that receives them, one addition a record:
// each column's flood cells are counted in threes down the rows, and a cell
// takes the counts of its row in its own column and the two beside it, less
// its own cell.
void MineGame::SettleOpened(const Box &box)
{
    const std::int32_t top = std::max(box.Top - 1, 0);
    const std::int32_t bottom = std::min(box.Bottom + 1, FHeight - 1);
    const std::int32_t first = std::max(box.Left - 1, 0);
    const std::int32_t last = std::min(box.Right + 1, FWidth - 1);
    const auto rows = static_cast<std::size_t>(bottom - top + 1);
    const Block block(FGrid, FWidth, FHeight);
    const auto at = [&](std::int32_t x, std::size_t i) {
        return block.View() + block.ViewIndex(x, top + static_cast<std::int32_t>(i));
    };
    // The records a band of columns at a time. The band's flood cells, one
    // byte a cell, column by column as the records are, are read along the
    // view's rows, where each row of the band is one run of bytes, with the
    // column before the band and the one after it; then their counts in
    // threes. Each column has an empty row above and below. The first and
    // last columns have no flood cells.
    constexpr std::int32_t kBand = 128;
    const auto band = static_cast<std::size_t>(std::min(kBand, last - first + 1));
    const std::size_t stride = rows + 2;
    FSettle.assign(2 * (band + 2) * stride, 0);
    std::uint8_t *const cells = FSettle.data() + 1;
    std::uint8_t *const threes = cells + (band + 2) * stride;
    for (std::int32_t x0 = first; x0 <= last; x0 += kBand) {
        const std::int32_t x1 = std::min(x0 + kBand - 1, last);
        // Column x is column k = x - x0 + 1 of the band.
        const auto columns = static_cast<std::size_t>(x1 - x0 + 3);
        const auto cell
            = [&](std::size_t k, std::size_t i) -> std::uint8_t & { return cells[k * stride + i]; };
        for (std::size_t i = 0; i < rows; ++i) {
            std::uint8_t *seen = at(x0, i);
            for (std::size_t k = 1; k + 1 < columns; ++k, ++seen) {
                const bool flood = Flooded(*seen);
                cell(k, i) = flood;
                if (flood)
                    *seen = MineView(csOpen, ccPlain, ViewBombs(*seen));
            }
        }
        for (std::size_t i = 0; i < rows; ++i)
            cell(columns - 1, i) = x1 < last && Flooded(*at(x1 + 1, i));
        for (std::size_t k = 0; k < columns; ++k) {
            const std::uint8_t *const above = &cell(k, 0) - 1;
            for (std::size_t i = 0; i < rows; ++i)
                threes[k * stride + i]
                    = static_cast<std::uint8_t>(above[i] + above[i + 1] + above[i + 2]);
        }
        for (std::size_t k = 1; k + 1 < columns; ++k) {
            const std::uint8_t *const own = &cell(k, 0);
            const std::uint8_t *const three = threes + k * stride;
            const std::uint8_t *const before = three - stride, *const after = three + stride;
            MineCell *const column = &FGrid(x0 + static_cast<std::int32_t>(k) - 1, top);
            for (std::size_t i = 0; i < rows; ++i) {
                column[i].OpenNeighbours += before[i] + three[i] + after[i] - own[i];
                if (own[i])
                    column[i].State = csOpen;
            }
        }
        // The band's last column is the next band's column before it.
        std::copy(&cell(columns - 2, 0), &cell(columns - 2, rows), cells);
    }
}

bool MineGame::OpenWall(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y))
        return false;
    MineCell &cell = FGrid(x, y);
    if (cell.State == csOpen || cell.Content != ccWall)
        return false;
    SetState(x, y, csOpen);
    ++FOpenedWalls;
    NoteOpened(x, y);
    if (FAutoOpen && cell.BombNeighbours == 0) {
        for (std::int32_t i = x - 1; i <= x + 1; ++i) {
            for (std::int32_t j = y - 1; j <= y + 1; ++j) {
                if ((i == x && j == y) || !Inside(i, j))
                    continue;
                const MineCell &n = FGrid(i, j);
                if (n.State != csOpen && n.Content != ccWall)
                    OpenCell(i, j);
            }
        }
    }
    return true;
}

bool MineGame::OpenInnerWalls()
{
    bool any = false;
    for (std::int32_t x = 1; x <= FWidth - 2; ++x) {
        for (std::int32_t y = 1; y <= FHeight - 2; ++y) {
            if (FGrid(x, y).Content == ccWall)
                any = OpenWall(x, y) || any;
        }
    }
    return any;
}

bool MineGame::OpenBorderWalls()
{
    if (IsFinished())
        return false;
    bool any = false;
    for (std::int32_t y = 0; y < FHeight; ++y) {
        any = OpenWall(0, y) || any;
        any = OpenWall(FWidth - 1, y) || any;
    }
    for (std::int32_t x = 1; x <= FWidth - 2; ++x) {
        any = OpenWall(x, 0) || any;
        any = OpenWall(x, FHeight - 1) || any;
    }
    return any;
}

bool MineGame::Chord(std::int32_t x, std::int32_t y)
{
    if (IsFinished() || CellState(x, y) != csOpen || CellNumber(x, y) != KnownAround(x, y))
        return false;
    bool result = false;
    for (std::int32_t i = x - 1; i <= x + 1; ++i) {
        for (std::int32_t j = y - 1; j <= y + 1; ++j) {
            if ((i != x || j != y) && Inside(i, j))
                result = TryOpen(i, j) || result;
        }
    }
    return result;
}

bool MineGame::TryOpen(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y))
        return false;
    const MineCellState state = FGrid(x, y).State;
    if (state != csHidden && state != csMarked)
        return false;
    OpenCell(x, y);
    return true;
}

// Flags, marks and clears go only on covered cells that are not walls, while
// the game runs.
bool MineGame::CanSign(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y) || IsFinished())
        return false;
    const MineCell &cell = FGrid(x, y);
    return cell.State != csOpen && cell.Content != ccWall;
}

bool MineGame::FlagCell(std::int32_t x, std::int32_t y)
{
    if (!CanSign(x, y))
        return false;
    MineCell &cell = FGrid(x, y);
    if (cell.State != csFlagged) {
        NoteFlag(x, y);
        SetState(x, y, csFlagged);
    }
    return true;
}

bool MineGame::MarkCell(std::int32_t x, std::int32_t y)
{
    if (!CanSign(x, y))
        return false;
    MineCell &cell = FGrid(x, y);
    if (cell.State != csMarked) {
        if (cell.State == csFlagged)
            NoteUnflag(x, y);
        SetState(x, y, csMarked);
    }
    return true;
}

bool MineGame::ClearCell(std::int32_t x, std::int32_t y)
{
    if (!CanSign(x, y))
        return false;
    MineCell &cell = FGrid(x, y);
    if (cell.State != csHidden) {
        if (cell.State == csFlagged)
            NoteUnflag(x, y);
        SetState(x, y, csHidden);
    }
    return true;
}

MineCellState MineGame::CellState(std::int32_t x, std::int32_t y) const
{
    return Inside(x, y) ? FGrid(x, y).State : csHidden;
}

MineCellContent MineGame::CellContent(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y))
        return ccWall;
    const MineCell &cell = FGrid(x, y);
    if (IsFinished() || cell.State == csOpen || cell.Content == ccWall)
        return cell.Content;
    return ccUnknown;
}

std::int32_t MineGame::CellNumber(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y))
        return 0;
    const MineCell &cell = FGrid(x, y);
    if (IsFinished() || cell.State == csOpen || cell.Content == ccBomb)
        return cell.BombNeighbours;
    return -1;
}

std::int32_t MineGame::KnownAround(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y))
        return 0;
    const MineCell &cell = FGrid(x, y);
    return cell.ExplodedNeighbours + cell.FlagNeighbours;
}

std::int32_t MineGame::CountableCells() const
{
    return Saturate(Area() - FWalls + FOpenedWalls);
}

bool MineGame::IsWon() const
{
    return std::int64_t {FOpened} - FExploded >= Area() - FBombs - FWalls + FOpenedWalls
        || FExploded >= FBombs;
}

std::int32_t MineGame::BombsLeft() const
{
    if (IsWon())
        return 0;
    const std::int64_t left = std::int64_t {FBombs} - FFlags - FExploded;
    return Saturate(IsLost() ? left + FWrongFlags : left);
}
