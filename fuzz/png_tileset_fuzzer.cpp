// SPDX-License-Identifier: GPL-3.0-or-later
// Skin and font pictures from any bytes: decoded by the program's PNG decoder
// and, when their size allows, cut into tiles and glyphs the way the main
// window cuts a file it loads. Every picture that decodes is opaque RGB32 of a
// size the decoder allows, and every tile holds exactly the picture's pixels.
#include "ImageList.h"
#include "Png.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace korvane;

namespace {

void Check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// Tile index of list, cell (column, row) of a grid of w x h tiles over picture.
void CheckTile(const ImageList &list, int index, const QImage &picture, int column, int row)
{
    const QImage tile = list.Image(index);
    const QImage expected
        = picture.copy(column * list.Width(), row * list.Height(), list.Width(), list.Height());
    Check(tile == expected, "a tile differs from its part of the picture");
}

// What LoadTileSet does with a skin: 11 x 4 tiles, cut row by row.
void CutSkin(const QImage &picture)
{
    if (picture.width() % 11 != 0 || picture.height() % 4 != 0)
        return;
    const int w = picture.width() / 11;
    const int h = picture.height() / 4;
    ImageList cells;
    cells.Reset(w, h);
    for (int r = 0; r < 4; ++r)
        cells.AddStrip(picture.copy(0, r * h, 11 * w, h));
    Check(cells.Count() == 44, "a skin gives 44 tiles");
    for (int i = 0; i < 44; ++i)
        CheckTile(cells, i, picture, i % 11, i / 11);
}

// What LoadTileSet does with a font: 12 glyphs side by side, any height.
void CutFont(const QImage &picture)
{
    if (picture.width() % 12 != 0)
        return;
    ImageList digits;
    digits.Reset(picture.width() / 12, picture.height());
    digits.AddStrip(picture);
    Check(digits.Count() == 12, "a font gives 12 glyphs");
    for (int i = 0; i < 12; ++i)
        CheckTile(digits, i, picture, i, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // No copy: a read past the end of the input is caught.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     static_cast<qsizetype>(size));
    const PngResult png = DecodePng(bytes);
    if (!png.Ok()) {
        Check(!png.Error.isEmpty(), "a failed decode carries a message");
        return 0;
    }
    const QImage &picture = png.Image;
    Check(picture.format() == QImage::Format_RGB32, "decoded pictures are RGB32");
    Check(picture.width() > 0 && picture.height() > 0, "decoded pictures are not empty");
    Check(picture.width() <= MaxPngSide && picture.height() <= MaxPngSide,
          "decoded pictures respect the side limit");
    Check(qint64 {picture.width()} * picture.height() <= MaxPngPixels,
          "decoded pictures respect the pixel limit");
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const std::uint32_t *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            Check((line[x] >> 24) == 0xFF, "decoded pixels are opaque");
    }
    CutSkin(picture);
    CutFont(picture);
    return 0;
}
