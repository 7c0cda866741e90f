// SPDX-License-Identifier: GPL-3.0-or-later
// Folder listing and file tests, which must find skins and fonts whatever the
// letter case of their names.
#include "Files.h"
#include "Places.h"
#include "Strings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvane;

namespace {

void Touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

class FilesTest : public testing::Test
{
protected:
    QString Path(const char *name) const { return Dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir Dir;
};

} // namespace

TEST_F(FilesTest, ListPngNamesFindsEveryKindOfEntryInAnyCase)
{
    for (const char *name : {"a.png", "B.PNG", "c.Png", "e.png.txt", "png", "f.jpg", "gpng"})
        Touch(Path(name));
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("x.png")));
    ASSERT_TRUE(QFile::link(Path("missing target"), Path("d.png")));
    ASSERT_TRUE(QFile::link(Path("a.png"), Path("linked.pNg")));
    const QStringList names = ListPngNames(Dir.path());
    EXPECT_EQ(names, QStringList({"a.png", "B.PNG", "c.Png", "d.png", "linked.pNg", "x.png"}));
}

TEST_F(FilesTest, ListPngNamesOfAMissingFolderIsEmpty)
{
    EXPECT_TRUE(ListPngNames(Path("no such folder")).isEmpty());
}

TEST_F(FilesTest, ListPngNamesOfAFileIsEmpty)
{
    Touch(Path("plain.png"));
    EXPECT_TRUE(ListPngNames(Path("plain.png")).isEmpty());
}

TEST_F(FilesTest, ListPngNamesOfAnEmptyFolderIsEmpty)
{
    EXPECT_TRUE(ListPngNames(Dir.path()).isEmpty());
}

TEST_F(FilesTest, ListPngNamesIncludesHiddenAndOddNames)
{
    for (const char *name : {".hidden.png", "ice.age.png", "with blank.png", "é.png"})
        Touch(Path(name));
    const QStringList names = ListPngNames(Dir.path());
    EXPECT_EQ(names.size(), 4);
    for (const char *name : {".hidden.png", "ice.age.png", "with blank.png", "é.png"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name;
}

TEST_F(FilesTest, FindFileNoCaseFindsANameInOtherCase)
{
    Touch(Path("blue.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QStringLiteral("Blue.png")), Path("blue.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QStringLiteral("BLUE.PNG")), Path("blue.png"));
}

TEST_F(FilesTest, FindFileNoCasePrefersTheExactName)
{
    Touch(Path("blue.png"));
    Touch(Path("Blue.png"));
    Touch(Path("BLUE.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QStringLiteral("Blue.png")), Path("Blue.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QStringLiteral("blue.png")), Path("blue.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QStringLiteral("BLUE.png")), Path("BLUE.png"));
}

TEST_F(FilesTest, FindFileNoCaseWithoutAMatchGivesTheExactPath)
{
    Touch(Path("blue.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QStringLiteral("Red.png")), Path("Red.png"));
    EXPECT_EQ(FindFileNoCase(Path("no such folder"), QStringLiteral("Red.png")),
              Dir.path() + QStringLiteral("/no such folder/Red.png"));
}

TEST_F(FilesTest, FindFileNoCaseDoesNotMatchAPrefix)
{
    Touch(Path("blue.png.bak"));
    Touch(Path("xblue.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QStringLiteral("Blue.png")), Path("Blue.png"));
}

TEST_F(FilesTest, FindFileNoCaseFindsADirectoryToo)
{
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("x.png")));
    const QString found = FindFileNoCase(Dir.path(), QStringLiteral("X.png"));
    EXPECT_EQ(found, Path("x.png"));
    EXPECT_FALSE(FileExists(found));
}

TEST_F(FilesTest, FindFileNoCaseFindsANonAsciiNameInOtherCase)
{
    Touch(Path("élan.png"));
    EXPECT_EQ(FindFileNoCase(Dir.path(), QString::fromUtf8("Élan.png")), Path("élan.png"));
}

TEST_F(FilesTest, FileExistsOnlyForFilesAndLinksToFiles)
{
    Touch(Path("file"));
    ASSERT_TRUE(QDir(Dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(QFile::link(Path("file"), Path("link to file")));
    ASSERT_TRUE(QFile::link(Path("folder"), Path("link to folder")));
    ASSERT_TRUE(QFile::link(Path("gone"), Path("dangling")));
    EXPECT_TRUE(FileExists(Path("file")));
    EXPECT_TRUE(FileExists(Path("link to file")));
    EXPECT_FALSE(FileExists(Path("folder")));
    EXPECT_FALSE(FileExists(Path("link to folder")));
    EXPECT_FALSE(FileExists(Path("dangling")));
    EXPECT_FALSE(FileExists(Path("gone")));
    EXPECT_FALSE(FileExists(QString()));
    EXPECT_FALSE(FileExists(Path("file/below a file")));
}

namespace {

struct PartCase
{
    const char *Text;
    qsizetype N;
    const char *Left;
    const char *Right;
};

class StringParts : public testing::TestWithParam<PartCase>
{ };

} // namespace

TEST_P(StringParts, LeftAndRight)
{
    const QString text = QString::fromUtf8(GetParam().Text);
    EXPECT_EQ(LeftPart(text, GetParam().N), QString::fromUtf8(GetParam().Left));
    EXPECT_EQ(RightPart(text, GetParam().N), QString::fromUtf8(GetParam().Right));
}

INSTANTIATE_TEST_SUITE_P(Files, StringParts,
                         testing::Values(PartCase {"korvane", 3, "kor", "ane"},
                                         PartCase {"korvane", 7, "korvane", "korvane"},
                                         PartCase {"korvane", 8, "korvane", "korvane"},
                                         PartCase {"korvane", 1000000, "korvane", "korvane"},
                                         PartCase {"korvane", 0, "", ""},
                                         PartCase {"korvane", -1, "", ""},
                                         PartCase {"korvane", -1000000, "", ""},
                                         PartCase {"", 3, "", ""}, PartCase {"", 0, "", ""},
                                         PartCase {"", -3, "", ""},
                                         PartCase {"é:ñ", 2, "é:", ":ñ"}));

namespace {

// Where a program at /games/korvane keeps its settings and finds what it
// ships, and where skins are listed from given that data folder, with
// HOME=/home/p and the XDG variables as given (null: unset).
struct PlaceCase
{
    InstallKind Kind;
    const char *ConfigHome;
    const char *DataHome;
    const char *Settings;
    const char *Skins;
    const char *Data;
};

class Places : public testing::TestWithParam<PlaceCase>
{ };

} // namespace

TEST_P(Places, SettingsFileAndSkinFolders)
{
    const PlaceCase &c = GetParam();
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/p");
    c.ConfigHome ? qputenv("XDG_CONFIG_HOME", c.ConfigHome) : qunsetenv("XDG_CONFIG_HOME");
    c.DataHome ? qputenv("XDG_DATA_HOME", c.DataHome) : qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(SettingsFileOf(c.Kind, QStringLiteral("/games/korvane")),
              QString::fromUtf8(c.Settings));
    EXPECT_EQ(SetFoldersOf(c.Kind, QStringLiteral("/games"), QStringLiteral("Skins")).join(u' '),
              QString::fromUtf8(c.Skins));
    EXPECT_EQ(DataFolderOf(c.Kind, QStringLiteral("/games")), QString::fromUtf8(c.Data));
    qputenv("HOME", home);
}

// A relative XDG path counts as unset.
INSTANTIATE_TEST_SUITE_P(
    Files, Places,
    testing::Values(PlaceCase {InstallKind::ikPortable, "/c", "/d", "/games/korvane.ini",
                               "/games/Skins", "/games"},
                    PlaceCase {InstallKind::ikSystem, "/c", "/d", "/c/korvane/korvane.ini",
                               "/d/korvane/Skins /games/Skins", "/share/games/korvane"},
                    PlaceCase {InstallKind::ikSystem, "c", nullptr,
                               "/home/p/.config/korvane/korvane.ini",
                               "/home/p/.local/share/korvane/Skins /games/Skins",
                               "/share/games/korvane"}));
