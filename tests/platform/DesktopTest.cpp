// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop services: the recorder that tests use in their place, and the
// real ones that can run without disturbing anything.
#include "Desktop.h"
#include "RecordingDesktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

using namespace korvane;

TEST(RecordingDesktop, RecordsEveryRequestInOrder)
{
    RecordingDesktop recorder(QStringLiteral("/opt/games/korvane"));
    Desktop &desktop = recorder;
    desktop.ShowMessage(QStringLiteral("Unable to write to /opt/games/korvane.ini"));
    desktop.PlaySound(QStringLiteral("menu-click"));
    desktop.ShowMessage(QStringLiteral("second"));
    desktop.PlaySound(QStringLiteral("menu-popup"));
    EXPECT_TRUE(desktop.OpenDefault(QStringLiteral("/opt/games/ReadMe.txt")));
    EXPECT_TRUE(desktop.OpenDefault(QStringLiteral("https://example.org/")));
    EXPECT_EQ(recorder.Messages,
              QStringList({"Unable to write to /opt/games/korvane.ini", "second"}));
    EXPECT_EQ(recorder.Sounds, QStringList({"menu-click", "menu-popup"}));
    EXPECT_EQ(recorder.Opened, QStringList({"/opt/games/ReadMe.txt", "https://example.org/"}));
}

TEST(RecordingDesktop, ReportsTheProgramPathItWasGiven)
{
    const RecordingDesktop desktop(QStringLiteral("/opt/games/korvane"));
    EXPECT_EQ(desktop.ProgramPath(), QStringLiteral("/opt/games/korvane"));
    EXPECT_EQ(desktop.ProgramFolder(), QStringLiteral("/opt/games"));
}

TEST(RecordingDesktop, WithoutAPathReportsTheRunningProgram)
{
    const RecordingDesktop desktop;
    EXPECT_EQ(desktop.ProgramPath(), QCoreApplication::applicationFilePath());
    EXPECT_EQ(desktop.ProgramFolder(), QCoreApplication::applicationDirPath());
}

TEST(Desktop, ProgramPathIsTheRunningProgramFile)
{
    const Desktop desktop;
    const QFileInfo info(desktop.ProgramPath());
    EXPECT_TRUE(info.isAbsolute());
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(info.fileName(), QStringLiteral("platform_tests"));
    EXPECT_EQ(desktop.ProgramFolder(), info.absolutePath());
}

// Sounds are asynchronous and a missing sound is silence: neither may hold the
// user-interface thread.
TEST(Desktop, PlayingSoundsReturnsAtOnce)
{
    Desktop desktop;
    QElapsedTimer timer;
    timer.start();
    for (const char *id : {"no-such-sound-anywhere", "menu-click", "menu-popup", ""})
        desktop.PlaySound(QString::fromLatin1(id));
    EXPECT_LT(timer.elapsed(), 5000);
}

// Folders may hold '#' and "%20": a file link is opened as the path it names.
TEST(Desktop, FileLinksAndPathsOpenTheFileTheyName)
{
    const struct
    {
        const char *target, *url;
    } rows[] {
        {"file:///opt/my #1 games%20x/ReadMe.txt",
         "file:///opt/my%20%231%20games%2520x/ReadMe.txt"},
        {"/opt/my #1 games%20x/Skins", "file:///opt/my%20%231%20games%2520x/Skins"},
        {"https://example.org/a#b", "https://example.org/a#b"},
        {"mailto:someone@example.org", "mailto:someone@example.org"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(Desktop::UrlOf(QString::fromUtf8(r.target)).toString(QUrl::FullyEncoded),
                  QString::fromUtf8(r.url))
            << r.target;
}
