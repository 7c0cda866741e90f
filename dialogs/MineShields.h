// SPDX-License-Identifier: GPL-3.0-or-later
// The custom shields dialog: a percentage of the bombs or a fixed count.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {
class SpinField;
}

class TfrmShields : public QDialog
{
public:
    explicit TfrmShields(QWidget *parent = nullptr);

    void PreparePercentage(int value);
    void PrepareFixed(int value);
    // The value the dialog returns.
    int Value() const;

    void edShieldsChange();
    void btOkClick();

    QLabel *lbType = nullptr;
    QLineEdit *edShields = nullptr;
    korvane::SpinField *udShields = nullptr;
    QPushButton *btOk = nullptr;
    QPushButton *btCancel = nullptr;
    bool IsPercentage = false;

private:
    void SelectNumber();
};
