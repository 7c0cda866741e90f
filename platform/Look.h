// SPDX-License-Identifier: GPL-3.0-or-later
// The program's widget style.
#pragma once

class QStyle;

namespace korvane {

// Qt's Fusion style, except that the arrow of a menu bar's overflow button is
// decoded by the program's own PNG reader. Fusion loads it through Qt's image
// reader, which first loads every image format plugin: a twentieth of a bare
// window's start-up, for a button the window's menu bar does not show.
QStyle *CreateLook();

} // namespace korvane
