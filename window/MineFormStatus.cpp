// SPDX-License-Identifier: GPL-3.0-or-later
// The status bar: flags, opened cells, how much is known and the chances.
#include "MineForm.h"

void TfrmKorvane::UpdateStatusBar()
{
    if (!sbInfo->isVisibleTo(this))
        return;
    const MineGame &g = *Game;
    // Products in 64 bits: a very large field passes 2^31 at "x 100".
    const qint64 countable = g.CountableCells();
    const qint64 known = g.IsWon() || countable <= 0
        ? 100
        : (qint64 {g.OpenedCount()} + g.FlagCount()) * 100 / countable;
    const qint64 rest = countable - g.OpenedCount() - g.FlagCount();
    const qint64 chances = rest == 0 ? 0 : qint64 {g.BombsLeft()} * 100 / rest;
    const QString texts[4] {
        QStringLiteral("Flags: %1").arg(g.FlagCount()),
        QStringLiteral("Open: %1").arg(g.OpenedCount()),
        QStringLiteral("Known: %1%").arg(known),
        QStringLiteral("Chances: %1%").arg(chances),
    };
    int widths[4];
    for (int i = 0; i < 4; ++i)
        widths[i] = sbInfo->TextWidth(i, texts[i]) + 7;
    widths[0] -= 2;

    // The last panel that fits whole stretches over the bar, pushing the rest out.
    const int barWidth = sbInfo->width();
    int sum = 0;
    for (int i = 0; i < 4; ++i) {
        sum += widths[i];
        if (sum >= barWidth) {
            if (i > 0)
                widths[i - 1] = barWidth;
            break;
        }
    }
    for (int i = 0; i < 4; ++i)
        sbInfo->SetPanel(i, texts[i], widths[i]);
}

void TfrmKorvane::miStatusClick()
{
    const bool shown = miStatus->isChecked();
    sbInfo->setVisible(shown);
    // Only the bottom edge moves: the field and the displays stay put.
    const QPoint topLeft = pos();
    setFixedHeight(height() + (shown ? sbInfo->height() : -sbInfo->height()));
    move(topLeft);
    if (shown)
        UpdateStatusBar();
}
