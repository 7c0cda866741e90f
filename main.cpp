// Korvane: uncover the field, avoid the bombs.
#include "Desktop.h"
#include "MineForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The name only: a display name would be appended to every window title
    // ("Custom Field — Korvane").
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    // The look of a classic desktop game does not depend on the desktop theme.
    QApplication::setStyle(QStringLiteral("Fusion"));

    korvane::Desktop desktop;
    // The window builds its dialogs when they are first opened.
    TfrmKorvane frmKorvane(desktop);
    frmKorvane.show();
    return app.exec();
}
