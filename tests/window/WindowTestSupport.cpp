#include "WindowTestSupport.h"

#include "FieldPicture.h"

#include <QApplication>
#include <QDir>
#include <QFile>

namespace korvane::test {

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
