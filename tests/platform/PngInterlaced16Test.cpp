// Interlaced pictures with 16-bit samples. libpng's simplified reader takes
// rows from the wrong pass when it brings them down to 8 bits, so the decoder
// reads them another way; they must give exactly the pixels of the same
// picture stored without interlacing.
#include "Png.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

#include <vector>

using namespace korvane;

namespace {

void Append(png_structp png, png_bytep data, size_t length)
{
    static_cast<QByteArray *>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char *>(data), static_cast<qsizetype>(length));
}

void Flush(png_structp) { }

// A 13 x 11 picture, every pixel its own colour, as 16-bit samples of the
// given colour type (grey types use the red level).
QByteArray Encode16(int colourType, bool interlaced)
{
    constexpr int W = 13, H = 11;
    const int channels = colourType == PNG_COLOR_TYPE_GRAY ? 1
        : colourType == PNG_COLOR_TYPE_GRAY_ALPHA          ? 2
        : colourType == PNG_COLOR_TYPE_RGB                 ? 3
                                                           : 4;
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, Flush);
    png_set_IHDR(png, info, W, H, 16, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<std::vector<png_byte>> rows(H);
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
            const int samples[] {(x * 19 + y * 37) % 256, y * 23 % 256, (x + y) * 7 % 256,
                                 (x * y) % 256};
            for (int c = 0; c < channels; ++c) {
                // Alpha runs through every level: only the colours may count.
                const int v = c == channels - 1 && channels % 2 == 0 ? (x * 20) % 256 : samples[c];
                rows[y].push_back(static_cast<png_byte>(v));
                rows[y].push_back(static_cast<png_byte>(v));
            }
        }
    }
    std::vector<png_bytep> pointers;
    for (auto &row : rows)
        pointers.push_back(row.data());
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
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
