// Korvane: uncover the field, avoid the bombs.
#include "Desktop.h"
#include "MineForm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvane"));
    // The look of a classic desktop game does not depend on the desktop theme.
    QApplication::setStyle(QStringLiteral("Fusion"));

    korvane::Desktop desktop;
    TfrmKorvane frmKorvane(desktop);
    frmKorvane.show();
    return app.exec();
}
