// SPDX-License-Identifier: GPL-3.0-or-later
#include "MineShields.h"

#include "DialogLook.h"
#include "SpinField.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace korvane;

TfrmShields::TfrmShields(QWidget *parent)
    : QDialog(parent)
{
    MakeFixedDialog(this, QStringLiteral("Custom Shields"), 180, 74);
    lbType = new QLabel(this);
    lbType->setFont(PixelFont(16, true));
    lbType->move(12, 8);
    lbType->resize(100, 20);
    edShields = new QLineEdit(QStringLiteral("10"), this);
    edShields->setFont(PixelFont(16, true));
    edShields->setGeometry(20, 36, 60, 25);
    udShields = new SpinField(this, edShields);
    udShields->setGeometry(80, 36, 15, 25);
    udShields->SetRange(9, 65);
    udShields->SetValue(10);
    btOk = new QPushButton(QStringLiteral("OK"), this);
    btOk->setGeometry(115, 8, 57, 25);
    btOk->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btCancel->setGeometry(115, 40, 57, 25);
    connect(edShields, &QLineEdit::textChanged, this, [this] { edShieldsChange(); });
    connect(btOk, &QPushButton::clicked, this, [this] {
        btOkClick();
        accept();
    });
    // Esc closes a QDialog with reject() already.
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmShields::PreparePercentage(int value)
{
    IsPercentage = true;
    lbType->setText(QStringLiteral("Percentage"));
    udShields->SetMinimum(1);
    udShields->SetMaximum(99);
    udShields->SetValue(value);
    udShields->SetSuffix(QStringLiteral("%"));
    edShields->setText(QString::number(udShields->HeldValue()) + u'%');
    SelectNumber();
}

void TfrmShields::PrepareFixed(int value)
{
    IsPercentage = false;
    lbType->setText(QStringLiteral("Fixed"));
    udShields->SetMinimum(1);
    udShields->SetMaximum(4096);
    udShields->SetValue(std::min(value, 4096));
    udShields->SetSuffix({});
    edShields->setText(QString::number(udShields->HeldValue()));
    SelectNumber();
}

void TfrmShields::SelectNumber()
{
    // Typing replaces the number on every opening, not only when Qt's focus
    // handling happens to select the text.
    edShields->setFocus();
    edShields->setSelection(0, QString::number(udShields->HeldValue()).size());
}

int TfrmShields::Value() const
{
    return udShields->HeldValue();
}

void TfrmShields::edShieldsChange()
{
    if (!IsPercentage)
        return;
    const QString text = edShields->text();
    if (text.endsWith(u'%'))
        return;
    const int caret = edShields->cursorPosition();
    edShields->setText(text + u'%');
    edShields->setCursorPosition(caret);
}

void TfrmShields::btOkClick()
{
    const QString t = edShields->text();
    qsizetype first = 0;
    while (first < t.size() && t.at(first).isDigit() && t.at(first).unicode() < 128)
        ++first;
    QString number;
    if (first == t.size())
        number = t;
    else if (IsPercentage && t.at(first) == u'%' && first == t.size() - 1)
        number = t.left(first);
    else
        return; // anything else is ignored: the value stays as it was
    bool ok = false;
    const int n = number.toInt(&ok, 10);
    if (!ok)
        udShields->SetValue(udShields->Maximum());
    else
        udShields->SetValue(std::clamp(n, static_cast<int>(udShields->Minimum()),
                                       static_cast<int>(udShields->Maximum())));
}
