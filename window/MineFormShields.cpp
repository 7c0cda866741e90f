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

    // "Percentage" and "Fixed" open submenus and carry a radio mark of their own.
    auto family = [this](const QString &caption, QMenu **menu, QAction **item) {
        *menu = miShields->addMenu(caption);
        *item = (*menu)->menuAction();
        (*item)->setCheckable(true);
        SetTag(*item, 0);
        RadioGroup(miShields, 0)->addAction(*item);
    };
    family(QStringLiteral("Percentage"), &miPercentageMenu, &miPercentage);
    miPercentage10 = shieldItem(miPercentageMenu, QStringLiteral("10%"), 10);
    miPercentage20 = shieldItem(miPercentageMenu, QStringLiteral("20%"), 20);
    miPercentage30 = shieldItem(miPercentageMenu, QStringLiteral("30%"), 30);
    miPercentage40 = shieldItem(miPercentageMenu, QStringLiteral("40%"), 40);
    miPercentageMenu->addSeparator();
    miPercentageCustom = shieldItem(miPercentageMenu, QStringLiteral("50%"), 50);
    miPercentageSelect = miPercentageMenu->addAction(QStringLiteral("Custom..."));
    connect(miPercentageSelect, &QAction::triggered, this, &TfrmKorvane::miPercentageSelectClick);

    family(QStringLiteral("Fixed"), &miFixedMenu, &miFixed);
    miFixed2 = shieldItem(miFixedMenu, QStringLiteral("2"), 2);
    miFixed3 = shieldItem(miFixedMenu, QStringLiteral("3"), 3);
    miFixed4 = shieldItem(miFixedMenu, QStringLiteral("4"), 4);
    miFixed5 = shieldItem(miFixedMenu, QStringLiteral("5"), 5);
    miFixedMenu->addSeparator();
    miFixedCustom = shieldItem(miFixedMenu, QStringLiteral("10"), 10);
    miFixedSelect = miFixedMenu->addAction(QStringLiteral("Custom..."));
    connect(miFixedSelect, &QAction::triggered, this, &TfrmKorvane::miFixedSelectClick);
}

namespace {

QAction *FirstChecked(const QMenu *menu)
{
    for (QAction *item : menu->actions()) {
        if (item->isCheckable() && item->isChecked())
            return item;
    }
    return nullptr;
}

} // namespace

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

void TfrmKorvane::CentreOnWindow(QWidget *dialog) const
{
    const QRect m = frameGeometry();
    const QRect d = dialog->frameGeometry();
    dialog->move(m.left() + m.width() / 2 - d.width() / 2,
                 m.top() + m.height() / 2 - d.height() / 2);
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
