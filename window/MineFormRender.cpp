// Drawing the field into FieldBitmap tile by tile, copying it to the screen,
// and sizing the window to the field.
#include "MineForm.h"

#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr int TileBackground = 10;

// The tile of a cell, first rule that applies. n is only read where the
// model lets the player see it.
int ChooseTile(MineCellState st, MineCellContent ct, int n, bool finished, bool lost)
{
    if (ct == ccWall && st == csHidden)
        return TileBackground;
    if (finished) {
        if (ct == ccBomb) {
            if (st == csOpen)
                return 9;
            if (st == csFlagged)
                return 42;
            return lost ? 20 : 31;
        }
        if (ct == ccWall)
            return 11 + n;
        if (st == csOpen)
            return n;
        if (st == csFlagged)
            return 33 + n;
        return 22 + n;
    }
    switch (st) {
    case csOpen:
        if (ct == ccBomb)
            return 9;
        return ct == ccWall ? 11 + n : n;
    case csFlagged:
        return 21;
    case csMarked:
        return 32;
    case csHidden:
        break;
    }
    return 22;
}

// One tile row of w pixels, w known when compiled: the copy is a few moves.
template<int w>
void CopyTileRowsOf(std::uint32_t *dst, qsizetype stride, const std::uint8_t *row, int columns,
                    const korvane::ImageList &list)
{
    const int h = list.Height();
    for (int r = 0; r < h; ++r, dst += stride) {
        std::uint32_t *out = dst;
        for (int c = 0; c < columns; ++c, out += w)
            std::memcpy(out, list.Pixels(row[c]) + r * w, sizeof(std::uint32_t) * w);
    }
}

// Draws one row of cells, tiles row[0 .. columns-1], top-left at dst.
void CopyTileRows(std::uint32_t *dst, qsizetype stride, const std::uint8_t *row, int columns,
                  const korvane::ImageList &list)
{
    switch (list.Width()) {
    case 4:
        return CopyTileRowsOf<4>(dst, stride, row, columns, list);
    case 8:
        return CopyTileRowsOf<8>(dst, stride, row, columns, list);
    case 16:
        return CopyTileRowsOf<16>(dst, stride, row, columns, list);
    case 32:
        return CopyTileRowsOf<32>(dst, stride, row, columns, list);
    default:
        break;
    }
    const int w = list.Width();
    const int h = list.Height();
    for (int r = 0; r < h; ++r, dst += stride) {
        std::uint32_t *out = dst;
        for (int c = 0; c < columns; ++c, out += w)
            std::memcpy(out, list.Pixels(row[c]) + std::size_t(r) * w, sizeof(std::uint32_t) * w);
    }
}

} // namespace

int TfrmKorvane::TileIndex(int x, int y) const
{
    const MineCellState st = Game->CellState(x, y);
    const MineCellContent ct = Game->CellContent(x, y);
    // Without Surroundings the ring columns lie inside the margin and look like it.
    if (ct == ccWall && !Surround() && (x == 0 || x == Game->FWidth - 1))
        return TileBackground;
    return ChooseTile(st, ct, Game->CellNumber(x, y), Game->IsFinished(), Game->IsLost());
}

void TfrmKorvane::DrawCell(int x, int y)
{
    const int s = Surround() ? 0 : 1;
    ilCells.Draw(FieldBitmap, (x + MarginColumns - s) * CellWidth, (y - s) * CellHeight,
                 TileIndex(x, y));
}

void TfrmKorvane::DrawPressedCell(int x, int y)
{
    const MineCellState st = Game->CellState(x, y);
    if (st == csOpen || st == csFlagged || Game->CellContent(x, y) == ccWall) {
        DrawCell(x, y);
        return;
    }
    const int s = Surround() ? 0 : 1;
    ilCells.Draw(FieldBitmap, (x + MarginColumns - s) * CellWidth, (y - s) * CellHeight,
                 st == csMarked ? 43 : 0);
}

void TfrmKorvane::DrawBlock(int x, int y)
{
    for (int i = x - 1; i <= x + 1; ++i)
        for (int j = y - 1; j <= y + 1; ++j)
            DrawCell(i, j);
}

void TfrmKorvane::DrawPressedBlock(int x, int y)
{
    for (int i = x - 1; i <= x + 1; ++i)
        for (int j = y - 1; j <= y + 1; ++j)
            DrawPressedCell(i, j);
}

void TfrmKorvane::ShowCell(int x, int y)
{
    const int s = Surround() ? 0 : 1;
    const QRect r((x + MarginColumns - s) * CellWidth, (y - s) * CellHeight, CellWidth, CellHeight);
    if (r.intersects(FieldBitmap.rect()))
        pbGame->update(r);
}

void TfrmKorvane::ShowBlock(int x, int y)
{
    for (int i = x - 1; i <= x + 1; ++i)
        for (int j = y - 1; j <= y + 1; ++j)
            ShowCell(i, j);
}

void TfrmKorvane::ShowField()
{
    pbGame->update();
}

void TfrmKorvane::RenderField()
{
    const int s = Surround() ? 0 : 1;
    const int M = MarginColumns;
    const int W = Game->FWidth;
    const int H = Game->FHeight;
    const int columns = W - 2 * s + 2 * M;
    const QSize size(columns * CellWidth, (H - 2 * s) * CellHeight);
    if (FieldBitmap.size() != size || FieldBitmap.format() != QImage::Format_RGB32)
        FieldBitmap = QImage(size, QImage::Format_RGB32);
    if (FieldBitmap.isNull() || ilCells.Count() < 44)
        return;

    // Every cell is drawn from its view byte through one table, so the loops
    // read one byte a cell and copy one tile.
    const bool finished = Game->IsFinished();
    const bool lost = Game->IsLost();
    std::array<std::uint8_t, 256> table {};
    for (int v = 0; v < 256; ++v) {
        const auto st = static_cast<MineCellState>(v & 3);
        const auto ct = static_cast<MineCellContent>((v >> 2) & 3);
        const int n = std::min(v >> 4, 8);
        table[v] = static_cast<std::uint8_t>(ChooseTile(st, ct, n, finished, lost));
    }

    const qsizetype stride = FieldBitmap.bytesPerLine() / 4;
    auto *bits = reinterpret_cast<std::uint32_t *>(FieldBitmap.bits());
    const int first = s - M; // the leftmost drawn column
    // The view byte column of drawn column x, or null for a column that shows
    // only background (the margin, and the ring columns without Surroundings).
    auto viewOf = [&](int x) -> const std::uint8_t * {
        const bool ring = x == 0 || x == W - 1;
        return x < 0 || x >= W || (ring && s == 1) ? nullptr : Game->ViewColumn(x);
    };

    // The view bytes lie column by column, the bitmap row by row. Both are
    // walked in bands of rows, so that every cache line and page of the bitmap
    // is written in one go rather than once per column.
    if (CellWidth == 1 && CellHeight == 1) {
        // One pixel a cell: straight from view byte to colour, in bands of
        // Down rows, two columns at a time so that each store writes two
        // pixels. A band's rows stay in the cache while its columns are
        // walked; each view column gives Down bytes in a row.
        constexpr int Down = 8;
        std::array<std::uint32_t, 256> colour {};
        for (int v = 0; v < 256; ++v)
            colour[v] = *ilCells.Pixels(table[v]);
        // No cell has the view byte 0xFF (its number would be 15): it stands
        // for the background of the margin columns.
        colour[0xFF] = *ilCells.Pixels(TileBackground);
        // Every drawn column's view bytes, the margin's a column of 0xFF;
        // the list runs on past the last column for the look-ahead.
        constexpr int Ahead = 32;
        const std::vector<std::uint8_t> margin(std::size_t(H), 0xFF);
        std::vector<const std::uint8_t *> views(std::size_t(columns) + Ahead + 1, margin.data());
        for (int c = 0; c < columns; ++c) {
            if (const std::uint8_t *view = viewOf(first + c))
                views[c] = view;
        }
        auto pairs = [&](std::uint32_t *top, int y0, auto rows) {
            int c = 0;
            for (; c + 1 < columns; c += 2) {
                const std::uint8_t *left = views[c] + y0;
                const std::uint8_t *right = views[c + 1] + y0;
                // The columns ahead lie a column height apart, too far for
                // the hardware to guess: ask for their bytes early.
                __builtin_prefetch(views[c + Ahead] + y0);
                __builtin_prefetch(views[c + Ahead + 1] + y0);
                for (int j = 0; j < rows(); ++j) {
                    const std::uint64_t pair
                        = colour[left[j]] | std::uint64_t {colour[right[j]]} << 32;
                    std::memcpy(top + j * stride + c, &pair, sizeof pair);
                }
            }
            if (c < columns) {
                const std::uint8_t *last = views[c] + y0;
                for (int j = 0; j < rows(); ++j)
                    top[j * stride + c] = colour[last[j]];
            }
        };
        for (int y0 = s; y0 <= H - 1 - s; y0 += Down) {
            std::uint32_t *top = bits + qsizetype(y0 - s) * stride;
            const int n = std::min(Down, H - s - y0);
            if (n == Down)
                pairs(top, y0, [] { return Down; }); // a count known when compiled
            else
                pairs(top, y0, [n] { return n; });
        }
        return;
    }

    // Larger tiles: the tile indices of a band of cell rows first, then the
    // band's pixel rows, each a run of tile rows copied left to right.
    const int band = std::clamp(32768 / std::max(columns, 1), 1, 64);
    std::vector<std::uint8_t> tiles(std::size_t(columns) * band);
    for (int y0 = s; y0 <= H - 1 - s; y0 += band) {
        const int n = std::min(band, H - s - y0);
        for (int c = 0; c < columns; ++c) {
            const std::uint8_t *view = viewOf(first + c);
            std::uint8_t *t = tiles.data() + c;
            if (!view) {
                for (int j = 0; j < n; ++j)
                    t[std::size_t(j) * columns] = TileBackground;
                continue;
            }
            view += y0;
            for (int j = 0; j < n; ++j)
                t[std::size_t(j) * columns] = table[view[j]];
        }
        for (int j = 0; j < n; ++j) {
            const std::uint8_t *row = tiles.data() + std::size_t(j) * columns;
            std::uint32_t *dst = bits + qsizetype(y0 - s + j) * CellHeight * stride;
            CopyTileRows(dst, stride, row, columns, ilCells);
        }
    }
}

int TfrmKorvane::StatusBarHeight() const
{
    return sbInfo->isVisibleTo(this) ? sbInfo->height() : 0;
}

int TfrmKorvane::ClientHeightAboveStatus() const
{
    const int s = Surround() ? 0 : 1;
    return 32 + DigitHeight + (Game->FHeight - 2 * s) * CellHeight;
}

void TfrmKorvane::LayoutWindow()
{
    const QRect outer = frameGeometry();
    const int cx = outer.left() + outer.width() / 2;
    const int cy = outer.top() + outer.height() / 2;
    const int frameW = outer.width() - width();
    const int frameH = outer.height() - height();

    const int s = Surround() ? 0 : 1;
    const int need = CounterBitmap.width() + TimerBitmap.width() + 58;
    int w = frameW + 16 + (Game->FWidth - 2 * s) * CellWidth;
    const int oldMargin = MarginColumns;
    MarginColumns = 0;
    while (w < need && CellWidth > 0) {
        ++MarginColumns;
        w += 2 * CellWidth;
    }
    if (MarginColumns != oldMargin)
        RenderField();

    const int clientW = w - frameW;
    const int clientH
        = menuBar()->sizeHint().height() + ClientHeightAboveStatus() + StatusBarHeight();
    const int h = clientH + frameH;
    setFixedSize(clientW, clientH);
    ArrangeControls();

    QRect area(0, 0, 1 << 16, 1 << 16);
    if (const QScreen *sc = screen())
        area = sc->availableGeometry();
    int left = cx - w / 2;
    if (left < area.left())
        left = area.left();
    else if (left + w > area.left() + area.width())
        left = area.left() + area.width() - w;
    if (left < 0)
        left = 0;
    int top = cy - h / 2;
    if (top < area.top())
        top = area.top();
    else if (top + h > area.top() + area.height())
        top = area.top() + area.height() - h;
    if (top < 0)
        top = 0;
    move(left, top);
}

void TfrmKorvane::ArrangeControls()
{
    const int s = Surround() ? 0 : 1;
    const int clientW = width();
    const int mainH = ClientHeightAboveStatus();
    pMain->setGeometry(0, 0, clientW, mainH);
    sbInfo->setGeometry(0, mainH, clientW, sbInfo->height());

    const int displayH = DigitHeight + 16;
    pDisplay->setGeometry(4, 4, clientW - 8, displayH);
    const int boxH = DigitHeight + 8;
    pCounterSurround->setGeometry(4, 4, CounterBitmap.width() + 8, boxH);
    pCounter->setGeometry(3, 3, CounterBitmap.width() + 2, DigitHeight + 2);
    pbCounter->setGeometry(1, 1, CounterBitmap.width(), DigitHeight);
    const int timerBoxW = TimerBitmap.width() + 8;
    pTimerSurround->setGeometry(pDisplay->width() - 4 - timerBoxW, 4, timerBoxW, boxH);
    pTimer->setGeometry(3, 3, TimerBitmap.width() + 2, DigitHeight + 2);
    pbTimer->setGeometry(1, 1, TimerBitmap.width(), DigitHeight);
    const int buttonLeft = 4 + CounterBitmap.width() + 8;
    const int buttonW = std::max(22, pTimerSurround->x() - buttonLeft);
    pButton->setGeometry(buttonLeft, 4, buttonW, boxH);
    spbNew->move((buttonW - spbNew->width()) / 2, (boxH - spbNew->height()) / 2);

    const int fieldH = (Game->FHeight - 2 * s) * CellHeight;
    pGame->setGeometry(4, 4 + displayH, clientW - 8, fieldH + 8);
    pbGame->setGeometry(4, 4, FieldBitmap.width(), fieldH);
}
