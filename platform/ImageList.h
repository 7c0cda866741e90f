// SPDX-License-Identifier: GPL-3.0-or-later
// A list of equal-sized opaque images, drawn by copying pixel rows.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace korvane {

class ImageList
{
public:
    // Empties the list and sets the size of every image it will hold.
    void Reset(int width, int height);
    // Cuts a strip of k images, left to right, and appends them. The strip is
    // as high as one image; a partial image at its right end is dropped.
    void AddStrip(const QImage &strip);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Count() const { return FCount; }

    // Copies image index with its top-left corner at (x, y) of target,
    // clipped to the target; an index outside the list draws nothing.
    void Draw(QImage &target, int x, int y, int index) const;
    // Draws images tiles[0 .. count-1] side by side, the first with its
    // top-left corner at dst; rows of the target lie stride pixels apart.
    // Nothing is clipped: the row must fit.
    void DrawRow(std::uint32_t *dst, qsizetype stride, const std::uint8_t *tiles, int count) const;
    // dst[i] = colour[index[i]] for count pixels: images of one pixel drawn
    // straight from a table of their colours.
    static void ColourRow(std::uint32_t *dst, const std::uint8_t *index, int count,
                          const std::uint32_t *colour);
    // One image as a QImage of its own (a copy).
    QImage Image(int index) const;
    // The first pixel row of image index; rows follow each other
    // Width() pixels apart.
    const std::uint32_t *Pixels(int index) const
    {
        return FPixels.data() + static_cast<std::size_t>(index) * FWidth * FHeight;
    }

private:
    int FWidth = 0;
    int FHeight = 0;
    int FCount = 0;
    // All images stacked one below the other, rows packed without padding.
    std::vector<std::uint32_t> FPixels;
};

} // namespace korvane
