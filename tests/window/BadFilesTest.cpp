// SPDX-License-Identifier: GPL-3.0-or-later
// Files that are not what they claim to be, met where a player meets them:
// skins and fonts loaded by the main window, and the settings file read at
// start-up and written at exit. Unusual but valid pictures load; broken ones
// are reported with the decoder's own message and change nothing; a settings
// file that cannot be used is read as far as it can be and never damaged.
#include "TestPictures.h"
#include "Unprivileged.h"
#include "WindowTestSupport.h"

#include "Menus.h"
#include "Png.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QRandomGenerator>
#include <png.h>

#include <sys/resource.h>
#include <unistd.h>

#include <functional>

using namespace korvane;
using namespace korvane::test;

namespace {

// --- Pictures ---------------------------------------------------------------

// The colours of a picture, opaque: what a set shows whatever its alpha.
QImage Colours(const QImage &picture)
{
    QImage opaque(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x)
            opaque.setPixel(x, y, picture.pixel(x, y) | 0xFF000000u);
    }
    return opaque;
}

// A grey level per tile or glyph, distinct for all 44: the same picture then
// fits every colour type, grey and palette included.
QImage SkinPicture()
{
    return TileSheet(11, 4, 2, 3, Shades::GreyWithAlpha);
}

QImage FontPicture()
{
    return TileSheet(12, 1, 3, 5, Shades::GreyWithAlpha);
}

struct Encoding
{
    const char *Name;
    PngEncoding Png;
};

// --- Damaged files ------------------------------------------------------------

QByteArray WithByteFlipped(QByteArray file, qsizetype at)
{
    file[at] = static_cast<char>(file[at] ^ 0x55);
    return file;
}

// --- The window ----------------------------------------------------------------

class BadFilesTest : public WindowTest
{
protected:
    QString SetPath(const QString &folder, const QString &fileName) const
    {
        return Folder() + u'/' + folder + u'/' + fileName;
    }

    void Put(const QString &folder, const QString &fileName, const QByteArray &bytes) const
    {
        QDir(Folder()).mkpath(folder);
        QFile file(SetPath(folder, fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    static QString Ending(bool skin, const QString &name)
    {
        return QStringLiteral(" - Unable to load optional %1 from '%2.png'")
            .arg(skin ? QStringLiteral("skin") : QStringLiteral("font"), name);
    }

    // Everything that shows which set is in use.
    struct SetsInUse
    {
        int CellWidth, CellHeight, DigitWidth, DigitHeight;
        QString SkinName, FontName;
        QList<QImage> Tiles, Glyphs;
        QImage Field, Counter;
        bool operator==(const SetsInUse &) const = default;
    };

    SetsInUse InUse() const
    {
        const TfrmKorvane &w = *FWindow;
        SetsInUse s {w.CellWidth, w.CellHeight, w.DigitWidth, w.DigitHeight, w.SkinName,
                     w.FontName,  {},           {},           w.FieldBitmap, w.CounterBitmap};
        for (int i = 0; i < w.ilCells.Count(); ++i)
            s.Tiles << w.ilCells.Image(i);
        for (int i = 0; i < w.ilDigits.Count(); ++i)
            s.Glyphs << w.ilDigits.Image(i);
        return s;
    }

    // Opens the window with a skin and a font of odd sizes chosen from their
    // menus, so that falling back to the built-in sets would show too.
    void OpenWithOwnSets()
    {
        Put(QStringLiteral("Skins"), QStringLiteral("Own.png"), EncodePng(SkinPicture()));
        Put(QStringLiteral("Fonts"), QStringLiteral("Own.png"), EncodePng(FontPicture()));
        TfrmKorvane &w = Open();
        Choose(w.miSkins, QStringLiteral("Own"));
        Choose(w.miFonts, QStringLiteral("Own"));
        ASSERT_EQ(w.SkinName, QStringLiteral("Own"));
        ASSERT_EQ(w.FontName, QStringLiteral("Own"));
        ASSERT_TRUE(FDesktop.Messages.isEmpty());
    }

    static QAction *Item(QMenu *menu, const QString &caption)
    {
        for (QAction *item : menu->actions()) {
            if (item->text() == caption)
                return item;
        }
        return nullptr;
    }

    static void Choose(QMenu *menu, const QString &caption)
    {
        QAction *item = Item(menu, caption);
        ASSERT_NE(item, nullptr) << caption.toStdString();
        item->trigger();
    }

    static QString Checked(QMenu *menu)
    {
        for (QAction *item : menu->actions()) {
            if (item->isChecked())
                return item->text();
        }
        return {};
    }
};

// --- Valid pictures in unusual formats ------------------------------------------------

class UnusualFormats : public BadFilesTest, public testing::WithParamInterface<Encoding>
{ };

TEST_P(UnusualFormats, LoadAsASkinWithTheColoursOfThePicture)
{
    Put(QStringLiteral("Skins"), QStringLiteral("Odd.png"),
        EncodePng(SkinPicture(), GetParam().Png));
    TfrmKorvane &w = Open();
    ASSERT_TRUE(w.LoadSkin(QStringLiteral("Odd")));
    EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
    EXPECT_EQ(w.CellWidth, 2);
    EXPECT_EQ(w.CellHeight, 3);
    ASSERT_EQ(w.ilCells.Count(), 44);
    const QImage expected = Colours(SkinPicture());
    for (int i = 0; i < 44; ++i)
        EXPECT_EQ(w.ilCells.Image(i), expected.copy(i % 11 * 2, i / 11 * 3, 2, 3)) << "tile " << i;
}

TEST_P(UnusualFormats, LoadAsAFontWithTheColoursOfThePicture)
{
    Put(QStringLiteral("Fonts"), QStringLiteral("Odd.png"),
        EncodePng(FontPicture(), GetParam().Png));
    TfrmKorvane &w = Open();
    ASSERT_TRUE(w.LoadFont(QStringLiteral("Odd")));
    EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
    EXPECT_EQ(w.DigitWidth, 3);
    EXPECT_EQ(w.DigitHeight, 5);
    ASSERT_EQ(w.ilDigits.Count(), 12);
    const QImage expected = Colours(FontPicture());
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(w.ilDigits.Image(i), expected.copy(i * 3, 0, 3, 5)) << "glyph " << i;
}

const Encoding Formats[] {
    {"Rgb8", PNG_COLOR_TYPE_RGB, 8, false},
    {"Rgb16", PNG_COLOR_TYPE_RGB, 16, false},
    {"RgbAlpha8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false},
    {"RgbAlpha16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false},
    {"Palette8WithTransparency", PNG_COLOR_TYPE_PALETTE, 8, false},
    {"Grey8", PNG_COLOR_TYPE_GRAY, 8, false},
    {"Grey16", PNG_COLOR_TYPE_GRAY, 16, false},
    {"GreyAlpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false},
    {"GreyAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false},
    {"InterlacedRgb8", PNG_COLOR_TYPE_RGB, 8, true},
    {"InterlacedPalette8", PNG_COLOR_TYPE_PALETTE, 8, true},
    {"InterlacedGrey16", PNG_COLOR_TYPE_GRAY, 16, true},
    {"InterlacedGreyAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, true},
    {"InterlacedRgb16", PNG_COLOR_TYPE_RGB, 16, true},
    {"InterlacedRgbAlpha16", PNG_COLOR_TYPE_RGB_ALPHA, 16, true},
};

INSTANTIATE_TEST_SUITE_P(BadFiles, UnusualFormats, testing::ValuesIn(Formats),
                         [](const testing::TestParamInfo<Encoding> &info) {
                             return std::string(info.param.Name);
                         });

// --- Broken pictures ---------------------------------------------------------------------

struct Damage
{
    const char *Name;
    std::function<QByteArray(const QByteArray &good)> Make;
    // What the decoder says; null where it depends on how the file is read
    // (a file cut short reads differently from disk and from memory).
    const char *Message;
};

// The message for the file at path: the decoder's own, as the window must pass it on.
QString DecoderMessage(const Damage &damage, const QString &path)
{
    return damage.Message ? QString::fromLatin1(damage.Message) : LoadPng(path).Error;
}

const Damage Damages[] {
    {"ZeroBytes", [](const QByteArray &) { return QByteArray(); }, "Read Error"},
    {"CutInTheSignature", [](const QByteArray &good) { return good.left(5); }, "Read Error"},
    {"CutInTheHeader", [](const QByteArray &good) { return good.left(20); }, nullptr},
    {"CutInTheImageData",
     [](const QByteArray &good) { return good.left(ChunkOffset(good, "IDAT") + 12); },
     "Read Error"},
    {"ChunkClaimingGigabytes",
     [](const QByteArray &) {
         QFile file(QStringLiteral(KORVANE_PLATFORM_INPUTS "/overlong-text-chunk.png"));
         return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
     },
     nullptr},
    {"HeaderWithWrongCrc",
     [](const QByteArray &good) { return WithByteFlipped(good, ChunkOffset(good, "IHDR") + 21); },
     "IHDR: CRC error"},
    {"ImageDataWithWrongCrc",
     [](const QByteArray &good) {
         const qsizetype idat = ChunkOffset(good, "IDAT");
         quint32 length = 0;
         for (int i = 0; i < 4; ++i)
             length = (length << 8) | static_cast<quint8>(good[idat + i]);
         return WithByteFlipped(good, idat + 8 + static_cast<qsizetype>(length));
     },
     "IDAT: CRC error"},
    {"NotAPicture", [](const QByteArray &) { return QByteArray("[Settings]\nSkin=Blue\n"); },
     "Not a PNG file"},
};

class BrokenPictures : public BadFilesTest, public testing::WithParamInterface<Damage>
{ };

TEST_P(BrokenPictures, AsASkinAreReportedWithTheDecodersMessageAndChangeNothing)
{
    OpenWithOwnSets();
    const SetsInUse before = InUse();
    Put(QStringLiteral("Skins"), QStringLiteral("bad.png"),
        GetParam().Make(EncodePng(SkinPicture())));
    EXPECT_FALSE(FWindow->LoadSkin(QStringLiteral("Bad")));
    const QString decoder
        = DecoderMessage(GetParam(), SetPath(QStringLiteral("Skins"), QStringLiteral("bad.png")));
    EXPECT_FALSE(decoder.isEmpty());
    EXPECT_EQ(FDesktop.Messages, QStringList {decoder + Ending(true, "Bad")});
    EXPECT_TRUE(InUse() == before) << "the skin in use changed";
}

TEST_P(BrokenPictures, AsAFontAreReportedWithTheDecodersMessageAndChangeNothing)
{
    OpenWithOwnSets();
    const SetsInUse before = InUse();
    Put(QStringLiteral("Fonts"), QStringLiteral("bad.png"),
        GetParam().Make(EncodePng(FontPicture())));
    EXPECT_FALSE(FWindow->LoadFont(QStringLiteral("Bad")));
    const QString decoder
        = DecoderMessage(GetParam(), SetPath(QStringLiteral("Fonts"), QStringLiteral("bad.png")));
    EXPECT_FALSE(decoder.isEmpty());
    EXPECT_EQ(FDesktop.Messages, QStringList {decoder + Ending(false, "Bad")});
    EXPECT_TRUE(InUse() == before) << "the font in use changed";
}

// From the menu, the check mark stays on the set in use.
TEST_P(BrokenPictures, ChosenFromTheMenuLeaveTheCheckMarkOnTheSetInUse)
{
    Put(QStringLiteral("Skins"), QStringLiteral("bad.png"),
        GetParam().Make(EncodePng(SkinPicture())));
    Put(QStringLiteral("Fonts"), QStringLiteral("bad.png"),
        GetParam().Make(EncodePng(FontPicture())));
    OpenWithOwnSets();
    const SetsInUse before = InUse();
    Choose(FWindow->miSkins, QStringLiteral("Bad"));
    Choose(FWindow->miFonts, QStringLiteral("Bad"));
    EXPECT_EQ(FDesktop.Messages.size(), 2);
    EXPECT_EQ(Checked(FWindow->miSkins), QStringLiteral("Own"));
    EXPECT_EQ(Checked(FWindow->miFonts), QStringLiteral("Own"));
    EXPECT_TRUE(InUse() == before);
}

// Named in the settings file, they are reported once at start-up and the
// built-in sets take their place under the name "Default".
TEST_P(BrokenPictures, NamedInTheSettingsGiveWayToTheBuiltInSets)
{
    Put(QStringLiteral("Skins"), QStringLiteral("bad.png"),
        GetParam().Make(EncodePng(SkinPicture())));
    Put(QStringLiteral("Fonts"), QStringLiteral("bad.png"),
        GetParam().Make(EncodePng(FontPicture())));
    WriteSettings(QStringLiteral("[Settings]\nSkin=bad\nFont=bad\n"));
    TfrmKorvane &w = Open();
    const QString skin
        = DecoderMessage(GetParam(), SetPath(QStringLiteral("Skins"), QStringLiteral("bad.png")));
    const QString font
        = DecoderMessage(GetParam(), SetPath(QStringLiteral("Fonts"), QStringLiteral("bad.png")));
    EXPECT_EQ(FDesktop.Messages,
              (QStringList {skin + Ending(true, "bad"), font + Ending(false, "bad")}));
    EXPECT_EQ(w.SkinName, QStringLiteral("Default"));
    EXPECT_EQ(w.FontName, QStringLiteral("Default"));
    EXPECT_EQ(w.CellWidth, 16);
    EXPECT_EQ(w.DigitWidth, 13);
}

INSTANTIATE_TEST_SUITE_P(BadFiles, BrokenPictures, testing::ValuesIn(Damages),
                         [](const testing::TestParamInfo<Damage> &info) {
                             return std::string(info.param.Name);
                         });

// --- Pictures too large to be sets --------------------------------------------------------------

long PeakResidentKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST_F(BadFilesTest, HugeDeclaredSizesAreRefusedFromTheHeader)
{
    OpenWithOwnSets();
    const SetsInUse before = InUse();
    const long peak = PeakResidentKilobytes();
    QElapsedTimer timer;
    timer.start();
    // Each would take between 1 and 64 GB of pixels.
    const std::pair<quint32, quint32> sizes[] {
        {16384 * 11, 4}, {11, 16384 * 4}, {16368, 16384}, {999999, 999999}};
    for (const auto &[width, height] : sizes) {
        FDesktop.Messages.clear();
        Put(QStringLiteral("Skins"), QStringLiteral("huge.png"),
            HandMadePng(width, height, QByteArray(16, 'x')));
        Put(QStringLiteral("Fonts"), QStringLiteral("huge.png"),
            HandMadePng(width, height, QByteArray(16, 'x')));
        EXPECT_FALSE(FWindow->LoadSkin(QStringLiteral("huge")));
        EXPECT_FALSE(FWindow->LoadFont(QStringLiteral("huge")));
        const QString decoder
            = QStringLiteral("Image too large: %1 x %2 pixels").arg(width).arg(height);
        EXPECT_EQ(FDesktop.Messages,
                  (QStringList {decoder + Ending(true, "huge"), decoder + Ending(false, "huge")}));
    }
    EXPECT_TRUE(InUse() == before);
    EXPECT_LT(PeakResidentKilobytes() - peak, 64 * 1024) << "pixel memory was touched";
    EXPECT_LT(timer.elapsed(), 5000);
}

// --- Names that lead to no picture ------------------------------------------------------------

TEST_F(BadFilesTest, FolderNamedLikeAPictureIsListedAndNotFound)
{
    QDir(Folder()).mkpath(QStringLiteral("Skins/x.png"));
    QDir(Folder()).mkpath(QStringLiteral("Fonts/x.png"));
    OpenWithOwnSets();
    const SetsInUse before = InUse();
    Choose(FWindow->miSkins, QStringLiteral("X"));
    Choose(FWindow->miFonts, QStringLiteral("X"));
    EXPECT_EQ(FDesktop.Messages,
              (QStringList {QStringLiteral("File not found") + Ending(true, "X"),
                            QStringLiteral("File not found") + Ending(false, "X")}));
    EXPECT_EQ(Checked(FWindow->miSkins), QStringLiteral("Own"));
    EXPECT_TRUE(InUse() == before);
}

TEST_F(BadFilesTest, DanglingLinkIsListedAndNotFound)
{
    QDir(Folder()).mkpath(QStringLiteral("Skins"));
    ASSERT_TRUE(QFile::link(Folder() + QStringLiteral("/nowhere.png"),
                            SetPath(QStringLiteral("Skins"), QStringLiteral("gone.png"))));
    OpenWithOwnSets();
    const SetsInUse before = InUse();
    Choose(FWindow->miSkins, QStringLiteral("Gone"));
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("File not found") + Ending(true, "Gone")});
    EXPECT_TRUE(InUse() == before);
}

TEST_F(BadFilesTest, LinkToAGoodPictureLoads)
{
    Put(QStringLiteral("Pictures"), QStringLiteral("real.png"), EncodePng(SkinPicture()));
    QDir(Folder()).mkpath(QStringLiteral("Skins"));
    ASSERT_TRUE(QFile::link(SetPath(QStringLiteral("Pictures"), QStringLiteral("real.png")),
                            SetPath(QStringLiteral("Skins"), QStringLiteral("linked.png"))));
    TfrmKorvane &w = Open();
    Choose(w.miSkins, QStringLiteral("Linked"));
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    EXPECT_EQ(w.SkinName, QStringLiteral("Linked"));
    EXPECT_EQ(w.CellWidth, 2);
}

TEST_F(BadFilesTest, UnreadablePictureIsReportedWithTheSystemsMessage)
{
    Put(QStringLiteral("Skins"), QStringLiteral("locked.png"), EncodePng(SkinPicture()));
    ASSERT_TRUE(
        QFile::setPermissions(SetPath(QStringLiteral("Skins"), QStringLiteral("locked.png")),
                              QFileDevice::Permissions()));
    const UnprivilegedFiles user(Folder());
    if (!user.Unavailable().isEmpty())
        GTEST_SKIP() << user.Unavailable().toStdString();
    OpenWithOwnSets();
    const SetsInUse before = InUse();
    Choose(FWindow->miSkins, QStringLiteral("Locked"));
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QString::fromLocal8Bit(strerror(EACCES)) + Ending(true, "Locked")});
    EXPECT_TRUE(InUse() == before);
}

// --- The settings file ---------------------------------------------------------------------------

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The state a start from no settings file gives.
void ExpectDefaults(const TfrmKorvane &w)
{
    EXPECT_EQ(w.GameWidth, 11);
    EXPECT_EQ(w.GameHeight, 11);
    EXPECT_EQ(w.GameBombs, 10);
    EXPECT_EQ(w.GameWalls, 0);
    EXPECT_TRUE(w.miBeginner->isChecked());
    EXPECT_TRUE(w.miSingle->isChecked());
    EXPECT_EQ(w.SkinName, QStringLiteral("Default"));
    EXPECT_EQ(w.FontName, QStringLiteral("Default"));
}

TEST_F(BadFilesTest, BinarySettingsFileGivesTheDefaultsAndKeepsItsBytes)
{
    QByteArray binary;
    QRandomGenerator random(7);
    for (int i = 0; i < 64 * 1024; ++i)
        binary.append(static_cast<char>(random.bounded(256)));
    binary.replace('[', '(');
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(binary);
    }
    TfrmKorvane &w = Open();
    ExpectDefaults(w);
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    w.GameWidth = 20;
    CloseWindow();
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    const QByteArray after = ReadAll(SettingsPath());
    EXPECT_TRUE(after.startsWith(binary)) << "the bytes before the new sections are kept";
    EXPECT_EQ(Open().GameWidth, 20);
}

// A file far beyond any settings file is read only as far as one could go,
// and never cut short by the exit's write.
TEST_F(BadFilesTest, EnormousSettingsFileIsReadInPartAndNeverRewritten)
{
    QByteArray huge = "[Field]\nWidth=20\nBombs=30\n";
    const QByteArray filler = QByteArray(127, 'f') + '\n';
    huge.reserve(50 * 1024 * 1024 + 200);
    while (huge.size() < 50 * 1024 * 1024)
        huge += filler;
    huge += "[Settings]\nSkin=Late\n";
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(huge);
    }
    const QByteArray digest = QCryptographicHash::hash(huge, QCryptographicHash::Sha1);
    huge.clear();

    QElapsedTimer timer;
    timer.start();
    TfrmKorvane &w = Open();
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_EQ(w.GameWidth, 20);
    EXPECT_EQ(w.GameBombs, 30);
    EXPECT_EQ(w.SkinName, QStringLiteral("Default")) << "a key beyond the part read is not seen";
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    CloseWindow();
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("Unable to write to ") + SettingsPath()});
    EXPECT_EQ(QCryptographicHash::hash(ReadAll(SettingsPath()), QCryptographicHash::Sha1), digest)
        << "the file was rewritten";
}

TEST_F(BadFilesTest, ReadOnlySettingsFileIsReadAndNotWritten)
{
    const QByteArray before = "[Field]\nIntermediate=1\nWidth=18\nHeight=18\nBombs=40\n";
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    ASSERT_TRUE(QFile::setPermissions(SettingsPath(),
                                      QFileDevice::ReadOwner | QFileDevice::ReadUser
                                          | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const UnprivilegedFiles user(Folder());
    if (!user.Unavailable().isEmpty())
        GTEST_SKIP() << user.Unavailable().toStdString();
    if (QFile(SettingsPath()).open(QIODevice::WriteOnly | QIODevice::Append))
        GTEST_SKIP() << "this user writes to read-only files";
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.GameWidth, 18);
    EXPECT_TRUE(w.miInter->isChecked());
    w.GameWidth = 25;
    CloseWindow();
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("Unable to write to ") + SettingsPath()});
    EXPECT_EQ(ReadAll(SettingsPath()), before);
}

// A stored field size is kept only as far as the field's picture stays within
// 2^25 pixels (four 4K screens) at the tile size of the skin in use: Width and
// Height of 8192 once asked for an 8 GB picture.
struct HugeField
{
    const char *Name;
    const char *Settings;
    int TilePixels;
};

class HugeFields : public BadFilesTest, public testing::WithParamInterface<HugeField>
{ };

TEST_P(HugeFields, GetAFieldWhosePictureFitsInMemory)
{
    Put(QStringLiteral("Skins"), QStringLiteral("Big.png"),
        EncodePng(TileSheet(11, 4, 32, 32, Shades::GreyWithAlpha))); // 32 x 32 tiles
    WriteSettings(QString::fromLatin1(GetParam().Settings));
    TfrmKorvane &w = Open();
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    EXPECT_EQ(w.CellWidth * w.CellHeight, GetParam().TilePixels);
    EXPECT_GE(w.GameWidth, 11);
    EXPECT_GE(w.GameHeight, 11);
    EXPECT_LE(qint64 {w.GameWidth} * w.GameHeight * GetParam().TilePixels, qint64 {1} << 25);
    EXPECT_LE(qint64 {w.GameBombs} + w.GameWalls, qint64 {w.GameWidth - 2} * (w.GameHeight - 2));
    EXPECT_EQ(w.Game->FWidth, w.GameWidth);
    EXPECT_EQ(w.Game->FHeight, w.GameHeight);
    EXPECT_EQ(w.Game->BombCount(), w.GameBombs);
    EXPECT_LE(qint64 {w.FieldBitmap.width()} * w.FieldBitmap.height(), qint64 {1} << 26);
    EXPECT_FALSE(w.FieldBitmap.isNull());
    // What was kept is what is saved, and loads the same again.
    const int width = w.GameWidth, height = w.GameHeight;
    CloseWindow();
    TfrmKorvane &again = Open();
    EXPECT_EQ(again.GameWidth, width);
    EXPECT_EQ(again.GameHeight, height);
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, HugeFields,
    testing::Values(
        HugeField {"Square", "[Field]\nWidth=8192\nHeight=8192\nBombs=99\n", 256},
        HugeField {"FullOfBombsAndWalls",
                   "[Field]\nWidth=8192\nHeight=8192\nBombs=2000000000\nWalls=1000000\n", 256},
        HugeField {"Wide", "[Field]\nWidth=8192\nHeight=5000\n", 256},
        HugeField {"BigTiles", "[Field]\nWidth=3000\nHeight=3000\n[Settings]\nSkin=Big\n", 1024}),
    [](const testing::TestParamInfo<HugeField> &info) { return std::string(info.param.Name); });

TEST_F(BadFilesTest, SettingsFileThatIsAFolderGivesTheDefaultsAndIsNotReplaced)
{
    ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("korvane.ini")));
    TfrmKorvane &w = Open();
    ExpectDefaults(w);
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    CloseWindow();
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("Unable to write to ") + SettingsPath()});
    EXPECT_TRUE(QFileInfo(SettingsPath()).isDir());
}

} // namespace
