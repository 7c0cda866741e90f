// SPDX-License-Identifier: GPL-3.0-or-later
// Korvane: uncover the field, avoid the bombs.
#include "Desktop.h"
#include "Look.h"
#include "MineForm.h"
#include "QuitSignals.h"

#include <QApplication>

#include <cstdlib>

// The only difference between a portable build and one for a system install
// (see KORVANE_SYSTEM_INSTALL in CMakeLists.txt): where settings and sets live.
#if KORVANE_SYSTEM_INSTALL
constexpr auto BuiltInstall = korvane::InstallKind::ikSystem;
#else
constexpr auto BuiltInstall = korvane::InstallKind::ikPortable;
#endif

namespace {

// The window while it runs, for the one exit that never destroys it: when the
// display goes away, Qt ends the process with exit(), which still runs atexit
// handlers. A normal end destroys the window, which saves, and clears this.
TfrmKorvane *Running = nullptr;

void SaveAtDisplayLoss()
{
    if (Running)
        Running->SaveSettingsAtSessionEnd();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The name only: a display name would be appended to every window title
    // ("Custom Field — Korvane").
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    // The look of a classic desktop game does not depend on the desktop theme.
    QApplication::setStyle(korvane::CreateLook());

    korvane::Desktop desktop(BuiltInstall);
    // The window builds its dialogs when they are first opened.
    TfrmKorvane frmKorvane(desktop);
    // Logout, shutdown and Ctrl+C end the game as Game > Exit does, settings
    // saved; an open dialog is cancelled first.
    korvane::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &korvane::QuitSignals::Received, &frmKorvane, [&frmKorvane] {
        while (QWidget *modal = QApplication::activeModalWidget()) {
            if (!modal->close())
                break;
        }
        frmKorvane.miExitClick();
    });
    // A session manager asks its clients to save before the desktop session ends.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &frmKorvane,
                     [&frmKorvane] { frmKorvane.SaveSettingsAtSessionEnd(); });
    frmKorvane.show();
    Running = &frmKorvane;
    std::atexit(SaveAtDisplayLoss);
    const int result = app.exec();
    Running = nullptr;
    return result;
}
