// SPDX-License-Identifier: GPL-3.0-or-later
// Skin and font sets: the folder scan behind the two submenus, loading from
// the menu and from the settings, the five messages, and the faces.
#include "DisplaySupport.h"

#include "IniFile.h"
#include "Menus.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMenu>
#include <QTest>

using namespace korvane;
using namespace korvane::test;

class SkinsTest : public DisplayTest
{
protected:
    QStringList Captions(const QMenu *menu) const
    {
        QStringList captions;
        for (const QAction *item : menu->actions())
            captions << item->text();
        return captions;
    }
    QStringList Checked(const QMenu *menu) const
    {
        QStringList checked;
        for (const QAction *item : menu->actions())
            if (item->isChecked())
                checked << item->text();
        return checked;
    }
    QString Saved(const QString &key) const
    {
        return korvane::IniFile(SettingsPath())
            .ReadString(QStringLiteral("Settings"), key, QStringLiteral("<missing>"));
    }
    void WriteBytes(const QString &relativePath, const QByteArray &bytes) const
    {
        QFile file(QDir(Folder()).filePath(relativePath));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QString SkinMessage(const char *reason, const QString &name)
    {
        return QString::fromLatin1(reason)
            + QStringLiteral(" - Unable to load optional skin from '") + name
            + QStringLiteral(".png'");
    }
    static QString FontMessage(const char *reason, const QString &name)
    {
        return QString::fromLatin1(reason)
            + QStringLiteral(" - Unable to load optional font from '") + name
            + QStringLiteral(".png'");
    }
};

TEST_F(SkinsTest, WithoutFoldersBothSubmenusAreEmpty)
{
    TfrmKorvane &w = Open();
    EXPECT_TRUE(w.miSkins->actions().isEmpty());
    EXPECT_TRUE(w.miFonts->actions().isEmpty());
    EXPECT_TRUE(w.SkinFiles.isEmpty());
    EXPECT_TRUE(w.FontFiles.isEmpty());
    EXPECT_EQ(w.SkinName, QStringLiteral("Default"));
    EXPECT_EQ(w.CellWidth, 16);
    EXPECT_EQ(w.DigitWidth, 13);
    EXPECT_EQ(w.DigitHeight, 23);
    EXPECT_EQ(Tile(tiBackground), w.imDefaultSkin.copy(160, 0, 16, 16));
}

TEST_F(SkinsTest, AFolderWithoutPngFilesGivesAnEmptySubmenu)
{
    QDir(Folder()).mkpath(QStringLiteral("Skins"));
    WriteBytes(QStringLiteral("Skins/readme.txt"), "not a skin");
    WriteBytes(QStringLiteral("Skins/png"), "no extension");
    TfrmKorvane &w = Open();
    EXPECT_TRUE(w.miSkins->actions().isEmpty());
}

TEST_F(SkinsTest, ScanSortsRaisesTheFirstLetterAndDropsNamesEqualButForCase)
{
    WriteSkin(QStringLiteral("zeta"), 16, 16);
    WriteSkin(QStringLiteral("blue"), 16, 16);
    WriteSkin(QStringLiteral("BLUE"), 16, 16);
    WriteSkin(QStringLiteral("ice.age"), 16, 16);
    WriteSkin(QStringLiteral("Alpha"), 16, 16);
    WriteSkin(QStringLiteral("éclair"), 16, 16);
    WriteSkin(QStringLiteral("ßmall"), 16, 16);
    QDir(Folder()).mkpath(QStringLiteral("Skins/x.png"));
    WriteBytes(QStringLiteral("Skins/notes.txt"), "text");
    // The names sort as the player's language does; the C locale knows no "É".
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    TfrmKorvane &w = Open();
    QLocale::setDefault(QLocale::c());

    ASSERT_EQ(w.SkinFiles.size(), 7) << w.SkinFiles.join(u',').toStdString();
    EXPECT_EQ(w.SkinFiles[0], QStringLiteral("Alpha"));
    EXPECT_EQ(w.SkinFiles[1].toLower(), QStringLiteral("blue"));
    EXPECT_EQ(w.SkinFiles[2], QStringLiteral("Éclair")) << "with the E's";
    EXPECT_EQ(w.SkinFiles[3], QStringLiteral("Ice.age"));
    EXPECT_EQ(w.SkinFiles[4], QStringLiteral("ßmall")) << "one character raised to one";
    EXPECT_EQ(w.SkinFiles[5], QStringLiteral("X"));
    EXPECT_EQ(w.SkinFiles[6], QStringLiteral("Zeta"));
    EXPECT_EQ(Captions(w.miSkins), w.SkinFiles);
    const QList<QAction *> items = w.miSkins->actions();
    for (int i = 0; i < items.size(); ++i) {
        EXPECT_EQ(korvane::Tag(items[i]), i);
        EXPECT_TRUE(items[i]->isCheckable());
        EXPECT_FALSE(items[i]->isChecked()) << "the built-in skin has no entry";
    }
    EXPECT_TRUE(FDesktop.Messages.isEmpty());

    ChooseSkin(QStringLiteral("X"));
    EXPECT_EQ(FDesktop.Messages, QStringList {SkinMessage("File not found", QStringLiteral("X"))});
    EXPECT_TRUE(Checked(w.miSkins).isEmpty());
    EXPECT_EQ(w.SkinName, QStringLiteral("Default"));

    // The menu name's raised first letter still finds ice.age.png.
    ChooseSkin(QStringLiteral("Ice.age"));
    EXPECT_EQ(FDesktop.Messages.size(), 1);
    EXPECT_EQ(w.SkinName, QStringLiteral("Ice.age"));
    EXPECT_EQ(Checked(w.miSkins), QStringList {QStringLiteral("Ice.age")});
    EXPECT_EQ(Tile(tiOpen + 7), MakeSkin(16, 16).copy(7 * 16, 0, 16, 16));
    ChooseSkin(QStringLiteral("ßmall"));
    EXPECT_EQ(FDesktop.Messages.size(), 1);
    EXPECT_EQ(w.SkinName, QStringLiteral("ßmall"));
}

TEST_F(SkinsTest, ChoosingASkinRedrawsTheFieldWithItsTiles)
{
    WriteSkin(QStringLiteral("Blue"), 16, 16);
    TfrmKorvane &w = Open();
    ChooseSkin(QStringLiteral("Blue"));
    const QImage skin = MakeSkin(16, 16);
    for (int i = 0; i < 44; ++i)
        EXPECT_EQ(Tile(i), skin.copy(i % 11 * 16, i / 11 * 16, 16, 16)) << i;
    EXPECT_EQ(DrawnCell(0, 0), Tile(tiBackground));
    EXPECT_EQ(DrawnCell(3, 3), Tile(tiCovered));
    EXPECT_EQ(w.SkinName, QStringLiteral("Blue"));
    CloseWindow();
    EXPECT_EQ(Saved(QStringLiteral("Skin")), QStringLiteral("Blue"));
}

TEST_F(SkinsTest, FontsScanAndLoadTheSameWay)
{
    WriteFont(QStringLiteral("green"), 13, 23);
    WriteFont(QStringLiteral("amber"), 10, 20);
    TfrmKorvane &w = Open();
    EXPECT_EQ(Captions(w.miFonts), QStringList({"Amber", "Green"}));
    ChooseFont(QStringLiteral("Amber"));
    EXPECT_EQ(w.FontName, QStringLiteral("Amber"));
    EXPECT_EQ(w.DigitWidth, 10);
    EXPECT_EQ(w.DigitHeight, 20);
    EXPECT_EQ(Checked(w.miFonts), QStringList {QStringLiteral("Amber")});
    EXPECT_EQ(w.ilDigits.Image(4), MakeFont(10, 20).copy(40, 0, 10, 20));
    EXPECT_EQ(CounterText(), QStringLiteral("0010"));
    EXPECT_EQ(TimerText(), QStringLiteral("0:00"));
    EXPECT_EQ(w.pDisplay->height(), 20 + 16);
    CloseWindow();
    EXPECT_EQ(Saved(QStringLiteral("Font")), QStringLiteral("Amber"));
}

TEST_F(SkinsTest, BadSkinSizesAreRefusedWordForWordAndChangeNothing)
{
    WriteSkin(QStringLiteral("Good"), 8, 8);
    WriteImage(QStringLiteral("Skins"), QStringLiteral("Narrow.png"),
               MakeSkin(16, 16).copy(0, 0, 100, 64));
    WriteImage(QStringLiteral("Skins"), QStringLiteral("Short.png"),
               MakeSkin(16, 16).copy(0, 0, 176, 62));
    TfrmKorvane &w = Open();
    ChooseSkin(QStringLiteral("Good"));
    ASSERT_EQ(w.CellWidth, 8);
    const QImage field = w.FieldBitmap.copy();
    const QRect geometry = w.frameGeometry();

    ChooseSkin(QStringLiteral("Narrow"));
    ChooseSkin(QStringLiteral("Short"));
    EXPECT_EQ(FDesktop.Messages,
              QStringList({SkinMessage("Bad width", QStringLiteral("Narrow")),
                           SkinMessage("Bad height", QStringLiteral("Short"))}));
    EXPECT_EQ(w.CellWidth, 8);
    EXPECT_EQ(w.CellHeight, 8);
    EXPECT_EQ(w.SkinName, QStringLiteral("Good"));
    EXPECT_EQ(Checked(w.miSkins), QStringList {QStringLiteral("Good")});
    EXPECT_EQ(Tile(tiOpen), MakeSkin(8, 8).copy(0, 0, 8, 8));
    EXPECT_EQ(w.FieldBitmap, field);
    EXPECT_EQ(w.frameGeometry(), geometry);
}

TEST_F(SkinsTest, BadFontWidthIsRefusedButAnyHeightIsTaken)
{
    WriteImage(QStringLiteral("Fonts"), QStringLiteral("Thin.png"),
               MakeFont(13, 23).copy(0, 0, 100, 23));
    WriteFont(QStringLiteral("Tall"), 13, 40);
    TfrmKorvane &w = Open();
    ChooseFont(QStringLiteral("Thin"));
    EXPECT_EQ(FDesktop.Messages, QStringList {FontMessage("Bad width", QStringLiteral("Thin"))});
    EXPECT_EQ(w.DigitWidth, 13);
    EXPECT_TRUE(Checked(w.miFonts).isEmpty());

    const int clientBefore = w.centralWidget()->height();
    ChooseFont(QStringLiteral("Tall"));
    EXPECT_EQ(FDesktop.Messages.size(), 1);
    EXPECT_EQ(w.DigitHeight, 40);
    EXPECT_EQ(w.pDisplay->height(), 56);
    EXPECT_EQ(w.pbCounter->size(), QSize(52, 40));
    EXPECT_EQ(w.centralWidget()->height(), clientBefore + 40 - 23);
    EXPECT_EQ(w.centralWidget()->height(), 32 + 40 + 176 + w.sbInfo->height());
    EXPECT_EQ(CounterText(), QStringLiteral("0010"));
}

TEST_F(SkinsTest, AFileThatIsNotAPngReportsTheDecodersMessage)
{
    WriteSkin(QStringLiteral("Good"), 16, 16);
    QDir(Folder()).mkpath(QStringLiteral("Skins"));
    WriteBytes(QStringLiteral("Skins/y.png"), QByteArray("this is not an image at all", 27));
    TfrmKorvane &w = Open();
    ChooseSkin(QStringLiteral("Good"));
    ChooseSkin(QStringLiteral("Y"));
    ASSERT_EQ(FDesktop.Messages.size(), 1);
    const QString message = FDesktop.Messages.front();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Not a PNG file"))) << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("'Y.png'"))) << message.toStdString();
    EXPECT_EQ(w.SkinName, QStringLiteral("Good"));
    EXPECT_EQ(Checked(w.miSkins), QStringList {QStringLiteral("Good")});
}

TEST_F(SkinsTest, AFileCutShortInItsHeaderIsRefused)
{
    QImage skin = MakeSkin(16, 16);
    QByteArray png;
    {
        QFile out(QDir(Folder()).filePath(QStringLiteral("whole.png")));
        ASSERT_TRUE(skin.save(&out, "PNG"));
    }
    QFile in(QDir(Folder()).filePath(QStringLiteral("whole.png")));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    png = in.readAll();
    QDir(Folder()).mkpath(QStringLiteral("Fonts"));
    WriteBytes(QStringLiteral("Fonts/cut.png"), png.left(20));
    TfrmKorvane &w = Open();
    ChooseFont(QStringLiteral("Cut"));
    ASSERT_EQ(FDesktop.Messages.size(), 1);
    EXPECT_TRUE(FDesktop.Messages.front().endsWith(
        QStringLiteral(" - Unable to load optional font from 'Cut.png'")))
        << FDesktop.Messages.front().toStdString();
    EXPECT_EQ(w.DigitWidth, 13);
}

TEST_F(SkinsTest, SettingsDefaultInAnyCaseKeepsTheBuiltInSetAndItsSpelling)
{
    WriteSettings(QStringLiteral("[Settings]\nSkin=DEFAULT\nFont=default\n"));
    TfrmKorvane &w = Open();
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    EXPECT_EQ(w.SkinName, QStringLiteral("DEFAULT"));
    EXPECT_EQ(w.FontName, QStringLiteral("default"));
    EXPECT_EQ(w.CellWidth, 16);
    EXPECT_EQ(Tile(tiOpen), w.imDefaultSkin.copy(0, 0, 16, 16));
    CloseWindow();
    EXPECT_EQ(Saved(QStringLiteral("Skin")), QStringLiteral("DEFAULT"));
    EXPECT_EQ(Saved(QStringLiteral("Font")), QStringLiteral("default"));
}

TEST_F(SkinsTest, ASettingsSkinThatIsGoneIsReportedOnceAndDefaultIsSaved)
{
    WriteSettings(QStringLiteral("[Settings]\nSkin=Gone\nFont=Lost\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(FDesktop.Messages,
              QStringList({SkinMessage("File not found", QStringLiteral("Gone")),
                           FontMessage("File not found", QStringLiteral("Lost"))}));
    EXPECT_EQ(w.SkinName, QStringLiteral("Default"));
    EXPECT_EQ(w.FontName, QStringLiteral("Default"));
    EXPECT_EQ(Tile(tiOpen), w.imDefaultSkin.copy(0, 0, 16, 16));
    EXPECT_EQ(w.DigitHeight, 23);
    CloseWindow();
    EXPECT_EQ(FDesktop.Messages.size(), 2);
    EXPECT_EQ(Saved(QStringLiteral("Skin")), QStringLiteral("Default"));
    EXPECT_EQ(Saved(QStringLiteral("Font")), QStringLiteral("Default"));
}

TEST_F(SkinsTest, AnEmptySettingsSkinIsAMissingFile)
{
    WriteSettings(QStringLiteral("[Settings]\nSkin=\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(FDesktop.Messages, QStringList {SkinMessage("File not found", QString())});
    EXPECT_EQ(w.SkinName, QStringLiteral("Default"));
}

TEST_F(SkinsTest, ASettingsSkinIsLoadedBeforeTheFirstGameAndCheckedOnlyWhenSpelledAlike)
{
    WriteSkin(QStringLiteral("blue"), 8, 8);
    WriteSettings(QStringLiteral("[Settings]\nSkin=Blue\n"));
    TfrmKorvane &w = Open();
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    EXPECT_EQ(w.CellWidth, 8);
    EXPECT_EQ(w.MarginColumns, 4);
    EXPECT_EQ(Checked(w.miSkins), QStringList {QStringLiteral("Blue")});
    CloseWindow();

    WriteSettings(QStringLiteral("[Settings]\nSkin=blue\n"));
    TfrmKorvane &again = Open();
    EXPECT_EQ(again.CellWidth, 8);
    EXPECT_EQ(again.SkinName, QStringLiteral("blue"));
    EXPECT_TRUE(Checked(again.miSkins).isEmpty()) << "the caption is Blue, the name blue";
}

TEST_F(SkinsTest, AFileNamedDefaultIsCheckedAtStartUpButOnlyLoadedWhenChosen)
{
    WriteSkin(QStringLiteral("Default"), 8, 8);
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.CellWidth, 16);
    EXPECT_EQ(Checked(w.miSkins), QStringList {QStringLiteral("Default")});
    ChooseSkin(QStringLiteral("Default"));
    EXPECT_EQ(w.CellWidth, 8);
}

TEST_F(SkinsTest, TheFaceButtonShowsTheFaceOfTheGame)
{
    TfrmKorvane &w = Open();
    auto shows = [&](int face) {
        const QImage glyph = w.spbNew->Glyph();
        const QImage image = w.ilFaces.Image(face);
        if (glyph.size() != image.size())
            return false;
        const QRgb background = image.pixel(0, image.height() - 1);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb want = image.pixel(x, y);
                const QRgb got = glyph.pixel(x, y);
                if (want == background ? qAlpha(got) != 0 : got != want)
                    return false;
            }
        }
        return true;
    };
    EXPECT_TRUE(shows(0));
    Play(OpenField(11, 11, 2)); // with one bomb, hitting it would win
    QTest::mousePress(w.pbGame, Qt::LeftButton, {}, CellCentre(1, 1));
    EXPECT_TRUE(shows(1));
    QTest::mouseRelease(w.pbGame, Qt::LeftButton, {}, CellCentre(1, 1));
    ASSERT_TRUE(w.Game->IsLost());
    EXPECT_TRUE(shows(2));
    w.miNew->trigger();
    EXPECT_TRUE(shows(0));
    Play({"#####", "#***#", "#*.*#", "#***#", "#####"});
    ClickCell(2, 2);
    EXPECT_TRUE(shows(3));
}
