// SPDX-License-Identifier: GPL-3.0-or-later
#include "Png.h"

#include <QFile>
#include <QtEndian>
#include <png.h>

#include <cstring>
#include <memory>
#include <vector>

namespace korvane {

namespace {

    QString Message(const png_image &image, const char *fallback)
    {
        return image.message[0] != '\0' ? QString::fromLocal8Bit(image.message)
                                        : QString::fromLatin1(fallback);
    }

    // Bytes 24 and 28 of a PNG file are the bit depth and the interlace method.
    bool Interlaced16(const char *head, qint64 size)
    {
        return size >= 29 && std::memcmp(head + 12, "IHDR", 4) == 0 && head[24] == 16
            && head[28] == 1;
    }

    // libpng 1.6's simplified reader brings interlaced 16-bit images down to 8
    // bits with rows from the wrong pass (pnggroup/libpng#853): those are read
    // through the full interface, into the same layout, colours only.
    struct MemoryInput
    {
        const char *Data = nullptr;
        size_t Size = 0;
        size_t At = 0;
        QString Error;
    };

    void ReadMemory(png_structp png, png_bytep out, size_t n)
    {
        auto *in = static_cast<MemoryInput *>(png_get_io_ptr(png));
        if (n > in->Size - in->At)
            png_error(png, "read beyond end of data");
        std::memcpy(out, in->Data + in->At, n);
        in->At += n;
    }

    void Fail(png_structp png, png_const_charp message)
    {
        static_cast<MemoryInput *>(png_get_error_ptr(png))->Error = QString::fromLocal8Bit(message);
        png_longjmp(png, 1);
    }

    void Warn(png_structp, png_const_charp) { }

    // libpng leaves by longjmp: nothing here needs a destructor.
    bool ReadRows(png_structp png, png_infop info, png_bytep *rows, png_uint_32 width,
                  png_uint_32 height)
    {
        if (setjmp(png_jmpbuf(png)))
            return false;
        png_read_info(png, info);
        png_set_scale_16(png);
        png_set_strip_alpha(png);
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height
            || png_get_rowbytes(png, info) != size_t {width} * 4)
            png_error(png, "Cannot decode the image");
        png_read_image(png, rows);
        return true;
    }

    QString ReadInterlaced16(const char *data, qint64 size, QImage &pixels)
    {
        MemoryInput in;
        in.Data = data;
        in.Size = static_cast<size_t>(size);
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &in, Fail, Warn);
        png_infop info = png ? png_create_info_struct(png) : nullptr;
        if (!info) {
            png_destroy_read_struct(&png, nullptr, nullptr);
            return QStringLiteral("Out of memory");
        }
        png_set_read_fn(png, &in, ReadMemory);
        std::vector<png_bytep> rows(static_cast<size_t>(pixels.height()));
        for (int y = 0; y < pixels.height(); ++y)
            rows[static_cast<size_t>(y)] = pixels.scanLine(y);
        const bool ok = ReadRows(png, info, rows.data(), static_cast<png_uint_32>(pixels.width()),
                                 static_cast<png_uint_32>(pixels.height()));
        png_destroy_read_struct(&png, &info, nullptr);
        return ok ? QString() : in.Error;
    }

    // Finishes a read whose header has been taken by begin_read: checks the size
    // before allocating. In RGB32 only the colours count: alpha is read and then
    // dropped; ARGB32 keeps it. data is the file when it was read from memory.
    PngResult FinishRead(png_image &image, const char *data = nullptr, qint64 size = 0,
                         QImage::Format format = QImage::Format_RGB32)
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
        QImage pixels(static_cast<int>(image.width), static_cast<int>(image.height), format);
        if (pixels.isNull()) {
            png_image_free(&image);
            result.Error = QStringLiteral("Out of memory");
            return result;
        }
        if (data && Interlaced16(data, size)) {
            png_image_free(&image);
            result.Error = ReadInterlaced16(data, size, pixels);
            if (result.Error.isEmpty())
                result.Image = std::move(pixels);
            return result;
        }
        if (!png_image_finish_read(&image, nullptr, pixels.bits(),
                                   static_cast<png_int_32>(pixels.bytesPerLine()), nullptr)) {
            result.Error = Message(image, "Cannot decode the image");
            return result;
        }
        for (int y = 0; format == QImage::Format_RGB32 && y < pixels.height(); ++y) {
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
        const QByteArray head = file.seek(0) ? file.peek(29) : QByteArray();
        if ((whole < file.size() || Interlaced16(head.constData(), head.size())) && file.seek(0))
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
    return FinishRead(image, data.constData(), whole);
}

QImage DecodePngWithAlpha(const QByteArray &data)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.constData(),
                                          static_cast<size_t>(data.size())))
        return {};
    return FinishRead(image, nullptr, 0, QImage::Format_ARGB32).Image;
}

} // namespace korvane
