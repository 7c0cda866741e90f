// The settings file as the main window applies it. Each input becomes the
// korvane.ini beside a program in a folder of its own; a main window is
// created (start-up reads the file, loads the skin and font it names and
// starts a game) and destroyed (exit saves the file). Whatever the file held,
// the game is playable and the saved file is a fixed point: a second start and
// exit report nothing and write the same file again.
#include "Desktop.h"
#include "Menus.h"
#include "MineForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace korvane;

namespace {

void Check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// Exit syncs the settings file to disk: in memory that costs nothing, on a
// disk it would slow every run.
QString FolderTemplate()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QDir(QFileInfo(shm).isWritable() ? shm : QDir::tempPath())
        .filePath(QStringLiteral("korvane-settings-fuzzer-XXXXXX"));
}

struct Folder
{
    QTemporaryDir Dir {FolderTemplate()};
    QString Settings() const { return Dir.filePath(QStringLiteral("korvane.ini")); }
};

Folder *TheFolder = nullptr;

void Save(const QString &path, const QImage &image)
{
    Check(image.save(path, "PNG"), "the test pictures are written");
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
          "the settings file is written");
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    Check(file.open(QIODevice::ReadOnly), "the saved settings file is there");
    return file.readAll();
}

// Sets the settings file may name: good ones of other sizes, and bad ones.
void MakeSets(const QDir &dir)
{
    dir.mkpath(QStringLiteral("Skins"));
    dir.mkpath(QStringLiteral("Fonts"));
    const QImage skin = QImage(QStringLiteral(":/DefaultSkin.png"));
    const QImage font = QImage(QStringLiteral(":/DefaultFont.png"));
    Check(!skin.isNull() && !font.isNull(), "the built-in sets are there");
    Save(dir.filePath(QStringLiteral("Skins/Big.png")), skin.scaled(skin.size() * 2));
    Save(dir.filePath(QStringLiteral("Skins/tiny.png")), skin.scaled(11, 4));
    Save(dir.filePath(QStringLiteral("Skins/Narrow.png")), skin.scaled(100, 64));
    Save(dir.filePath(QStringLiteral("Fonts/Tall.png")), font.scaled(156, 40));
    Save(dir.filePath(QStringLiteral("Fonts/Odd.png")), font.scaled(155, 23));
    WriteFile(dir.filePath(QStringLiteral("Skins/Broken.png")), "\x89PNG\r\n\x1a\nbroken");
    dir.mkpath(QStringLiteral("Fonts/Folder.png"));
}

// What the window holds after start-up, whatever the file said.
void CheckStarted(const TfrmKorvane &w, const RecordingDesktop &desktop)
{
    Check(w.Game != nullptr, "start-up makes a game");
    Check(w.GameWidth >= 11 && w.GameHeight >= 11, "the field is at least 9 x 9 inside its ring");
    const qint64 interior = qint64 {w.GameWidth - 2} * (w.GameHeight - 2);
    Check(w.GameBombs >= 0 && w.GameWalls >= 0 && w.GameBombs + w.GameWalls <= interior,
          "bombs and walls fit the interior");
    Check(w.Game->FWidth == w.GameWidth && w.Game->FHeight == w.GameHeight,
          "the game has the size read");
    Check(w.Game->BombCount() == w.GameBombs, "the game has the bombs read");
    Check(qint64 {w.FieldBitmap.width()} * w.FieldBitmap.height() <= qint64 {1} << 26,
          "the field's picture fits in memory");
    Check(w.miMinutes->isChecked() != w.miSeconds->isChecked(), "minutes or seconds");
    int sizes = 0;
    for (const QAction *item : {w.miBeginner, w.miInter, w.miExpert, w.miMaster, w.miCustom})
        sizes += item->isChecked() ? 1 : 0;
    Check(sizes <= 1, "at most one field size is checked");
    Check(w.ilCells.Count() == 44 && w.ilDigits.Count() == 12, "a skin and a font are in use");
    Check(w.CellWidth == w.ilCells.Width() && w.DigitWidth == w.ilDigits.Width(),
          "the tile sizes are those of the sets");
    for (const QString &message : desktop.Messages) {
        Check(message.contains(QStringLiteral(" - Unable to load optional ")),
              "start-up reports only sets that do not load");
    }
}

// One start and exit; the settings file it leaves behind.
QByteArray StartAndExit(RecordingDesktop &desktop)
{
    {
        TfrmKorvane w(desktop);
        CheckStarted(w, desktop);
        // The first frame, as a show would draw it.
        QImage frame(w.size(), QImage::Format_RGB32);
        if (!frame.isNull()) {
            QPainter painter(&frame);
            w.render(&painter);
        }
    }
    return ReadFile(TheFolder->Settings());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The application lives as long as the process, as in the program.
    static int qtArgc = 1;
    static char *qtArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    new QApplication(qtArgc, qtArgv);
    TheFolder = new Folder;
    Check(TheFolder->Dir.isValid(), "a folder for the program");
    MakeSets(QDir(TheFolder->Dir.path()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString program = TheFolder->Dir.filePath(QStringLiteral("korvane"));
    WriteFile(TheFolder->Settings(),
              QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));

    RecordingDesktop first(program);
    const QByteArray saved = StartAndExit(first);

    RecordingDesktop second(program);
    const QByteArray again = StartAndExit(second);
    Check(second.Messages.isEmpty(), "a saved file names only sets that load");
    Check(again == saved, "a saved file loads and saves as itself");
    return 0;
}
