// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse gesture on the field: which buttons are down, which may still act,
// and where the pressed look is. Each transition takes one event and what it
// needs to know of the game, and answers what to draw and which game action
// to take; the window carries that out. Nothing here draws or plays.
#pragma once

#include <QPoint>
#include <Qt>

#include <vector>

namespace korvane {

enum GestureAction { gaNone, gaOpen, gaChord, gaCycleFlag };

// The pressed look of a cell, or of the 3 x 3 block around it, put on or lifted.
struct GestureDraw
{
    QPoint At;
    bool Block = false;
    bool Pressed = false;
    bool operator==(const GestureDraw &) const = default;
};

struct GestureStep
{
    GestureAction Action = gaNone;
    // Drawn at once, before the action.
    std::vector<GestureDraw> Draws;
    // Drawn after the action, when it changed nothing.
    std::vector<GestureDraw> Lifts;
    bool PressedFace = false;
    bool operator==(const GestureStep &) const = default;
};

struct Gesture
{
    bool LeftDown = false;
    bool RightDown = false;
    // The release of this button may still act.
    bool LeftPending = false;
    bool RightPending = false;
    // The cell, or the centre of the block, last drawn pressed.
    int PressedX = 0;
    int PressedY = 0;

    // While the game is finished, presses and moves are ignored; a release
    // still lets go of its button. upflag: the right button flags on release.
    GestureStep Press(Qt::MouseButton button, QPoint cell, bool finished, bool upflag);
    GestureStep Move(QPoint cell, bool finished);
    // flagged: the cell under the release holds a flag.
    GestureStep Release(Qt::MouseButton button, QPoint cell, bool finished, bool upflag,
                        bool flagged);
    // The buttons remembered down that are not held: their releases went
    // elsewhere, and each ends as a release outside the field.
    std::vector<Qt::MouseButton> Lost(Qt::MouseButtons held) const;

    // Left and right are held down or up; the middle button holds nothing.
    static bool ChangesButtons(Qt::MouseButton button)
    {
        return button == Qt::LeftButton || button == Qt::RightButton;
    }

private:
    void SetButton(Qt::MouseButton button, bool down);
};

} // namespace korvane
