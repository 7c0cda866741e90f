// Korvane: uncover the field, avoid the bombs.
#include "Desktop.h"
#include "Look.h"
#include "MineForm.h"
#include "QuitSignals.h"

#include <QApplication>

// The only difference between a portable build and one for a system install
// (see KORVANE_SYSTEM_INSTALL in CMakeLists.txt): where settings and sets live.
#if KORVANE_SYSTEM_INSTALL
constexpr auto BuiltInstall = korvane::InstallKind::ikSystem;
#else
constexpr auto BuiltInstall = korvane::InstallKind::ikPortable;
#endif

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
    frmKorvane.show();
    return app.exec();
}
