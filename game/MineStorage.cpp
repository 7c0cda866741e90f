#include "MineStorage.h"

#include <algorithm>
#include <limits>

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

} // namespace

MineGrid::MineGrid(std::int32_t width, std::int32_t height)
    : FWidth(width)
    , FHeight(height)
    , FCount(static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    // The view bytes borrow the storage of the records behind the last cell.
    , FCells(FCount + (FCount + sizeof(MineCell) - 1) / sizeof(MineCell))
{ }

void MineGame::SetState(std::int32_t x, std::int32_t y, MineCellState state)
{
    MineCell &cell = FGrid(x, y);
    cell.State = state;
    FGrid.View()[FGrid.ViewIndex(x, y)] = MineView(state, cell.Content, cell.BombNeighbours);
}

MineGame::MineGame(std::int32_t width, std::int32_t height, std::int32_t bombs, std::int32_t walls,
                   std::int32_t shields, bool startMarked, MineRandom random)
    : FWidth(AtLeast3(width))
    , FHeight(AtLeast3(height))
    , FGrid(FWidth, FHeight)
    , FShields(shields)
{
    const MineCellState start = startMarked ? csMarked : csHidden;
    for (std::int32_t x = 0; x < FWidth; ++x) {
        for (std::int32_t y = 0; y < FHeight; ++y) {
            MineCell &cell = FGrid(x, y);
            cell.Content = ccPlain;
            cell.State = start;
            NoteNeighbour(x, y);
        }
    }

    auto makeWall = [this](std::int32_t x, std::int32_t y) {
        MineCell &cell = FGrid(x, y);
        cell.State = csHidden;
        cell.Content = ccWall;
        NoteWall(x, y);
    };
    for (std::int32_t x = 0; x < FWidth; ++x) {
        makeWall(x, 0);
        makeWall(x, FHeight - 1);
    }
    for (std::int32_t y = 1; y <= FHeight - 2; ++y) {
        makeWall(0, y);
        makeWall(FWidth - 1, y);
    }

    // Asking for more than fits would make the draw loops below run forever:
    // walls come first, bombs take what room is left.
    const std::int64_t interior = std::int64_t {FWidth - 2} * (FHeight - 2);
    const std::int64_t wallCount = std::clamp<std::int64_t>(walls, 0, interior);
    const std::int64_t bombCount = std::clamp<std::int64_t>(bombs, 0, interior - wallCount);
    PlaceRandom(wallCount, ccWall, random);
    PlaceRandom(bombCount, ccBomb, random);

    std::uint8_t *view = FGrid.View();
    for (std::int32_t x = 0; x < FWidth; ++x) {
        for (std::int32_t y = 0; y < FHeight; ++y) {
            const MineCell &cell = FGrid(x, y);
            view[FGrid.ViewIndex(x, y)] = MineView(cell.State, cell.Content, cell.BombNeighbours);
        }
    }
}

void MineGame::PlaceRandom(std::int64_t count, MineCellContent content, const MineRandom &random)
{
    while (count > 0) {
        const std::int32_t x = 1 + random(FWidth - 1);
        const std::int32_t y = 1 + random(FHeight - 1);
        if (!Inside(x, y) || FGrid(x, y).Content != ccPlain)
            continue;
        MineCell &cell = FGrid(x, y);
        if (content == ccWall) {
            cell.State = csHidden;
            cell.Content = ccWall;
            NoteWall(x, y);
        } else {
            cell.Content = ccBomb;
            NoteBomb(x, y);
        }
        --count;
    }
}

template<typename Adjust>
void MineGame::ForNeighbours(std::int32_t x, std::int32_t y, Adjust adjust)
{
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
    if (!FAutoOpen || start.Content == ccBomb || start.BombNeighbours != 0)
        return true;

    // First in, first out: a position is queued at most once, because OpenOne
    // refuses a cell that is already open.
    FQueue.clear();
    FQueue.push_back(static_cast<std::uint32_t>(std::int64_t {x} * FHeight + y));
    for (std::size_t head = 0; head < FQueue.size(); ++head) {
        const std::int32_t a = static_cast<std::int32_t>(FQueue[head] / FHeight);
        const std::int32_t b = static_cast<std::int32_t>(FQueue[head] % FHeight);
        for (std::int32_t j = b - 1; j <= b + 1; ++j) {
            for (std::int32_t i = a - 1; i <= a + 1; ++i) {
                if (Inside(i, j) && OpenOne(i, j) && FGrid(i, j).BombNeighbours == 0)
                    FQueue.push_back(static_cast<std::uint32_t>(std::int64_t {i} * FHeight + j));
            }
        }
    }
    FQueue.clear();
    return true;
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
