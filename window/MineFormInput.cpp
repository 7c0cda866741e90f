// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse play on the field and the F2 key: the gesture says what to draw and
// which action to take, the handlers carry it out.
#include "MineForm.h"

#include <limits>

using namespace korvane;

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

void TfrmKorvane::DrawGesture(const std::vector<GestureDraw> &draws)
{
    for (const GestureDraw &d : draws) {
        const int x = d.At.x();
        const int y = d.At.y();
        if (d.Block) {
            d.Pressed ? DrawPressedBlock(x, y) : DrawBlock(x, y);
            ShowBlock(x, y);
        } else {
            d.Pressed ? DrawPressedCell(x, y) : DrawCell(x, y);
            ShowCell(x, y);
        }
    }
}

void TfrmKorvane::pbGameMouseDown(Qt::MouseButton button, int X, int Y)
{
    const QPoint cell = FieldGeometry().CellAt(X, Y);
    const GestureStep step = Mouse.Press(button, cell, Game->IsFinished(), miUpflag->isChecked());
    DrawGesture(step.Draws);
    if (step.PressedFace)
        ShowPressedFace();
    if (step.Action != gaCycleFlag)
        return;
    const int x = cell.x();
    const int y = cell.y();
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

void TfrmKorvane::pbGameMouseMove(int X, int Y)
{
    DrawGesture(Mouse.Move(FieldGeometry().CellAt(X, Y), Game->IsFinished()).Draws);
}

void TfrmKorvane::pbGameMouseUp(Qt::MouseButton button, int X, int Y)
{
    const QPoint cell = FieldGeometry().CellAt(X, Y);
    const int x = cell.x();
    const int y = cell.y();
    const bool finished = Game->IsFinished();
    const GestureStep step = Mouse.Release(button, cell, finished, miUpflag->isChecked(),
                                           Game->CellState(x, y) == csFlagged);
    if (finished)
        return;
    const QString oldText = FormatCounter(Game->BombsLeft());
    bool changed = false;
    switch (step.Action) {
    case gaOpen:
        changed = Game->OpenCell(x, y);
        break;
    case gaChord:
        changed = Game->Chord(x, y);
        break;
    case gaCycleFlag:
        changed = CycleFlag(x, y);
        break;
    case gaNone:
        break;
    }
    if (changed) {
        if (!timSecond.isActive())
            StartClock();
        if (step.Action == gaChord || (Game->CellNumber(x, y) == 0 && Game->FAutoOpen)) {
            RenderField();
            ShowField();
        } else {
            DrawCell(x, y);
            ShowCell(x, y);
        }
        UpdateCounterDisplay(oldText, FormatCounter(Game->BombsLeft()));
        if (sbInfo->isVisibleTo(this))
            UpdateStatusBar();
    } else {
        DrawGesture(step.Lifts);
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

void TfrmKorvane::pbGameMouseLost(Qt::MouseButtons held)
{
    // No cell lies this far from the field.
    constexpr int Outside = std::numeric_limits<int>::min() / 2;
    for (Qt::MouseButton button : Mouse.Lost(held))
        pbGameMouseUp(button, Outside, Outside);
}
