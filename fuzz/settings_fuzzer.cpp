// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file as a value, without a window. Each input becomes a
// settings file; it is read into the value, the stored field is brought into
// the custom field dialog's limits, and the value is written back. Whatever
// the file held, the field is playable and the saved file is a fixed point:
// it reads back as the same value and saves as the same bytes.
#include "IniFile.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace korvane;

namespace {

void Check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// Saving syncs the file to disk: in memory that costs nothing.
QString FolderTemplate()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QDir(QFileInfo(shm).isWritable() ? shm : QDir::tempPath())
        .filePath(QStringLiteral("korvane-settings-fuzzer-XXXXXX"));
}

QTemporaryDir *TheFolder = nullptr;

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly), "the saved settings file is there");
    return file.readAll();
}

// Screens and skins the stored field meets: a small screen with large tiles,
// a usual one, and a huge virtual screen with one-pixel tiles.
struct Screen
{
    int MaxWidth, MaxHeight, TileWidth, TileHeight;
};
const Screen Screens[] {{5, 3, 200, 200}, {77, 56, 16, 16}, {60000, 60000, 1, 1}};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    new QCoreApplication(qtArgc, qtArgv);
    TheFolder = new QTemporaryDir(FolderTemplate());
    Check(TheFolder->isValid(), "a folder for the settings file");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = TheFolder->filePath(QStringLiteral("korvane.ini"));
    {
        QFile file(path);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                  && file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size),
              "the settings file is written");
    }
    IniFile ini(path);
    Settings settings = ReadSettings(ini);
    const Screen &screen = Screens[size % 3];
    const QSize maxInner(screen.MaxWidth, screen.MaxHeight);
    const QSize tile(screen.TileWidth, screen.TileHeight);
    const FieldSize f = LimitFieldSize(settings.Field, maxInner, tile);
    Check(f.Width >= 11 && f.Height >= 11, "the field is at least 9 x 9 inside its ring");
    Check(f.Width - 2 <= std::max(9, screen.MaxWidth)
              && f.Height - 2 <= std::max(9, screen.MaxHeight),
          "the field fits the screen");
    Check(qint64 {f.Width} * f.Height * screen.TileWidth * screen.TileHeight <= qint64 {1} << 26,
          "the field's picture fits in memory");
    const qint64 interior = qint64 {f.Width - 2} * (f.Height - 2);
    Check(f.Bombs >= 10 && f.Walls >= 0 && f.Bombs + f.Walls <= interior,
          "bombs and walls fit the interior");
    Check(LimitFieldSize(f, maxInner, tile) == f, "a field within the limits stays as it is");
    settings.Field = f;

    WriteSettings(ini, settings);
    if (!ini.Save())
        return 0; // a file too big to rewrite whole is left alone
    const QByteArray saved = ReadFile(path);
    IniFile again(path);
    Check(ReadSettings(again) == settings, "a saved file reads back as the value saved");
    WriteSettings(again, settings);
    Check(again.Save() && ReadFile(path) == saved, "a saved file saves as itself");
    return 0;
}
