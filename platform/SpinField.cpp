// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpinField.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <limits>

namespace korvane {

namespace {

    std::int16_t Clamp16(qint64 v)
    {
        return static_cast<std::int16_t>(std::clamp<qint64>(
            v, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
    }

} // namespace

SpinField::SpinField(QWidget *parent, QLineEdit *edit)
    : QWidget(parent)
    , FEdit(edit)
    , FUp(new QToolButton(this))
    , FDown(new QToolButton(this))
{
    FUp->setArrowType(Qt::UpArrow);
    FDown->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {FUp, FDown}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(FUp, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(FDown, &QToolButton::clicked, this, [this] { Step(-1); });
    if (FEdit)
        FEdit->installEventFilter(this);
}

void SpinField::resizeEvent(QResizeEvent *)
{
    const int half = height() / 2;
    FUp->setGeometry(0, 0, width(), half);
    FDown->setGeometry(0, half, width(), height() - half);
}

bool SpinField::eventFilter(QObject *watched, QEvent *event)
{
    // The arrow keys in the edit step like the buttons.
    if (watched == FEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

std::int16_t SpinField::Value()
{
    if (FEdit) {
        QString text = FEdit->text();
        if (!FSuffix.isEmpty() && text.endsWith(FSuffix))
            text.chop(FSuffix.size());
        bool ok = false;
        const int typed = text.toInt(&ok, 10);
        // Only a plain integer: no blanks, no sign of "+", no separators.
        const bool plain = ok && !text.isEmpty()
            && text == QString::number(typed).rightJustified(text.size(), u'0');
        if (plain && typed >= FMin && typed <= FMax)
            FValue = static_cast<std::int16_t>(typed);
    }
    return FValue;
}

void SpinField::ShowValue()
{
    if (FEdit)
        FEdit->setText(QString::number(FValue));
}

void SpinField::SetRange(int minimum, int maximum)
{
    SetMinimum(minimum);
    SetMaximum(maximum);
}

void SpinField::SetMinimum(int minimum)
{
    FMin = Clamp16(minimum);
    if (FMax < FMin)
        FMax = FMin;
}

void SpinField::SetMaximum(int maximum)
{
    FMax = Clamp16(maximum);
    if (FMin > FMax)
        FMin = FMax;
}

bool SpinField::Change(int proposed)
{
    const std::int16_t value = Clamp16(std::clamp<qint64>(proposed, FMin, FMax));
    if (OnChanging && !OnChanging(value))
        return false;
    FValue = value;
    if (FEdit)
        FEdit->setText(QString::number(FValue));
    return true;
}

void SpinField::SetValue(int value)
{
    Change(value);
}

void SpinField::Step(int direction)
{
    // Steps start from what the edit shows when that is a valid value.
    const int current = Value();
    const int next = current + (direction > 0 ? 1 : -1);
    if (next < FMin || next > FMax)
        return;
    Change(next);
}

} // namespace korvane
