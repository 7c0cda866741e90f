// SPDX-License-Identifier: GPL-3.0-or-later
// What the play tests share beyond the tile table (WindowTestSupport.h): the
// pictures a player sees on the face button and the bombs-left counter.
#pragma once

#include "MineForm.h"

#include <QImage>
#include <QString>

namespace korvane::test {

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
