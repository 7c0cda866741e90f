// The table picture_table writes at build time (BuiltInImageData.cpp).
#pragma once

#include <QtGlobal>

namespace korvane {

struct BuiltInImageData
{
    const char *Name;
    int Width;
    int Height;
    bool Alpha;
    const quint32 *Pixels; // Width * Height pixels, row after row, as QImage holds them
};

extern const BuiltInImageData BuiltInImageTable[];
extern const int BuiltInImageCount;

} // namespace korvane
