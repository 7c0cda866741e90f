#include "MineStorage.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#if defined(__linux__)
#    include <sys/mman.h>
#endif

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

constexpr std::size_t kHugePage = std::size_t {2} << 20;
// How many queued cells ahead the flood fetches the memory it will need.
constexpr std::size_t kFloodAhead = 32;

// The memory of the last big grid freed, kept for the next grid of the same
// size: a new game follows right after the old one is freed, and on a big
// field fresh pages cost the kernel more than all the work of the game.
struct SpareBlock
{
    void *Data = nullptr;
    std::size_t Bytes = 0;
    SpareBlock() = default;
    SpareBlock(const SpareBlock &) = delete;
    SpareBlock &operator=(const SpareBlock &) = delete;
    ~SpareBlock() { std::free(Data); }
};
thread_local SpareBlock tSpare;

std::size_t BlockBytes(std::size_t bytes)
{
    return bytes < kHugePage ? bytes : (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

void *TakeBlock(std::size_t bytes)
{
    if (tSpare.Data && tSpare.Bytes == bytes)
        return std::exchange(tSpare.Data, nullptr);
    std::free(std::exchange(tSpare.Data, nullptr));
    void *data = bytes < kHugePage ? std::malloc(bytes) : std::aligned_alloc(kHugePage, bytes);
    if (!data)
        throw std::bad_alloc();
#if defined(MADV_HUGEPAGE)
    // A flood's front reaches across every column, each in a page of its own
    // with small pages; big ones also make the first touch far cheaper.
    if (bytes >= kHugePage)
        madvise(data, bytes, MADV_HUGEPAGE);
#endif
    return data;
}

void GiveBlock(void *data, std::size_t bytes)
{
    if (bytes < kHugePage) {
        std::free(data);
        return;
    }
    std::free(std::exchange(tSpare.Data, data));
    tSpare.Bytes = bytes;
}

bool TestBit(const std::uint64_t *bits, std::size_t i)
{
    return (bits[i / 64] >> (i % 64)) & 1;
}

void SetBit(std::uint64_t *bits, std::size_t i)
{
    bits[i / 64] |= std::uint64_t {1} << (i % 64);
}

// The flood's block around a cell without its centre: rows outer, columns inner.
struct Step
{
    std::int32_t I, J;
};
constexpr Step kBlock[8] {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

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

} // namespace

MineGrid::MineGrid(std::int32_t width, std::int32_t height)
    : FWidth(width)
    , FHeight(height)
    , FCount(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    , FViewBytes((FCount + 7) / 8 * 8)
    , FBytes(BlockBytes(FCount * sizeof(MineCell) + FViewBytes + 2 * Words() * 8))
    , FCells(static_cast<MineCell *>(TakeBlock(FBytes)))
{ }

MineGrid::~MineGrid()
{
    GiveBlock(FCells, FBytes);
}

void MineGame::SetState(std::int32_t x, std::int32_t y, MineCellState state)
{
    MineCell &cell = FGrid(x, y);
    cell.State = state;
    FGrid.View()[FGrid.ViewIndex(x, y)] = MineView(state, cell.Content, cell.BombNeighbours);
}

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
    std::uint64_t *taken = FGrid.Bits();
    std::fill(taken, taken + 2 * FGrid.Words(), 0);
    for (std::int32_t x = 0; x < FWidth; ++x) {
        SetBit(taken, FGrid.Index(x, 0));
        SetBit(taken, FGrid.Index(x, FHeight - 1));
    }
    for (std::int32_t y = 1; y <= FHeight - 2; ++y) {
        SetBit(taken, FGrid.Index(0, y));
        SetBit(taken, FGrid.Index(FWidth - 1, y));
    }

    // Asking for more than fits would make the draw loops below run forever:
    // walls come first, bombs take what room is left.
    const std::int64_t interior = std::int64_t {FWidth - 2} * (FHeight - 2);
    const std::int64_t wallCount = std::clamp<std::int64_t>(walls, 0, interior);
    const std::int64_t bombCount = std::clamp<std::int64_t>(bombs, 0, interior - wallCount);
    PlaceRandom(wallCount, ccWall, random);
    PlaceRandom(bombCount, ccBomb, random);

    const MineCellState start = startMarked ? csMarked : csHidden;
    LayColumn(0, start);
    for (std::int32_t x = 0; x < FWidth; ++x) {
        if (x + 1 < FWidth)
            LayColumn(x + 1, start);
        NoteColumn(x);
    }
    ShowColumn(FWidth - 1);
}

void MineGame::PlaceRandom(std::int64_t count, MineCellContent content, const MineRandom &random)
{
    std::uint64_t *taken = FGrid.Bits();
    std::uint64_t *bomb = taken + FGrid.Words();
    while (count > 0) {
        const std::int32_t x = 1 + random(FWidth - 1);
        const std::int32_t y = 1 + random(FHeight - 1);
        if (!Inside(x, y) || TestBit(taken, FGrid.Index(x, y)))
            continue;
        SetBit(taken, FGrid.Index(x, y));
        if (content == ccBomb)
            SetBit(bomb, FGrid.Index(x, y));
        --count;
    }
}

// Column x as the draws left it (plain and bombs in the start state, walls
// hidden, every counter zero), then the NoteNeighbour steps of the cells of
// column x - 1 as far as they reach column x: one from each cell beside it.
void MineGame::LayColumn(std::int32_t x, MineCellState start)
{
    const std::uint64_t *taken = FGrid.Bits();
    const std::uint64_t *bomb = taken + FGrid.Words();
    MineCell *column = &FGrid(x, 0);
    const std::size_t first = FGrid.Index(x, 0);
    const std::int32_t last = FHeight - 1;
    // Whole records copied, one wide store a cell rather than one a field.
    const MineCell kinds[3] {{start, ccPlain}, {start, ccBomb}, {csHidden, ccWall}};
    const bool left = x > 0;
    for (std::int32_t y = 0; y <= last; ++y) {
        const std::size_t i = first + static_cast<std::size_t>(y);
        const int kind = TestBit(taken, i) ? 2 - int(TestBit(bomb, i)) : 0;
        std::memcpy(&column[y], &kinds[kind], sizeof(MineCell));
        // One from each of (x - 1, y - 1), (x - 1, y) and (x - 1, y + 1) in the grid.
        column[y].Neighbours = left ? std::int32_t {y > 0} + 1 + std::int32_t {y < last} : 0;
    }
}

// The creation steps of the cells of column x: NoteWall or NoteBomb for its
// walls and bombs, and the rest of NoteNeighbour for every cell, gathered by
// the cell that receives it, in column x - 1 and in column x itself. Column
// x - 1 has all its steps then, and its view bytes follow.
void MineGame::NoteColumn(std::int32_t x)
{
    const std::uint64_t *taken = FGrid.Bits();
    const std::uint64_t *bomb = taken + FGrid.Words();
    const std::size_t first = FGrid.Index(x, 0);
    const std::size_t end = first + static_cast<std::size_t>(FHeight);
    for (std::size_t w = first / 64; w * 64 < end; ++w) {
        std::uint64_t word = taken[w];
        if (w * 64 < first)
            word &= ~std::uint64_t {0} << (first % 64);
        if ((w + 1) * 64 > end)
            word &= (std::uint64_t {1} << (end % 64)) - 1;
        for (; word != 0; word &= word - 1) {
            const std::size_t i = w * 64 + static_cast<std::size_t>(std::countr_zero(word));
            const auto y = static_cast<std::int32_t>(i - first);
            if (TestBit(bomb, i))
                NoteBomb(x, y);
            else
                NoteWall(x, y);
        }
    }

    MineCell *here = &FGrid(x, 0);
    const std::int32_t last = FHeight - 1;
    if (x == 0) {
        for (std::int32_t y = 0; y <= last; ++y) {
            if (y > 0)
                ++here[y].Neighbours;
            if (y < last)
                ++here[y].Neighbours;
        }
        return;
    }
    MineCell *before = here - FHeight;
    std::uint8_t *view = FGrid.View() + FGrid.ViewIndex(x - 1, 0);
    for (std::int32_t y = 0; y <= last; ++y) {
        MineCell &left = before[y];
        if (y > 0) {
            ++here[y].Neighbours;
            ++left.Neighbours;
        }
        ++left.Neighbours;
        if (y < last) {
            ++here[y].Neighbours;
            ++left.Neighbours;
        }
        view[static_cast<std::size_t>(y) * static_cast<std::size_t>(FWidth)]
            = MineView(left.State, left.Content, left.BombNeighbours);
    }
}

void MineGame::ShowColumn(std::int32_t x)
{
    std::uint8_t *view = FGrid.View();
    const MineCell *column = &FGrid(x, 0);
    for (std::int32_t y = 0; y < FHeight; ++y) {
        const MineCell &cell = column[y];
        view[FGrid.ViewIndex(x, y)] = MineView(cell.State, cell.Content, cell.BombNeighbours);
    }
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
    if (cell.State == csFlagged || cell.Content == ccWall || cell.State == csOpen)
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
// that is already open (the block's centre among them). The same steps as
// OpenOne, with what it asks of the game asked once: a flood opens plain cells
// only (no bomb lies next to a cell without bomb neighbours), which can change
// no test of a finished game but the won one, and that only by their number.
void MineGame::Flood(std::int32_t x, std::int32_t y)
{
    if (IsFinished())
        return;
    // Plain cells still to open before the game is won; FOpened catches up
    // with the cells opened since `counted` at every exit.
    std::int64_t left
        = Area() - FBombs - FWalls + FOpenedWalls - (std::int64_t {FOpened} - FExploded);
    std::int64_t counted = left;
    if (FQueue.empty())
        FQueue.resize(std::bit_ceil(static_cast<std::size_t>(FWidth + FHeight)));
    std::size_t mask = FQueue.size() - 1, head = 0, tail = 0;
    FQueue[tail++ & mask] = {x, y};

    MineCell *const cells = FGrid.Cells();
    std::uint8_t *const view = FGrid.View();
    const std::ptrdiff_t h = FHeight, w = FWidth;
    // The block in the grid and in the view bytes, in the order of kBlock.
    std::ptrdiff_t cellStep[8], viewStep[8];
    for (std::size_t k = 0; k < 8; ++k) {
        cellStep[k] = kBlock[k].I * h + kBlock[k].J;
        viewStep[k] = kBlock[k].J * w + kBlock[k].I;
    }
    // The view byte holds the state, content and bomb neighbours of its cell
    // too, packed and row by row: the block's three rows lie in three lines.
    auto openable = [](std::uint8_t shown) {
        const MineCellState state = ViewState(shown);
        return unsigned(state != csFlagged && state != csOpen && ViewContent(shown) != ccWall);
    };
    while (head != tail) {
        if (tail - head > kFloodAhead) {
            // The front runs across columns as well as down them, and across
            // columns every other row brings cache lines the flood has not
            // touched: ask for them while the cells before are opened.
            const Spot soon = FQueue[(head + kFloodAhead) & mask];
            // Two rows and two columns away: the cells popped beside it fetch
            // the rest of the lines its block and their neighbours reach.
            const auto fetch = [cells, h](std::ptrdiff_t i, std::ptrdiff_t j) {
                const auto at = reinterpret_cast<std::uintptr_t>(cells)
                    + static_cast<std::uintptr_t>(i * h + j) * sizeof(MineCell);
                __builtin_prefetch(reinterpret_cast<const void *>(at));
            };
            fetch(soon.X, soon.Y - 2);
            fetch(soon.X, soon.Y + 2);
            fetch(soon.X - 2, soon.Y);
            fetch(soon.X + 2, soon.Y);
        }
        const Spot at = FQueue[head++ & mask];
        // Queued cells are open and no walls, so inside the ring: every
        // neighbour exists.
        MineCell *const centre = cells + FGrid.Index(at.X, at.Y);
        std::uint8_t *const shown = view + FGrid.ViewIndex(at.X, at.Y);
        // Opening a cell changes no other cell's state or content, so which
        // of the eight OpenOne accepts is known before the first opens; the
        // bits keep the block's order. Hidden and marked states are even.
        unsigned open = openable(shown[-w - 1]) | openable(shown[-w]) << 1
            | openable(shown[-w + 1]) << 2 | openable(shown[-1]) << 3 | openable(shown[1]) << 4
            | openable(shown[w - 1]) << 5 | openable(shown[w]) << 6 | openable(shown[w + 1]) << 7;
        for (; open != 0; open &= open - 1) {
            const int k = std::countr_zero(open);
            MineCell &cell = centre[cellStep[k]];
            std::uint8_t &seen = shown[viewStep[k]];
            const MineCellContent content = ViewContent(seen);
            const std::int32_t bombs = ViewBombs(seen);
            cell.State = csOpen;
            seen = MineView(csOpen, content, bombs);
            if (content == ccBomb) {
                FOpened += static_cast<std::int32_t>(counted - left);
                counted = left;
                NoteExplosion(at.X + kBlock[k].I, at.Y + kBlock[k].J);
                if (IsFinished())
                    return;
            } else {
                // An opened cell is no wall, so it lies inside the ring too.
                ForInnerNeighbours(&cell, h, [](MineCell &c) { ++c.OpenNeighbours; });
                if (--left == 0) {
                    FOpened += static_cast<std::int32_t>(counted);
                    return;
                }
            }
            if (bombs != 0)
                continue;
            if (tail - head == FQueue.size()) {
                // A front longer than the ring: unroll it into one twice the size.
                std::vector<Spot> bigger(2 * FQueue.size());
                for (std::size_t n = 0; head + n != tail; ++n)
                    bigger[n] = FQueue[(head + n) & mask];
                tail -= head;
                head = 0;
                FQueue.swap(bigger);
                mask = FQueue.size() - 1;
            }
            FQueue[tail++ & mask] = {at.X + kBlock[k].I, at.Y + kBlock[k].J};
        }
    }
    FOpened += static_cast<std::int32_t>(counted - left);
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
