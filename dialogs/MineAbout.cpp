// SPDX-License-Identifier: GPL-3.0-or-later
#include "MineAbout.h"

#include "BuiltInImages.h"
#include "Desktop.h"
#include "DialogLook.h"
#include "LinkLabel.h"

#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

using namespace korvane;

TfrmAbout::TfrmAbout(Desktop &desktop, QWidget *parent)
    : QDialog(parent)
{
    MakeFixedDialog(this, QStringLiteral("About Oskavel"), 289, 165);
    Image1 = new QLabel(this);
    Image1->setGeometry(8, 9, 35, 34);
    Image1->setPixmap(QPixmap::fromImage(BuiltInImage(u"korvane-32")));
    Image1->setAlignment(Qt::AlignCenter);

    Label1 = new QLabel(QStringLiteral("Korvane"), this);
    Label1->setFont(PixelFont(19, true));
    Label1->move(52, 12);
    Label1->adjustSize();
    lbVersion = new QLabel(QStringLiteral("Version x.xx"), this);
    lbVersion->setFont(PixelFont(11));
    lbVersion->move(52, 35);
    Label2 = new QLabel(QStringLiteral("Written by the Korvane developers."), this);
    Label2->setFont(PixelFont(11));
    Label2->setWordWrap(true);
    Label2->setGeometry(52, 52, 124, 28);

    LinkLabel1 = new TLinkLabel(desktop, this);
    LinkLabel1->setFont(PixelFont(11));
    LinkLabel1->SetLinkColor(QColor(0x00, 0x00, 0x80));
    LinkLabel1->LinkColorMouseMove = Qt::blue;
    LinkLabel1->LinkMagnet = false;
    LinkLabel1->LinkSound = true;
    // The program has no web page of its own: the link opens its read-me.
    LinkLabel1->SetLinkDestination(
        QStringLiteral("file://")
        + QDir(desktop.DataFolder()).filePath(QStringLiteral("ReadMe.txt")));
    LinkLabel1->setText(QStringLiteral("Read me: rules, options, skins"));
    LinkLabel1->move(52, 84);
    LinkLabel1->adjustSize();

    Panel1 = SunkenLine(this, 51, 108, 222);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(213, 128, 61, 27);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    FormCreate();
}

void TfrmAbout::FormCreate()
{
    lbVersion->setText(QStringLiteral("Version " KORVANE_VERSION));
    lbVersion->adjustSize();
}
