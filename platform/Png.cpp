#include "Png.h"

#include <QFile>
#include <QtEndian>
#include <png.h>

#include <cstring>
#include <memory>

namespace korvane {

namespace {

    QString Message(const png_image &image, const char *fallback)
    {
        return image.message[0] != '\0' ? QString::fromLocal8Bit(image.message)
                                        : QString::fromLatin1(fallback);
    }

    // Finishes a read whose header has been taken by begin_read: checks the size
    // before allocating. Only the colours count: alpha is read and then dropped.
    PngResult FinishRead(png_image &image)
    {
        PngResult result;
        if (image.width == 0 || image.height == 0 || image.width > MaxPngSide
            || image.height > MaxPngSide
            || qint64 {image.width} * qint64 {image.height} > MaxPngPixels) {
            png_image_free(&image);
            result.Error = QStringLiteral("Image too large: %1 x %2 pixels")
                               .arg(image.width)
                               .arg(image.height);
            return result;
        }
        image.format = PNG_FORMAT_BGRA; // the byte order of QImage::Format_RGB32 in memory
        // Without this libpng takes 16-bit samples for linear light and brightens
        // them on the way to 8 bits; painting programs store them as sRGB, like 8-bit ones.
        image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
        QImage pixels(static_cast<int>(image.width), static_cast<int>(image.height),
                      QImage::Format_RGB32);
        if (pixels.isNull()) {
            png_image_free(&image);
            result.Error = QStringLiteral("Out of memory");
            return result;
        }
        if (!png_image_finish_read(&image, nullptr, pixels.bits(),
                                   static_cast<png_int_32>(pixels.bytesPerLine()), nullptr)) {
            result.Error = Message(image, "Cannot decode the image");
            return result;
        }
        for (int y = 0; y < pixels.height(); ++y) {
            auto *line = reinterpret_cast<quint32 *>(pixels.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                line[x] |= 0xFF000000u;
        }
        result.Image = std::move(pixels);
        return result;
    }

    // libpng allocates a chunk's declared length before it reads the chunk, so
    // a few damaged bytes could make a tiny file ask for 2 GB. The stream is
    // handed over only up to the first chunk that claims more bytes than
    // follow it, as if the file ended there: libpng then reports a file cut
    // short. Image data is streamed, not allocated, and always handed over.
    // header(at, bytes) reads the 8 bytes at offset at.
    template<typename ReadHeader>
    qint64 WholeChunks(qint64 size, ReadHeader header)
    {
        char bytes[8];
        for (qint64 at = 8; at + 8 <= size && header(at, bytes);) {
            const qint64 length = qFromBigEndian<quint32>(bytes);
            if (length + 12 > size - at)
                return std::memcmp(bytes + 4, "IDAT", 4) == 0 ? size : at;
            at += length + 12;
        }
        return size;
    }

} // namespace

PngResult LoadPng(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const qint64 whole = WholeChunks(file.size(), [&file](qint64 at, char *bytes) {
            return file.seek(at) && file.read(bytes, 8) == 8;
        });
        if (whole < file.size() && file.seek(0))
            return DecodePng(file.read(whole));
    }
    file.close();

    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    const QByteArray name = QFile::encodeName(path);
    if (!png_image_begin_read_from_file(&image, name.constData())) {
        PngResult result;
        result.Error = Message(image, "Cannot read the image");
        return result;
    }
    return FinishRead(image);
}

PngResult DecodePng(const QByteArray &data)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    const qint64 whole = WholeChunks(data.size(), [&data](qint64 at, char *bytes) {
        std::memcpy(bytes, data.constData() + at, 8);
        return true;
    });
    if (!png_image_begin_read_from_memory(&image, data.constData(), static_cast<size_t>(whole))) {
        PngResult result;
        result.Error = Message(image, "Cannot read the image");
        return result;
    }
    return FinishRead(image);
}

} // namespace korvane
