// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestPictures.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <vector>

namespace korvane::test {

QImage TileSheet(int across, int rows, int w, int h, Shades shades)
{
    QImage sheet(across * w, rows * h,
                 shades == Shades::Colour ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const int tile = across * (y / h) + x / w;
            const int tx = x % w;
            const int ty = y % h;
            if (shades == Shades::Colour) {
                sheet.setPixel(x, y, qRgb(5 * tile, tx * 255 / w, ty * 255 / h));
            } else {
                const int g = 10 + 5 * tile - (tx == 0 && ty == h - 1 ? 5 : 0);
                sheet.setPixel(x, y, qRgba(g, g, g, tx * 255 / w));
            }
        }
    }
    return sheet;
}

namespace {

    void AppendToArray(png_structp png, png_bytep data, size_t length)
    {
        static_cast<QByteArray *>(png_get_io_ptr(png))
            ->append(reinterpret_cast<const char *>(data), static_cast<qsizetype>(length));
    }

    void FlushNothing(png_structp) { }

    std::vector<png_byte> Row(const QImage &p, const PngEncoding &e, int y,
                              const std::vector<QRgb> &palette)
    {
        std::vector<png_byte> row;
        const bool wide = e.Depth == 16;
        auto sample = [&](int v) {
            row.push_back(static_cast<png_byte>(v));
            if (wide)
                row.push_back(static_cast<png_byte>(v)); // v * 257: the same value at 16 bits
        };
        int bits = 0;
        int used = 0;
        for (int x = 0; x < p.width(); ++x) {
            const QRgb c = p.pixel(x, y);
            switch (e.ColourType) {
            case PNG_COLOR_TYPE_RGB:
                sample(qRed(c)), sample(qGreen(c)), sample(qBlue(c));
                break;
            case PNG_COLOR_TYPE_RGB_ALPHA:
                sample(qRed(c)), sample(qGreen(c)), sample(qBlue(c)), sample(qAlpha(c));
                break;
            case PNG_COLOR_TYPE_GRAY_ALPHA:
                sample(qRed(c)), sample(qAlpha(c));
                break;
            case PNG_COLOR_TYPE_GRAY:
            case PNG_COLOR_TYPE_PALETTE: {
                int v = qRed(c);
                if (e.ColourType == PNG_COLOR_TYPE_PALETTE)
                    v = static_cast<int>(std::find(palette.begin(), palette.end(), c)
                                         - palette.begin());
                else if (e.Depth < 8)
                    v >>= 8 - e.Depth;
                if (e.Depth >= 8) {
                    sample(v);
                    break;
                }
                bits = (bits << e.Depth) | v;
                used += e.Depth;
                if (used == 8) {
                    row.push_back(static_cast<png_byte>(bits));
                    bits = used = 0;
                }
                break;
            }
            }
        }
        if (used > 0)
            row.push_back(static_cast<png_byte>(bits << (8 - used)));
        return row;
    }

    bool WritePng(png_structp png, png_infop info, const QImage &p, const PngEncoding &e)
    {
        if (setjmp(png_jmpbuf(png)))
            return false;
        png_set_IHDR(png, info, static_cast<png_uint_32>(p.width()),
                     static_cast<png_uint_32>(p.height()), e.Depth, e.ColourType,
                     e.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        std::vector<QRgb> palette;
        if (e.ColourType == PNG_COLOR_TYPE_PALETTE) {
            for (int y = 0; y < p.height(); ++y) {
                for (int x = 0; x < p.width(); ++x) {
                    const QRgb c = p.pixel(x, y);
                    if (std::find(palette.begin(), palette.end(), c) == palette.end())
                        palette.push_back(c);
                }
            }
            std::vector<png_color> plte;
            std::vector<png_byte> trns;
            for (QRgb c : palette) {
                plte.push_back({static_cast<png_byte>(qRed(c)), static_cast<png_byte>(qGreen(c)),
                                static_cast<png_byte>(qBlue(c))});
                trns.push_back(static_cast<png_byte>(qAlpha(c)));
            }
            png_set_PLTE(png, info, plte.data(), static_cast<int>(plte.size()));
            png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
        }
        png_write_info(png, info);
        std::vector<std::vector<png_byte>> rows;
        std::vector<png_bytep> pointers;
        for (int y = 0; y < p.height(); ++y)
            rows.push_back(Row(p, e, y, palette));
        for (auto &row : rows)
            pointers.push_back(row.data());
        png_write_image(png, pointers.data()); // takes care of the Adam7 passes
        png_write_end(png, info);
        return true;
    }

} // namespace

QByteArray EncodePng(const QImage &picture, const PngEncoding &e)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendToArray, FlushNothing);
    const bool ok = WritePng(png, info, argb, e);
    png_destroy_write_struct(&png, &info);
    return ok ? out : QByteArray();
}

const QByteArray PngSignature("\x89PNG\r\n\x1a\n", 8);

void AppendBigEndian(QByteArray &out, quint32 v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(static_cast<char>(v >> shift));
}

QByteArray PngChunk(const char *type, quint32 length, const QByteArray &data)
{
    const QByteArray typeAndData = QByteArray(type) + data;
    QByteArray out;
    AppendBigEndian(out, length);
    out += typeAndData;
    AppendBigEndian(
        out,
        static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef *>(typeAndData.constData()),
                                   static_cast<uInt>(typeAndData.size()))));
    return out;
}

QByteArray PngChunk(const char *type, const QByteArray &data)
{
    return PngChunk(type, static_cast<quint32>(data.size()), data);
}

QByteArray HandMadePng(quint32 width, quint32 height, const QByteArray &idat)
{
    QByteArray ihdr;
    AppendBigEndian(ihdr, width);
    AppendBigEndian(ihdr, height);
    ihdr.append(char(8)).append(char(2)).append(char(0)).append(char(0)).append(char(0));
    return PngSignature + PngChunk("IHDR", ihdr) + PngChunk("IDAT", idat) + PngChunk("IEND", {});
}

qsizetype ChunkOffset(const QByteArray &file, const char *type)
{
    return file.indexOf(type) - 4;
}

} // namespace korvane::test
