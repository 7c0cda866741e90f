// SPDX-License-Identifier: GPL-3.0-or-later
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

QWidget *SunkenLine(QWidget *parent, int x, int y, int width)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(x, y, width, 2);
    return line;
}

} // namespace korvane
