#include "WindowTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace korvane::test {

MineRandom PictureRandom(const std::vector<std::string> &picture)
{
    std::vector<std::int32_t> draws;
    for (char wanted : {'W', '*'}) {
        for (std::size_t y = 0; y < picture.size(); ++y) {
            for (std::size_t x = 0; x < picture[y].size(); ++x) {
                if (picture[y][x] == wanted) {
                    // The field draws x = 1 + R(width - 1), then y = 1 + R(height - 1).
                    draws.push_back(static_cast<std::int32_t>(x) - 1);
                    draws.push_back(static_cast<std::int32_t>(y) - 1);
                }
            }
        }
    }
    auto state = std::make_shared<std::pair<std::vector<std::int32_t>, std::size_t>>(draws, 0);
    return [state](std::int32_t n) {
        auto &[list, next] = *state;
        if (next >= list.size())
            throw std::logic_error("the field asked for more draws than the picture holds");
        const std::int32_t v = list[next++];
        if (v < 0 || v >= n)
            throw std::logic_error("a draw outside its range");
        return v;
    };
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
    int walls = 0;
    int bombs = 0;
    for (const std::string &row : picture) {
        walls += static_cast<int>(std::count(row.begin(), row.end(), 'W'));
        bombs += static_cast<int>(std::count(row.begin(), row.end(), '*'));
    }
    w.GameWidth = static_cast<int>(picture.front().size());
    w.GameHeight = static_cast<int>(picture.size());
    w.GameBombs = bombs;
    w.GameWalls = walls;
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
