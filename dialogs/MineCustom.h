// SPDX-License-Identifier: GPL-3.0-or-later
// The custom field dialog: height, width, bombs and walls of the next game,
// kept so that the bombs and walls always fit into the field.
#pragma once

#include "FieldSize.h"

#include <QDialog>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvane {
class SpinField;
}

class TfrmCustom : public QDialog
{
public:
    explicit TfrmCustom(QWidget *parent = nullptr);

    // Fills the dialog before it is shown with the next game's size (ring
    // included), the inner height and width limited to what the screen can show.
    void Prepare(const korvane::FieldSize &next, QSize maxInner);
    // The next game's size after OK, ring included (typed text counts where it
    // is valid).
    korvane::FieldSize Values();

    void FormShow();
    void LimitBombsAndWalls(int cells);
    bool udHeightChangingEx(std::int16_t n);
    bool udWidthChangingEx(std::int16_t n);
    bool udBombsChangingEx(std::int16_t n);
    bool udWallsChangingEx(std::int16_t n);
    void btOkClick();

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *edHeight = nullptr;
    QLineEdit *edWidth = nullptr;
    QLineEdit *edBombs = nullptr;
    QLineEdit *edWalls = nullptr;
    korvane::SpinField *udHeight = nullptr;
    korvane::SpinField *udWidth = nullptr;
    korvane::SpinField *udBombs = nullptr;
    korvane::SpinField *udWalls = nullptr;
    QPushButton *btOk = nullptr;
    QPushButton *btCancel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Set while the bombs handler moves the walls or the reverse: the moved
    // field's handler then accepts without moving the first one back.
    bool FAdjusting = false;
};
