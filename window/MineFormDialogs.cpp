// The custom field dialog and the Help menu: Readme, Credits and About.
#include "MineForm.h"

#include "Files.h"
#include "MineAbout.h"
#include "MineCredits.h"
#include "MineCustom.h"
#include "SpinField.h"

#include <QDir>
#include <QMenuBar>
#include <QScreen>

using namespace korvane;

void TfrmKorvane::SetDialogs(TfrmCustom *custom, TfrmAbout *about, TfrmCredits *credits,
                             TfrmShields *shields)
{
    frmCustom = custom;
    frmAbout = about;
    frmCredits = credits;
    frmShields = shields;
}

void TfrmKorvane::miCustomClick()
{
    // Qt moves the radio mark to Custom before this runs; the mark belongs
    // there only once a custom game starts.
    const bool markMoved = FCustomJustChecked;
    FCustomJustChecked = false;
    auto restoreMark = [&] {
        if (!markMoved)
            return;
        miCustom->setChecked(false);
        if (FCheckedBefore)
            FCheckedBefore->setChecked(true);
    };
    if (!frmCustom) {
        restoreMark();
        return;
    }
    TfrmCustom &d = *frmCustom;
    const QRect m = frameGeometry();
    CentreOnWindow(&d);
    d.udBombs->SetValue(0);
    d.udWalls->SetValue(0);
    d.udHeight->SetValue(GameHeight - 2);
    d.udWidth->SetValue(GameWidth - 2);
    d.udBombs->SetValue(GameBombs);
    d.udWalls->SetValue(GameWalls);

    int shownRows = pbGame->height() / CellHeight;
    int shownCols = pbGame->width() / CellWidth;
    if (Surround()) {
        shownRows -= 2;
        shownCols -= 2;
    }
    QRect area(0, 0, 1 << 16, 1 << 16);
    if (const QScreen *s = screen())
        area = s->availableGeometry();
    // Never below the smallest field the dialog offers, even on a tiny screen.
    const int maxHeight = std::max(9, shownRows + (area.height() - m.height()) / CellHeight);
    const int maxWidth = std::max(9, shownCols + (area.width() - m.width()) / CellWidth);
    if (d.udHeight->HeldValue() > maxHeight)
        d.udHeight->SetValue(maxHeight);
    d.udHeight->SetMaximum(maxHeight);
    if (d.udWidth->HeldValue() > maxWidth)
        d.udWidth->SetValue(maxWidth);
    d.udWidth->SetMaximum(maxWidth);

    if (d.exec() != QDialog::Accepted) {
        restoreMark();
        return;
    }
    miCustom->setChecked(true);
    // Checked by this handler, not moved by a click: no later cancel takes it off.
    FCustomJustChecked = false;
    GameHeight = d.udHeight->Value() + 2;
    GameWidth = d.udWidth->Value() + 2;
    GameBombs = d.udBombs->Value();
    GameWalls = d.udWalls->Value();
    NewGame();
}

void TfrmKorvane::About1Click()
{
    if (!frmAbout)
        return;
    const QRect m = frameGeometry();
    TfrmAbout &a = *frmAbout;
    const int aw = a.frameGeometry().width();
    int left = m.left() + m.width() / 2 - aw / 2;
    const int d = std::abs(m.left() - left) * 40 / 100;
    left = aw < m.width() ? left - d : left + d;
    // The window's frame and menu bar lie above the client area in this sum.
    const int top = m.top() + (m.height() - height()) + menuBar()->height() + pGame->y()
        + (3 * CellHeight) / 2;
    a.move(left, top);
    a.exec();
}

void TfrmKorvane::Credits1Click()
{
    if (!frmCredits)
        return;
    const QRect m = frameGeometry();
    TfrmCredits &c = *frmCredits;
    const int cw = c.frameGeometry().width();
    const int left = cw >= m.width() ? m.left() + m.width() / 2 - ((cw / 2) * 4) / 5
                                     : m.left() + m.width() / 2 - ((cw / 2) * 6) / 5;
    c.move(left, m.top() + 40);
    c.exec();
}

void TfrmKorvane::ReadMetxt1Click()
{
    const QString path = QDir(FDesktop.ProgramFolder()).filePath(QStringLiteral("ReadMe.txt"));
    if (FileExists(path))
        FDesktop.OpenDefault(path);
    else
        FDesktop.ShowMessage(QStringLiteral("File: ") + path + QStringLiteral(" not found!"));
}
