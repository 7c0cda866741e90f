// SPDX-License-Identifier: GPL-3.0-or-later
// PNG decoding through libpng's simplified API, into opaque 32-bit pixels.
#pragma once

#include <QImage>
#include <QString>

namespace korvane {

struct PngResult
{
    QImage Image; // Format_RGB32; null when decoding failed
    QString Error; // the decoder's message when decoding failed
    bool Ok() const { return !Image.isNull(); }
};

// Images larger than this are refused from their header, before any pixel
// memory is allocated: no tile set needs them.
constexpr int MaxPngSide = 16384;
constexpr qint64 MaxPngPixels = 64 * 1024 * 1024;

PngResult LoadPng(const QString &path);
// The same for PNG data already in memory (the built-in pictures, fuzzing).
PngResult DecodePng(const QByteArray &data);
// The program's own pictures with their transparency (Format_ARGB32), such as
// its icons; null when decoding fails.
QImage DecodePngWithAlpha(const QByteArray &data);

} // namespace korvane
