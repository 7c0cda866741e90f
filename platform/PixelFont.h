// SPDX-License-Identifier: GPL-3.0-or-later
// The font of the dialogs' texts and of the status bar: a narrow face at an
// exact pixel size, so that their fixed layouts hold on every screen.
#pragma once

#include <QFont>

namespace korvane {

QFont PixelFont(int pixels, bool bold = false);

} // namespace korvane
