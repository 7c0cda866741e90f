// SPDX-License-Identifier: GPL-3.0-or-later
#include "Gesture.h"

namespace korvane {

GestureStep Gesture::Press(Qt::MouseButton button, QPoint cell, bool finished, bool upflag)
{
    GestureStep step;
    if (finished)
        return step;
    SetButton(button, true);
    if (LeftDown) {
        // Both buttons held press the block of a chord.
        step.Draws = {{cell, RightDown, true}};
        step.PressedFace = true;
        PressedX = cell.x();
        PressedY = cell.y();
    } else if (RightDown && RightPending && !upflag) {
        step.Action = gaCycleFlag;
    }
    return step;
}

GestureStep Gesture::Move(QPoint cell, bool finished)
{
    GestureStep step;
    const QPoint pressed(PressedX, PressedY);
    if (finished || !LeftDown || cell == pressed)
        return step;
    step.Draws = {{pressed, RightDown, false}, {cell, RightDown, true}};
    PressedX = cell.x();
    PressedY = cell.y();
    return step;
}

GestureStep Gesture::Release(Qt::MouseButton button, QPoint cell, bool finished, bool upflag,
                             bool flagged)
{
    GestureStep step;
    if (!finished) {
        // Whichever button lets go of a two-button gesture, the middle one
        // included, makes the chord.
        if (LeftDown && RightDown)
            step.Action = gaChord;
        else if (button == Qt::LeftButton && !flagged)
            step.Action = LeftDown && LeftPending ? gaOpen : gaNone;
        else if (button == Qt::RightButton && upflag && RightDown && RightPending)
            step.Action = gaCycleFlag;
        // Nothing changed: the pressed look goes, wherever it was drawn.
        if (LeftDown && ChangesButtons(button)) {
            const QPoint pressed(PressedX, PressedY);
            if (RightDown)
                step.Lifts = {{cell, true, false}, {pressed, true, false}};
            else
                step.Lifts = {{pressed, false, false}};
        }
    }
    SetButton(button, false);
    return step;
}

std::vector<Qt::MouseButton> Gesture::Lost(Qt::MouseButtons held) const
{
    std::vector<Qt::MouseButton> lost;
    if (LeftDown && !(held & Qt::LeftButton))
        lost.push_back(Qt::LeftButton);
    if (RightDown && !(held & Qt::RightButton))
        lost.push_back(Qt::RightButton);
    return lost;
}

// The left or right button went down or up: its own flags follow it, and the
// other button's pending action is cancelled while that one is held, so that
// a two-button gesture acts once.
void Gesture::SetButton(Qt::MouseButton button, bool down)
{
    if (!ChangesButtons(button))
        return;
    const bool left = button == Qt::LeftButton;
    (left ? LeftDown : RightDown) = down;
    (left ? LeftPending : RightPending) = down;
    if (left ? RightDown : LeftDown)
        (left ? RightPending : LeftPending) = false;
}

} // namespace korvane
