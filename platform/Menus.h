// SPDX-License-Identifier: GPL-3.0-or-later
// Menu items with an integer Tag, check marks and radio groups.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace korvane {

inline int Tag(const QAction *item)
{
    return item->data().toInt();
}

inline void SetTag(QAction *item, int tag)
{
    item->setData(tag);
}

// The radio group with this index among the items of parent: checking one of
// its items unchecks the others; the program may still uncheck the checked
// one and leave none checked.
QActionGroup *RadioGroup(QMenu *parent, int groupIndex);

// Adds an item to menu. Radio items (groupIndex >= 0) join that group of the
// menu; check items (groupIndex < 0) stand alone. Qt flips a check mark before
// the handler runs, so handlers read the mark rather than flip it again.
QAction *AddCheckItem(QMenu *menu, const QString &caption, int groupIndex = -1, int tag = 0);

// The first checked item of menu, in menu order, or none.
QAction *FirstChecked(const QMenu *menu);

} // namespace korvane
