// SPDX-License-Identifier: GPL-3.0-or-later
// Interlaced pictures with 16-bit samples. libpng's simplified reader takes
// rows from the wrong pass when it brings them down to 8 bits, so the decoder
// reads them another way; they must give exactly the pixels of the same
// picture stored without interlacing.
#include "Png.h"
#include "TestPictures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

using namespace korvane;
using namespace korvane::test;

namespace {

// A 13 x 11 picture, every pixel its own colour, as 16-bit samples of the
// given colour type (grey types use the red level).
QByteArray Encode16(int colourType, bool interlaced)
{
    QImage picture(13, 11, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            // Alpha runs through every level: only the colours may count.
            picture.setPixel(
                x, y,
                qRgba((x * 19 + y * 37) % 256, y * 23 % 256, (x + y) * 7 % 256, (x * 20) % 256));
        }
    }
    return EncodePng(picture, {colourType, 16, interlaced});
}

class Interlaced16 : public testing::TestWithParam<int>
{ };

} // namespace

TEST_P(Interlaced16, DecodesLikeTheSamePictureWithoutInterlacing)
{
    const PngResult plain = DecodePng(Encode16(GetParam(), false));
    ASSERT_TRUE(plain.Ok()) << plain.Error.toStdString();
    const int red = (12 * 19 + 10 * 37) % 256;
    const QRgb corner = GetParam() & PNG_COLOR_MASK_COLOR ? qRgb(red, 10 * 23 % 256, 22 * 7 % 256)
                                                          : qRgb(red, red, red);
    EXPECT_EQ(plain.Image.pixel(12, 10), corner) << "the colours of the plain picture";

    const QByteArray interlaced = Encode16(GetParam(), true);
    const PngResult decoded = DecodePng(interlaced);
    ASSERT_TRUE(decoded.Ok()) << decoded.Error.toStdString();
    EXPECT_EQ(decoded.Image, plain.Image);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("interlaced.png"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(interlaced);
    file.close();
    const PngResult loaded = LoadPng(path);
    ASSERT_TRUE(loaded.Ok()) << loaded.Error.toStdString();
    EXPECT_EQ(loaded.Image, plain.Image);
}

// Damage in such a file is reported with the decoder's message, as for any other.
TEST_P(Interlaced16, DamagedImageDataIsReported)
{
    QByteArray file = Encode16(GetParam(), true);
    const qsizetype idat = file.indexOf("IDAT");
    qsizetype length = 0;
    for (qsizetype i = idat - 4; i < idat; ++i)
        length = length << 8 | static_cast<quint8>(file[i]);
    file[idat + 4 + length] = static_cast<char>(file[idat + 4 + length] ^ 0x40); // its CRC
    const PngResult decoded = DecodePng(file);
    EXPECT_FALSE(decoded.Ok());
    EXPECT_EQ(decoded.Error, QStringLiteral("IDAT: CRC error"));
    EXPECT_FALSE(DecodePng(file.left(idat + 20)).Error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Png, Interlaced16,
                         testing::Values(PNG_COLOR_TYPE_GRAY, PNG_COLOR_TYPE_GRAY_ALPHA,
                                         PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA),
                         [](const testing::TestParamInfo<int> &info) {
                             switch (info.param) {
                             case PNG_COLOR_TYPE_GRAY:
                                 return std::string("Grey");
                             case PNG_COLOR_TYPE_GRAY_ALPHA:
                                 return std::string("GreyAlpha");
                             case PNG_COLOR_TYPE_RGB:
                                 return std::string("Rgb");
                             default:
                                 return std::string("RgbAlpha");
                             }
                         });
