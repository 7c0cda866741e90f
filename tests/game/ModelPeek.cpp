// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModelPeek.h"

// An explicit instantiation may name private members (access checking does
// not apply to the names in it), and the friend function that the
// instantiated template defines hands the member pointer out.

namespace peek {
namespace {

    template<typename Tag, typename Tag::Type Member>
    struct Unlock
    {
        friend typename Tag::Type MemberOf(Tag) { return Member; }
    };

    struct GridTag
    {
        using Type = MineGrid MineGame::*;
        friend Type MemberOf(GridTag);
    };
    struct WallsTag
    {
        using Type = std::int32_t MineGame::*;
        friend Type MemberOf(WallsTag);
    };
    struct WrongFlagsTag
    {
        using Type = std::int32_t MineGame::*;
        friend Type MemberOf(WrongFlagsTag);
    };
    struct OpenedWallsTag
    {
        using Type = std::int32_t MineGame::*;
        friend Type MemberOf(OpenedWallsTag);
    };
    struct ShieldsTag
    {
        using Type = std::int32_t MineGame::*;
        friend Type MemberOf(ShieldsTag);
    };

    template struct Unlock<GridTag, &MineGame::FGrid>;
    template struct Unlock<WallsTag, &MineGame::FWalls>;
    template struct Unlock<WrongFlagsTag, &MineGame::FWrongFlags>;
    template struct Unlock<OpenedWallsTag, &MineGame::FOpenedWalls>;
    template struct Unlock<ShieldsTag, &MineGame::FShields>;

} // namespace

const MineCell &Cell(const MineGame &game, std::int32_t x, std::int32_t y)
{
    return (game.*MemberOf(GridTag {}))(x, y);
}

std::int32_t Walls(const MineGame &game)
{
    return game.*MemberOf(WallsTag {});
}

std::int32_t WrongFlags(const MineGame &game)
{
    return game.*MemberOf(WrongFlagsTag {});
}

std::int32_t OpenedWalls(const MineGame &game)
{
    return game.*MemberOf(OpenedWallsTag {});
}

std::int32_t Shields(const MineGame &game)
{
    return game.*MemberOf(ShieldsTag {});
}

} // namespace peek
