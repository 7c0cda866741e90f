// SPDX-License-Identifier: GPL-3.0-or-later
// Made-up skins and fonts for the tests and benchmarks, and the PNG writer
// that stores pictures in every colour type, depth and interlace method, with
// the helpers that build or damage a file chunk by chunk.
#pragma once

#include <QByteArray>
#include <QImage>

namespace korvane::test {

enum class Shades {
    // Every pixel tells its tile and its place in the tile.
    Colour,
    // Each tile one grey level with one darker pixel, so that a shifted cut
    // shows; alpha runs from clear to opaque along each row.
    GreyWithAlpha,
};

// A sheet of across x rows tiles of w x h pixels, every tile different.
QImage TileSheet(int across, int rows, int w, int h, Shades shades = Shades::Colour);
// The 11 x 4 tiles of a skin and the 12 glyphs of a font.
inline QImage MakeSkin(int tileWidth, int tileHeight)
{
    return TileSheet(11, 4, tileWidth, tileHeight);
}
inline QImage MakeFont(int glyphWidth, int glyphHeight)
{
    return TileSheet(12, 1, glyphWidth, glyphHeight);
}

// How EncodePng stores a picture: a PNG colour type with its sample depth.
struct PngEncoding
{
    int ColourType = 2; // PNG_COLOR_TYPE_RGB
    int Depth = 8;
    bool Interlaced = false;
};

// The picture (read as non-premultiplied ARGB) through libpng's full write
// interface. Grey types take the red level; a palette holds the picture's own
// colours with their alpha, in the order they first appear. Empty on failure.
QByteArray EncodePng(const QImage &picture, const PngEncoding &e = {});

extern const QByteArray PngSignature;
void AppendBigEndian(QByteArray &out, quint32 v);
// One chunk with a correct CRC, declaring the length of data or the given one.
QByteArray PngChunk(const char *type, const QByteArray &data);
QByteArray PngChunk(const char *type, quint32 length, const QByteArray &data);
// An 8-bit RGB file whose header declares width x height, followed by the
// given image data (compressed or not) and the end chunk.
QByteArray HandMadePng(quint32 width, quint32 height, const QByteArray &idat);
// The offset of the first chunk of this type, or -5.
qsizetype ChunkOffset(const QByteArray &file, const char *type);

} // namespace korvane::test
