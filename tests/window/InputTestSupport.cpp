// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputTestSupport.h"

#include <cmath>

namespace korvane::test {

QImage ExpectedFace(const TfrmKorvane &w, int index)
{
    QImage face = w.ilFaces.Image(index).convertToFormat(QImage::Format_ARGB32);
    const QRgb background = face.pixel(0, face.height() - 1);
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            if (face.pixel(x, y) == background)
                face.setPixel(x, y, qRgba(0, 0, 0, 0));
    return face;
}

QString CounterText(int number, int digits)
{
    const bool negative = number < 0;
    QString magnitude = QString::number(std::abs(static_cast<long long>(number)));
    const int width = digits - (negative ? 1 : 0);
    while (magnitude.size() < width)
        magnitude.prepend(u'0');
    return negative ? u'-' + magnitude : magnitude;
}

bool CounterShows(const TfrmKorvane &w, const QString &text)
{
    const int dw = w.ilDigits.Width();
    const int dh = w.ilDigits.Height();
    if (w.CounterBitmap.size() != QSize(static_cast<int>(text.size()) * dw, dh))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int glyph = text[i] == u'-' ? 11 : text[i].digitValue();
        const QImage drawn = w.CounterBitmap.copy(static_cast<int>(i) * dw, 0, dw, dh);
        if (drawn.convertToFormat(QImage::Format_RGB32)
            != w.ilDigits.Image(glyph).convertToFormat(QImage::Format_RGB32))
            return false;
    }
    return true;
}

int PixelToCell(int pixel, int tileSize)
{
    return static_cast<int>(std::trunc(static_cast<double>(pixel) / tileSize));
}

} // namespace korvane::test
