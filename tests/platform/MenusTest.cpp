// SPDX-License-Identifier: GPL-3.0-or-later
// Check marks and radio groups of menu items, which hold the program's options.
#include "Menus.h"
#include "Look.h"

#include <QApplication>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QStyleOption>
#include <gtest/gtest.h>

#include <climits>
#include <memory>

using namespace korvane;

namespace {

QList<bool> Marks(const QList<QAction *> &items)
{
    QList<bool> marks;
    for (const QAction *item : items)
        marks << item->isChecked();
    return marks;
}

class MenusTest : public testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
            GroupOne << AddCheckItem(&Menu, QStringLiteral("one %1").arg(i), 1, i);
        for (int i = 0; i < 2; ++i)
            GroupTwo << AddCheckItem(&Menu, QStringLiteral("two %1").arg(i), 2, 10 + i);
        Sub = Menu.addMenu(QStringLiteral("Sub"));
        for (int i = 0; i < 2; ++i)
            SubGroupOne << AddCheckItem(Sub, QStringLiteral("sub %1").arg(i), 1, 20 + i);
        Alone = AddCheckItem(&Menu, QStringLiteral("alone"));
    }

    QMenu Menu;
    QMenu *Sub = nullptr;
    QList<QAction *> GroupOne;
    QList<QAction *> GroupTwo;
    QList<QAction *> SubGroupOne;
    QAction *Alone = nullptr;
};

} // namespace

TEST_F(MenusTest, ItemsAreCheckableUncheckedTaggedAndInOrder)
{
    const QList<QAction *> items = Menu.actions();
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[0], GroupOne[0]);
    EXPECT_EQ(items[4], GroupTwo[1]);
    EXPECT_EQ(items[6], Alone);
    for (const QAction *item : GroupOne + GroupTwo + SubGroupOne + QList<QAction *> {Alone}) {
        EXPECT_TRUE(item->isCheckable());
        EXPECT_FALSE(item->isChecked());
    }
    EXPECT_EQ(Tag(GroupOne[2]), 2);
    EXPECT_EQ(Tag(GroupTwo[1]), 11);
    EXPECT_EQ(Tag(Alone), 0);
    EXPECT_EQ(GroupOne[1]->text(), QStringLiteral("one 1"));
    EXPECT_EQ(Alone->actionGroup(), nullptr);
}

TEST_F(MenusTest, SetTagKeepsAnyNumber)
{
    for (int tag : {0, 1, -3, 35, INT_MAX, INT_MIN}) {
        SetTag(Alone, tag);
        EXPECT_EQ(Tag(Alone), tag);
    }
}

TEST_F(MenusTest, RadioGroupIsOnePerMenuAndIndex)
{
    EXPECT_EQ(RadioGroup(&Menu, 1), GroupOne[0]->actionGroup());
    EXPECT_EQ(GroupOne[0]->actionGroup(), GroupOne[2]->actionGroup());
    EXPECT_NE(GroupOne[0]->actionGroup(), GroupTwo[0]->actionGroup());
    EXPECT_NE(GroupOne[0]->actionGroup(), SubGroupOne[0]->actionGroup());
    EXPECT_EQ(RadioGroup(Sub, 1), SubGroupOne[1]->actionGroup());
}

TEST_F(MenusTest, CheckingARadioItemUnchecksOnlyItsOwnGroup)
{
    GroupTwo[0]->setChecked(true);
    SubGroupOne[1]->setChecked(true);
    Alone->setChecked(true);
    GroupOne[0]->setChecked(true);
    GroupOne[2]->setChecked(true);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, false, true}));
    EXPECT_EQ(Marks(GroupTwo), QList<bool>({true, false}));
    EXPECT_EQ(Marks(SubGroupOne), QList<bool>({false, true}));
    EXPECT_TRUE(Alone->isChecked());

    GroupOne[1]->setChecked(true);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, true, false}));
    SubGroupOne[0]->setChecked(true);
    EXPECT_EQ(Marks(SubGroupOne), QList<bool>({true, false}));
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, true, false}));
}

TEST_F(MenusTest, ProgramCanUncheckTheCheckedRadioItem)
{
    GroupOne[1]->setChecked(true);
    GroupOne[1]->setChecked(false);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, false, false}));
    // Unchecking an item that is not checked changes nothing either.
    GroupOne[2]->setChecked(true);
    GroupOne[0]->setChecked(false);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, false, true}));
}

// The settings reader sets the marks one after another: the last true wins, and
// all false leaves none checked.
TEST_F(MenusTest, SettingMarksInTurnLeavesTheLastTrueChecked)
{
    const QList<bool> stored = {true, false, true};
    for (int i = 0; i < 3; ++i)
        GroupOne[i]->setChecked(stored[i]);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, false, true}));
    for (int i = 0; i < 3; ++i)
        GroupOne[i]->setChecked(false);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, false, false}));
}

TEST_F(MenusTest, ClickOnAnUncheckedRadioItemChecksItOnce)
{
    GroupOne[0]->setChecked(true);
    QSignalSpy toggled(GroupOne[2], &QAction::toggled);
    QSignalSpy triggered(GroupOne[2], &QAction::triggered);
    GroupOne[2]->trigger();
    ASSERT_EQ(toggled.size(), 1);
    EXPECT_TRUE(toggled[0][0].toBool());
    ASSERT_EQ(triggered.size(), 1);
    EXPECT_TRUE(triggered[0][0].toBool());
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, false, true}));
}

TEST_F(MenusTest, ClickOnTheCheckedRadioItemKeepsItChecked)
{
    GroupOne[1]->setChecked(true);
    QSignalSpy toggled(GroupOne[1], &QAction::toggled);
    GroupOne[1]->trigger();
    EXPECT_EQ(toggled.size(), 0);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, true, false}));
}

TEST_F(MenusTest, ClickOnACheckItemFlipsItsMarkOnce)
{
    Alone->setChecked(true);
    QSignalSpy toggled(Alone, &QAction::toggled);
    bool seenInHandler = true;
    QObject::connect(Alone, &QAction::triggered, [&] { seenInHandler = Alone->isChecked(); });
    Alone->trigger();
    ASSERT_EQ(toggled.size(), 1);
    EXPECT_FALSE(toggled[0][0].toBool());
    EXPECT_FALSE(Alone->isChecked());
    // The handler already sees the new mark.
    EXPECT_FALSE(seenInHandler);
    Alone->trigger();
    EXPECT_EQ(toggled.size(), 2);
    EXPECT_TRUE(Alone->isChecked());
    EXPECT_TRUE(seenInHandler);
}

TEST_F(MenusTest, ItemsAddedLaterJoinTheExistingGroup)
{
    GroupOne[0]->setChecked(true);
    QAction *late = AddCheckItem(&Menu, QStringLiteral("late"), 1, 99);
    EXPECT_EQ(late->actionGroup(), GroupOne[0]->actionGroup());
    late->setChecked(true);
    EXPECT_EQ(Marks(GroupOne), QList<bool>({false, false, false}));
    EXPECT_EQ(Tag(late), 99);
}

TEST(Menus, GroupsOfDifferentMenusAreIndependent)
{
    QMenu first;
    QMenu second;
    QAction *a = AddCheckItem(&first, QStringLiteral("a"), 3, 0);
    QAction *b = AddCheckItem(&second, QStringLiteral("b"), 3, 0);
    a->setChecked(true);
    b->setChecked(true);
    EXPECT_TRUE(a->isChecked());
    EXPECT_TRUE(b->isChecked());
}

TEST(Menus, GroupIndexZeroIsAGroup)
{
    QMenu menu;
    QAction *a = AddCheckItem(&menu, QStringLiteral("a"), 0);
    QAction *b = AddCheckItem(&menu, QStringLiteral("b"), 0);
    a->setChecked(true);
    b->setChecked(true);
    EXPECT_FALSE(a->isChecked());
}

TEST(Menus, CaptionIsShownVerbatim)
{
    QMenu menu;
    QAction *item = AddCheckItem(&menu, QStringLiteral("Ice.age"), 3, 0);
    EXPECT_EQ(item->text(), QStringLiteral("Ice.age"));
}

// The program's style draws the menu bar's overflow arrow from Qt's own
// pictures, through its own decoder: every size and pixel as Fusion has them,
// in either writing direction.
TEST(Menus, TheOverflowArrowIsFusions)
{
    const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    const std::unique_ptr<QStyle> look(CreateLook());
    const auto pixels = [](const QIcon &icon, QSize size) {
        return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    for (const Qt::LayoutDirection direction : {Qt::LeftToRight, Qt::RightToLeft}) {
        QApplication::setLayoutDirection(direction);
        QStyleOption option;
        option.direction = direction;
        const QStyleOption *const options[] {nullptr, &option};
        for (const QStyleOption *given : options) {
            const QIcon want
                = fusion->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, given);
            const QIcon got
                = look->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, given);
            ASSERT_EQ(got.availableSizes(), want.availableSizes()) << direction;
            ASSERT_EQ(want.availableSizes().size(), 3);
            for (const QSize size : want.availableSizes())
                EXPECT_EQ(pixels(got, size), pixels(want, size)) << direction << size.width();
        }
    }
    QApplication::setLayoutDirection(Qt::LeftToRight);
    // Every other picture is Fusion's own.
    EXPECT_EQ(pixels(look->standardIcon(QStyle::SP_TitleBarCloseButton), QSize(16, 16)),
              pixels(fusion->standardIcon(QStyle::SP_TitleBarCloseButton), QSize(16, 16)));
}
