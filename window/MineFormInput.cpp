// Mouse play on the field and the F2 key.
#include "MineForm.h"

#include <limits>

bool TfrmKorvane::CycleFlag(int x, int y)
{
    switch (Game->CellState(x, y)) {
    case csHidden:
        return Game->FlagCell(x, y);
    case csFlagged:
        return miMarks->isChecked() ? Game->MarkCell(x, y) : Game->ClearCell(x, y);
    case csMarked:
        return Game->ClearCell(x, y);
    case csOpen:
        break;
    }
    return false;
}

void TfrmKorvane::pbGameMouseDown(Qt::MouseButton button, int X, int Y)
{
    if (Game->IsFinished())
        return;
    const QPoint cell = FieldGeometry().CellAt(X, Y);
    const int x = cell.x();
    const int y = cell.y();
    SetButton(button, true);
    if (LeftDown) {
        if (RightDown) {
            DrawPressedBlock(x, y);
            ShowBlock(x, y);
        } else {
            DrawPressedCell(x, y);
            ShowCell(x, y);
        }
        ShowPressedFace();
        PressedX = x;
        PressedY = y;
        return;
    }
    if (RightDown && RightPending && !miUpflag->isChecked()) {
        const QString oldText = FormatCounter(Game->BombsLeft());
        if (CycleFlag(x, y)) {
            if (!timSecond.isActive())
                StartClock();
            DrawCell(x, y);
            ShowCell(x, y);
            UpdateCounterDisplay(oldText, FormatCounter(Game->BombsLeft()));
            if (sbInfo->isVisibleTo(this))
                UpdateStatusBar();
        }
    }
}

void TfrmKorvane::pbGameMouseMove(int X, int Y)
{
    if (Game->IsFinished() || !LeftDown)
        return;
    const QPoint cell = FieldGeometry().CellAt(X, Y);
    const int x = cell.x();
    const int y = cell.y();
    if (x == PressedX && y == PressedY)
        return;
    if (RightDown) {
        DrawBlock(PressedX, PressedY);
        ShowBlock(PressedX, PressedY);
        DrawPressedBlock(x, y);
        ShowBlock(x, y);
    } else {
        DrawCell(PressedX, PressedY);
        ShowCell(PressedX, PressedY);
        DrawPressedCell(x, y);
        ShowCell(x, y);
    }
    PressedX = x;
    PressedY = y;
}

void TfrmKorvane::pbGameMouseUp(Qt::MouseButton button, int X, int Y)
{
    if (!Game->IsFinished()) {
        const QString oldText = FormatCounter(Game->BombsLeft());
        const QPoint cell = FieldGeometry().CellAt(X, Y);
        const int x = cell.x();
        const int y = cell.y();
        bool changed = false;
        bool chorded = false;
        if (LeftDown && RightDown) {
            changed = chorded = Game->Chord(x, y);
        } else if (button == Qt::LeftButton && Game->CellState(x, y) != csFlagged) {
            if (LeftDown && LeftPending)
                changed = Game->OpenCell(x, y);
        } else if (button == Qt::RightButton && miUpflag->isChecked() && RightDown
                   && RightPending) {
            changed = CycleFlag(x, y);
        }
        if (changed) {
            if (!timSecond.isActive())
                StartClock();
            if (chorded || (Game->CellNumber(x, y) == 0 && Game->FAutoOpen)) {
                RenderField();
                ShowField();
            } else {
                DrawCell(x, y);
                ShowCell(x, y);
            }
            UpdateCounterDisplay(oldText, FormatCounter(Game->BombsLeft()));
            if (sbInfo->isVisibleTo(this))
                UpdateStatusBar();
        } else if (LeftDown) {
            // Nothing changed: the pressed look goes, wherever it was drawn.
            if (RightDown) {
                DrawBlock(x, y);
                ShowBlock(x, y);
                DrawBlock(PressedX, PressedY);
                ShowBlock(PressedX, PressedY);
            } else {
                DrawCell(PressedX, PressedY);
                ShowCell(PressedX, PressedY);
            }
        }
        if (Game->IsFinished()) {
            timSecond.stop();
            RenderField();
            ShowField();
            if (Game->IsWon())
                ShowWonFace();
            else if (Game->IsLost())
                ShowLostFace();
        } else {
            ShowNormalFace();
        }
    }
    SetButton(button, false);
}

// The left or right button went down or up: its own flags follow it, and the
// other button's pending action is cancelled while that one is held, so that
// a two-button gesture acts once. The middle button changes nothing.
void TfrmKorvane::SetButton(Qt::MouseButton button, bool down)
{
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    const bool left = button == Qt::LeftButton;
    (left ? LeftDown : RightDown) = down;
    (left ? LeftPending : RightPending) = down;
    if (left ? RightDown : LeftDown)
        (left ? RightPending : LeftPending) = false;
}

void TfrmKorvane::pbGameMouseLost(Qt::MouseButtons held)
{
    // No cell lies this far from the field.
    constexpr int Outside = std::numeric_limits<int>::min() / 2;
    if (LeftDown && !(held & Qt::LeftButton))
        pbGameMouseUp(Qt::LeftButton, Outside, Outside);
    if (RightDown && !(held & Qt::RightButton))
        pbGameMouseUp(Qt::RightButton, Outside, Outside);
}
