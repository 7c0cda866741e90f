// SPDX-License-Identifier: GPL-3.0-or-later
#include "MineCredits.h"

#include "Desktop.h"
#include "DialogLook.h"
#include "LinkLabel.h"

#include <QLabel>
#include <QPushButton>

using namespace korvane;

namespace {

struct Entry
{
    const char *title;
    const char *line; // empty for the entries without a credit line
    const char *caption;
    QString target;
};

} // namespace

TfrmCredits::TfrmCredits(Desktop &desktop, QWidget *parent)
    : QDialog(parent)
{
    MakeFixedDialog(this, QStringLiteral("Credits"), 272, 397);
    // The sets' links open the folders where a player puts sets of their
    // own: beside a portable program, in the player's data folder for a
    // system install.
    const auto playerFolder = [&desktop](const char *name) {
        return SetFoldersOf(desktop.Install(), desktop.DataFolder(), QString::fromLatin1(name))
            .front();
    };
    // The libraries' own web pages.
    const Entry entries[] {
        {"Qt 6", "  the toolkit the game is built with", "  www.qt.io",
         QStringLiteral("http://www.qt.io")},
        {"libpng", "  reads the PNG skins and fonts", "  www.libpng.org",
         QStringLiteral("http://www.libpng.org/pub/png/libpng.html")},
        {"zlib", "  unpacks the image data for libpng", "  zlib.net",
         QStringLiteral("http://zlib.net")},
        {"libcanberra", "  plays the desktop's event sounds",
         "  0pointer.de/lennart/projects/libcanberra",
         QStringLiteral("http://0pointer.de/lennart/projects/libcanberra/")},
        {"Red and Green LCD digits: Korvane team", "", "  the Fonts folder",
         QStringLiteral("file://") + playerFolder("Fonts")},
        {"Large and Small digits: Korvane team", "", "  the Fonts folder",
         QStringLiteral("file://") + playerFolder("Fonts")},
        {"Skins: the Korvane team", "", "  the Skins folder",
         QStringLiteral("file://") + playerFolder("Skins")},
    };
    const int tops[] {8, 64, 120, 176, 232, 274, 316};
    const int separators[] {56, 112, 168, 224, 266, 308, 350};
    for (int i = 0; i < 7; ++i) {
        const Entry &e = entries[i];
        int y = tops[i];
        auto *title = new QLabel(QString::fromUtf8(e.title), this);
        title->setFont(PixelFont(11, true));
        title->move(32, y);
        title->adjustSize();
        Titles << title;
        y += 14;
        if (*e.line) {
            auto *line = new QLabel(QString::fromUtf8(e.line), this);
            line->setFont(PixelFont(11));
            line->move(32, y);
            line->adjustSize();
            Lines << line;
            y += 14;
        }
        auto *link = new TLinkLabel(desktop, this);
        link->setFont(PixelFont(11));
        link->SetLinkColor(QColor(0x00, 0x00, 0x80));
        link->LinkColorMouseMove = Qt::blue;
        link->LinkMagnet = false;
        link->LinkSound = true;
        link->SetLinkDestination(e.target);
        // A player's folder that does not exist yet is made at the click, so
        // that there is a place to open and to put files in.
        if (link->LinkType() == ltFILE) {
            connect(link, &TLinkLabel::opening, this, [&desktop, folder = link->LinkDestination()] {
                MakePlayerFolder(desktop.Install(), folder);
            });
        }
        link->setText(QString::fromUtf8(e.caption));
        link->move(36, y);
        link->adjustSize();
        Links << link;
        SunkenLine(this, 11, separators[i], 250);
    }
    Button1 = new QPushButton(QStringLiteral("Close"), this);
    Button1->setGeometry(101, 362, 61, 27);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}
