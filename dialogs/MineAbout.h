// SPDX-License-Identifier: GPL-3.0-or-later
// The About window.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class TLinkLabel;

namespace korvane {
class Desktop;
}

class TfrmAbout : public QDialog
{
public:
    TfrmAbout(korvane::Desktop &desktop, QWidget *parent = nullptr);

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lbVersion = nullptr;
    QLabel *Label2 = nullptr;
    TLinkLabel *LinkLabel1 = nullptr;
    QWidget *Panel1 = nullptr;
    QPushButton *Button1 = nullptr;

private:
    void FormCreate();
};
