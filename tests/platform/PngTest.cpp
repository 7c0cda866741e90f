// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding of skin and font pictures: every PNG colour type and depth gives the
// same opaque pixels, and every broken file gives a message instead of a crash.
#include "Png.h"
#include "TestPictures.h"
#include "Unprivileged.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <unistd.h>
#include <vector>

using namespace korvane;
using namespace korvane::test;

namespace {

// --- Writing test pictures -------------------------------------------------

struct Picture
{
    int Width = 0;
    int Height = 0;
    std::vector<QRgb> Pixels; // with alpha, row by row

    QRgb At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

// A picture whose colours all differ, with alpha running through 0, 128 and 255.
Picture Colourful(int width, int height)
{
    Picture p {width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int alpha = (x + y) % 3 == 0 ? 255 : (x + y) % 3 == 1 ? 128 : 0;
            p.Pixels.push_back(
                qRgba((x * 37 + 11) & 0xFF, (y * 53 + 7) & 0xFF, ((x + y) * 29 + 3) & 0xFF, alpha));
        }
    }
    return p;
}

// Grey levels only (red = green = blue), alpha as in Colourful.
Picture Grey(int width, int height)
{
    Picture p = Colourful(width, height);
    for (QRgb &c : p.Pixels)
        c = qRgba(qRed(c), qRed(c), qRed(c), qAlpha(c));
    return p;
}

// A few colours, so that the picture fits a palette of depth 4.
Picture FewColours(int width, int height)
{
    static const QRgb colours[]
        = {qRgba(255, 0, 0, 255), qRgba(0, 128, 0, 128), qRgba(0, 0, 255, 0),
           qRgba(192, 192, 192, 255), qRgba(128, 0, 128, 255)};
    Picture p {width, height, {}};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            p.Pixels.push_back(colours[(x * 3 + y) % 5]);
    }
    return p;
}

// The picture as a PNG file, as libpng writes it in any colour type and depth.
QByteArray Encode(const Picture &p, const PngEncoding &e)
{
    QImage image(p.Width, p.Height, QImage::Format_ARGB32);
    for (int y = 0; y < p.Height; ++y) {
        for (int x = 0; x < p.Width; ++x)
            image.setPixel(x, y, p.At(x, y));
    }
    return EncodePng(image, e);
}

// --- Hand-made files ---------------------------------------------------------

QByteArray Deflate(const QByteArray &raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    QByteArray out(static_cast<qsizetype>(size), '\0');
    compress(reinterpret_cast<Bytef *>(out.data()), &size,
             reinterpret_cast<const Bytef *>(raw.constData()), static_cast<uLong>(raw.size()));
    out.resize(static_cast<qsizetype>(size));
    return out;
}

bool WriteFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// --- Checking the result -----------------------------------------------------

// Every pixel has the colour of the picture and a full alpha byte, whatever the
// alpha of the source.
void ExpectPixels(const PngResult &result, const Picture &p)
{
    ASSERT_TRUE(result.Ok()) << result.Error.toStdString();
    EXPECT_TRUE(result.Error.isEmpty());
    ASSERT_EQ(result.Image.format(), QImage::Format_RGB32);
    ASSERT_EQ(result.Image.width(), p.Width);
    ASSERT_EQ(result.Image.height(), p.Height);
    int wrong = 0;
    for (int y = 0; y < p.Height; ++y) {
        const auto *line = reinterpret_cast<const quint32 *>(result.Image.constScanLine(y));
        for (int x = 0; x < p.Width; ++x) {
            const quint32 expected = p.At(x, y) | 0xFF000000u;
            if (line[x] != expected && wrong++ < 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << line[x]
                              << ", expected " << expected;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

struct FormatCase
{
    const char *Name;
    PngEncoding Format;
    Picture (*Make)(int, int);
};

const FormatCase FormatCases[] = {
    {"Rgb8", {PNG_COLOR_TYPE_RGB, 8, false}, Colourful},
    {"Rgba8", {PNG_COLOR_TYPE_RGB_ALPHA, 8, false}, Colourful},
    {"Rgb16", {PNG_COLOR_TYPE_RGB, 16, false}, Colourful},
    {"Rgba16", {PNG_COLOR_TYPE_RGB_ALPHA, 16, false}, Colourful},
    {"Palette8", {PNG_COLOR_TYPE_PALETTE, 8, false}, Colourful},
    {"Palette4", {PNG_COLOR_TYPE_PALETTE, 4, false}, FewColours},
    {"Grey8", {PNG_COLOR_TYPE_GRAY, 8, false}, Grey},
    {"Grey16", {PNG_COLOR_TYPE_GRAY, 16, false}, Grey},
    {"GreyAlpha8", {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false}, Grey},
    {"GreyAlpha16", {PNG_COLOR_TYPE_GRAY_ALPHA, 16, false}, Grey},
    {"Rgb8Interlaced", {PNG_COLOR_TYPE_RGB, 8, true}, Colourful},
    {"Rgba8Interlaced", {PNG_COLOR_TYPE_RGB_ALPHA, 8, true}, Colourful},
    {"Palette4Interlaced", {PNG_COLOR_TYPE_PALETTE, 4, true}, FewColours},
    {"Grey8Interlaced", {PNG_COLOR_TYPE_GRAY, 8, true}, Grey},
};

class PngFormats : public testing::TestWithParam<FormatCase>
{ };

Picture Expected(const FormatCase &c, int width, int height)
{
    return c.Make(width, height);
}

} // namespace

TEST_P(PngFormats, DecodesToTheStoredColoursWithFullAlpha)
{
    // 13 x 9 leaves partial blocks in every Adam7 pass.
    const Picture p = Expected(GetParam(), 13, 9);
    const QByteArray file = Encode(p, GetParam().Format);
    ASSERT_FALSE(file.isEmpty());
    ExpectPixels(DecodePng(file), p);
}

TEST_P(PngFormats, LoadsTheSameFromAFile)
{
    QTemporaryDir dir;
    const Picture p = Expected(GetParam(), 7, 5);
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(WriteFile(path, Encode(p, GetParam().Format)));
    ExpectPixels(LoadPng(path), p);
}

INSTANTIATE_TEST_SUITE_P(Png, PngFormats, testing::ValuesIn(FormatCases),
                         [](const testing::TestParamInfo<FormatCase> &info) {
                             return std::string(info.param.Name);
                         });

TEST(Png, OneBitGreyGivesBlackAndWhite)
{
    Picture p {10, 3, {}};
    for (int i = 0; i < 30; ++i)
        p.Pixels.push_back(i % 3 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    ExpectPixels(DecodePng(Encode(p, {PNG_COLOR_TYPE_GRAY, 1, false})), p);
}

TEST(Png, HalfTransparentPixelKeepsItsColourAndBecomesOpaque)
{
    const Picture p {2, 1, {qRgba(200, 100, 50, 128), qRgba(10, 20, 30, 0)}};
    const PngResult result = DecodePng(Encode(p, {PNG_COLOR_TYPE_RGB_ALPHA, 8, false}));
    ASSERT_TRUE(result.Ok()) << result.Error.toStdString();
    const auto *line = reinterpret_cast<const quint32 *>(result.Image.constScanLine(0));
    EXPECT_EQ(line[0], 0xFFC86432u);
    EXPECT_EQ(line[1], 0xFF0A141Eu);
}

// The program's icons keep their transparency; anything but a PNG gives nothing.
TEST(Png, WithAlphaEachPixelKeepsItsTransparency)
{
    const Picture p {2, 1, {qRgba(200, 100, 50, 128), qRgba(10, 20, 30, 0)}};
    const QImage image = DecodePngWithAlpha(Encode(p, {PNG_COLOR_TYPE_RGB_ALPHA, 8, false}));
    ASSERT_EQ(image.format(), QImage::Format_ARGB32);
    EXPECT_EQ(image.pixel(0, 0), 0x80C86432u);
    EXPECT_EQ(image.pixel(1, 0), 0x000A141Eu);
    EXPECT_TRUE(DecodePngWithAlpha("GIF89a").isNull());
}

TEST(Png, PictureSavedByQtLoads)
{
    QImage image(11, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 11; ++x)
            image.setPixel(x, y, qRgb(x * 20, y * 60, 77));
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved by qt.png"));
    ASSERT_TRUE(image.save(path, "PNG"));
    const PngResult result = LoadPng(path);
    ASSERT_TRUE(result.Ok()) << result.Error.toStdString();
    EXPECT_EQ(result.Image, image);
}

TEST(Png, PathWithBlanksAndAccentsLoads)
{
    QTemporaryDir dir;
    const Picture p = Colourful(3, 2);
    const QString path = dir.filePath(QStringLiteral("Ĉielo blua é.png"));
    ASSERT_TRUE(WriteFile(path, Encode(p, {})));
    ExpectPixels(LoadPng(path), p);
}

TEST(Png, FileCutAfterItsImageDataStillDecodes)
{
    const Picture p = Colourful(6, 4);
    QByteArray file = Encode(p, {});
    file.truncate(ChunkOffset(file, "IEND"));
    ExpectPixels(DecodePng(file), p);
}

// --- Broken files --------------------------------------------------------------

namespace {

// A picture of noise, so that its image data stays long after compression.
QByteArray NoisyFile()
{
    Picture p {32, 32, {}};
    quint32 state = 12345;
    for (int i = 0; i < 32 * 32; ++i) {
        state = state * 1103515245u + 12345u;
        p.Pixels.push_back(qRgb((state >> 8) & 0xFF, (state >> 16) & 0xFF, (state >> 24) & 0xFF));
    }
    return Encode(p, {});
}

struct BrokenCase
{
    const char *Name;
    QByteArray (*Make)();
    const char *Message; // a part of the decoder's message, or "" for any message
};

const BrokenCase BrokenCases[] = {
    {"Empty", [] { return QByteArray(); }, ""},
    {"SignatureOnly", [] { return PngSignature; }, ""},
    {"CutInTheSignature", [] { return PngSignature.left(5); }, ""},
    {"CutInTheHeader", [] { return NoisyFile().left(20); }, ""},
    {"CutBeforeTheImageData",
     [] {
         const QByteArray f = NoisyFile();
         return f.left(ChunkOffset(f, "IDAT"));
     },
     ""},
    {"CutInTheImageData",
     [] {
         const QByteArray f = NoisyFile();
         return f.left(ChunkOffset(f, "IDAT") + 8 + 500);
     },
     ""},
    {"HeaderCrcWrong",
     [] {
         QByteArray f = NoisyFile();
         f[29] = static_cast<char>(f[29] ^ 0x55);
         return f;
     },
     "CRC"},
    {"ImageDataDamaged",
     [] {
         QByteArray f = NoisyFile();
         f[ChunkOffset(f, "IDAT") + 8 + 100] ^= 0x01;
         return f;
     },
     ""},
    {"Text", [] { return QByteArray("just some text, not a picture\n"); }, "Not a PNG file"},
    {"JpegStart", [] { return QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00", 11); },
     "Not a PNG file"},
    {"SignatureWithWrongLineEnds",
     [] { return QByteArray("\x89PNG\n\n\x1a\n") + NoisyFile().mid(8); }, "ASCII"},
    {"ZeroWidth", [] { return HandMadePng(0, 5, Deflate(QByteArray(5, '\0'))); }, ""},
    {"BadFilterByte",
     [] {
         QByteArray raw;
         for (int y = 0; y < 2; ++y)
             raw += QByteArray(1, char(9)) + QByteArray(3 * 4, 'x');
         return HandMadePng(4, 2, Deflate(raw));
     },
     "filter"},
    {"ImageDataNotCompressed", [] { return HandMadePng(4, 2, QByteArray(40, 'z')); }, ""},
    {"TooLittleImageData", [] { return HandMadePng(4, 4, Deflate(QByteArray(13, '\0'))); }, ""},
};

class PngBroken : public testing::TestWithParam<BrokenCase>
{ };

void ExpectRefused(const PngResult &result, const char *message)
{
    EXPECT_FALSE(result.Ok());
    EXPECT_TRUE(result.Image.isNull());
    EXPECT_FALSE(result.Error.isEmpty());
    EXPECT_TRUE(result.Error.contains(QLatin1String(message), Qt::CaseInsensitive))
        << "message: " << result.Error.toStdString();
}

} // namespace

TEST_P(PngBroken, DecodingReportsTheDecodersMessage)
{
    ExpectRefused(DecodePng(GetParam().Make()), GetParam().Message);
}

TEST_P(PngBroken, LoadingReportsTheDecodersMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("broken.png"));
    ASSERT_TRUE(WriteFile(path, GetParam().Make()));
    ExpectRefused(LoadPng(path), GetParam().Message);
}

INSTANTIATE_TEST_SUITE_P(Png, PngBroken, testing::ValuesIn(BrokenCases),
                         [](const testing::TestParamInfo<BrokenCase> &info) {
                             return std::string(info.param.Name);
                         });

// --- Sizes refused from the header ----------------------------------------------

namespace {

struct SizeCase
{
    quint32 Width;
    quint32 Height;
    const char *Message = "too large"; // beyond libpng's own limit, libpng's message
};

class PngTooLarge : public testing::TestWithParam<SizeCase>
{ };

} // namespace

// The image data after the header is not even compressed: a decoder that went
// past the header would report a zlib error, not the size.
TEST_P(PngTooLarge, IsRefusedFromTheHeader)
{
    const QByteArray file = HandMadePng(GetParam().Width, GetParam().Height, QByteArray("junk"));
    QElapsedTimer timer;
    timer.start();
    const PngResult fromMemory = DecodePng(file);
    EXPECT_FALSE(fromMemory.Ok());
    EXPECT_TRUE(fromMemory.Error.contains(QLatin1String(GetParam().Message), Qt::CaseInsensitive))
        << fromMemory.Error.toStdString();

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.png"));
    ASSERT_TRUE(WriteFile(path, file));
    const PngResult fromFile = LoadPng(path);
    EXPECT_FALSE(fromFile.Ok());
    EXPECT_EQ(fromFile.Error, fromMemory.Error);
    EXPECT_LT(timer.elapsed(), 2000);
}

INSTANTIATE_TEST_SUITE_P(Png, PngTooLarge,
                         testing::Values(SizeCase {20000, 10}, SizeCase {10, 20000},
                                         SizeCase {9000, 9000}, SizeCase {MaxPngSide + 1, 1},
                                         SizeCase {1, MaxPngSide + 1},
                                         SizeCase {MaxPngSide, MaxPngPixels / MaxPngSide + 1},
                                         SizeCase {0x7FFFFFFF, 0x7FFFFFFF, "IHDR"}),
                         [](const testing::TestParamInfo<SizeCase> &info) {
                             return std::to_string(info.param.Width) + "x"
                                 + std::to_string(info.param.Height);
                         });

TEST(Png, LargestSideIsAccepted)
{
    QByteArray raw(1 + 3 * MaxPngSide, '\0');
    for (int x = 0; x < MaxPngSide; ++x)
        raw[1 + 3 * x] = static_cast<char>(x);
    const PngResult result = DecodePng(HandMadePng(MaxPngSide, 1, Deflate(raw)));
    ASSERT_TRUE(result.Ok()) << result.Error.toStdString();
    EXPECT_EQ(result.Image.width(), MaxPngSide);
    EXPECT_EQ(result.Image.pixel(MaxPngSide - 1, 0), qRgb(0xFF, 0, 0));
    EXPECT_EQ(result.Image.pixel(258, 0), qRgb(2, 0, 0));
}

// --- Paths that name no readable file ------------------------------------------

TEST(Png, DirectoryNamedLikeAPictureIsRefused)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x.png")));
    const PngResult result = LoadPng(dir.filePath(QStringLiteral("x.png")));
    EXPECT_FALSE(result.Ok());
    EXPECT_FALSE(result.Error.isEmpty());
}

TEST(Png, MissingFileIsRefused)
{
    QTemporaryDir dir;
    const PngResult result = LoadPng(dir.filePath(QStringLiteral("nothing here.png")));
    EXPECT_FALSE(result.Ok());
    EXPECT_FALSE(result.Error.isEmpty());
}

TEST(Png, EmptyPathIsRefused)
{
    const PngResult result = LoadPng(QString());
    EXPECT_FALSE(result.Ok());
    EXPECT_FALSE(result.Error.isEmpty());
}

TEST(Png, UnreadableFileIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("locked.png"));
    ASSERT_TRUE(WriteFile(path, Encode(Colourful(2, 2), {})));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    const UnprivilegedFiles user(dir.path());
    if (!user.Unavailable().isEmpty())
        GTEST_SKIP() << user.Unavailable().toStdString();
    const PngResult result = LoadPng(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_FALSE(result.Ok());
    EXPECT_FALSE(result.Error.isEmpty());
}

// Cutting a good file at every length never crashes and never succeeds before
// the image data is complete.
TEST(Png, EveryPrefixOfAFileIsHandled)
{
    const Picture p = Colourful(9, 7);
    const QByteArray file = Encode(p, {PNG_COLOR_TYPE_RGB_ALPHA, 8, true});
    const qsizetype iend = ChunkOffset(file, "IEND");
    for (qsizetype n = 0; n < file.size(); ++n) {
        const PngResult result = DecodePng(file.left(n));
        if (n < iend) {
            EXPECT_FALSE(result.Ok()) << "cut at " << n;
        }
        EXPECT_NE(result.Ok(), result.Error.size() > 0) << "cut at " << n;
    }
}

// Flipping any single byte gives a picture or a message, never a crash.
TEST(Png, EveryFlippedByteIsHandled)
{
    const QByteArray file = Encode(Colourful(9, 7), {PNG_COLOR_TYPE_PALETTE, 8, false});
    for (qsizetype i = 0; i < file.size(); ++i) {
        QByteArray broken = file;
        broken[i] = static_cast<char>(broken[i] ^ 0xA5);
        const PngResult result = DecodePng(broken);
        EXPECT_NE(result.Ok(), result.Error.size() > 0) << "byte " << i;
    }
}
