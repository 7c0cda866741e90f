// SPDX-License-Identifier: GPL-3.0-or-later
#include "Menus.h"

namespace korvane {

QActionGroup *RadioGroup(QMenu *parent, int groupIndex)
{
    const QString name = QStringLiteral("radio-group-%1").arg(groupIndex);
    if (auto *group = parent->findChild<QActionGroup *>(name, Qt::FindDirectChildrenOnly))
        return group;
    auto *group = new QActionGroup(parent);
    group->setObjectName(name);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    return group;
}

QAction *AddCheckItem(QMenu *menu, const QString &caption, int groupIndex, int tag)
{
    QAction *item = menu->addAction(caption);
    item->setCheckable(true);
    SetTag(item, tag);
    if (groupIndex >= 0)
        RadioGroup(menu, groupIndex)->addAction(item);
    return item;
}

QAction *FirstChecked(const QMenu *menu)
{
    for (QAction *item : menu->actions()) {
        if (item->isCheckable() && item->isChecked())
            return item;
    }
    return nullptr;
}

} // namespace korvane
