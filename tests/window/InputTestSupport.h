// What the play tests share: the tile a cell should show, worked out from the
// model by the rules of the tile table (not by asking the window), and the
// pictures a player sees on the face button and the bombs-left counter.
#pragma once

#include "MineForm.h"

#include <QImage>
#include <QString>

namespace korvane::test {

inline constexpr int TileBackground = 10;

// The tile cell (x, y) shows while nobody presses it.
int ExpectedTile(const MineGame &game, bool surround, int x, int y);
// The tile cell (x, y) shows while the mouse holds it down.
int ExpectedPressedTile(const MineGame &game, bool surround, int x, int y);

// Face index of the new-game button as the player sees it: the face image
// with the colour of its bottom-left pixel made transparent.
QImage ExpectedFace(const TfrmKorvane &w, int index);

// The bombs-left text for a number, padded to digits characters.
QString CounterText(int number, int digits);
// True when the counter bitmap holds exactly the glyphs of text.
bool CounterShows(const TfrmKorvane &w, const QString &text);

// Pixel to cell: whole tiles, truncated toward zero (not floored).
int PixelToCell(int pixel, int tileSize);

} // namespace korvane::test
