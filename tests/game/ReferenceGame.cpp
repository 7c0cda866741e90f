// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceGame.h"

#include <algorithm>
#include <limits>

namespace {

std::int32_t ToInt32(std::int64_t n)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        n, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

ReferenceGame::ReferenceGame(const FieldLayout &layout, std::int32_t shields, bool startMarked)
    : FWidth(layout.width)
    , FHeight(layout.height)
    , FContents(layout.contents)
    , FShields(shields)
{
    FStates.assign(FContents.size(), csHidden);
    for (std::size_t i = 0; i < FStates.size(); ++i) {
        if (startMarked && FContents[i] != ccWall)
            FStates[i] = csMarked;
    }
    FKept = Count();
}

void ReferenceGame::SetState(std::int32_t x, std::int32_t y, MineCellState state)
{
    const MineCellContent content = Content(x, y);
    auto tally = [&](MineCellState s, std::int64_t sign) {
        if (s == csOpen) {
            FKept.opened += sign;
            if (content == ccBomb)
                FKept.exploded += sign;
            if (content == ccWall)
                FKept.openedWalls += sign;
        }
        if (s == csFlagged) {
            FKept.flags += sign;
            if (content != ccBomb)
                FKept.wrongFlags += sign;
        }
    };
    tally(State(x, y), -1);
    tally(state, +1);
    FStates[Index(x, y)] = state;
}

std::int32_t ReferenceGame::BombsAround(std::int32_t x, std::int32_t y) const
{
    return Around(x, y, [this](std::int32_t i, std::int32_t j) { return Content(i, j) == ccBomb; });
}

ReferenceGame::Totals ReferenceGame::Count() const
{
    Totals t;
    for (std::int32_t x = 0; x < FWidth; ++x) {
        for (std::int32_t y = 0; y < FHeight; ++y) {
            const MineCellContent c = Content(x, y);
            const MineCellState s = State(x, y);
            t.bombs += c == ccBomb;
            t.walls += c == ccWall;
            t.opened += s == csOpen;
            t.exploded += s == csOpen && c == ccBomb;
            t.openedWalls += s == csOpen && c == ccWall;
            t.flags += s == csFlagged;
            t.wrongFlags += s == csFlagged && c != ccBomb;
        }
    }
    return t;
}

bool ReferenceGame::RecountAgrees() const
{
    return Count() == FKept;
}

bool ReferenceGame::Lost(const Totals &t, std::int32_t shields)
{
    return t.exploded >= shields;
}

bool ReferenceGame::Won(const Totals &t) const
{
    const std::int64_t area = std::int64_t {FWidth} * FHeight;
    const std::int64_t plainCells = area - t.bombs - t.walls;
    const bool everyPlainCellOpen = t.opened - t.exploded - t.openedWalls >= plainCells;
    const bool everyBombHit = t.exploded >= t.bombs;
    return everyPlainCellOpen || everyBombHit;
}

// Actions

bool ReferenceGame::OpenOne(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y) || IsFinished())
        return false;
    const MineCellState s = State(x, y);
    if (s == csFlagged || s == csOpen || Content(x, y) == ccWall)
        return false;
    SetState(x, y, csOpen);
    return true;
}

bool ReferenceGame::OpenCell(std::int32_t x, std::int32_t y)
{
    if (!OpenOne(x, y))
        return false;
    if (!autoOpen || Content(x, y) == ccBomb || BombsAround(x, y) != 0)
        return true;
    // Which cells a flood opens does not depend on the order, so a stack does.
    std::vector<Pos> pending {{x, y}};
    while (!pending.empty()) {
        const Pos p = pending.back();
        pending.pop_back();
        for (std::int32_t dx = -1; dx <= 1; ++dx) {
            for (std::int32_t dy = -1; dy <= 1; ++dy) {
                const Pos n {p.x + dx, p.y + dy};
                if (OpenOne(n.x, n.y) && BombsAround(n.x, n.y) == 0)
                    pending.push_back(n);
            }
        }
    }
    return true;
}

bool ReferenceGame::OpenWall(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y) || State(x, y) == csOpen || Content(x, y) != ccWall)
        return false;
    SetState(x, y, csOpen);
    if (autoOpen && BombsAround(x, y) == 0) {
        for (std::int32_t dx = -1; dx <= 1; ++dx) {
            for (std::int32_t dy = -1; dy <= 1; ++dy) {
                const std::int32_t i = x + dx, j = y + dy;
                if (Inside(i, j) && State(i, j) != csOpen && Content(i, j) != ccWall)
                    OpenCell(i, j);
            }
        }
    }
    return true;
}

bool ReferenceGame::OpenInnerWalls()
{
    bool any = false;
    for (std::int32_t x = 1; x < FWidth - 1; ++x) {
        for (std::int32_t y = 1; y < FHeight - 1; ++y) {
            if (Content(x, y) == ccWall && OpenWall(x, y))
                any = true;
        }
    }
    return any;
}

bool ReferenceGame::OpenBorderWalls()
{
    if (IsFinished())
        return false;
    bool any = false;
    for (std::int32_t x = 0; x < FWidth; ++x) {
        for (std::int32_t y = 0; y < FHeight; ++y) {
            const bool ring = x == 0 || y == 0 || x == FWidth - 1 || y == FHeight - 1;
            if (ring && OpenWall(x, y))
                any = true;
        }
    }
    return any;
}

bool ReferenceGame::Chord(std::int32_t x, std::int32_t y)
{
    if (IsFinished() || !Inside(x, y) || State(x, y) != csOpen
        || BombsAround(x, y) != KnownAround(x, y))
        return false;
    bool any = false;
    // The order matters here: a hit may end the game before later neighbours.
    for (std::int32_t i = x - 1; i <= x + 1; ++i) {
        for (std::int32_t j = y - 1; j <= y + 1; ++j) {
            if ((i != x || j != y) && Inside(i, j) && TryOpen(i, j))
                any = true;
        }
    }
    return any;
}

bool ReferenceGame::TryOpen(std::int32_t x, std::int32_t y)
{
    const MineCellState s = State(x, y);
    if (s != csHidden && s != csMarked)
        return false;
    OpenCell(x, y);
    return true;
}

bool ReferenceGame::FlagCell(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y) || IsFinished() || State(x, y) == csOpen || Content(x, y) == ccWall)
        return false;
    SetState(x, y, csFlagged);
    return true;
}

bool ReferenceGame::MarkCell(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y) || IsFinished() || State(x, y) == csOpen || Content(x, y) == ccWall)
        return false;
    SetState(x, y, csMarked);
    return true;
}

bool ReferenceGame::ClearCell(std::int32_t x, std::int32_t y)
{
    if (!Inside(x, y) || IsFinished() || State(x, y) == csOpen || Content(x, y) == ccWall)
        return false;
    SetState(x, y, csHidden);
    return true;
}

// Queries

MineCellState ReferenceGame::CellState(std::int32_t x, std::int32_t y) const
{
    return Inside(x, y) ? State(x, y) : csHidden;
}

MineCellContent ReferenceGame::CellContent(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y))
        return ccWall;
    if (IsFinished() || State(x, y) == csOpen || Content(x, y) == ccWall)
        return Content(x, y);
    return ccUnknown;
}

std::int32_t ReferenceGame::CellNumber(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y))
        return 0;
    if (IsFinished() || State(x, y) == csOpen || Content(x, y) == ccBomb)
        return BombsAround(x, y);
    return -1;
}

std::int32_t ReferenceGame::KnownAround(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y))
        return 0;
    return Around(x, y, [this](std::int32_t i, std::int32_t j) {
        const MineCellState s = State(i, j);
        return s == csFlagged || (s == csOpen && Content(i, j) == ccBomb);
    });
}

std::int32_t ReferenceGame::BombCount() const
{
    return ToInt32(FKept.bombs);
}

std::int32_t ReferenceGame::ExplodedCount() const
{
    return ToInt32(FKept.exploded);
}

std::int32_t ReferenceGame::FlagCount() const
{
    return ToInt32(FKept.flags);
}

std::int32_t ReferenceGame::OpenedCount() const
{
    return ToInt32(FKept.opened);
}

std::int32_t ReferenceGame::CountableCells() const
{
    return ToInt32(std::int64_t {FWidth} * FHeight - FKept.walls + FKept.openedWalls);
}

bool ReferenceGame::IsLost() const
{
    return Lost(FKept, FShields);
}

bool ReferenceGame::IsWon() const
{
    return Won(FKept);
}

bool ReferenceGame::IsFinished() const
{
    return Lost(FKept, FShields) || Won(FKept);
}

std::int32_t ReferenceGame::BombsLeft() const
{
    if (Won(FKept))
        return 0;
    const std::int64_t left = FKept.bombs - FKept.flags - FKept.exploded;
    return ToInt32(Lost(FKept, FShields) ? left + FKept.wrongFlags : left);
}
