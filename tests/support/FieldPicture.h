// SPDX-License-Identifier: GPL-3.0-or-later
// Small fields drawn as text, for the tests of the game model and the window.
//
// A layout picture has one string per row and one character per cell:
//   '#' ring wall   'W' interior wall   '*' bomb   '.' plain cell
// MakeGame builds a MineGame whose random source answers exactly the draws
// that put those walls and bombs where the picture has them.
//
// Render draws what the player may see of a game, through the public queries
// only, one character per cell:
//   '#' covered wall                    '=' open wall
//   '-' covered cell                    '*' covered bomb, shown once the game is over
//   'F' flag                            'f' flag on a cell shown to hold no bomb
//   '?' question mark                   '!' question mark on a bomb shown
//   ' ' open, no bomb neighbours        '1'..'8' open, that many bomb neighbours
//   'X' bomb that was hit               'E' a combination the queries should never give
#pragma once

#include "MineStorage.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using Picture = std::vector<std::string>;

struct Pos
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Pos &, const Pos &) = default;
};

struct FieldLayout
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<Pos> walls; // interior walls only, in reading order
    std::vector<Pos> bombs; // in reading order

    bool Inside(std::int32_t x, std::int32_t y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height;
    }
    // ccWall, ccBomb or ccPlain; ccWall outside the grid.
    MineCellContent At(std::int32_t x, std::int32_t y) const;
    Picture Draw() const;

    std::vector<MineCellContent> contents; // column by column: index x * height + y
};

// Reads a layout picture; a malformed one fails the current test.
FieldLayout ParseLayout(const Picture &picture);
// The layout of a width x height field with the given interior walls and bombs.
FieldLayout MakeLayout(std::int32_t width, std::int32_t height, const std::vector<Pos> &walls,
                       const std::vector<Pos> &bombs);

// The random source of a game under test: answers a fixed list of draws and
// notes every request, so that a test can tell whether the constructor asked
// for x and y in turn with the ranges it should. Running out of draws throws,
// so a constructor that wants more draws than scripted ends the test instead
// of looping.
class DrawScript
{
public:
    DrawScript(std::int32_t width, std::int32_t height);

    // Queues the draw of cell p: x = 1 + R(width - 1), then y = 1 + R(height - 1).
    void Draw(Pos p);
    void Draw(const std::vector<Pos> &cells);

    // The source refers to this script, which must outlive the construction.
    MineRandom Source();

    std::size_t Remaining() const { return FValues.size() - FNext; }
    // Requests whose range was not the one expected at that point (x range,
    // then y range, in turn), as readable text; empty when all were right.
    const std::vector<std::string> &Mismatches() const { return FMismatches; }

private:
    std::int32_t Answer(std::int32_t n);

    std::int32_t FWidth;
    std::int32_t FHeight;
    std::vector<std::int32_t> FValues;
    std::size_t FNext = 0;
    std::vector<std::string> FMismatches;
};

struct GameOptions
{
    std::int32_t shields = 1;
    bool startMarked = false;
    bool autoOpen = true;
};

// The game of a layout picture. The walls are drawn first, then the bombs.
std::unique_ptr<MineGame> MakeGame(const Picture &picture, GameOptions options = {});
// The same, but with the draws supplied by the caller (rejected ones included);
// the test fails unless the constructor used every draw of the script.
std::unique_ptr<MineGame> MakeGame(const FieldLayout &layout, DrawScript &script,
                                   GameOptions options = {});

// The random source of a new game on the picture's field, for a caller that
// only hands it on (the window): a draw off the script throws.
MineRandom PictureRandom(const Picture &picture);

// What the player may see of the whole field, rows joined by '\n'.
std::string Render(const MineGame &game);
// The rows of an expected picture joined by '\n', to compare with Render.
std::string Rows(std::initializer_list<std::string_view> rows);
std::string Rows(const Picture &rows);
