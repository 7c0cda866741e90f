// SPDX-License-Identifier: GPL-3.0-or-later
// What the display tests share beyond the window fixture: writing made-up
// skins and fonts, and reading back which tile a cell shows and which text a
// digit display shows.
#pragma once

#include "TestPictures.h"
#include "WindowTestSupport.h"

#include <QImage>
#include <QString>

namespace korvane::test {

// A picture of a field of width x height with the ring and `bombs` bombs
// filling its first rows from the left.
std::vector<std::string> OpenField(int width, int height, int bombs);

class DisplayTest : public WindowTest
{
protected:
    // The index of the tile that cell (x, y) shows in FieldBitmap, -1 when it
    // shows none of the 44.
    int TileAt(int x, int y) const;
    // The text the glyphs in a display bitmap spell, '?' for a glyph that is
    // none of the 12.
    QString DisplayText(const QImage &bitmap) const;
    QString CounterText() const { return DisplayText(FWindow->CounterBitmap); }
    QString TimerText() const { return DisplayText(FWindow->TimerBitmap); }

    // A click with real mouse events at the centre of cell (x, y).
    void ClickCell(int x, int y, Qt::MouseButton button = Qt::LeftButton) const;

    // The submenu item captioned caption, or null.
    static QAction *Item(const QMenu *menu, const QString &caption);
    // Saves a made-up skin as Skins/<name>.png.
    void WriteSkin(const QString &name, int tileWidth, int tileHeight) const;
    void WriteFont(const QString &name, int glyphWidth, int glyphHeight) const;
    // Chooses the skin or font named caption from its submenu.
    void ChooseSkin(const QString &caption) const;
    void ChooseFont(const QString &caption) const;

    // Every position the field bitmap shows, in the order RenderField draws them.
    template<typename F>
    void ForVisibleCells(F f) const
    {
        const TfrmKorvane &w = *FWindow;
        const int s = w.miSurround->isChecked() ? 0 : 1;
        const int m = w.MarginColumns;
        for (int x = s - m; x <= w.Game->FWidth - 1 - s + m; ++x)
            for (int y = s; y <= w.Game->FHeight - 1 - s; ++y)
                f(x, y);
    }
};

} // namespace korvane::test
