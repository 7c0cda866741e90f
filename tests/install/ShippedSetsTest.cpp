// SPDX-License-Identifier: GPL-3.0-or-later
// Every skin and font that ships in dist/ loads through the program's own
// loader, from the menu as from the settings file, and shows its pictures
// unchanged.
#include "BuiltInImages.h"
#include "WindowTestSupport.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSet>

using namespace korvane::test;

namespace {

const QString DistFolder = QStringLiteral(KORVANE_DIST_DIR);

QStringList ShippedFiles(const QString &folder)
{
    return QDir(DistFolder + u'/' + folder)
        .entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
}

// The menu shows the file name without ".png", its first letter raised.
QString MenuName(const QString &fileName)
{
    const QString base = fileName.left(fileName.size() - 4);
    return base.left(1).toUpper() + base.mid(1);
}

QImage Picture(const QString &folder, const QString &fileName)
{
    return QImage(DistFolder + u'/' + folder + u'/' + fileName)
        .convertToFormat(QImage::Format_RGB32);
}

QAction *MenuItem(QMenu *menu, const QString &caption)
{
    for (QAction *item : menu->actions()) {
        if (item->text() == caption)
            return item;
    }
    return nullptr;
}

class ShippedSetsTest : public WindowTest
{
protected:
    // Copies the shipped folder beside the test's program.
    void Ship(const QString &folder)
    {
        QDir(Folder()).mkpath(folder);
        for (const QString &file : ShippedFiles(folder)) {
            ASSERT_TRUE(QFile::copy(DistFolder + u'/' + folder + u'/' + file,
                                    Folder() + u'/' + folder + u'/' + file))
                << file.toStdString();
        }
    }
};

} // namespace

TEST_F(ShippedSetsTest, AtLeastThreeSkinsOfDifferentTileSizesAndTwoFontsShip)
{
    const QStringList skins = ShippedFiles(QStringLiteral("Skins"));
    ASSERT_GE(skins.size(), 3);
    QSet<int> widths;
    for (const QString &file : skins)
        widths.insert(Picture(QStringLiteral("Skins"), file).width() / 11);
    EXPECT_GE(widths.size(), 3);
    EXPECT_GE(ShippedFiles(QStringLiteral("Fonts")).size(), 2);
}

TEST_F(ShippedSetsTest, EverySkinLoadsWithItsFortyFourTilesCutFromThePicture)
{
    Ship(QStringLiteral("Skins"));
    TfrmKorvane &w = Open();
    for (const QString &file : ShippedFiles(QStringLiteral("Skins"))) {
        SCOPED_TRACE(file.toStdString());
        const QImage picture = Picture(QStringLiteral("Skins"), file);
        ASSERT_EQ(picture.width() % 11, 0);
        ASSERT_EQ(picture.height() % 4, 0);
        const int tw = picture.width() / 11;
        const int th = picture.height() / 4;

        ASSERT_TRUE(w.LoadSkin(MenuName(file)));
        EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
        ASSERT_EQ(w.ilCells.Count(), 44);
        EXPECT_EQ(w.CellWidth, tw);
        EXPECT_EQ(w.CellHeight, th);
        for (int i = 0; i < 44; ++i) {
            const QImage expected = picture.copy((i % 11) * tw, (i / 11) * th, tw, th);
            EXPECT_EQ(w.ilCells.Image(i), expected) << "tile " << i;
        }
    }
}

TEST_F(ShippedSetsTest, NoTwoTilesOfASkinLookTheSame)
{
    // Every tile stands for a different state of a cell: a tile copied from
    // another, or left blank, would hide what the player needs to see. Only
    // the bombs left covered after a loss (20) and after a win (31) never
    // meet in one game and may look alike.
    for (const QString &file : ShippedFiles(QStringLiteral("Skins"))) {
        SCOPED_TRACE(file.toStdString());
        const QImage picture = Picture(QStringLiteral("Skins"), file);
        const int tw = picture.width() / 11;
        const int th = picture.height() / 4;
        QList<QImage> tiles;
        for (int i = 0; i < 44; ++i)
            tiles << picture.copy((i % 11) * tw, (i / 11) * th, tw, th);
        for (int i = 0; i < 44; ++i) {
            for (int j = i + 1; j < 44; ++j) {
                if (i == 20 && j == 31)
                    continue;
                EXPECT_TRUE(tiles[i] != tiles[j]) << "tiles " << i << " and " << j;
            }
        }
    }
}

TEST_F(ShippedSetsTest, EverySkinChosenFromTheMenuDrawsTheFieldWithItsTiles)
{
    Ship(QStringLiteral("Skins"));
    TfrmKorvane &w = Open();
    ASSERT_EQ(w.SkinFiles.size(), ShippedFiles(QStringLiteral("Skins")).size());
    for (const QString &file : ShippedFiles(QStringLiteral("Skins"))) {
        const QString name = MenuName(file);
        SCOPED_TRACE(name.toStdString());
        QAction *item = MenuItem(w.miSkins, name);
        ASSERT_NE(item, nullptr);
        item->trigger();
        EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
        EXPECT_EQ(w.SkinName, name);
        EXPECT_TRUE(item->isChecked());
        const QImage picture = Picture(QStringLiteral("Skins"), file);
        const int tw = picture.width() / 11;
        const int th = picture.height() / 4;
        EXPECT_EQ(w.pbGame->height(), w.Game->FHeight * th);
        EXPECT_EQ(w.FieldBitmap.size(), w.pbGame->size());
        // A running game: a covered cell, and the ring as background.
        EXPECT_EQ(DrawnCell(5, 5), picture.copy(0, 2 * th, tw, th)); // tile 22
        EXPECT_EQ(DrawnCell(0, 0), picture.copy(10 * tw, 0, tw, th)); // tile 10
    }
}

TEST_F(ShippedSetsTest, EveryFontLoadsWithItsTwelveGlyphsCutFromThePicture)
{
    Ship(QStringLiteral("Fonts"));
    TfrmKorvane &w = Open();
    for (const QString &file : ShippedFiles(QStringLiteral("Fonts"))) {
        SCOPED_TRACE(file.toStdString());
        const QImage picture = Picture(QStringLiteral("Fonts"), file);
        ASSERT_EQ(picture.width() % 12, 0);
        const int gw = picture.width() / 12;

        ASSERT_TRUE(w.LoadFont(MenuName(file)));
        EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
        ASSERT_EQ(w.ilDigits.Count(), 12);
        EXPECT_EQ(w.DigitWidth, gw);
        EXPECT_EQ(w.DigitHeight, picture.height());
        QList<QImage> glyphs;
        for (int g = 0; g < 12; ++g) {
            glyphs << picture.copy(g * gw, 0, gw, picture.height());
            EXPECT_EQ(w.ilDigits.Image(g), glyphs.last()) << "glyph " << g;
        }
        for (int g = 0; g < 12; ++g) {
            for (int h = g + 1; h < 12; ++h)
                EXPECT_TRUE(glyphs[g] != glyphs[h]) << "glyphs " << g << " and " << h;
        }
    }
}

TEST_F(ShippedSetsTest, EveryFontChosenFromTheMenuDrawsTheCounters)
{
    Ship(QStringLiteral("Fonts"));
    TfrmKorvane &w = Open();
    ASSERT_EQ(w.FontFiles.size(), ShippedFiles(QStringLiteral("Fonts")).size());
    for (const QString &file : ShippedFiles(QStringLiteral("Fonts"))) {
        const QString name = MenuName(file);
        SCOPED_TRACE(name.toStdString());
        QAction *item = MenuItem(w.miFonts, name);
        ASSERT_NE(item, nullptr);
        item->trigger();
        EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
        EXPECT_EQ(w.FontName, name);
        const QImage picture = Picture(QStringLiteral("Fonts"), file);
        const int gw = picture.width() / 12;
        // A new Beginner game: 10 bombs left, "0010", and the clock at "0:00".
        EXPECT_EQ(w.CounterBitmap.size(), QSize(4 * gw, picture.height()));
        EXPECT_EQ(w.CounterBitmap.copy(2 * gw, 0, gw, picture.height()),
                  picture.copy(gw, 0, gw, picture.height()));
        EXPECT_EQ(w.TimerBitmap.copy(gw, 0, gw, picture.height()),
                  picture.copy(10 * gw, 0, gw, picture.height()));
    }
}

TEST_F(ShippedSetsTest, SetsNamedInTheSettingsFileAreUsedAtStartUp)
{
    Ship(QStringLiteral("Skins"));
    Ship(QStringLiteral("Fonts"));
    const QString skinFile = ShippedFiles(QStringLiteral("Skins")).constLast();
    const QString fontFile = ShippedFiles(QStringLiteral("Fonts")).constFirst();
    const QString skin = MenuName(skinFile);
    const QString font = MenuName(fontFile);
    WriteSettings(QStringLiteral("[Settings]\nSkin=%1\nFont=%2\n").arg(skin, font));
    TfrmKorvane &w = Open();
    EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
    EXPECT_EQ(w.SkinName, skin);
    EXPECT_EQ(w.FontName, font);
    EXPECT_TRUE(MenuItem(w.miSkins, skin)->isChecked());
    EXPECT_TRUE(MenuItem(w.miFonts, font)->isChecked());
    EXPECT_EQ(w.CellWidth, Picture(QStringLiteral("Skins"), skinFile).width() / 11);
    EXPECT_EQ(w.DigitHeight, Picture(QStringLiteral("Fonts"), fontFile).height());
}

// The pictures built into the program are their files in resources/, pixel for
// pixel, as Qt's own reader decodes them; the icons keep their transparency.
TEST(BuiltInPictures, AreTheirFiles)
{
    const struct
    {
        const char16_t *Name;
        QImage::Format Format;
    } pictures[] {{u"DefaultSkin", QImage::Format_RGB32},
                  {u"DefaultFont", QImage::Format_RGB32},
                  {u"Faces", QImage::Format_RGB32},
                  {u"korvane-16", QImage::Format_ARGB32},
                  {u"korvane-32", QImage::Format_ARGB32}};
    for (const auto &picture : pictures) {
        const QString name = QString::fromUtf16(picture.Name);
        const QImage file
            = QImage(QStringLiteral(KORVANE_RESOURCES_DIR "/") + name + QStringLiteral(".png"))
                  .convertToFormat(picture.Format);
        ASSERT_FALSE(file.isNull()) << name.toStdString();
        EXPECT_EQ(korvane::BuiltInImage(name), file) << name.toStdString();
    }
    EXPECT_TRUE(korvane::BuiltInImage(u"korvane-48").isNull());
}
