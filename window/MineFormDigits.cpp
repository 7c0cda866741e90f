// SPDX-License-Identifier: GPL-3.0-or-later
// The two digit displays: bombs left and time, drawn glyph by glyph.
#include "MineForm.h"

QString TfrmKorvane::FormatCounter(int number) const
{
    QString text = QString::number(number);
    while (text.size() < DisplayDigits) {
        if (text.startsWith(u'-'))
            text.insert(1, u'0');
        else
            text.prepend(u'0');
    }
    return text;
}

QString TfrmKorvane::FormatTime(int seconds, bool minutes, int displayDigits)
{
    if (!minutes)
        return QString::number(seconds).rightJustified(displayDigits, u'0');
    const QString ss = QString::number(seconds % 60).rightJustified(2, u'0');
    if (seconds < 3600)
        return QString::number(seconds / 60) + u':' + ss;
    return QString::number(seconds / 3600) + u':'
        + QString::number(seconds % 3600 / 60).rightJustified(2, u'0') + u':' + ss;
}

namespace {

void DrawDigits(QImage &bitmap, const korvane::ImageList &glyphs, const QString &text, QChar sign,
                int signGlyph)
{
    const int w = glyphs.Width();
    const QSize size(static_cast<int>(text.size()) * w, glyphs.Height());
    if (bitmap.size() != size || bitmap.format() != QImage::Format_RGB32)
        bitmap = QImage(size, QImage::Format_RGB32);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const int glyph = c == sign ? signGlyph : c.digitValue();
        glyphs.Draw(bitmap, static_cast<int>(i) * w, 0, glyph);
    }
}

} // namespace

void TfrmKorvane::DrawCounterDigits(const QString &text)
{
    DrawDigits(CounterBitmap, ilDigits, text, u'-', 11);
}

void TfrmKorvane::DrawTimerDigits(const QString &text)
{
    FTimerText = text;
    DrawDigits(TimerBitmap, ilDigits, text, u':', 10);
}

void TfrmKorvane::RenderCounter()
{
    DrawCounterDigits(FormatCounter(Game->BombsLeft()));
}

void TfrmKorvane::RenderTimer()
{
    DrawTimerDigits(FormatTime(ElapsedSeconds, miMinutes->isChecked()));
}

void TfrmKorvane::ShowCounter()
{
    pbCounter->update();
}

void TfrmKorvane::ShowTimer()
{
    pbTimer->update();
}

void TfrmKorvane::UpdateCounterDisplay(const QString &oldText, const QString &newText)
{
    DrawCounterDigits(newText);
    if (oldText.size() != newText.size())
        LayoutWindow();
    ShowCounter();
}

void TfrmKorvane::UpdateTimerDisplay(const QString &oldText, const QString &newText)
{
    DrawTimerDigits(newText);
    if (oldText.size() != newText.size())
        LayoutWindow();
    ShowTimer();
}
