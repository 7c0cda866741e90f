// SPDX-License-Identifier: GPL-3.0-or-later
// The custom shields dialog through its widgets, alone and opened from the
// Shields submenu.
#include "DialogTestSupport.h"

#include "Menus.h"
#include "MineShields.h"
#include "SpinField.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

class ShieldsDialog : public testing::Test
{
protected:
    TfrmShields d;
};

} // namespace

TEST_F(ShieldsDialog, IsLaidOutAsDesigned)
{
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Custom Shields"));
    EXPECT_EQ(d.size(), QSize(180, 74));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_EQ(d.lbType->pos(), QPoint(12, 8));
    EXPECT_TRUE(d.lbType->font().bold());
    EXPECT_EQ(d.lbType->font().pixelSize(), 16);
    EXPECT_EQ(d.edShields->geometry(), QRect(20, 36, 60, 25));
    EXPECT_TRUE(d.edShields->font().bold());
    EXPECT_EQ(d.edShields->font().pixelSize(), 16);
    EXPECT_EQ(d.udShields->geometry(), QRect(80, 36, 15, 25));
    EXPECT_EQ(d.btOk->geometry(), QRect(115, 8, 57, 25));
    EXPECT_EQ(d.btOk->text(), QStringLiteral("OK"));
    EXPECT_TRUE(d.btOk->isDefault());
    EXPECT_EQ(d.btCancel->geometry(), QRect(115, 40, 57, 25));
    EXPECT_EQ(d.btCancel->text(), QStringLiteral("Cancel"));
    EXPECT_FALSE(d.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowMinMaxButtonsHint);
}

TEST_F(ShieldsDialog, PreparePercentageLimitsTheValueTo1To99)
{
    const std::pair<int, int> cases[] {{35, 35},
                                       {1, 1},
                                       {99, 99},
                                       {100, 99},
                                       {0, 1},
                                       {-7, 1},
                                       {std::numeric_limits<int>::max(), 99},
                                       {std::numeric_limits<int>::min(), 1}};
    for (const auto &[value, shown] : cases) {
        d.PreparePercentage(value);
        EXPECT_TRUE(d.IsPercentage);
        EXPECT_EQ(d.lbType->text(), QStringLiteral("Percentage"));
        EXPECT_EQ(d.udShields->Minimum(), 1);
        EXPECT_EQ(d.udShields->Maximum(), 99);
        EXPECT_EQ(d.Value(), shown) << value;
        EXPECT_EQ(d.edShields->text(), QString::number(shown) + u'%') << value;
    }
}

TEST_F(ShieldsDialog, PrepareFixedLimitsTheValueTo1To4096)
{
    const std::pair<int, int> cases[] {
        {10, 10},      {4096, 4096}, {4097, 4096}, {5000, 4096},
        {70000, 4096}, {0, 1},       {-3, 1},      {std::numeric_limits<int>::max(), 4096}};
    for (const auto &[value, shown] : cases) {
        d.PrepareFixed(value);
        EXPECT_FALSE(d.IsPercentage);
        EXPECT_EQ(d.lbType->text(), QStringLiteral("Fixed"));
        EXPECT_EQ(d.udShields->Minimum(), 1);
        EXPECT_EQ(d.udShields->Maximum(), 4096);
        EXPECT_EQ(d.Value(), shown) << value;
        EXPECT_EQ(d.edShields->text(), QString::number(shown)) << value;
    }
}

TEST_F(ShieldsDialog, EachOpeningStartsAfresh)
{
    d.PreparePercentage(35);
    d.PrepareFixed(7);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("7"));
    // In fixed mode nothing puts a percent sign back.
    d.edShields->setText(QString());
    EXPECT_EQ(d.edShields->text(), QString());
    d.PreparePercentage(20);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("20%"));
}

struct OkCase
{
    bool Percentage;
    int Opening; // the value the dialog was prepared with
    const char *Text;
    int Value;
};

class ShieldsDialogOk : public testing::TestWithParam<OkCase>
{
protected:
    TfrmShields d;
};

TEST_P(ShieldsDialogOk, TurnsTheTextIntoTheValue)
{
    const OkCase c = GetParam();
    c.Percentage ? d.PreparePercentage(c.Opening) : d.PrepareFixed(c.Opening);
    d.show();
    d.edShields->setText(QString::fromUtf8(c.Text));
    QTest::mouseClick(d.btOk, Qt::LeftButton);
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.Value(), c.Value) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(
    Shields, ShieldsDialogOk,
    testing::Values(
        // Percentage: digits with one trailing "%".
        OkCase {true, 50, "25%", 25}, OkCase {true, 50, "%", 99}, OkCase {true, 50, "0%", 1},
        OkCase {true, 50, "150%", 99}, OkCase {true, 50, "99%", 99}, OkCase {true, 50, "1%", 1},
        OkCase {true, 50, "007%", 7}, OkCase {true, 50, "25", 25},
        OkCase {true, 50, "99999999999%", 99}, OkCase {true, 50, "2%5", 50},
        OkCase {true, 50, "25%%", 50}, OkCase {true, 50, "-5%", 50}, OkCase {true, 50, " 25%", 50},
        OkCase {true, 50, "2 5%", 50}, OkCase {true, 50, "x%", 50}, OkCase {true, 50, "٣%", 50},
        // Fixed: digits only.
        OkCase {false, 10, "", 4096}, OkCase {false, 10, "5000", 4096},
        OkCase {false, 10, "70000", 4096}, OkCase {false, 10, "99999999999", 4096},
        OkCase {false, 10, "007", 7}, OkCase {false, 10, "0", 1}, OkCase {false, 10, "4096", 4096},
        OkCase {false, 10, "25%", 10}, OkCase {false, 10, "-5", 10}, OkCase {false, 10, "12a", 10},
        OkCase {false, 10, "+5", 10}));

TEST_F(ShieldsDialog, IgnoredTextKeepsTheValueAsLastStepped)
{
    d.PreparePercentage(50);
    d.show();
    QTest::mouseClick(SpinButton(d.udShields, Qt::UpArrow), Qt::LeftButton);
    QTest::mouseClick(SpinButton(d.udShields, Qt::UpArrow), Qt::LeftButton);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("52%"));
    d.edShields->setText(QStringLiteral("2%5"));
    QTest::mouseClick(d.btOk, Qt::LeftButton);
    EXPECT_EQ(d.Value(), 52);
}

TEST_F(ShieldsDialog, DeletingThePercentSignPutsItBackWithTheCaretInPlace)
{
    d.PreparePercentage(25);
    d.show();
    d.edShields->setFocus();
    // The caret before the "%", then Delete.
    d.edShields->setCursorPosition(2);
    QTest::keyClick(d.edShields, Qt::Key_Delete);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("25%"));
    EXPECT_EQ(d.edShields->cursorPosition(), 2);
    // Backspace after the "%".
    d.edShields->setCursorPosition(3);
    QTest::keyClick(d.edShields, Qt::Key_Backspace);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("25%"));
    EXPECT_EQ(d.edShields->cursorPosition(), 2);
    // Everything selected and deleted: a lone "%", the caret at the start.
    d.edShields->selectAll();
    QTest::keyClick(d.edShields, Qt::Key_Delete);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("%"));
    EXPECT_EQ(d.edShields->cursorPosition(), 0);
    // Typing goes in before the "%".
    QTest::keyClicks(d.edShields, QStringLiteral("42"));
    EXPECT_EQ(d.edShields->text(), QStringLiteral("42%"));
    QTest::mouseClick(d.btOk, Qt::LeftButton);
    EXPECT_EQ(d.Value(), 42);
}

TEST_F(ShieldsDialog, TheSpinButtonsAndArrowKeysStepByOneWithinTheRange)
{
    d.PreparePercentage(98);
    d.show();
    QToolButton *up = SpinButton(d.udShields, Qt::UpArrow);
    QToolButton *down = SpinButton(d.udShields, Qt::DownArrow);
    ASSERT_TRUE(up && down);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(d.Value(), 99);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("99%"));
    // No wrap-around at the top.
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(d.Value(), 99);
    QTest::keyClick(d.edShields, Qt::Key_Down);
    EXPECT_EQ(d.Value(), 98);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("98%"));
    // A step starts from the number typed, the percent sign or not.
    d.edShields->setText(QStringLiteral("40%"));
    QTest::keyClick(d.edShields, Qt::Key_Down);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("39%"));

    d.PrepareFixed(2);
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(d.Value(), 1);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("1"));
    QTest::keyClick(d.edShields, Qt::Key_Down);
    EXPECT_EQ(d.Value(), 1);
    QTest::keyClick(d.edShields, Qt::Key_Up);
    QTest::keyClick(d.edShields, Qt::Key_Up);
    EXPECT_EQ(d.Value(), 3);
    EXPECT_EQ(d.edShields->text(), QStringLiteral("3"));
    d.PrepareFixed(4096);
    QTest::keyClick(d.edShields, Qt::Key_Up);
    EXPECT_EQ(d.Value(), 4096);
}

TEST_F(ShieldsDialog, EnterIsOkAndEscapeIsCancel)
{
    d.PreparePercentage(50);
    EXPECT_TRUE(WhileModal(
        d,
        [&] {
            d.edShields->setText(QStringLiteral("12%"));
            QTest::keyClick(d.edShields, Qt::Key_Return);
        },
        [&] { EXPECT_EQ(d.exec(), QDialog::Accepted); }));
    EXPECT_EQ(d.Value(), 12);

    d.PreparePercentage(50);
    EXPECT_TRUE(WhileModal(
        d,
        [&] {
            d.edShields->setText(QStringLiteral("12%"));
            QTest::keyClick(d.edShields, Qt::Key_Escape);
        },
        [&] { EXPECT_EQ(d.exec(), QDialog::Rejected); }));
}

// --- Opened from the Shields submenu ----------------------------------------

using ShieldsDialogFromMenu = DialogWindowTest;

TEST_F(ShieldsDialogFromMenu, OkOnACustomPercentageChoosesIt)
{
    TfrmKorvane &w = OpenWithDialogs();
    w.miFixed5->trigger();
    QRect expected;
    QRect placed;
    ASSERT_TRUE(WhileModal(
        *Shields,
        [&] {
            const QRect m = w.frameGeometry();
            const QRect r = Shields->frameGeometry();
            expected = QRect(m.left() + m.width() / 2 - r.width() / 2,
                             m.top() + m.height() / 2 - r.height() / 2, r.width(), r.height());
            placed = r;
            EXPECT_EQ(Shields->lbType->text(), QStringLiteral("Percentage"));
            EXPECT_EQ(Shields->edShields->text(), QStringLiteral("50%"));
            Shields->edShields->selectAll();
            QTest::keyClicks(Shields->edShields, QStringLiteral("35"));
            EXPECT_EQ(Shields->edShields->text(), QStringLiteral("35%"));
            QTest::mouseClick(Shields->btOk, Qt::LeftButton);
        },
        [&] { w.miPercentageSelectClick(); }));
    EXPECT_EQ(placed, expected);
    EXPECT_EQ(Tag(w.miPercentageCustom), 35);
    EXPECT_EQ(w.miPercentageCustom->text(), QStringLiteral("35%"));
    EXPECT_TRUE(w.miPercentageCustom->isChecked());
    EXPECT_TRUE(w.miPercentage->isChecked());
    for (QAction *item : {w.miFixed, w.miFixed2, w.miFixed3, w.miFixed4, w.miFixed5,
                          w.miFixedCustom, w.miSingle, w.miMaximum})
        EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
    EXPECT_EQ(w.ComputeShields(100), 35);
}

TEST_F(ShieldsDialogFromMenu, CancelChangesNothing)
{
    TfrmKorvane &w = OpenWithDialogs();
    w.miFixed5->trigger();
    for (auto cancel : {+[](TfrmShields &s) { QTest::mouseClick(s.btCancel, Qt::LeftButton); },
                        +[](TfrmShields &s) { QTest::keyClick(s.edShields, Qt::Key_Escape); }}) {
        ASSERT_TRUE(WhileModal(
            *Shields,
            [&] {
                Shields->edShields->setText(QStringLiteral("35%"));
                cancel(*Shields);
            },
            [&] { w.miPercentageSelect->trigger(); }));
        EXPECT_EQ(Tag(w.miPercentageCustom), 50);
        EXPECT_EQ(w.miPercentageCustom->text(), QStringLiteral("50%"));
        EXPECT_FALSE(w.miPercentageCustom->isChecked());
        EXPECT_FALSE(w.miPercentage->isChecked());
        EXPECT_TRUE(w.miFixed->isChecked());
        EXPECT_TRUE(w.miFixed5->isChecked());
        EXPECT_EQ(w.ComputeShields(100), 5);
    }
}

TEST_F(ShieldsDialogFromMenu, OkOnACustomCountChoosesItAndAppliesToTheGame)
{
    TfrmKorvane &w = OpenWithDialogs();
    w.miPercentage20->trigger();
    Play({
        "#######",
        "#*****#",
        "#.....#",
        "#.....#",
        "#######",
    });
    ASSERT_TRUE(WhileModal(
        *Shields,
        [&] {
            EXPECT_EQ(Shields->lbType->text(), QStringLiteral("Fixed"));
            EXPECT_EQ(Shields->edShields->text(), QStringLiteral("10"));
            Shields->edShields->setText(QStringLiteral("3"));
            QTest::keyClick(Shields->edShields, Qt::Key_Return);
        },
        [&] { w.miFixedSelect->trigger(); }));
    EXPECT_EQ(Tag(w.miFixedCustom), 3);
    EXPECT_EQ(w.miFixedCustom->text(), QStringLiteral("3"));
    EXPECT_TRUE(w.miFixedCustom->isChecked());
    EXPECT_TRUE(w.miFixed->isChecked());
    EXPECT_FALSE(w.miPercentage->isChecked());
    EXPECT_FALSE(w.miPercentage20->isChecked());
    // The game in progress now ends at the third hit.
    int hits = 0;
    for (int x = 1; x <= 5 && !w.Game->IsLost(); ++x) {
        ASSERT_TRUE(w.Game->OpenCell(x, 1));
        ++hits;
    }
    EXPECT_EQ(hits, 3);
    EXPECT_EQ(w.ComputeShields(10), 3);
}

TEST_F(ShieldsDialogFromMenu, ACustomCountOf5000FromTheFileShowsAs4096)
{
    WriteSettings(QStringLiteral("[Shields]\nCustomFixed=5000\n"));
    TfrmKorvane &w = OpenWithDialogs();
    ASSERT_EQ(w.miFixedCustom->text(), QStringLiteral("5000"));
    ASSERT_TRUE(WhileModal(
        *Shields,
        [&] {
            EXPECT_EQ(Shields->edShields->text(), QStringLiteral("4096"));
            EXPECT_EQ(Shields->Value(), 4096);
            Shields->reject();
        },
        [&] { w.miFixedSelectClick(); }));
    EXPECT_EQ(Tag(w.miFixedCustom), 5000);
    ASSERT_TRUE(WhileModal(
        *Shields, [&] { QTest::mouseClick(Shields->btOk, Qt::LeftButton); },
        [&] { w.miFixedSelectClick(); }));
    EXPECT_EQ(Tag(w.miFixedCustom), 4096);
    EXPECT_EQ(w.miFixedCustom->text(), QStringLiteral("4096"));
}

// Typing replaces the number from the first opening on, in both modes.
TEST_F(ShieldsDialogFromMenu, EveryOpeningSelectsTheNumberSoTypingReplacesIt)
{
    TfrmKorvane &w = OpenWithDialogs();
    const struct
    {
        QAction *select;
        const char *selected, *typed;
        QAction *custom;
        int value;
    } openings[] {
        {w.miPercentageSelect, "50", "25", w.miPercentageCustom, 25},
        {w.miFixedSelect, "10", "7", w.miFixedCustom, 7},
        {w.miPercentageSelect, "25", "30", w.miPercentageCustom, 30},
        {w.miFixedSelect, "7", "12", w.miFixedCustom, 12},
    };
    for (const auto &o : openings) {
        QString selected;
        ASSERT_TRUE(WhileModal(
            *Shields,
            [&] {
                selected = Shields->edShields->selectedText();
                QTest::keyClicks(Shields->edShields, QString::fromLatin1(o.typed));
                QTest::keyClick(Shields->edShields, Qt::Key_Return);
            },
            [&] { o.select->trigger(); }));
        EXPECT_EQ(selected, QString::fromLatin1(o.selected));
        EXPECT_EQ(Tag(o.custom), o.value);
    }
}
