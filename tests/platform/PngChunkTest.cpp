// SPDX-License-Identifier: GPL-3.0-or-later
// Chunks whose declared length runs past the end of the file. libpng sets
// aside a chunk's declared length before reading it: the tile-set fuzzer found
// a 128-byte file whose text chunk made it ask for 1.9 GB.
#include "Png.h"
#include "TestPictures.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvane;
using namespace korvane::test;

namespace {

// A field of /proc/self/status in kilobytes, such as "VmPeak", or -1.
qint64 StatusKilobytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Fails the test if the process's address space ever grew by 512 MB or more
// while body ran: a length taken at its word would have made it grow by GBs.
template<typename Body>
void ExpectNoHugeReservation(Body body)
{
    const qint64 size = StatusKilobytes("VmSize");
    const qint64 peak = StatusKilobytes("VmPeak");
    if (size < 0 || peak < 0)
        GTEST_SKIP() << "no /proc/self/status";
    if (peak > size + 512 * 1024)
        GTEST_SKIP() << "an earlier peak would hide one";
    body();
    EXPECT_LT(StatusKilobytes("VmPeak") - size, 512 * 1024)
        << "memory was set aside for a length the file cannot hold";
}

QByteArray Input(const char *name)
{
    QFile file(QStringLiteral(KORVANE_PLATFORM_INPUTS "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A good 2 x 2 picture, without its IEND chunk.
QByteArray GoodWithoutEnd()
{
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    const QByteArray file = EncodePng(picture);
    return file.left(ChunkOffset(file, "IEND"));
}

bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

TEST(PngChunks, TextChunkClaimingGigabytesIsRefusedWithoutReservingThem)
{
    const QByteArray file = Input("overlong-text-chunk.png");
    ASSERT_EQ(file.size(), 128);
    ExpectNoHugeReservation([&] {
        const PngResult decoded = DecodePng(file);
        EXPECT_FALSE(decoded.Ok());
        EXPECT_FALSE(decoded.Error.isEmpty());
        const PngResult loaded
            = LoadPng(QStringLiteral(KORVANE_PLATFORM_INPUTS "/overlong-text-chunk.png"));
        EXPECT_FALSE(loaded.Ok());
        EXPECT_FALSE(loaded.Error.isEmpty());
    });
}

// After the image data, such a chunk is where the file ends: the picture is
// whole, as in a file cut short after its image data.
TEST(PngChunks, ChunkClaimingGigabytesAfterTheImageDataLeavesThePicture)
{
    const QByteArray file = GoodWithoutEnd() + PngChunk("tEXt", 0x7FFFFFF0u, "Comment");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tail.png"));
    ASSERT_TRUE(Write(path, file));
    ExpectNoHugeReservation([&] {
        for (const PngResult &result : {DecodePng(file), LoadPng(path)}) {
            ASSERT_TRUE(result.Ok()) << result.Error.toStdString();
            EXPECT_EQ(result.Image.pixel(1, 1), qRgb(10, 200, 30));
        }
    });
}

// Before the image data, the picture is cut short and refused.
TEST(PngChunks, ChunkClaimingGigabytesBeforeTheImageDataIsACutFile)
{
    const QByteArray good = GoodWithoutEnd();
    const qsizetype idat = good.indexOf("IDAT") - 4;
    const QByteArray file
        = good.left(idat) + PngChunk("zTXt", 0x40000000u, "Comment") + good.mid(idat);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("head.png"));
    ASSERT_TRUE(Write(path, file));
    ExpectNoHugeReservation([&] {
        for (const PngResult &result : {DecodePng(file), LoadPng(path)}) {
            EXPECT_FALSE(result.Ok());
            EXPECT_FALSE(result.Error.isEmpty());
        }
    });
}

// Image data is read as it streams in: a cut in it is reported by the decoder
// as before, with its message for a file that ends too soon.
TEST(PngChunks, ImageDataCutShortIsReportedByTheDecoder)
{
    const QByteArray good = GoodWithoutEnd();
    const QByteArray file = good.left(good.indexOf("IDAT") + 6);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cut.png"));
    ASSERT_TRUE(Write(path, file));
    EXPECT_EQ(LoadPng(path).Error, QStringLiteral("Read Error"));
    EXPECT_FALSE(DecodePng(file).Ok());
}
