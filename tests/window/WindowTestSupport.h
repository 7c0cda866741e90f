// SPDX-License-Identifier: GPL-3.0-or-later
// What the window tests share: an offscreen application, a program folder of
// their own, a desktop that records instead of showing, and fields laid out
// from pictures (FieldPicture.h).
#pragma once

#include "MineForm.h"
#include "RecordingDesktop.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace korvane::test {

// The tile cell (x, y) shows, looked up in the tile table by what the game
// tells of the cell; a combination the table lacks fails the test.
int ExpectedTile(const MineGame &game, bool surround, int x, int y);
// The same while the mouse holds the cell down.
int ExpectedPressedTile(const MineGame &game, bool surround, int x, int y);

class WindowTest : public ::testing::Test
{
protected:
    WindowTest();
    ~WindowTest() override;

    // The folder the program "lives" in: settings, Skins/ and Fonts/ go here.
    QString Folder() const { return FDir.path(); }
    QString ProgramPath() const { return FDir.filePath(QStringLiteral("korvane")); }
    QString SettingsPath() const { return FDir.filePath(QStringLiteral("korvane.ini")); }
    void WriteSettings(const QString &text) const;
    // Saves image as Skins/<name> or Fonts/<name>.
    void WriteImage(const QString &folder, const QString &fileName, const QImage &image) const;

    // Creates the window (start-up runs in full) and shows it.
    TfrmKorvane &Open();
    // Starts a new game on the field of the picture with the current options.
    void Play(const std::vector<std::string> &picture);
    void CloseWindow() { FWindow.reset(); }

    // The pixels of tile index of the current skin.
    QImage Tile(int index) const;
    // The pixels the field bitmap shows for cell (x, y).
    QImage DrawnCell(int x, int y) const;
    // Centre of cell (x, y) in pbGame's pixels.
    QPoint CellCentre(int x, int y) const;

    QTemporaryDir FDir;
    RecordingDesktop FDesktop;
    std::unique_ptr<TfrmKorvane> FWindow;
};

} // namespace korvane::test
