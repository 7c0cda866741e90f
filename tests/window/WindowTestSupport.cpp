// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowTestSupport.h"

#include "FieldPicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>

using namespace korvane;

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
    {Running, ccUnknown, csHidden, false, T(tiCovered), T(tiOpen)},
    {Running, ccUnknown, csFlagged, false, T(tiFlag), T(tiFlag)},
    {Running, ccUnknown, csMarked, false, T(tiMark), T(tiPressedMark)},
    {Running, ccPlain, csOpen, false, N(tiOpen), N(tiOpen)},
    {Running, ccBomb, csOpen, false, T(tiHitBomb), T(tiHitBomb)},
    {Running, ccWall, csHidden, false, T(tiBackground), T(tiBackground)},
    {Running, ccWall, csOpen, false, N(tiOpenWall), N(tiOpenWall)},
    {Running, ccWall, csHidden, true, T(tiBackground), T(tiBackground)},
    {Running, ccWall, csOpen, true, T(tiBackground), T(tiBackground)},

    {Finished, ccPlain, csHidden, false, N(tiCovered), T(tiOpen)},
    {Finished, ccPlain, csFlagged, false, N(tiWrongFlag), N(tiWrongFlag)},
    {Finished, ccPlain, csMarked, false, N(tiCovered), T(tiPressedMark)},
    {Finished, ccPlain, csOpen, false, N(tiOpen), N(tiOpen)},
    {Finished, ccBomb, csFlagged, false, T(tiRightFlag), T(tiRightFlag)},
    {Finished, ccBomb, csOpen, false, T(tiHitBomb), T(tiHitBomb)},
    {Finished, ccWall, csHidden, false, T(tiBackground), T(tiBackground)},
    {Finished, ccWall, csOpen, false, N(tiOpenWall), N(tiOpenWall)},
    {Finished, ccWall, csHidden, true, T(tiBackground), T(tiBackground)},
    {Finished, ccWall, csOpen, true, T(tiBackground), T(tiBackground)},
    {Won, ccBomb, csHidden, false, T(tiWonBomb), T(tiOpen)},
    {Won, ccBomb, csMarked, false, T(tiWonBomb), T(tiPressedMark)},
    {Lost, ccBomb, csHidden, false, T(tiLostBomb), T(tiOpen)},
    {Lost, ccBomb, csMarked, false, T(tiLostBomb), T(tiPressedMark)},
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
