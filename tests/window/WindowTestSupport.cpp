#include "WindowTestSupport.h"

#include "FieldPicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace {

enum Outcome { Running, Won, Lost, Finished };

// A tile, or the first of a row of nine tiles where the cell's number picks one.
struct Shown
{
    int first;
    bool numbered;
};
constexpr Shown T(int tile)
{
    return {tile, false};
}
constexpr Shown N(int first)
{
    return {first, true};
}

// Every cell the game can show: the game's outcome (Finished rows hold for
// won and lost games), the content as the game tells it (covered cells of a
// running game are ccUnknown), the state, and whether the cell is a ring
// column lying in the margin (Surroundings off).
const struct
{
    Outcome outcome;
    MineCellContent content;
    MineCellState state;
    bool marginRing;
    Shown tile;
    Shown pressed;
} TileTable[] {
    {Running, ccUnknown, csHidden, false, T(22), T(0)},
    {Running, ccUnknown, csFlagged, false, T(21), T(21)},
    {Running, ccUnknown, csMarked, false, T(32), T(43)},
    {Running, ccPlain, csOpen, false, N(0), N(0)},
    {Running, ccBomb, csOpen, false, T(9), T(9)},
    {Running, ccWall, csHidden, false, T(10), T(10)},
    {Running, ccWall, csOpen, false, N(11), N(11)},
    {Running, ccWall, csHidden, true, T(10), T(10)},
    {Running, ccWall, csOpen, true, T(10), T(10)},

    {Finished, ccPlain, csHidden, false, N(22), T(0)},
    {Finished, ccPlain, csFlagged, false, N(33), N(33)},
    {Finished, ccPlain, csMarked, false, N(22), T(43)},
    {Finished, ccPlain, csOpen, false, N(0), N(0)},
    {Finished, ccBomb, csFlagged, false, T(42), T(42)},
    {Finished, ccBomb, csOpen, false, T(9), T(9)},
    {Finished, ccWall, csHidden, false, T(10), T(10)},
    {Finished, ccWall, csOpen, false, N(11), N(11)},
    {Finished, ccWall, csHidden, true, T(10), T(10)},
    {Finished, ccWall, csOpen, true, T(10), T(10)},
    {Won, ccBomb, csHidden, false, T(31), T(0)},
    {Won, ccBomb, csMarked, false, T(31), T(43)},
    {Lost, ccBomb, csHidden, false, T(20), T(0)},
    {Lost, ccBomb, csMarked, false, T(20), T(43)},
};

int LookUpTile(const MineGame &game, bool surround, int x, int y, bool pressed)
{
    const Outcome outcome = game.IsLost() ? Lost : game.IsWon() ? Won : Running;
    const MineCellContent content = game.CellContent(x, y);
    const MineCellState state = game.CellState(x, y);
    const bool marginRing = !surround && (x == 0 || x == game.FWidth - 1);
    for (const auto &row : TileTable) {
        if ((row.outcome == outcome || (row.outcome == Finished && outcome != Running))
            && row.content == content && row.state == state && row.marginRing == marginRing) {
            const Shown tile = pressed ? row.pressed : row.tile;
            return tile.first + (tile.numbered ? game.CellNumber(x, y) : 0);
        }
    }
    ADD_FAILURE() << "no tile for cell (" << x << ", " << y << "): outcome " << outcome
                  << ", content " << int(content) << ", state " << int(state);
    return -1;
}

} // namespace

namespace korvane::test {

int ExpectedTile(const MineGame &game, bool surround, int x, int y)
{
    return LookUpTile(game, surround, x, y, false);
}

int ExpectedPressedTile(const MineGame &game, bool surround, int x, int y)
{
    return LookUpTile(game, surround, x, y, true);
}

WindowTest::WindowTest()
    : FDesktop(FDir.filePath(QStringLiteral("korvane")))
{ }

WindowTest::~WindowTest() = default;

void WindowTest::WriteSettings(const QString &text) const
{
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

void WindowTest::WriteImage(const QString &folder, const QString &fileName,
                            const QImage &image) const
{
    QDir(Folder()).mkpath(folder);
    ASSERT_TRUE(image.save(QDir(Folder()).filePath(folder + u'/' + fileName), "PNG"));
}

TfrmKorvane &WindowTest::Open()
{
    FWindow = std::make_unique<TfrmKorvane>(FDesktop);
    FWindow->show();
    return *FWindow;
}

void WindowTest::Play(const std::vector<std::string> &picture)
{
    TfrmKorvane &w = *FWindow;
    const FieldLayout layout = ParseLayout(picture);
    w.GameWidth = layout.width;
    w.GameHeight = layout.height;
    w.GameBombs = static_cast<int>(layout.bombs.size());
    w.GameWalls = static_cast<int>(layout.walls.size());
    w.SetRandomSource(PictureRandom(picture));
    w.NewGame();
    w.SetRandomSource({});
}

QImage WindowTest::Tile(int index) const
{
    return FWindow->ilCells.Image(index);
}

QImage WindowTest::DrawnCell(int x, int y) const
{
    const TfrmKorvane &w = *FWindow;
    const int s = w.miSurround->isChecked() ? 0 : 1;
    return w.FieldBitmap.copy((x + w.MarginColumns - s) * w.CellWidth, (y - s) * w.CellHeight,
                              w.CellWidth, w.CellHeight);
}

QPoint WindowTest::CellCentre(int x, int y) const
{
    const TfrmKorvane &w = *FWindow;
    const int s = w.miSurround->isChecked() ? 0 : 1;
    return {(x + w.MarginColumns - s) * w.CellWidth + w.CellWidth / 2,
            (y - s) * w.CellHeight + w.CellHeight / 2};
}

} // namespace korvane::test

int main(int argc, char **argv)
{
    // Test discovery runs this binary at build time without the test's
    // environment: choose the offscreen screen here.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KORVANE_OFFSCREEN_CONFIG);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
