// SPDX-License-Identifier: GPL-3.0-or-later
#include "Panels.h"

#include "PixelFont.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace korvane {

namespace {

    const QColor Face(0xC0, 0xC0, 0xC0);
    const QColor Light(0xFF, 0xFF, 0xFF);
    const QColor Shadow(0x80, 0x80, 0x80);
    const QColor DarkShadow(0x40, 0x40, 0x40);

    // Draws a bevel of the given width inside r and returns what lies within it.
    QRect DrawBevel(QPainter &p, QRect r, Panel::Bevel bevel, int width)
    {
        if (bevel == Panel::None || width <= 0)
            return r;
        const QColor topLeft = bevel == Panel::Raised ? Light : Shadow;
        const QColor bottomRight = bevel == Panel::Raised ? Shadow : Light;
        for (int i = 0; i < width; ++i) {
            p.fillRect(r.left(), r.top(), r.width(), 1, topLeft);
            p.fillRect(r.left(), r.top(), 1, r.height(), topLeft);
            p.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
            p.fillRect(r.right(), r.top() + 1, 1, r.height() - 1, bottomRight);
            r.adjust(1, 1, -1, -1);
        }
        return r;
    }

} // namespace

Panel::Panel(QWidget *parent, Bevel outer, int outerWidth, int border, Bevel inner, int innerWidth)
    : QWidget(parent)
    , FOuter(outer)
    , FOuterWidth(outer == None ? 0 : outerWidth)
    , FBorder(border)
    , FInner(inner)
    , FInnerWidth(inner == None ? 0 : innerWidth)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Panel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Face);
    QRect r = DrawBevel(p, rect(), FOuter, FOuterWidth);
    r.adjust(FBorder, FBorder, -FBorder, -FBorder);
    DrawBevel(p, r, FInner, FInnerWidth);
}

PaintBox::PaintBox(QWidget *parent, const QImage *bitmap)
    : QWidget(parent)
    , FBitmap(bitmap)
{
    // The bitmap covers the whole box: nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaintBox::paintEvent(QPaintEvent *event)
{
    // The whole bitmap is always drawn at the origin and clipped to what needs
    // repainting: on a fractional scale factor every repaint then samples the
    // same device pixels, so partial updates never leave seams. Without smooth
    // transforms the scaling is nearest-neighbour: whole device pixels, no blur.
    QPainter p(this);
    p.setClipRegion(event->region());
    p.drawImage(0, 0, *FBitmap);
    // Whatever the bitmap does not cover shows the panel face.
    const QRegion rest = event->region() - QRegion(FBitmap->rect());
    for (const QRect &part : rest)
        p.fillRect(part, Face);
}

void PaintBox::mousePressEvent(QMouseEvent *event)
{
    if (OnButtonsHeld)
        OnButtonsHeld(event->buttons());
    if (OnMouseDown)
        OnMouseDown(event->button(), event->position().toPoint().x(),
                    event->position().toPoint().y());
}

void PaintBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A second press in quick succession is a press like any other.
    mousePressEvent(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent *event)
{
    if (OnButtonsHeld)
        OnButtonsHeld(event->buttons());
    if (OnMouseMove)
        OnMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void PaintBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (OnMouseUp)
        OnMouseUp(event->button(), event->position().toPoint().x(),
                  event->position().toPoint().y());
}

FaceButton::FaceButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void FaceButton::SetGlyph(const QImage &glyph)
{
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32);
    if (!image.isNull()) {
        const QRgb transparent = image.pixel(0, image.height() - 1);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (line[x] == transparent)
                    line[x] = 0;
            }
        }
    }
    FGlyph = image;
    update();
}

void FaceButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool down = isDown();
    p.fillRect(rect(), Face);
    QRect r = rect();
    if (down) {
        // Pressed: a thin dark frame, the glyph one pixel down and right.
        p.setPen(Shadow);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        p.fillRect(r.left(), r.top(), r.width(), 1, Light);
        p.fillRect(r.left(), r.top(), 1, r.height(), Light);
        p.fillRect(r.left(), r.bottom(), r.width(), 1, DarkShadow);
        p.fillRect(r.right(), r.top(), 1, r.height(), DarkShadow);
        p.fillRect(r.left() + 1, r.bottom() - 1, r.width() - 2, 1, Shadow);
        p.fillRect(r.right() - 1, r.top() + 1, 1, r.height() - 2, Shadow);
    }
    const int shift = down ? 1 : 0;
    p.drawImage((width() - FGlyph.width()) / 2 + shift, (height() - FGlyph.height()) / 2 + shift,
                FGlyph);
}

StatusPanels::StatusPanels(QWidget *parent)
    : QWidget(parent)
{
    // Narrow faces where Tahoma is missing: a wider one pushes panels out of
    // small windows sooner.
    setFont(PixelFont(11));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(fontMetrics().height() + 7);
}

void StatusPanels::SetPanel(int i, const QString &text, int width)
{
    while (FTexts.size() <= i) {
        FTexts.append(QString());
        FWidths.append(0);
    }
    if (FTexts[i] == text && FWidths[i] == width)
        return;
    int left = 0;
    for (int j = 0; j < i; ++j)
        left += FWidths[j];
    // A new text repaints its own panel; a new width moves every panel after it.
    update(QRect(left, 0, FWidths[i] == width ? width : this->width() - left, height()));
    FTexts[i] = text;
    FWidths[i] = width;
}

int StatusPanels::TextWidth(int i, const QString &text) const
{
    // Measuring shapes the text, and most updates change one panel's text.
    if (FMeasured.size() <= i)
        FMeasured.resize(i + 1);
    Measured &last = FMeasured[i];
    if (last.Text != text) {
        last.Text = text;
        last.Width = fontMetrics().horizontalAdvance(text);
    }
    return last.Width;
}

void StatusPanels::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        FMeasured.clear();
    QWidget::changeEvent(event);
}

void StatusPanels::paintEvent(QPaintEvent *event)
{
    // Everything is drawn as for the whole bar and clipped to what changed, so
    // a partial repaint lands on the same device pixels at any scale factor.
    // Panels outside the repainted part are skipped: at a fractional factor
    // that part already takes in every pixel a device pixel on its edge touches.
    const QRect dirty = event->rect();
    QPainter p(this);
    p.fillRect(rect(), Face);
    p.setPen(Qt::black);
    int x = 0;
    for (qsizetype i = 0; i < FTexts.size() && x < width(); ++i) {
        // Each panel is sunken by one pixel, two pixels from its neighbour.
        const QRect cell(x, 2, FWidths[i] - 2, height() - 2);
        if (cell.width() > 2 && dirty.intersects(QRect(x, 0, FWidths[i], height()))) {
            p.fillRect(cell.left(), cell.top(), cell.width(), 1, Shadow);
            p.fillRect(cell.left(), cell.top(), 1, cell.height(), Shadow);
            p.fillRect(cell.left(), cell.bottom(), cell.width(), 1, Light);
            p.fillRect(cell.right(), cell.top(), 1, cell.height(), Light);
            // Two pixels of space on the left in every panel. The first is two
            // pixels narrower than the others: its text's advance reaches the
            // right bevel, the last glyph's own blank edge does not.
            const QRect inside = cell.adjusted(1, 1, -1, -1);
            p.setPen(Qt::black);
            p.drawText(inside.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, FTexts[i]);
        }
        x += FWidths[i];
    }
}

} // namespace korvane
