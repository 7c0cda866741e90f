// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own pictures, built into it as PNG files and decoded by its
// own decoder when asked for.
#pragma once

#include <QImage>
#include <QStringView>

namespace korvane {

// The picture of that name (its file name in resources/ without ".png"):
// Format_ARGB32 for the icons ("korvane-16", "korvane-32"), which keep their
// transparency, and Format_RGB32 for the rest. Null for an unknown name.
QImage BuiltInImage(QStringView name);

} // namespace korvane
