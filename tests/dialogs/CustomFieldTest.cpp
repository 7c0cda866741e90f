// SPDX-License-Identifier: GPL-3.0-or-later
// The custom field dialog: its four spin fields keeping bombs and walls inside
// the field, and the Game menu's Custom... item that opens it.
#include "DialogTestSupport.h"

#include "MineCustom.h"
#include "SpinField.h"
#include "TestPictures.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

using namespace korvane;
using namespace korvane::test;

namespace {

QToolButton *SpinButton(SpinField *spin, Qt::ArrowType arrow)
{
    for (QToolButton *b : spin->findChildren<QToolButton *>()) {
        if (b->arrowType() == arrow)
            return b;
    }
    return nullptr;
}

void StepUp(SpinField *spin)
{
    QTest::mouseClick(SpinButton(spin, Qt::UpArrow), Qt::LeftButton);
}

void StepDown(SpinField *spin)
{
    QTest::mouseClick(SpinButton(spin, Qt::DownArrow), Qt::LeftButton);
}

// The four values as the dialog shows them.
std::array<QString, 4> Shown(const TfrmCustom &d)
{
    return {d.edHeight->text(), d.edWidth->text(), d.edBombs->text(), d.edWalls->text()};
}

std::array<QString, 4> Texts(int h, int w, int b, int x)
{
    return {QString::number(h), QString::number(w), QString::number(b), QString::number(x)};
}

class CustomDialog : public testing::Test
{
protected:
    // Fills the dialog the way the Custom... item does, then shows it.
    void Fill(int h, int w, int b, int x)
    {
        d.udBombs->SetValue(0);
        d.udWalls->SetValue(0);
        d.udHeight->SetValue(h);
        d.udWidth->SetValue(w);
        d.udBombs->SetValue(b);
        d.udWalls->SetValue(x);
        d.udHeight->SetMaximum(60);
        d.udWidth->SetMaximum(60);
        d.show();
    }

    TfrmCustom d;
};

} // namespace

TEST_F(CustomDialog, IsLaidOutAsDesigned)
{
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Custom Field"));
    EXPECT_EQ(d.size(), QSize(215, 136));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_FALSE(d.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowMinMaxButtonsHint);
    const QLabel *labels[] {d.Label1, d.Label2, d.Label3, d.Label4};
    const QLineEdit *edits[] {d.edHeight, d.edWidth, d.edBombs, d.edWalls};
    const SpinField *spins[] {d.udHeight, d.udWidth, d.udBombs, d.udWalls};
    const char *captions[] {"Height", "Width", "Bombs", "Walls"};
    for (int i = 0; i < 4; ++i) {
        const int y = 8 + 32 * i;
        EXPECT_EQ(labels[i]->text(), QString::fromLatin1(captions[i]));
        EXPECT_EQ(labels[i]->pos(), QPoint(8, y + 4));
        EXPECT_TRUE(labels[i]->font().bold());
        EXPECT_EQ(labels[i]->font().pixelSize(), 16);
        EXPECT_EQ(edits[i]->geometry(), QRect(68, y, 60, 25));
        EXPECT_EQ(edits[i]->text(), QStringLiteral("10"));
        EXPECT_TRUE(edits[i]->font().bold());
        EXPECT_EQ(edits[i]->font().pixelSize(), 16);
        EXPECT_EQ(spins[i]->geometry(), QRect(128, y, 16, 25));
        // The labels end before their edits begin.
        EXPECT_LE(labels[i]->geometry().right(), 68) << captions[i];
    }
    EXPECT_EQ(d.btOk->geometry(), QRect(152, 8, 57, 25));
    EXPECT_EQ(d.btOk->text(), QStringLiteral("OK"));
    EXPECT_TRUE(d.btOk->isDefault());
    EXPECT_EQ(d.btCancel->geometry(), QRect(152, 40, 57, 25));
    EXPECT_EQ(d.btCancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(d.udHeight->Minimum(), 9);
    EXPECT_EQ(d.udWidth->Minimum(), 9);
    EXPECT_EQ(d.udBombs->Minimum(), 10);
    EXPECT_EQ(d.udWalls->Minimum(), 0);
}

TEST_F(CustomDialog, AFullNineByNineFieldStepsBombsAgainstWalls)
{
    Fill(9, 9, 50, 31);
    ASSERT_EQ(Shown(d), Texts(9, 9, 50, 31));
    StepDown(d.udHeight); // the minimum is 9
    EXPECT_EQ(Shown(d), Texts(9, 9, 50, 31));
    StepDown(d.udWidth);
    EXPECT_EQ(Shown(d), Texts(9, 9, 50, 31));
    StepUp(d.udBombs);
    EXPECT_EQ(Shown(d), Texts(9, 9, 51, 30));
    StepUp(d.udWalls);
    StepUp(d.udWalls);
    EXPECT_EQ(Shown(d), Texts(9, 9, 49, 32));
    // Down steps free cells and move nothing else.
    StepDown(d.udBombs);
    EXPECT_EQ(Shown(d), Texts(9, 9, 48, 32));
}

TEST_F(CustomDialog, AStepThatWouldLeaveNoRoomIsRefused)
{
    Fill(10, 10, 60, 40);
    ASSERT_EQ(Shown(d), Texts(10, 10, 60, 40));
    StepDown(d.udHeight); // 9 x 10 = 90 < 100
    EXPECT_EQ(Shown(d), Texts(10, 10, 60, 40));
    EXPECT_EQ(d.udHeight->Value(), 10);
    StepDown(d.udWidth);
    EXPECT_EQ(Shown(d), Texts(10, 10, 60, 40));
    // The arrow keys are refused the same way.
    QTest::keyClick(d.edHeight, Qt::Key_Down);
    EXPECT_EQ(Shown(d), Texts(10, 10, 60, 40));
    // With the bombs and walls at their maxima, they cannot step up either.
    EXPECT_EQ(d.udBombs->Maximum(), 100);
    StepUp(d.udBombs);
    EXPECT_EQ(Shown(d), Texts(10, 10, 61, 39));
    // A step that leaves exactly the room the bombs and walls take is allowed.
    Fill(10, 10, 60, 30);
    StepDown(d.udHeight); // 9 x 10 = 90
    StepDown(d.udWidth); // 9 x 9 = 81 < 90: refused
    EXPECT_EQ(Shown(d), Texts(9, 10, 60, 30));
}

TEST_F(CustomDialog, AGrowingFieldRaisesTheBombAndWallMaxima)
{
    Fill(10, 10, 10, 0);
    EXPECT_EQ(d.udBombs->Maximum(), 100);
    EXPECT_EQ(d.udWalls->Maximum(), 100);
    StepUp(d.udHeight);
    EXPECT_EQ(d.edHeight->text(), QStringLiteral("11"));
    EXPECT_EQ(d.udBombs->Maximum(), 110);
    EXPECT_EQ(d.udWalls->Maximum(), 110);
    QTest::keyClick(d.edWidth, Qt::Key_Up);
    EXPECT_EQ(d.udBombs->Maximum(), 121);
    StepDown(d.udHeight);
    EXPECT_EQ(d.udBombs->Maximum(), 110);
}

TEST_F(CustomDialog, TheMaximaStopAt32767)
{
    d.LimitBombsAndWalls(200 * 200);
    EXPECT_EQ(d.udBombs->Maximum(), 32767);
    EXPECT_EQ(d.udWalls->Maximum(), 32767);
    d.LimitBombsAndWalls(81);
    EXPECT_EQ(d.udBombs->Maximum(), 81);
    EXPECT_EQ(d.udWalls->Maximum(), 81);
}

TEST_F(CustomDialog, ShowingPutsTheValuesIntoTheEdits)
{
    Fill(12, 20, 30, 5);
    d.hide();
    d.edHeight->setText(QStringLiteral("junk"));
    d.edWalls->setText(QString());
    d.show();
    EXPECT_EQ(Shown(d), Texts(12, 20, 30, 5));
    EXPECT_EQ(d.udBombs->Maximum(), 240);
}

TEST_F(CustomDialog, TypedWallsThatDoNotFitAreCutOnOk)
{
    Fill(10, 10, 60, 0);
    d.edWalls->setText(QStringLiteral("70"));
    QTest::mouseClick(d.btOk, Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(d.udWalls->Value(), 40);
    EXPECT_EQ(d.udBombs->Value(), 60);
}

TEST_F(CustomDialog, AStepAgainstTypedWallsSettlesAtOnce)
{
    // The walls edit holds a typed count too large for the bombs beside it.
    Fill(10, 10, 20, 0);
    d.edWalls->setText(QStringLiteral("90"));
    StepDown(d.udBombs);
    EXPECT_EQ(Shown(d), Texts(10, 10, 19, 81));
    d.edBombs->setText(QStringLiteral("60"));
    StepDown(d.udWalls);
    EXPECT_EQ(Shown(d), Texts(10, 10, 20, 80));
}

TEST_F(CustomDialog, TypedValuesOutsideTheRangeAreIgnored)
{
    Fill(10, 12, 30, 5);
    d.edHeight->setText(QStringLiteral("5"));
    d.edWidth->setText(QStringLiteral("12x"));
    d.edBombs->setText(QStringLiteral(" 20"));
    d.edWalls->setText(QStringLiteral("-1"));
    QTest::mouseClick(d.btOk, Qt::LeftButton);
    EXPECT_EQ(d.udHeight->Value(), 10);
    EXPECT_EQ(d.udWidth->Value(), 12);
    EXPECT_EQ(d.udBombs->Value(), 30);
    EXPECT_EQ(d.udWalls->Value(), 5);
}

// --- Opened from the Game menu ----------------------------------------------

using CustomFieldFromMenu = DialogWindowTest;

namespace {

// The largest height and width the dialog should allow for the window as it is.
QSize ScreenMaxima(const TfrmKorvane &w)
{
    int rows = w.pbGame->height() / w.CellHeight;
    int cols = w.pbGame->width() / w.CellWidth;
    if (w.miSurround->isChecked()) {
        rows -= 2;
        cols -= 2;
    }
    const QRect area = w.screen()->availableGeometry();
    const QRect outer = w.frameGeometry();
    return {cols + (area.width() - outer.width()) / w.CellWidth,
            rows + (area.height() - outer.height()) / w.CellHeight};
}

} // namespace

TEST_F(CustomFieldFromMenu, ShowsTheCurrentGameCentredOnTheWindow)
{
    TfrmKorvane &w = OpenWithDialogs();
    for (QAction *preset : {w.miBeginner, w.miExpert}) {
        preset->trigger();
        std::array<QString, 4> shown;
        QString typed;
        QRect placed;
        QRect expected;
        ASSERT_TRUE(WhileModal(
            *Custom,
            [&] {
                shown = Shown(*Custom);
                // Typing at once replaces the height, from the first opening on.
                if (QWidget *focus = Custom->focusWidget())
                    QTest::keyClicks(focus, QStringLiteral("12"));
                typed = Custom->edHeight->text();
                const QRect m = w.frameGeometry();
                placed = Custom->frameGeometry();
                expected = QRect(m.left() + m.width() / 2 - placed.width() / 2,
                                 m.top() + m.height() / 2 - placed.height() / 2, placed.width(),
                                 placed.height());
                Custom->reject();
            },
            [&] { w.miCustom->trigger(); }));
        if (preset == w.miBeginner)
            EXPECT_EQ(shown, Texts(9, 9, 10, 0));
        else
            EXPECT_EQ(shown, Texts(16, 30, 99, 0));
        EXPECT_EQ(typed, QStringLiteral("12"));
        EXPECT_EQ(placed, expected);
    }
}

TEST_F(CustomFieldFromMenu, OkStartsANewGameEvenWithoutChanges)
{
    TfrmKorvane &w = OpenWithDialogs();
    ASSERT_TRUE(w.Game->OpenCell(5, 5) || w.Game->OpenedCount() > 0);
    ASSERT_GT(w.Game->OpenedCount(), 0);
    ASSERT_TRUE(WhileModal(
        *Custom, [&] { QTest::mouseClick(Custom->btOk, Qt::LeftButton); },
        [&] { w.miCustom->trigger(); }));
    EXPECT_EQ(w.Game->OpenedCount(), 0);
    EXPECT_TRUE(w.miCustom->isChecked());
    EXPECT_FALSE(w.miBeginner->isChecked());
    EXPECT_EQ(w.GameWidth, 11);
    EXPECT_EQ(w.GameHeight, 11);
    EXPECT_EQ(w.GameBombs, 10);
    EXPECT_EQ(w.GameWalls, 0);
}

TEST_F(CustomFieldFromMenu, OkTakesTheFourValuesWithTheRing)
{
    TfrmKorvane &w = OpenWithDialogs();
    ASSERT_TRUE(WhileModal(
        *Custom,
        [&] {
            Custom->edHeight->setText(QStringLiteral("14"));
            Custom->edWidth->setText(QStringLiteral("21"));
            StepUp(Custom->udWidth); // 22: the step starts from the typed value
            Custom->edBombs->setText(QStringLiteral("40"));
            Custom->edWalls->setText(QStringLiteral("17"));
            QTest::keyClick(Custom->edWalls, Qt::Key_Return);
        },
        [&] { w.miCustom->trigger(); }));
    EXPECT_EQ(w.GameHeight, 16);
    EXPECT_EQ(w.GameWidth, 24);
    EXPECT_EQ(w.GameBombs, 40);
    EXPECT_EQ(w.GameWalls, 17);
    EXPECT_EQ(w.Game->FHeight, 16);
    EXPECT_EQ(w.Game->FWidth, 24);
    EXPECT_EQ(w.Game->BombCount(), 40);
}

TEST_F(CustomFieldFromMenu, CancelNeverStartsAGameAndKeepsTheSizeMark)
{
    TfrmKorvane &w = OpenWithDialogs();
    for (QAction *preset : {w.miBeginner, w.miExpert}) {
        preset->trigger();
        ASSERT_TRUE(w.Game->OpenCell(5, 5));
        const int opened = w.Game->OpenedCount();
        for (bool byKey : {false, true}) {
            ASSERT_TRUE(WhileModal(
                *Custom,
                [&] {
                    Custom->edHeight->setText(QStringLiteral("20"));
                    if (byKey)
                        QTest::keyClick(Custom->edHeight, Qt::Key_Escape);
                    else
                        QTest::mouseClick(Custom->btCancel, Qt::LeftButton);
                },
                [&] { w.miCustom->trigger(); }));
            EXPECT_EQ(w.Game->OpenedCount(), opened);
            EXPECT_TRUE(preset->isChecked()) << preset->text().toStdString();
            EXPECT_FALSE(w.miCustom->isChecked());
        }
    }
}

TEST_F(CustomFieldFromMenu, CancelWithNoSizeCheckedLeavesNoneChecked)
{
    WriteSettings(QStringLiteral("[Field]\nBeginner=0\n"));
    TfrmKorvane &w = OpenWithDialogs();
    for (int opening = 0; opening < 2; ++opening) {
        WhileModal(
            *Custom, [&] { Custom->reject(); }, [&] { w.miCustom->trigger(); });
        for (QAction *item : {w.miBeginner, w.miInter, w.miExpert, w.miMaster, w.miCustom})
            EXPECT_FALSE(item->isChecked()) << item->text().toStdString() << " " << opening;
    }
}

TEST_F(CustomFieldFromMenu, CancelLeavesACheckedCustomChecked)
{
    TfrmKorvane &w = OpenWithDialogs();
    // A custom game, started directly and then from the menu.
    WhileModal(
        *Custom, [&] { Custom->accept(); }, [&] { w.miCustomClick(); });
    ASSERT_TRUE(w.miCustom->isChecked());
    WhileModal(
        *Custom, [&] { Custom->reject(); }, [&] { w.miCustom->trigger(); });
    EXPECT_TRUE(w.miCustom->isChecked());
    EXPECT_FALSE(w.miBeginner->isChecked());
}

TEST_F(CustomFieldFromMenu, CancelLeavesACustomCheckedFromTheFileChecked)
{
    WriteSettings(QStringLiteral("[Field]\nBeginner=0\nCustom=1\nWidth=14\nHeight=13\n"));
    TfrmKorvane &w = OpenWithDialogs();
    ASSERT_TRUE(w.miCustom->isChecked());
    WhileModal(
        *Custom, [&] { Custom->reject(); }, [&] { w.miCustom->trigger(); });
    EXPECT_TRUE(w.miCustom->isChecked());
    EXPECT_FALSE(w.miBeginner->isChecked());
    // And a later cancel from another size still goes back to that size.
    w.miInter->trigger();
    WhileModal(
        *Custom, [&] { Custom->reject(); }, [&] { w.miCustom->trigger(); });
    EXPECT_TRUE(w.miInter->isChecked());
    EXPECT_FALSE(w.miCustom->isChecked());
}

TEST_F(CustomFieldFromMenu, TypedWallsAreCutOnOk)
{
    TfrmKorvane &w = OpenWithDialogs();
    ASSERT_TRUE(WhileModal(
        *Custom,
        [&] {
            Custom->edHeight->setText(QStringLiteral("10"));
            Custom->edWidth->setText(QStringLiteral("10"));
            Custom->edBombs->setText(QStringLiteral("60"));
            Custom->edWalls->setText(QStringLiteral("70"));
            QTest::mouseClick(Custom->btOk, Qt::LeftButton);
        },
        [&] { w.miCustom->trigger(); }));
    EXPECT_EQ(w.GameBombs, 60);
    EXPECT_EQ(w.GameWalls, 40);
    EXPECT_EQ(w.Game->BombCount(), 60);
}

TEST_F(CustomFieldFromMenu, ATypedHeightBelowTheMinimumKeepsThePreviousHeight)
{
    TfrmKorvane &w = OpenWithDialogs();
    w.miInter->trigger();
    ASSERT_TRUE(WhileModal(
        *Custom,
        [&] {
            Custom->edHeight->setText(QStringLiteral("5"));
            QTest::mouseClick(Custom->btOk, Qt::LeftButton);
        },
        [&] { w.miCustom->trigger(); }));
    EXPECT_EQ(w.GameHeight, 18);
    EXPECT_EQ(w.Game->FHeight, 18);
}

TEST_F(CustomFieldFromMenu, ATypedBombCountAboveTheFieldNeverReachesTheGame)
{
    TfrmKorvane &w = OpenWithDialogs();
    w.miExpert->trigger(); // 16 x 30: the bombs may go up to 480
    ASSERT_TRUE(WhileModal(
        *Custom,
        [&] {
            Custom->edHeight->setText(QStringLiteral("9"));
            Custom->edWidth->setText(QStringLiteral("9"));
            Custom->edBombs->setText(QStringLiteral("400"));
            Custom->edWalls->setText(QStringLiteral("30"));
            QTest::mouseClick(Custom->btOk, Qt::LeftButton);
        },
        [&] { w.miCustom->trigger(); }));
    EXPECT_EQ(w.GameHeight, 11);
    EXPECT_EQ(w.GameWidth, 11);
    EXPECT_LE(w.GameBombs + w.GameWalls, 81);
    EXPECT_EQ(w.GameBombs, 81);
    EXPECT_EQ(w.GameWalls, 0);
    EXPECT_EQ(w.Game->BombCount(), 81);
}

TEST_F(CustomFieldFromMenu, TheSizeIsLimitedToWhatFitsOnTheScreen)
{
    TfrmKorvane &w = OpenWithDialogs();
    for (bool surround : {true, false}) {
        if (w.miSurround->isChecked() != surround)
            w.miSurround->trigger();
        const QSize expected = ScreenMaxima(w);
        ASSERT_GT(expected.height(), 9);
        WhileModal(
            *Custom, [&] { Custom->reject(); }, [&] { w.miCustom->trigger(); });
        EXPECT_EQ(Custom->udHeight->Maximum(), expected.height());
        EXPECT_EQ(Custom->udWidth->Maximum(), expected.width());
    }
    // The largest field the dialog allows fits the screen.
    ASSERT_TRUE(WhileModal(
        *Custom,
        [&] {
            Custom->udHeight->SetValue(Custom->udHeight->Maximum() + 5);
            Custom->udWidth->SetValue(Custom->udWidth->Maximum() + 5);
            QTest::mouseClick(Custom->btOk, Qt::LeftButton);
        },
        [&] { w.miCustom->trigger(); }));
    const QRect area = w.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(w.frameGeometry()))
        << w.frameGeometry().width() << " x " << w.frameGeometry().height();
}

TEST_F(CustomFieldFromMenu, AFieldAsTallAsTheScreenCannotGrow)
{
    TfrmKorvane &w = OpenWithDialogs();
    const QRect area = w.screen()->availableGeometry();
    // Find a height whose window leaves less than one row of the work area free.
    int found = 0;
    for (int h = 40; h < 80 && !found; ++h) {
        std::vector<std::string> field(static_cast<std::size_t>(h), "#.........#");
        field.front() = field.back() = std::string(11, '#');
        Play(field);
        const int spare = area.height() - w.frameGeometry().height();
        if (spare >= 0 && spare < w.CellHeight)
            found = h;
    }
    ASSERT_NE(found, 0);
    WhileModal(
        *Custom, [&] { Custom->reject(); }, [&] { w.miCustom->trigger(); });
    EXPECT_EQ(Custom->udHeight->Maximum(), found - 2);
    StepUp(Custom->udHeight);
    EXPECT_EQ(Custom->udHeight->HeldValue(), found - 2);
}

// The screen's maxima are in force before the values are set: the first
// opening shows a stored field larger than 65 x 95 as every later one does.
TEST_F(CustomFieldFromMenu, TheFirstOpeningShowsAStoredFieldLargerThanTheDesignedRanges)
{
    WriteImage(QStringLiteral("Skins"), QStringLiteral("small.png"), MakeSkin(8, 8));
    WriteSettings(QStringLiteral("[Field]\nBeginner=0\nCustom=1\nHeight=102\nWidth=122\n"
                                 "Bombs=7000\n[Settings]\nSkin=Small\n"));
    TfrmKorvane &w = OpenWithDialogs();
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        ASSERT_TRUE(WhileModal(
            *Custom,
            [&] {
                EXPECT_EQ(Shown(*Custom), Texts(100, 120, 7000, 0));
                StepDown(Custom->udHeight);
                EXPECT_EQ(Custom->udHeight->HeldValue(), 99);
                Custom->reject();
            },
            [&] { w.miCustom->trigger(); }));
    }
    EXPECT_EQ(w.GameHeight, 102);
    EXPECT_EQ(w.GameWidth, 122);
}

TEST_F(CustomFieldFromMenu, AScreenTooSmallForNineRowsStillAllowsNineByNine)
{
    // Tiles of 200 pixels: a 9 x 9 field is taller and wider than the screen.
    WriteImage(QStringLiteral("Skins"), QStringLiteral("huge.png"), MakeSkin(200, 200));
    WriteSettings(QStringLiteral("[Settings]\nSkin=Huge\n"));
    TfrmKorvane &w = OpenWithDialogs();
    ASSERT_EQ(w.CellHeight, 200);
    const QSize screenRule = ScreenMaxima(w);
    ASSERT_LT(screenRule.height(), 9);
    ASSERT_LT(screenRule.width(), 9);
    ASSERT_TRUE(WhileModal(
        *Custom,
        [&] {
            EXPECT_EQ(Custom->udHeight->Maximum(), 9);
            EXPECT_EQ(Custom->udWidth->Maximum(), 9);
            EXPECT_EQ(Shown(*Custom), Texts(9, 9, 10, 0));
            QTest::mouseClick(Custom->btOk, Qt::LeftButton);
        },
        [&] { w.miCustom->trigger(); }));
    EXPECT_EQ(w.GameHeight, 11);
    EXPECT_EQ(w.GameWidth, 11);
}
