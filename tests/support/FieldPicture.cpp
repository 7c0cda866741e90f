// SPDX-License-Identifier: GPL-3.0-or-later
#include "FieldPicture.h"

#include <gtest/gtest.h>

#include <stdexcept>

MineCellContent FieldLayout::At(std::int32_t x, std::int32_t y) const
{
    if (!Inside(x, y))
        return ccWall;
    return contents[static_cast<std::size_t>(x) * static_cast<std::size_t>(height)
                    + static_cast<std::size_t>(y)];
}

Picture FieldLayout::Draw() const
{
    Picture rows(static_cast<std::size_t>(height),
                 std::string(static_cast<std::size_t>(width), '.'));
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const bool ring = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const MineCellContent c = At(x, y);
            rows[y][x] = c == ccWall ? (ring ? '#' : 'W') : c == ccBomb ? '*' : '.';
        }
    }
    return rows;
}

FieldLayout MakeLayout(std::int32_t width, std::int32_t height, const std::vector<Pos> &walls,
                       const std::vector<Pos> &bombs)
{
    FieldLayout layout;
    layout.width = width;
    layout.height = height;
    layout.walls = walls;
    layout.bombs = bombs;
    layout.contents.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                           ccPlain);
    auto set = [&](std::int32_t x, std::int32_t y, MineCellContent c) {
        layout.contents[static_cast<std::size_t>(x) * static_cast<std::size_t>(height)
                        + static_cast<std::size_t>(y)]
            = c;
    };
    for (std::int32_t x = 0; x < width; ++x) {
        set(x, 0, ccWall);
        set(x, height - 1, ccWall);
    }
    for (std::int32_t y = 0; y < height; ++y) {
        set(0, y, ccWall);
        set(width - 1, y, ccWall);
    }
    for (const Pos p : walls)
        set(p.x, p.y, ccWall);
    for (const Pos p : bombs)
        set(p.x, p.y, ccBomb);
    return layout;
}

FieldLayout ParseLayout(const Picture &picture)
{
    const auto height = static_cast<std::int32_t>(picture.size());
    const auto width = picture.empty() ? 0 : static_cast<std::int32_t>(picture.front().size());
    if (height < 3 || width < 3)
        ADD_FAILURE() << "a field picture needs at least 3 rows of 3 cells";
    std::vector<Pos> walls, bombs;
    for (std::int32_t y = 0; y < height; ++y) {
        const std::string &row = picture[y];
        if (static_cast<std::int32_t>(row.size()) != width) {
            ADD_FAILURE() << "row " << y << " of the picture is not " << width << " cells wide";
            continue;
        }
        for (std::int32_t x = 0; x < width; ++x) {
            const bool ring = x == 0 || y == 0 || x == width - 1 || y == height - 1;
            const char c = row[x];
            if (ring != (c == '#'))
                ADD_FAILURE() << "cell (" << x << ", " << y << ") of the picture is '" << c
                              << "': '#' belongs on the ring and only there";
            else if (c == 'W')
                walls.push_back({x, y});
            else if (c == '*')
                bombs.push_back({x, y});
            else if (c != '.' && c != '#')
                ADD_FAILURE() << "unknown cell '" << c << "' in the picture";
        }
    }
    return MakeLayout(width, height, walls, bombs);
}

DrawScript::DrawScript(std::int32_t width, std::int32_t height)
    : FWidth(width)
    , FHeight(height)
{ }

void DrawScript::Draw(Pos p)
{
    FValues.push_back(p.x - 1);
    FValues.push_back(p.y - 1);
}

void DrawScript::Draw(const std::vector<Pos> &cells)
{
    for (const Pos p : cells)
        Draw(p);
}

MineRandom DrawScript::Source()
{
    return [this](std::int32_t n) { return Answer(n); };
}

std::int32_t DrawScript::Answer(std::int32_t n)
{
    const bool wantsX = FNext % 2 == 0;
    const std::int32_t expected = wantsX ? FWidth - 1 : FHeight - 1;
    if (n != expected)
        FMismatches.push_back("request " + std::to_string(FNext) + " asked R(" + std::to_string(n)
                              + "), expected R(" + std::to_string(expected) + ") for "
                              + (wantsX ? "x" : "y"));
    if (FNext >= FValues.size())
        throw std::logic_error("the constructor drew more often than the script allows");
    const std::int32_t value = FValues[FNext++];
    if (value < 0 || value >= n)
        FMismatches.push_back("scripted value " + std::to_string(value) + " lies outside R("
                              + std::to_string(n) + ")");
    return value;
}

std::unique_ptr<MineGame> MakeGame(const FieldLayout &layout, DrawScript &script,
                                   GameOptions options)
{
    auto game = std::make_unique<MineGame>(layout.width, layout.height,
                                           static_cast<std::int32_t>(layout.bombs.size()),
                                           static_cast<std::int32_t>(layout.walls.size()),
                                           options.shields, options.startMarked, script.Source());
    game->FAutoOpen = options.autoOpen;
    EXPECT_EQ(script.Remaining(), 0u) << "the constructor left scripted draws unused";
    EXPECT_EQ(script.Mismatches(), std::vector<std::string> {});
    return game;
}

std::unique_ptr<MineGame> MakeGame(const Picture &picture, GameOptions options)
{
    const FieldLayout layout = ParseLayout(picture);
    DrawScript script(layout.width, layout.height);
    script.Draw(layout.walls);
    script.Draw(layout.bombs);
    return MakeGame(layout, script, options);
}

MineRandom PictureRandom(const Picture &picture)
{
    const FieldLayout layout = ParseLayout(picture);
    auto script = std::make_shared<DrawScript>(layout.width, layout.height);
    script->Draw(layout.walls);
    script->Draw(layout.bombs);
    return [script, source = script->Source()](std::int32_t n) {
        const std::int32_t value = source(n);
        if (!script->Mismatches().empty())
            throw std::logic_error(script->Mismatches().front());
        return value;
    };
}

namespace {

char RenderCell(const MineGame &game, std::int32_t x, std::int32_t y)
{
    const MineCellContent content = game.CellContent(x, y);
    switch (game.CellState(x, y)) {
    case csHidden:
        return content == ccWall ? '#' : content == ccBomb ? '*' : '-';
    case csFlagged:
        return content == ccPlain ? 'f' : content == ccWall ? 'E' : 'F';
    case csMarked:
        return content == ccBomb ? '!' : content == ccWall ? 'E' : '?';
    case csOpen:
        if (content == ccWall)
            return '=';
        if (content == ccBomb)
            return 'X';
        if (content == ccPlain) {
            const std::int32_t n = game.CellNumber(x, y);
            if (n == 0)
                return ' ';
            if (n >= 1 && n <= 8)
                return static_cast<char>('0' + n);
        }
        return 'E';
    }
    return 'E';
}

} // namespace

std::string Render(const MineGame &game)
{
    std::string text;
    for (std::int32_t y = 0; y < game.FHeight; ++y) {
        if (y > 0)
            text += '\n';
        for (std::int32_t x = 0; x < game.FWidth; ++x)
            text += RenderCell(game, x, y);
    }
    return text;
}

std::string Rows(std::initializer_list<std::string_view> rows)
{
    std::string text;
    for (const std::string_view row : rows) {
        if (!text.empty())
            text += '\n';
        text += row;
    }
    return text;
}

std::string Rows(const Picture &rows)
{
    std::string text;
    for (const std::string &row : rows) {
        if (!text.empty())
            text += '\n';
        text += row;
    }
    return text;
}
