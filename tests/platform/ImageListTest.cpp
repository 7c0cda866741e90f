// SPDX-License-Identifier: GPL-3.0-or-later
// Image lists: strips are cut left to right, images are drawn opaque by copying
// rows, clipped to the target wherever they are placed.
#include "ImageList.h"

#include <gtest/gtest.h>

#include <climits>

using namespace korvane;

namespace {

// A colour that tells image, column and row apart.
QRgb Marker(int image, int x, int y)
{
    return qRgb(image * 16 + 1, x * 8 + 2, y * 8 + 3);
}

// A strip of count images of width x height, each pixel its Marker.
QImage Strip(int count, int width, int height, int firstImage = 0)
{
    QImage strip(count * width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < count * width; ++x)
            strip.setPixel(x, y, Marker(firstImage + x / width, x % width, y));
    }
    return strip;
}

const QRgb Background = qRgb(0x12, 0x34, 0x56);

QImage Target(int width, int height)
{
    QImage target(width, height, QImage::Format_RGB32);
    target.fill(Background);
    return target;
}

// Every pixel of target is the Marker of image where the image covers it
// (placed at left, top) and Background elsewhere.
void ExpectDrawn(const QImage &target, int image, qint64 left, qint64 top, int width, int height)
{
    int wrong = 0;
    for (int y = 0; y < target.height(); ++y) {
        for (int x = 0; x < target.width(); ++x) {
            const bool inside = x >= left && x < left + width && y >= top && y < top + height;
            const QRgb expected = inside
                ? Marker(image, static_cast<int>(x - left), static_cast<int>(y - top))
                : Background;
            if (target.pixel(x, y) != expected && wrong++ < 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ")" << (inside ? " inside" : "");
        }
    }
    EXPECT_EQ(wrong, 0);
}

class ImageListTest : public testing::Test
{
protected:
    void SetUp() override
    {
        List.Reset(5, 4);
        List.AddStrip(Strip(3, 5, 4));
    }

    ImageList List;
};

} // namespace

TEST_F(ImageListTest, ResetSetsTheSizeAndEmpties)
{
    EXPECT_EQ(List.Count(), 3);
    List.Reset(7, 2);
    EXPECT_EQ(List.Width(), 7);
    EXPECT_EQ(List.Height(), 2);
    EXPECT_EQ(List.Count(), 0);
    QImage target = Target(10, 10);
    List.Draw(target, 0, 0, 0);
    ExpectDrawn(target, 0, 0, 0, 0, 0);
}

TEST_F(ImageListTest, StripIsCutLeftToRight)
{
    for (int i = 0; i < 3; ++i) {
        const QImage image = List.Image(i);
        ASSERT_EQ(image.size(), QSize(5, 4));
        EXPECT_EQ(image, Strip(1, 5, 4, i)) << "image " << i;
        EXPECT_EQ(List.Pixels(i)[0], Marker(i, 0, 0));
        EXPECT_EQ(List.Pixels(i)[5 * 4 - 1], Marker(i, 4, 3));
    }
}

TEST_F(ImageListTest, StripsAreAppended)
{
    List.AddStrip(Strip(2, 5, 4, 3));
    ASSERT_EQ(List.Count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(List.Image(i), Strip(1, 5, 4, i)) << "image " << i;
}

TEST_F(ImageListTest, PartialImageAtTheRightEndIsDropped)
{
    List.Reset(5, 4);
    List.AddStrip(Strip(3, 5, 4).copy(0, 0, 14, 4));
    EXPECT_EQ(List.Count(), 2);
    List.AddStrip(Strip(1, 5, 4).copy(0, 0, 4, 4));
    EXPECT_EQ(List.Count(), 2);
}

TEST_F(ImageListTest, StripInAnotherFormatIsConverted)
{
    List.Reset(5, 4);
    List.AddStrip(Strip(2, 5, 4).convertToFormat(QImage::Format_RGB888));
    ASSERT_EQ(List.Count(), 2);
    EXPECT_EQ(List.Image(1), Strip(1, 5, 4, 1));
}

TEST_F(ImageListTest, ImageIsATrueCopy)
{
    QImage image = List.Image(1);
    image.fill(Qt::white);
    EXPECT_EQ(List.Image(1), Strip(1, 5, 4, 1));
}

TEST_F(ImageListTest, NullStripAndEmptyListAddNothing)
{
    List.AddStrip(QImage());
    EXPECT_EQ(List.Count(), 3);
    ImageList empty;
    empty.AddStrip(Strip(3, 5, 4));
    EXPECT_EQ(empty.Count(), 0);
    empty.Reset(-3, 4);
    empty.AddStrip(Strip(3, 5, 4));
    EXPECT_EQ(empty.Count(), 0);
}

TEST_F(ImageListTest, DrawCopiesExactPixelsOverWhatWasThere)
{
    QImage target = Target(20, 12);
    List.Draw(target, 6, 3, 2);
    ExpectDrawn(target, 2, 6, 3, 5, 4);
}

TEST_F(ImageListTest, DrawOnNonOpaqueTargetDrawsNothing)
{
    QImage target(8, 8, QImage::Format_ARGB32);
    target.fill(Background);
    List.Draw(target, 0, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), Background);
}

TEST_F(ImageListTest, IndexOutsideTheListDrawsNothing)
{
    for (int index : {-1, 3, 4, INT_MAX, INT_MIN}) {
        QImage target = Target(10, 10);
        List.Draw(target, 1, 1, index);
        ExpectDrawn(target, 0, 0, 0, 0, 0);
        const QImage image = List.Image(index);
        EXPECT_EQ(image.size(), QSize(5, 4));
        EXPECT_EQ(image.pixel(2, 2), qRgb(0, 0, 0)) << "index " << index;
    }
}

namespace {

struct Placement
{
    int X;
    int Y;
};

class ImageListClipping : public testing::TestWithParam<Placement>
{ };

} // namespace

// The 5 x 4 image is placed across every edge and corner of a 12 x 9 target,
// and far outside it.
TEST_P(ImageListClipping, DrawsOnlyThePartInsideTheTarget)
{
    ImageList list;
    list.Reset(5, 4);
    list.AddStrip(Strip(2, 5, 4));
    QImage target = Target(12, 9);
    list.Draw(target, GetParam().X, GetParam().Y, 1);
    ExpectDrawn(target, 1, GetParam().X, GetParam().Y, 5, 4);
}

INSTANTIATE_TEST_SUITE_P(ImageList, ImageListClipping,
                         testing::Values(Placement {-2, 3}, Placement {9, 3}, Placement {4, -3},
                                         Placement {4, 7}, Placement {-4, -3}, Placement {11, 8},
                                         Placement {-4, 8}, Placement {11, -3}, Placement {-5, 0},
                                         Placement {12, 0}, Placement {0, -4}, Placement {0, 9},
                                         Placement {0, 0}, Placement {7, 5},
                                         Placement {-1000, -1000}, Placement {1000, 1000},
                                         Placement {INT_MIN, INT_MIN}, Placement {INT_MAX, INT_MAX},
                                         Placement {INT_MAX - 2, 0}, Placement {INT_MIN + 1, 0},
                                         Placement {0, INT_MAX}, Placement {2, INT_MIN},
                                         Placement {INT_MAX, INT_MIN}));

TEST(ImageList, ImageLargerThanTheTargetIsClippedOnAllSides)
{
    ImageList list;
    list.Reset(30, 20);
    list.AddStrip(Strip(1, 30, 20));
    QImage target = Target(6, 5);
    list.Draw(target, -10, -7, 0);
    ExpectDrawn(target, 0, -10, -7, 30, 20);
}

TEST(ImageList, StripLowerThanAnImageLeavesBlackRows)
{
    ImageList list;
    list.Reset(2, 3);
    list.AddStrip(Strip(2, 2, 1));
    ASSERT_EQ(list.Count(), 2);
    const QImage image = list.Image(1);
    EXPECT_EQ(image.pixel(1, 0), Marker(1, 1, 0));
    EXPECT_EQ(image.pixel(1, 2), qRgb(0, 0, 0));
}

TEST(ImageList, StripHigherThanAnImageGivesItsTopRows)
{
    ImageList list;
    list.Reset(2, 2);
    list.AddStrip(Strip(2, 2, 5));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Image(1), Strip(1, 2, 5, 1).copy(0, 0, 2, 2));
}

// A row of images drawn side by side is each image drawn at its place, for
// the width the row copy knows when compiled and for another.
TEST(ImageList, DrawRowPlacesEachImageAsDrawDoes)
{
    for (const int width : {8, 5}) {
        ImageList list;
        list.Reset(width, 3);
        list.AddStrip(Strip(4, width, 3));
        const std::uint8_t tiles[] = {2, 0, 3, 3, 1};
        QImage row = Target(5 * width, 4), drawn = Target(5 * width, 4);
        list.DrawRow(reinterpret_cast<std::uint32_t *>(row.scanLine(1)), row.bytesPerLine() / 4,
                     tiles, 5);
        for (int c = 0; c < 5; ++c)
            list.Draw(drawn, c * width, 1, tiles[c]);
        EXPECT_EQ(row, drawn) << width;
    }
}

TEST(ImageList, OnePixelImages)
{
    ImageList list;
    list.Reset(1, 1);
    list.AddStrip(Strip(44, 1, 1));
    ASSERT_EQ(list.Count(), 44);
    QImage target = Target(1, 1);
    list.Draw(target, 0, 0, 43);
    EXPECT_EQ(target.pixel(0, 0), Marker(43, 0, 0));
}
