// SPDX-License-Identifier: GPL-3.0-or-later
#include "MineCustom.h"

#include "DialogLook.h"
#include "SpinField.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

using namespace korvane;

TfrmCustom::TfrmCustom(QWidget *parent)
    : QDialog(parent)
{
    MakeFixedDialog(this, QStringLiteral("Custom Field"), 215, 136);
    const QFont font = PixelFont(16, true);
    struct Row
    {
        QLabel **label;
        const char *caption;
        QLineEdit **edit;
        SpinField **spin;
        int y, minimum, maximum;
    };
    const Row rows[] {
        {&Label1, "Height", &edHeight, &udHeight, 8, 9, 65},
        {&Label2, "Width", &edWidth, &udWidth, 40, 9, 95},
        {&Label3, "Bombs", &edBombs, &udBombs, 72, 10, 10000},
        {&Label4, "Walls", &edWalls, &udWalls, 104, 0, 10000},
    };
    for (const Row &r : rows) {
        *r.label = new QLabel(QString::fromLatin1(r.caption), this);
        (*r.label)->setFont(font);
        (*r.label)->move(8, r.y + 4);
        (*r.label)->adjustSize();
        *r.edit = new QLineEdit(QStringLiteral("10"), this);
        (*r.edit)->setFont(font);
        (*r.edit)->setGeometry(68, r.y, 60, 25);
        *r.spin = new SpinField(this, *r.edit);
        (*r.spin)->setGeometry(128, r.y, 16, 25);
        (*r.spin)->SetRange(r.minimum, r.maximum);
        (*r.spin)->SetValue(10);
    }
    udHeight->OnChanging = [this](std::int16_t n) { return udHeightChangingEx(n); };
    udWidth->OnChanging = [this](std::int16_t n) { return udWidthChangingEx(n); };
    udBombs->OnChanging = [this](std::int16_t n) { return udBombsChangingEx(n); };
    udWalls->OnChanging = [this](std::int16_t n) { return udWallsChangingEx(n); };

    btOk = new QPushButton(QStringLiteral("OK"), this);
    btOk->setGeometry(152, 8, 57, 25);
    btOk->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setGeometry(152, 40, 57, 25);
    connect(btOk, &QPushButton::clicked, this, [this] {
        btOkClick();
        accept();
    });
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmCustom::Prepare(const FieldSize &next, QSize maxInner)
{
    // The screen's maxima come first: the stored ranges would cut a larger
    // stored field before the screen's limits are known.
    udHeight->SetMaximum(maxInner.height());
    udWidth->SetMaximum(maxInner.width());
    // With no bombs and walls, the height and width settings cannot be refused.
    udBombs->SetValue(0);
    udWalls->SetValue(0);
    udHeight->SetValue(next.Height - 2);
    udWidth->SetValue(next.Width - 2);
    udBombs->SetValue(next.Bombs);
    udWalls->SetValue(next.Walls);
}

FieldSize TfrmCustom::Values()
{
    return {udWidth->Value() + 2, udHeight->Value() + 2, udBombs->Value(), udWalls->Value()};
}

void TfrmCustom::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TfrmCustom::FormShow()
{
    for (SpinField *spin : {udHeight, udWidth, udBombs, udWalls})
        spin->ShowValue();
    LimitBombsAndWalls(udHeight->HeldValue() * udWidth->HeldValue());
    // Every opening starts on the height with its number selected, so typing
    // replaces it: Qt selects an edit's text only when the focus comes back
    // to it, which the first opening never sees.
    edHeight->setFocus();
    edHeight->selectAll();
}

void TfrmCustom::LimitBombsAndWalls(int cells)
{
    udBombs->SetMaximum(std::min(cells, 32767));
    udWalls->SetMaximum(udBombs->Maximum());
}

// Reading another field's value takes its typed text when that is valid.
bool TfrmCustom::udHeightChangingEx(std::int16_t n)
{
    const int w = udWidth->Value();
    if (w * n < udBombs->Value() + udWalls->Value())
        return false;
    LimitBombsAndWalls(w * n);
    return true;
}

bool TfrmCustom::udWidthChangingEx(std::int16_t n)
{
    const int h = udHeight->Value();
    if (h * n < udBombs->Value() + udWalls->Value())
        return false;
    LimitBombsAndWalls(h * n);
    return true;
}

// The other field's edit still shows its old value while its handler runs; a
// typed count there would send the adjustment back and forth without end.
bool TfrmCustom::udBombsChangingEx(std::int16_t n)
{
    if (FAdjusting)
        return true;
    const int cells = udWidth->Value() * udHeight->Value();
    if (cells < n)
        return false;
    if (udWalls->Value() + n > cells) {
        FAdjusting = true;
        udWalls->SetValue(cells - n);
        FAdjusting = false;
    }
    return true;
}

bool TfrmCustom::udWallsChangingEx(std::int16_t n)
{
    if (FAdjusting)
        return true;
    const int cells = udWidth->Value() * udHeight->Value();
    if (cells < n)
        return false;
    if (udBombs->Value() + n > cells) {
        FAdjusting = true;
        udBombs->SetValue(cells - n);
        FAdjusting = false;
    }
    return true;
}

void TfrmCustom::btOkClick()
{
    const int h = udHeight->Value();
    const int w = udWidth->Value();
    const int cells = h * w;
    // A typed bomb count may pass the field: it is held to the field here, so
    // the new game always has room for every bomb.
    if (udBombs->Value() > cells)
        udBombs->SetValue(cells);
    const int b = udBombs->Value();
    if (b + udWalls->Value() > cells)
        udWalls->SetValue(cells - b);
}
