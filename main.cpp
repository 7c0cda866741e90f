// Korvane: uncover the field, avoid the bombs.
#include "Desktop.h"
#include "MineAbout.h"
#include "MineCredits.h"
#include "MineCustom.h"
#include "MineForm.h"
#include "MineShields.h"

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
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvane"));
    // The look of a classic desktop game does not depend on the desktop theme.
    QApplication::setStyle(QStringLiteral("Fusion"));

    korvane::Desktop desktop(BuiltInstall);
    TfrmKorvane frmKorvane(desktop);
    // The dialogs come after the main window and live as long as it does.
    TfrmCustom frmCustom(&frmKorvane);
    TfrmAbout frmAbout(desktop, &frmKorvane);
    TfrmCredits frmCredits(desktop, &frmKorvane);
    TfrmShields frmShields(&frmKorvane);
    frmKorvane.SetDialogs(&frmCustom, &frmAbout, &frmCredits, &frmShields);
    frmKorvane.show();
    return app.exec();
}
