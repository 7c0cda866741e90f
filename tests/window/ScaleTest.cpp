// SPDX-License-Identifier: GPL-3.0-or-later
// Runs once per screen scale factor (QT_SCALE_FACTOR set by the test runner):
// the field, the digit displays and the faces must come out in whole device
// pixels, with no blended colours and no seams between tiles.
#include "WindowTestSupport.h"

#include <QPainter>
#include <QSet>

using namespace korvane::test;

namespace {

// The widget drawn into device pixels, limited to region.
QImage Render(QWidget *widget, const QRegion &region)
{
    const qreal dpr = widget->devicePixelRatioF();
    QImage image(widget->size() * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::magenta);
    // render() puts the region's top-left corner at the offset given.
    widget->render(&image, region.boundingRect().topLeft(), region, QWidget::RenderFlags());
    return image;
}

QSet<QRgb> Colours(const QImage &image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) | 0xFF000000u);
    return colours;
}

// With 16-pixel tiles every tile edge falls on a whole device pixel at these
// factors; 9-pixel tiles put most edges between device pixels.
class ScaleTest : public WindowTest, public ::testing::WithParamInterface<int>
{
protected:
    void SetUp() override
    {
        Open();
        if (GetParam() != 16) {
            const int t = GetParam();
            QImage skin(11 * t, 4 * t, QImage::Format_RGB32);
            QPainter p(&skin);
            for (int i = 0; i < 44; ++i)
                p.drawImage(QRect(i % 11 * t, i / 11 * t, t, t), FWindow->ilCells.Image(i));
            p.end();
            WriteImage(QStringLiteral("Skins"), QStringLiteral("odd.png"), skin);
            ASSERT_TRUE(FWindow->LoadSkin(QStringLiteral("odd")));
        }
        // A game with every kind of tile on screen: numbers, flags, marks, walls.
        Play({"###########", "#*...W...*#", "#.........#", "#..*......#", "#.........#",
              "#....W....#", "#.........#", "#......*..#", "#.........#", "#*.......*#",
              "###########"});
        TfrmKorvane &w = *FWindow;
        w.Game->OpenCell(5, 8);
        w.Game->FlagCell(1, 1);
        w.Game->MarkCell(9, 2);
        w.Game->OpenInnerWalls();
        w.RenderField();
        w.ShowField();
    }
};

TEST_P(ScaleTest, FieldIsDrawnWithItsOwnColoursOnly)
{
    TfrmKorvane &w = *FWindow;
    const QImage drawn = Render(w.pbGame, QRegion(w.pbGame->rect()));
    EXPECT_EQ(drawn.size(),
              (QSizeF(w.FieldBitmap.size()) * w.pbGame->devicePixelRatioF()).toSize());
    // Nearest-neighbour scaling: every device pixel is a pixel of the bitmap.
    const QSet<QRgb> source = Colours(w.FieldBitmap);
    const QSet<QRgb> shown = Colours(drawn);
    for (QRgb c : shown)
        EXPECT_TRUE(source.contains(c)) << "blended colour " << std::hex << c;
}

// Repaints r alone and compares it with the whole widget's drawing.
void ExpectRepaintMatchesWhole(QWidget *widget, const QRect &r)
{
    const QImage whole = Render(widget, QRegion(widget->rect()));
    const QImage part = Render(widget, QRegion(r));
    const qreal dpr = widget->devicePixelRatioF();
    // Compare every device pixel whose centre lies in the rectangle: the edge
    // pixels are where a partial repaint could differ.
    const QRect device(
        QPoint(qCeil(r.left() * dpr - 0.5), qCeil(r.top() * dpr - 0.5)),
        QPoint(qCeil((r.right() + 1) * dpr - 0.5) - 1, qCeil((r.bottom() + 1) * dpr - 0.5) - 1));
    // Pixels the clip left out keep what the screen had; every pixel the
    // repaint did touch must equal the whole drawing's.
    const QRgb untouched = QColor(Qt::magenta).rgb();
    for (int y = device.top(); y <= device.bottom(); ++y)
        for (int x = device.left(); x <= device.right(); ++x) {
            if (part.pixel(x, y) == untouched)
                continue;
            ASSERT_EQ(part.pixel(x, y), whole.pixel(x, y)) << "device " << x << "," << y;
        }
    const QPoint middle((device.left() + device.right()) / 2, (device.top() + device.bottom()) / 2);
    EXPECT_NE(part.pixel(middle), untouched);
}

TEST_P(ScaleTest, RepaintingOneCellMatchesTheWholeField)
{
    TfrmKorvane &w = *FWindow;
    for (const QPoint cell : {QPoint(1, 1), QPoint(5, 5), QPoint(9, 2), QPoint(10, 10)}) {
        SCOPED_TRACE(testing::Message() << "cell " << cell.x() << "," << cell.y());
        ExpectRepaintMatchesWhole(
            w.pbGame,
            QRect(cell.x() * w.CellWidth, cell.y() * w.CellHeight, w.CellWidth, w.CellHeight));
    }
}

TEST_P(ScaleTest, RepaintingOneStatusPanelMatchesTheWholeBar)
{
    TfrmKorvane &w = *FWindow;
    w.UpdateStatusBar();
    int left = 0;
    for (int i = 0; i < 4 && left < w.sbInfo->width(); ++i) { // the four panels
        SCOPED_TRACE(testing::Message() << "panel " << i);
        ExpectRepaintMatchesWhole(w.sbInfo,
                                  QRect(left, 0, w.sbInfo->PanelWidth(i), w.sbInfo->height()));
        left += w.sbInfo->PanelWidth(i);
    }
}

TEST_P(ScaleTest, TilesMeetWithoutSeams)
{
    TfrmKorvane &w = *FWindow;
    const QImage drawn = Render(w.pbGame, QRegion(w.pbGame->rect()));
    const qreal dpr = w.pbGame->devicePixelRatioF();
    // Every device row and column maps back to a bitmap row and column: walk
    // the device pixels and check each shows the bitmap pixel it samples, one
    // of its nearest neighbours in both directions (nearest-neighbour rounding).
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const int sx = std::min(int(x / dpr), w.FieldBitmap.width() - 1);
            const int sy = std::min(int(y / dpr), w.FieldBitmap.height() - 1);
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const QPoint p(sx + dx, sy + dy);
                    found = w.FieldBitmap.rect().contains(p)
                        && w.FieldBitmap.pixel(p) == drawn.pixel(x, y);
                }
            ASSERT_TRUE(found) << "device pixel " << x << "," << y << " at scale " << dpr;
        }
    }
}

TEST_P(ScaleTest, DigitsAndFacesKeepTheirColours)
{
    TfrmKorvane &w = *FWindow;
    const QSet<QRgb> glyphs = Colours(w.CounterBitmap);
    for (QRgb c : Colours(Render(w.pbCounter, QRegion(w.pbCounter->rect()))))
        EXPECT_TRUE(glyphs.contains(c)) << "blended counter colour " << std::hex << c;
}

INSTANTIATE_TEST_SUITE_P(TileSizes, ScaleTest, ::testing::Values(16, 9, 13));

} // namespace
