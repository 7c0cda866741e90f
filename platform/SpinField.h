// SPDX-License-Identifier: GPL-3.0-or-later
// Spin buttons attached to an edit: a 16-bit signed value with a range, set
// values stored as the nearest bound, steps of 1 without wrapping, a change
// handler that may refuse a step or a set, and typed text taken only when it
// is an integer inside the range.
#pragma once

#include <QWidget>

#include <cstdint>
#include <functional>

class QLineEdit;
class QToolButton;

namespace korvane {

class SpinField : public QWidget
{
public:
    SpinField(QWidget *parent, QLineEdit *edit);

    // The value, after taking the edit's text when it is a plain integer
    // inside the range.
    std::int16_t Value();
    // The value as held, without looking at the edit.
    std::int16_t HeldValue() const { return FValue; }
    // Stores value limited to the range, unless the change handler refuses.
    // The edit then shows the value.
    void SetValue(int value);
    // Writes the held value into the edit.
    void ShowValue();
    void SetRange(int minimum, int maximum);
    void SetMinimum(int minimum);
    void SetMaximum(int maximum);
    std::int16_t Minimum() const { return FMin; }
    std::int16_t Maximum() const { return FMax; }
    // One step up (+1) or down (-1) within the range; nothing at a bound.
    void Step(int direction);
    // A text the edit may show after the number ("%"): typed text with it
    // still counts as the number.
    void SetSuffix(const QString &suffix) { FSuffix = suffix; }

    // Asked before every step and set with the proposed value; false refuses.
    std::function<bool(std::int16_t proposed)> OnChanging;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool Change(int proposed);

    QLineEdit *FEdit;
    QString FSuffix;
    QToolButton *FUp;
    QToolButton *FDown;
    std::int16_t FValue = 0;
    std::int16_t FMin = 0;
    std::int16_t FMax = 100;
};

} // namespace korvane
