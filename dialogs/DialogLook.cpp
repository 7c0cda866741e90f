#include "DialogLook.h"

#include <QFrame>

namespace korvane {

void MakeFixedDialog(QDialog *dialog, const QString &caption, int width, int height)
{
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setFixedSize(width, height);
    dialog->setModal(true);
}

QFont PixelFont(int pixels, bool bold)
{
    QFont font;
    // Narrow faces first: the dialogs' rows are laid out for them.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Sans Serif")});
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QWidget *SunkenLine(QWidget *parent, int x, int y, int width)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x, y, width, 2);
    return line;
}

} // namespace korvane
