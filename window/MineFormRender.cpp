// Drawing the field into FieldBitmap tile by tile, copying it to the screen,
// and sizing the window to the field.
#include "MineForm.h"

#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cstdint>
#ifdef __SSE2__
#    include <emmintrin.h>
#endif
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

// dst[i] = colour[view[i]] for count pixels. The bitmap is far larger than
// the caches: whole groups go out as streaming stores, which spares the
// processor reading every line of the old picture before overwriting it.
void ColourRow(std::uint32_t *dst, const std::uint8_t *view, int count, const std::uint32_t *colour)
{
    int i = 0;
#ifdef __SSE2__
    for (; i < count && (reinterpret_cast<std::uintptr_t>(dst + i) & 15) != 0; ++i)
        dst[i] = colour[view[i]];
    for (; i + 8 <= count; i += 8) {
        // Eight view bytes at once, then two streaming stores of four pixels.
        std::uint64_t bytes;
        std::memcpy(&bytes, view + i, sizeof bytes);
        auto at = [&](int k) { return static_cast<int>(colour[(bytes >> (8 * k)) & 0xFF]); };
        _mm_stream_si128(reinterpret_cast<__m128i *>(dst + i),
                         _mm_set_epi32(at(3), at(2), at(1), at(0)));
        _mm_stream_si128(reinterpret_cast<__m128i *>(dst + i + 4),
                         _mm_set_epi32(at(7), at(6), at(5), at(4)));
    }
#endif
    for (; i < count; ++i)
        dst[i] = colour[view[i]];
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
    // Columns that show only background: the margins, and the ring columns
    // without Surroundings. The rest, [inner, inner + count), come from the model.
    const int inner = M; // the drawn column of cell column s
    const int count = W - 2 * s;

    // The view bytes lie row by row like the bitmap: each cell row is one
    // pass over its bytes, turned into tile indices through the table.
    std::vector<std::uint8_t> tiles(std::size_t(columns), TileBackground);
    if (CellWidth == 1 && CellHeight == 1) {
        // One pixel a cell: straight from view byte to colour.
        std::array<std::uint32_t, 256> colour {};
        for (int v = 0; v < 256; ++v)
            colour[v] = *ilCells.Pixels(table[v]);
        const std::uint32_t background = *ilCells.Pixels(TileBackground);
        for (int y = s; y <= H - 1 - s; ++y) {
            std::uint32_t *dst = bits + qsizetype(y - s) * stride;
            const std::uint8_t *view = Game->ViewRow(y) + s;
            std::fill(dst, dst + inner, background);
            ColourRow(dst + inner, view, count, colour.data());
            std::fill(dst + inner + count, dst + columns, background);
        }
#ifdef __SSE2__
        _mm_sfence(); // the streamed rows are complete before anyone reads them
#endif
        return;
    }
    for (int y = s; y <= H - 1 - s; ++y) {
        const std::uint8_t *view = Game->ViewRow(y) + s;
        for (int c = 0; c < count; ++c)
            tiles[std::size_t(inner + c)] = table[view[c]];
        std::uint32_t *dst = bits + qsizetype(y - s) * CellHeight * stride;
        CopyTileRows(dst, stride, tiles.data(), columns, ilCells);
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
    FLayoutFrame = frameW;

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

void TfrmKorvane::FollowFrame()
{
    if (isVisible() && frameGeometry().width() - width() != FLayoutFrame)
        LayoutWindow();
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
