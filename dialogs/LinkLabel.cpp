// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkLabel.h"

#include "Desktop.h"

#include <QMouseEvent>

namespace {

const char *const Prefixes[] {
    "http://", "mailto:", "ftp://", "https://", "news:", "telnet:", "wais:", "gopher:", "file://"};
constexpr int PrefixCount = 9;

} // namespace

TLinkLabel::TLinkLabel(korvane::Desktop &desktop, QWidget *parent)
    : QLabel(parent)
    , FDesktop(desktop)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    SetFontColor(FLinkColor);
    setCursor(Qt::PointingHandCursor);
    setText(QStringLiteral("someone@example.org"));
}

QString TLinkLabel::Prefix(TLinkType type)
{
    return type < PrefixCount ? QString::fromLatin1(Prefixes[type]) : QString();
}

TLinkType TLinkLabel::LinkTypeOfProtocol(const QString &protocol)
{
    for (int i = 0; i < PrefixCount; ++i) {
        if (protocol == QLatin1String(Prefixes[i]))
            return static_cast<TLinkType>(i);
    }
    return protocol.isEmpty() ? ltNone : ltCUSTOM;
}

void TLinkLabel::SetLinkType(TLinkType type)
{
    if (type == FLinkType)
        return;
    FLinkType = type;
    if (type < PrefixCount) {
        FLinkProtocol = Prefix(type);
    } else if (type == ltNone) {
        FLinkProtocol.clear();
        FLinkDestination.clear();
    }
}

void TLinkLabel::SetLinkProtocol(const QString &protocol)
{
    if (protocol == FLinkProtocol)
        return;
    FLinkProtocol = protocol.toLower();
    SetLinkType(LinkTypeOfProtocol(FLinkProtocol));
}

void TLinkLabel::SetLinkDestination(const QString &destination)
{
    if (destination == FLinkDestination)
        return;
    FLinkDestination = destination.toLower();
    for (int i = 0; i < PrefixCount; ++i) {
        const QString prefix = QString::fromLatin1(Prefixes[i]);
        if (FLinkDestination.startsWith(prefix)) {
            // File names keep their letter case: on this system a lower-cased
            // path names another file, or none.
            FLinkDestination = i == ltFILE ? destination.mid(prefix.size())
                                           : FLinkDestination.mid(prefix.size());
            FLinkType = static_cast<TLinkType>(i);
            FLinkProtocol = prefix;
            return;
        }
    }
    if (FLinkType == ltFILE)
        FLinkDestination = destination;
    if (FLinkDestination.isEmpty()) {
        FLinkType = ltNone;
        FLinkProtocol.clear();
    }
}

void TLinkLabel::SetLinkColor(const QColor &color)
{
    if (color == FLinkColor)
        return;
    FLinkColor = color;
    SetFontColor(color);
}

QColor TLinkLabel::FontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TLinkLabel::SetFontColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
    update();
}

void TLinkLabel::enterEvent(QEnterEvent *event)
{
    SetFontColor(LinkColorMouseMove);
    if (LinkMagnet && !FMagnetOut) {
        setGeometry(x() - 1, y() - 1, width() + 1, height() + 1);
        FMagnetOut = true;
    }
    if (LinkSound)
        FDesktop.PlaySound(QStringLiteral("menu-click"));
    QLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent *event)
{
    SetFontColor(FLinkColor);
    if (FMagnetOut) {
        setGeometry(x() + 1, y() + 1, width() - 1, height() - 1);
        FMagnetOut = false;
    }
    QLabel::leaveEvent(event);
}

void TLinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        if (LinkSound)
            FDesktop.PlaySound(QStringLiteral("menu-popup"));
        if (FLinkType != ltNone) {
            emit opening();
            FDesktop.OpenDefault(FLinkProtocol + FLinkDestination);
        }
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}
