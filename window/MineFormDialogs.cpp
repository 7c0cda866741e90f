// SPDX-License-Identifier: GPL-3.0-or-later
// The custom field dialog and the Help menu: Readme, Credits and About.
#include "MineForm.h"

#include "Files.h"
#include "Frame.h"
#include "MineAbout.h"
#include "MineCredits.h"
#include "MineCustom.h"
#include "MineShields.h"

#include <QDir>
#include <QMenuBar>
#include <QScreen>

using namespace korvane;

TfrmCustom &TfrmKorvane::CustomDialog()
{
    if (!frmCustom)
        frmCustom = new TfrmCustom(this);
    return *frmCustom;
}

TfrmAbout &TfrmKorvane::AboutDialog()
{
    if (!frmAbout)
        frmAbout = new TfrmAbout(FDesktop, this);
    return *frmAbout;
}

TfrmCredits &TfrmKorvane::CreditsDialog()
{
    if (!frmCredits)
        frmCredits = new TfrmCredits(FDesktop, this);
    return *frmCredits;
}

TfrmShields &TfrmKorvane::ShieldsDialog()
{
    if (!frmShields)
        frmShields = new TfrmShields(this);
    return *frmShields;
}

void TfrmKorvane::PlaceDialog(QWidget *dialog, const DialogPlace &where) const
{
    // A dialog not shown yet has no frame Qt knows of: ask the window manager,
    // or take the main window's, so that the first opening lands where every
    // later one does.
    const QMargins seen = SeenFrame(dialog);
    const QMargins frame = seen.isNull() ? AnnouncedFrame(dialog).value_or(Frame()) : seen;
    PlaceOuter(dialog, where(OuterRect(this, Frame()), OuterRect(dialog, frame).size()), frame);
}

void TfrmKorvane::CentreOnWindow(QWidget *dialog) const
{
    PlaceDialog(dialog, [](const QRect &m, QSize d) {
        return QPoint(m.left() + m.width() / 2 - d.width() / 2,
                      m.top() + m.height() / 2 - d.height() / 2);
    });
}

void TfrmKorvane::miCustomClick()
{
    // Qt moves the radio mark to Custom before this runs; the mark belongs
    // there only once a custom game starts.
    const bool markMoved = FCustomJustChecked;
    FCustomJustChecked = false;
    auto restoreMark = [&] {
        if (markMoved) {
            miCustom->setChecked(false);
            if (FCheckedBefore)
                FCheckedBefore->setChecked(true);
        }
        // Taking the mark off Custom was this opening's own doing, not a mark
        // the next opening may put back.
        FLostCheck = FCheckedBefore = nullptr;
    };
    TfrmCustom &d = CustomDialog();
    CentreOnWindow(&d);
    d.Prepare(NextGame(), ScreenMaxima(pbGame->size(), OuterRect(this, Frame()).size()));
    if (d.exec() != QDialog::Accepted) {
        restoreMark();
        return;
    }
    miCustom->setChecked(true);
    // Checked by this handler, not moved by a click: no later cancel takes it off.
    FCustomJustChecked = false;
    SetNextGame(d.Values());
    NewGame();
}

QSize TfrmKorvane::ScreenMaxima(QSize fieldBox, QSize outer) const
{
    QSize area(1 << 16, 1 << 16);
    if (const QScreen *s = screen())
        area = s->availableGeometry().size();
    return FieldMaxima(area, outer, fieldBox, {CellWidth, CellHeight}, Surround());
}

void TfrmKorvane::About1Click()
{
    TfrmAbout &a = AboutDialog();
    PlaceDialog(&a, [this](const QRect &m, QSize d) {
        int left = m.left() + m.width() / 2 - d.width() / 2;
        const int shift = std::abs(m.left() - left) * 40 / 100;
        left = d.width() < m.width() ? left - shift : left + shift;
        // The window's frame and menu bar lie above the client area in this sum.
        const int top = m.top() + (m.height() - height()) + menuBar()->height() + pGame->y()
            + (3 * CellHeight) / 2;
        return QPoint(left, top);
    });
    a.exec();
}

void TfrmKorvane::Credits1Click()
{
    TfrmCredits &c = CreditsDialog();
    PlaceDialog(&c, [](const QRect &m, QSize d) {
        const int half = d.width() / 2;
        const int left = d.width() >= m.width() ? m.left() + m.width() / 2 - (half * 4) / 5
                                                : m.left() + m.width() / 2 - (half * 6) / 5;
        return QPoint(left, m.top() + 40);
    });
    c.exec();
}

void TfrmKorvane::ReadMetxt1Click()
{
    const QString path = QDir(FDesktop.DataFolder()).filePath(QStringLiteral("ReadMe.txt"));
    if (FileExists(path))
        FDesktop.OpenDefault(path);
    else
        FDesktop.ShowMessage(QStringLiteral("File: ") + path + QStringLiteral(" not found!"));
}
