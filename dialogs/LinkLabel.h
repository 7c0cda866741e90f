// SPDX-License-Identifier: GPL-3.0-or-later
// A label that acts as a hyperlink: coloured, with a hand cursor, a sound on
// enter and click, and the link opened with the desktop's default handler.
#pragma once

#include <QColor>
#include <QLabel>

namespace korvane {
class Desktop;
}

enum TLinkType {
    ltHTTP,
    ltMAILTO,
    ltFTP,
    ltHTTPS,
    ltNews,
    ltTELNET,
    ltWAIS,
    ltGOPHER,
    ltFILE,
    ltCUSTOM,
    ltNone
};

class TLinkLabel : public QLabel
{
    Q_OBJECT

public:
    TLinkLabel(korvane::Desktop &desktop, QWidget *parent = nullptr);

    TLinkType LinkType() const { return FLinkType; }
    void SetLinkType(TLinkType type);
    QString LinkProtocol() const { return FLinkProtocol; }
    void SetLinkProtocol(const QString &protocol);
    QString LinkDestination() const { return FLinkDestination; }
    void SetLinkDestination(const QString &destination);
    QColor LinkColor() const { return FLinkColor; }
    void SetLinkColor(const QColor &color);

    QColor LinkColorMouseMove = Qt::red;
    bool LinkMagnet = true;
    bool LinkSound = true;

    static TLinkType LinkTypeOfProtocol(const QString &protocol);
    static QString Prefix(TLinkType type);
    QColor FontColor() const;

signals:
    // Just before the link is opened, so that its target can be made ready.
    void opening();
    void clicked();

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void SetFontColor(const QColor &color);

    korvane::Desktop &FDesktop;
    TLinkType FLinkType = ltMAILTO;
    QString FLinkProtocol = QStringLiteral("mailto:");
    QString FLinkDestination = QStringLiteral("someone@example.org");
    QColor FLinkColor = Qt::blue;
    // True while the magnet has the label moved out; Qt may repeat an entry
    // or drop a leave, and the label must still come back to its place.
    bool FMagnetOut = false;
};
