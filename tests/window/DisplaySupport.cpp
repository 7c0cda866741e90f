// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplaySupport.h"

#include <QAction>
#include <QMenu>
#include <QTest>

namespace korvane::test {

std::vector<std::string> OpenField(int width, int height, int bombs)
{
    std::vector<std::string> picture(height, std::string(width, '.'));
    for (int x = 0; x < width; ++x)
        picture.front()[x] = picture.back()[x] = '#';
    for (int y = 0; y < height; ++y)
        picture[y].front() = picture[y].back() = '#';
    for (int i = 0; i < bombs; ++i)
        picture[1 + i / (width - 2)][1 + i % (width - 2)] = '*';
    return picture;
}

int DisplayTest::TileAt(int x, int y) const
{
    const QImage drawn = DrawnCell(x, y);
    for (int i = 0; i < 44; ++i) {
        if (drawn == Tile(i))
            return i;
    }
    return -1;
}

QString DisplayTest::DisplayText(const QImage &bitmap) const
{
    const korvane::ImageList &glyphs = FWindow->ilDigits;
    const int w = glyphs.Width();
    QString text;
    if (bitmap.height() != glyphs.Height() || w <= 0 || bitmap.width() % w != 0)
        return QStringLiteral("<%1 x %2>").arg(bitmap.width()).arg(bitmap.height());
    for (int x = 0; x < bitmap.width(); x += w) {
        const QImage drawn = bitmap.copy(x, 0, w, glyphs.Height());
        QChar c = u'?';
        for (int g = 0; g < 12; ++g) {
            if (drawn == glyphs.Image(g)) {
                c = QStringLiteral("0123456789:-").at(g);
                break;
            }
        }
        text += c;
    }
    return text;
}

void DisplayTest::ClickCell(int x, int y, Qt::MouseButton button) const
{
    QTest::mouseClick(FWindow->pbGame, button, {}, CellCentre(x, y));
}

QAction *DisplayTest::Item(const QMenu *menu, const QString &caption)
{
    for (QAction *item : menu->actions()) {
        if (item->text() == caption)
            return item;
    }
    return nullptr;
}

void DisplayTest::WriteSkin(const QString &name, int tileWidth, int tileHeight) const
{
    WriteImage(QStringLiteral("Skins"), name + QStringLiteral(".png"),
               MakeSkin(tileWidth, tileHeight));
}

void DisplayTest::WriteFont(const QString &name, int glyphWidth, int glyphHeight) const
{
    WriteImage(QStringLiteral("Fonts"), name + QStringLiteral(".png"),
               MakeFont(glyphWidth, glyphHeight));
}

void DisplayTest::ChooseSkin(const QString &caption) const
{
    QAction *item = Item(FWindow->miSkins, caption);
    ASSERT_NE(item, nullptr) << caption.toStdString();
    item->trigger();
}

void DisplayTest::ChooseFont(const QString &caption) const
{
    QAction *item = Item(FWindow->miFonts, caption);
    ASSERT_NE(item, nullptr) << caption.toStdString();
    item->trigger();
}

} // namespace korvane::test
