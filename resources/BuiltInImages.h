// The program's own pictures, decoded when the program is built: drawing the
// first frame takes no PNG decoder.
#pragma once

#include <QImage>
#include <QStringView>

namespace korvane {

// The picture of that name (its file name in resources/ without ".png"),
// read-only over pixels inside the program: Format_ARGB32 for the icons
// ("korvane-16", "korvane-32"), which keep their transparency, and
// Format_RGB32 for the rest. Null for an unknown name.
QImage BuiltInImage(QStringView name);

} // namespace korvane
