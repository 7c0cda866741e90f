// SPDX-License-Identifier: GPL-3.0-or-later
// Read access to the bookkeeping of a MineGame that no public operation
// reveals: the cell records with their seven neighbour counters, and the
// totals FWalls, FWrongFlags, FOpenedWalls and FShields. Tests use it to hold
// the counters against a recount; nothing here changes a game.
#pragma once

#include "MineStorage.h"

namespace peek {

// The record of a cell inside the grid.
const MineCell &Cell(const MineGame &game, std::int32_t x, std::int32_t y);
std::int32_t Walls(const MineGame &game);
std::int32_t WrongFlags(const MineGame &game);
std::int32_t OpenedWalls(const MineGame &game);
std::int32_t Shields(const MineGame &game);

} // namespace peek
