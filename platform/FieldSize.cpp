// SPDX-License-Identifier: GPL-3.0-or-later
#include "FieldSize.h"

#include <algorithm>

namespace korvane {

namespace {
    // The field's picture holds every cell at the skin's tile size: a stored
    // size may not make it larger than four 4K screens (128 MB).
    constexpr qint64 MaxFieldPixels = qint64 {1} << 25;
} // namespace

QSize FieldMaxima(QSize screen, QSize outer, QSize fieldBox, QSize tile, bool ringShown)
{
    int shownRows = fieldBox.height() / tile.height();
    int shownCols = fieldBox.width() / tile.width();
    if (ringShown) {
        shownRows -= 2;
        shownCols -= 2;
    }
    return {std::max(9, shownCols + (screen.width() - outer.width()) / tile.width()),
            std::max(9, shownRows + (screen.height() - outer.height()) / tile.height())};
}

FieldSize LimitFieldSize(FieldSize f, QSize maxInner, QSize tile)
{
    qint64 height = std::clamp<qint64>(qint64 {f.Height} - 2, 9, std::max(9, maxInner.height()));
    qint64 width = std::clamp<qint64>(qint64 {f.Width} - 2, 9, std::max(9, maxInner.width()));
    const qint64 tilePixels = std::max<qint64>(1, qint64 {tile.width()} * tile.height());
    if ((height + 2) * (width + 2) * tilePixels > MaxFieldPixels) {
        const qint64 cells = MaxFieldPixels / tilePixels;
        height = std::max<qint64>(9, std::min(height, cells / (width + 2) - 2));
        width = std::max<qint64>(9, std::min(width, cells / (height + 2) - 2));
    }
    const qint64 cells = height * width;
    const qint64 bombs = std::clamp<qint64>(f.Bombs, 10, cells);
    return {static_cast<int>(width + 2), static_cast<int>(height + 2), static_cast<int>(bombs),
            static_cast<int>(std::clamp<qint64>(f.Walls, 0, cells - bombs))};
}

} // namespace korvane
