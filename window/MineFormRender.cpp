// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the field into FieldBitmap tile by tile, copying it to the screen,
// and sizing the window to the field.
#include "MineForm.h"

#include "Frame.h"

#include <QMenuBar>
#include <QScreen>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

using namespace korvane;

FieldView TfrmKorvane::FieldGeometry() const
{
    return {Game->FWidth, Game->FHeight, Surround(), MarginColumns, {CellWidth, CellHeight}};
}

int TfrmKorvane::TileIndex(int x, int y) const
{
    return FieldGeometry().TileOf(*Game, x, y);
}

void TfrmKorvane::DrawCell(int x, int y)
{
    const QRect r = FieldGeometry().CellRect(x, y);
    ilCells.Draw(FieldBitmap, r.x(), r.y(), TileIndex(x, y));
}

void TfrmKorvane::DrawPressedCell(int x, int y)
{
    const FieldView view = FieldGeometry();
    const QRect r = view.CellRect(x, y);
    ilCells.Draw(FieldBitmap, r.x(), r.y(), view.PressedTileOf(*Game, x, y));
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
    const QRect r = FieldGeometry().CellRect(x, y);
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
    const FieldView view = FieldGeometry();
    const QSize size = view.PictureSize();
    if (FieldBitmap.size() != size || FieldBitmap.format() != QImage::Format_RGB32)
        FieldBitmap = QImage(size, QImage::Format_RGB32);
    if (FieldBitmap.isNull() || ilCells.Count() < TileCount)
        return;

    // Every cell is drawn from its view byte through one table, so the loops
    // read one byte a cell and copy one tile.
    const auto table = FieldView::TileTable(Game->IsFinished(), Game->IsLost());
    const qsizetype stride = FieldBitmap.bytesPerLine() / 4;
    auto *bits = reinterpret_cast<std::uint32_t *>(FieldBitmap.bits());
    // Columns that show only background: the margins, and the ring columns
    // without Surroundings. The rest, [inner, inner + count), come from the model.
    const int first = view.FirstRow(); // and, past the margin, the first column
    const int columns = view.LastColumn() - view.FirstColumn() + 1;
    const int inner = view.PictureColumn(first);
    const int count = view.ShownColumns();

    // The view bytes lie row by row like the bitmap: each cell row is one
    // pass over its bytes, turned into tile indices through the table.
    if (CellWidth == 1 && CellHeight == 1) {
        // One pixel a cell: straight from view byte to colour.
        std::array<std::uint32_t, 256> colour {};
        for (int v = 0; v < 256; ++v)
            colour[std::size_t(v)] = *ilCells.Pixels(table[std::size_t(v)]);
        const std::uint32_t background = *ilCells.Pixels(tiBackground);
        for (int y = first; y <= view.LastRow(); ++y) {
            std::uint32_t *dst = bits + qsizetype(y - first) * stride;
            std::fill(dst, dst + inner, background);
            ImageList::ColourRow(dst + inner, Game->ViewRow(y) + first, count, colour.data());
            std::fill(dst + inner + count, dst + columns, background);
        }
        return;
    }
    std::vector<std::uint8_t> tiles(std::size_t(columns), tiBackground);
    for (int y = first; y <= view.LastRow(); ++y) {
        const std::uint8_t *cells = Game->ViewRow(y) + first;
        for (int c = 0; c < count; ++c)
            tiles[std::size_t(inner + c)] = table[cells[c]];
        std::uint32_t *dst = bits + qsizetype(y - first) * CellHeight * stride;
        ilCells.DrawRow(dst, stride, tiles.data(), columns);
    }
}

int TfrmKorvane::StatusBarHeight() const
{
    return sbInfo->isVisibleTo(this) ? sbInfo->height() : 0;
}

int TfrmKorvane::ClientHeightAboveStatus() const
{
    return PanelsHeight() + FieldGeometry().ShownRows() * CellHeight;
}

int TfrmKorvane::PanelsHeight() const
{
    // The display row, and the 4-pixel edges of the main and field panels.
    return 32 + DigitHeight;
}

QMargins TfrmKorvane::Frame() const
{
    const QMargins seen = SeenFrame(this);
    return seen.isNull() ? FFrame : seen;
}

bool TfrmKorvane::MaximisedOrFullScreen() const
{
    return windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen);
}

bool TfrmKorvane::Imposed() const
{
    // The window's size is fixed: any other is the manager's.
    return MaximisedOrFullScreen()
        || (isVisible() && minimumSize() == maximumSize() && size() != minimumSize());
}

QSize TfrmKorvane::WindowChrome() const
{
    const QMargins frame = Frame();
    // 16: the main and field panels' 4-pixel edges on both sides.
    return {frame.left() + frame.right() + 16,
            frame.top() + frame.bottom() + menuBar()->sizeHint().height() + PanelsHeight()
                + StatusBarHeight()};
}

void TfrmKorvane::LayoutWindow()
{
    // While the window manager holds the window maximised or full screen its
    // position and size are the manager's: reading a centre from them would
    // send the window off where it was.
    if (Imposed()) {
        FLayoutPending = true;
        ArrangeControls();
        return;
    }
    const QMargins frame = Frame();
    // After an imposed size, the window goes back around the centre it had.
    const QRect outer = OuterRect(this, frame);
    const QRect from = FLayoutPending ? FPlaced.marginsAdded(FFrame) : outer;
    FLayoutPending = false;
    const int cx = from.left() + from.width() / 2;
    const int cy = from.top() + from.height() / 2;
    const int frameW = frame.left() + frame.right();
    const int frameH = frame.top() + frame.bottom();
    const QSize chrome = WindowChrome();
    FFrame = frame;

    const int need = CounterBitmap.width() + TimerBitmap.width() + 58;
    int w = chrome.width() + FieldGeometry().ShownColumns() * CellWidth;
    const int oldMargin = MarginColumns;
    MarginColumns = 0;
    while (w < need && CellWidth > 0) {
        ++MarginColumns;
        w += 2 * CellWidth;
    }
    if (MarginColumns != oldMargin)
        RenderField();

    const int h = chrome.height() + FieldGeometry().ShownRows() * CellHeight;
    setFixedSize(w - frameW, h - frameH);
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
    PlaceOuter(this, {left, top}, frame);
    FPlaced = geometry();
}

void TfrmKorvane::FollowFrame()
{
    if (!isVisible())
        return;
    if (MaximisedOrFullScreen())
        FStateChanged = true;
    if (Imposed())
        return;
    const QMargins seen = SeenFrame(this);
    // A changed frame is followed until the manager first maximises the
    // window or fills the screen with it; after that it is taken in at the
    // next layout only: leaving full screen, fluxbox shows the frame of a
    // maximised window for a while, and a layout around it is not given back.
    if (seen == FFrame || (FStateChanged && !seen.isNull())) {
        // Moved by the player, or by the manager placing it: the place to go
        // back to.
        FPlaced = geometry();
        if (FLayoutPending)
            LayoutWindow();
        return;
    }
    // A frame taken off for a while (a full-screen state Qt has not been told
    // of yet) changes nothing.
    if (seen.isNull())
        return;
    // A frame the manager did not announce, or announced otherwise: lay out
    // again about the centre of the outer rectangle the last layout meant. A
    // field limited at start-up without it may no longer fit: before the
    // first move it is limited again.
    FLayoutPending = true;
    if (ElapsedSeconds == 0 && LimitNextGame())
        NewGame();
    else
        LayoutWindow();
}

void TfrmKorvane::ArrangeControls()
{
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

    const int fieldH = FieldGeometry().ShownRows() * CellHeight;
    pGame->setGeometry(4, 4 + displayH, clientW - 8, fieldH + 8);
    pbGame->setGeometry(4, 4, FieldBitmap.width(), fieldH);
}
