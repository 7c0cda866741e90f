// SPDX-License-Identifier: GPL-3.0-or-later
// The Credits window: who and what this game is built with.
#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QPushButton;
class TLinkLabel;

namespace korvane {
class Desktop;
}

class TfrmCredits : public QDialog
{
public:
    TfrmCredits(korvane::Desktop &desktop, QWidget *parent = nullptr);

    QList<QLabel *> Titles;
    QList<QLabel *> Lines;
    QList<TLinkLabel *> Links;
    QPushButton *Button1 = nullptr;
};
