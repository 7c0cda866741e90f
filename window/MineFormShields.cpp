// SPDX-License-Identifier: GPL-3.0-or-later
// The Shields submenu: how many bomb hits end a game.
#include "MineForm.h"

#include "Menus.h"
#include "MineShields.h"
#include "SpinField.h"

#include <QMenuBar>

using namespace korvane;

void TfrmKorvane::CreateShieldsMenu()
{
    miShields = Options1->addMenu(QStringLiteral("S&hields"));
    auto shieldItem = [this](QMenu *menu, const QString &caption, int tag) {
        QAction *item = AddCheckItem(menu, caption, 0, tag);
        connect(item, &QAction::triggered, this, [this, item] { ShieldClick(item); });
        return item;
    };
    miSingle = shieldItem(miShields, QStringLiteral("Single"), 1);
    miMaximum = shieldItem(miShields, QStringLiteral("Maximum"), 0);

    // "Percentage" and "Fixed" open submenus and carry a radio mark of their
    // own: four standard entries, a separator, the custom entry and "Custom...".
    struct Family
    {
        const char *caption;
        QMenu **menu;
        QAction **item;
        QAction **entries[4];
        QAction **custom;
        QAction **select;
        void (TfrmKorvane::*onSelect)();
        int tags[5]; // the four entries' and the custom entry's first
        const char *suffix;
    };
    const Family families[] {
        {"Percentage",
         &miPercentageMenu,
         &miPercentage,
         {&miPercentage10, &miPercentage20, &miPercentage30, &miPercentage40},
         &miPercentageCustom,
         &miPercentageSelect,
         &TfrmKorvane::miPercentageSelectClick,
         {10, 20, 30, 40, 50},
         "%"},
        {"Fixed",
         &miFixedMenu,
         &miFixed,
         {&miFixed2, &miFixed3, &miFixed4, &miFixed5},
         &miFixedCustom,
         &miFixedSelect,
         &TfrmKorvane::miFixedSelectClick,
         {2, 3, 4, 5, 10},
         ""},
    };
    for (const Family &f : families) {
        QMenu *menu = miShields->addMenu(QString::fromLatin1(f.caption));
        *f.menu = menu;
        *f.item = menu->menuAction();
        (*f.item)->setCheckable(true);
        SetTag(*f.item, 0);
        RadioGroup(miShields, 0)->addAction(*f.item);
        auto caption = [&f](int tag) { return QString::number(tag) + QLatin1String(f.suffix); };
        for (int i = 0; i < 4; ++i)
            *f.entries[i] = shieldItem(menu, caption(f.tags[i]), f.tags[i]);
        menu->addSeparator();
        *f.custom = shieldItem(menu, caption(f.tags[4]), f.tags[4]);
        *f.select = menu->addAction(QStringLiteral("Custom..."));
        connect(*f.select, &QAction::triggered, this, f.onSelect);
    }
}

int TfrmKorvane::ComputeShields(int bombs) const
{
    if (miSingle->isChecked())
        return 1;
    if (miMaximum->isChecked())
        return bombs < std::numeric_limits<int>::max() ? bombs + 1 : bombs;
    if (miFixed->isChecked()) {
        const QAction *item = FirstChecked(miFixedMenu);
        // A count of 0 or less, possible only from an edited settings file,
        // would lose the game before its first move.
        return item ? std::max(1, Tag(item)) : 1;
    }
    if (miPercentage->isChecked()) {
        const QAction *item = FirstChecked(miPercentageMenu);
        if (!item)
            return 1;
        // In 64 bits: a percentage read from the settings file may be huge.
        const qint64 s = qint64 {bombs} * Tag(item) / 100;
        return static_cast<int>(std::clamp<qint64>(s, 1, std::numeric_limits<int>::max()));
    }
    return 1;
}

void TfrmKorvane::ShieldClick(QAction *sender)
{
    sender->setChecked(true);
    QMenu *parent = qobject_cast<QMenu *>(sender->parent());
    if (parent == miPercentageMenu)
        miPercentage->setChecked(true);
    else if (parent == miFixedMenu)
        miFixed->setChecked(true);
    if (parent != miFixedMenu) {
        for (QAction *item : miFixedMenu->actions())
            item->setChecked(false);
    }
    if (parent != miPercentageMenu) {
        for (QAction *item : miPercentageMenu->actions())
            item->setChecked(false);
    }
    if (!Game || Game->IsFinished())
        return;
    const int s = ComputeShields(Game->BombCount());
    Game->SetShields(s > Game->ExplodedCount() ? s : Game->ExplodedCount() + 1);
}

// Asks for a custom percentage or count; on OK it becomes the custom item's
// value and caption, and the selection.
void TfrmKorvane::SelectCustomShields(QAction *custom, bool percentage)
{
    TfrmShields &d = ShieldsDialog();
    CentreOnWindow(&d);
    if (percentage)
        d.PreparePercentage(Tag(custom));
    else
        d.PrepareFixed(Tag(custom));
    if (d.exec() != QDialog::Accepted)
        return;
    const int v = d.Value();
    SetTag(custom, v);
    custom->setText(QString::number(v) + (percentage ? QStringLiteral("%") : QString()));
    ShieldClick(custom);
}

void TfrmKorvane::miPercentageSelectClick()
{
    SelectCustomShields(miPercentageCustom, true);
}

void TfrmKorvane::miFixedSelectClick()
{
    SelectCustomShields(miFixedCustom, false);
}
