// SPDX-License-Identifier: GPL-3.0-or-later
// Shared looks of the small fixed dialogs.
#pragma once

#include "PixelFont.h"

#include <QDialog>
#include <QFont>

namespace korvane {

// A fixed-size dialog with a caption and a client area of the given size, and
// no system menu, minimise or maximise buttons.
void MakeFixedDialog(QDialog *dialog, const QString &caption, int width, int height);

// A sunken horizontal separator line, two pixels high.
QWidget *SunkenLine(QWidget *parent, int x, int y, int width);

} // namespace korvane
