// SPDX-License-Identifier: GPL-3.0-or-later
// The hyperlink label: its property rules, its colour and place under the
// mouse, and what a click plays and opens.
#include "LinkLabel.h"
#include "RecordingDesktop.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace korvane;

namespace {

class LinkLabelTest : public testing::Test
{
protected:
    LinkLabelTest()
    {
        window.resize(300, 100);
        label = new TLinkLabel(desktop, &window);
        label->setGeometry(40, 30, 120, 16);
        window.show();
    }

    void Enter()
    {
        QEnterEvent event(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(label, &event);
    }

    void Leave()
    {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(label, &event);
    }

    void Click() { QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5)); }

    RecordingDesktop desktop;
    QWidget window;
    TLinkLabel *label = nullptr;
};

const std::pair<TLinkType, const char *> Prefixes[] {
    {ltHTTP, "http://"},   {ltMAILTO, "mailto:"}, {ltFTP, "ftp://"},
    {ltHTTPS, "https://"}, {ltNews, "news:"},     {ltTELNET, "telnet:"},
    {ltWAIS, "wais:"},     {ltGOPHER, "gopher:"}, {ltFILE, "file://"},
};

} // namespace

TEST_F(LinkLabelTest, StartsAsABlueUnderlinedMailLink)
{
    EXPECT_EQ(label->LinkType(), ltMAILTO);
    EXPECT_EQ(label->LinkProtocol(), QStringLiteral("mailto:"));
    EXPECT_FALSE(label->LinkDestination().isEmpty());
    EXPECT_EQ(label->FontColor(), QColor(Qt::blue));
    EXPECT_EQ(label->LinkColor(), QColor(Qt::blue));
    EXPECT_EQ(label->LinkColorMouseMove, QColor(Qt::red));
    EXPECT_TRUE(label->font().underline());
    EXPECT_TRUE(label->LinkMagnet);
    EXPECT_TRUE(label->LinkSound);
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(LinkLabelTest, EachKindWithAPrefixSetsTheProtocol)
{
    for (const auto &[type, prefix] : Prefixes) {
        label->SetLinkType(type);
        EXPECT_EQ(label->LinkType(), type);
        EXPECT_EQ(label->LinkProtocol(), QString::fromLatin1(prefix));
        EXPECT_EQ(TLinkLabel::LinkTypeOfProtocol(QString::fromLatin1(prefix)), type) << prefix;
    }
}

TEST_F(LinkLabelTest, LinkTypeOfProtocolWantsAnExactPrefix)
{
    EXPECT_EQ(TLinkLabel::LinkTypeOfProtocol(QString()), ltNone);
    EXPECT_EQ(TLinkLabel::LinkTypeOfProtocol(QStringLiteral("irc:")), ltCUSTOM);
    EXPECT_EQ(TLinkLabel::LinkTypeOfProtocol(QStringLiteral("HTTP://")), ltCUSTOM);
    EXPECT_EQ(TLinkLabel::LinkTypeOfProtocol(QStringLiteral("http:")), ltCUSTOM);
    EXPECT_EQ(TLinkLabel::LinkTypeOfProtocol(QStringLiteral("http:// ")), ltCUSTOM);
}

TEST_F(LinkLabelTest, NoneClearsProtocolAndDestinationAndCustomKeepsTheProtocol)
{
    label->SetLinkProtocol(QStringLiteral("gemini://"));
    label->SetLinkDestination(QStringLiteral("example.org"));
    EXPECT_EQ(label->LinkType(), ltCUSTOM);
    label->SetLinkType(ltHTTP);
    label->SetLinkType(ltCUSTOM);
    EXPECT_EQ(label->LinkType(), ltCUSTOM);
    EXPECT_EQ(label->LinkProtocol(), QStringLiteral("http://"));
    EXPECT_EQ(label->LinkDestination(), QStringLiteral("example.org"));
    label->SetLinkType(ltNone);
    EXPECT_EQ(label->LinkType(), ltNone);
    EXPECT_TRUE(label->LinkProtocol().isEmpty());
    EXPECT_TRUE(label->LinkDestination().isEmpty());
}

TEST_F(LinkLabelTest, SettingTheSameTypeChangesNothing)
{
    label->SetLinkProtocol(QStringLiteral("irc:"));
    ASSERT_EQ(label->LinkType(), ltCUSTOM);
    label->SetLinkType(ltCUSTOM);
    EXPECT_EQ(label->LinkProtocol(), QStringLiteral("irc:"));
    label->SetLinkType(ltNone);
    label->SetLinkDestination(QStringLiteral("x.org"));
    label->SetLinkType(ltNone); // already none: the destination stays
    EXPECT_EQ(label->LinkDestination(), QStringLiteral("x.org"));
}

TEST_F(LinkLabelTest, TheProtocolIsStoredInLowerCaseAndSetsTheType)
{
    label->SetLinkProtocol(QStringLiteral("HTTPS://"));
    EXPECT_EQ(label->LinkProtocol(), QStringLiteral("https://"));
    EXPECT_EQ(label->LinkType(), ltHTTPS);
    label->SetLinkProtocol(QStringLiteral("IRC:"));
    EXPECT_EQ(label->LinkProtocol(), QStringLiteral("irc:"));
    EXPECT_EQ(label->LinkType(), ltCUSTOM);
    label->SetLinkProtocol(QString());
    EXPECT_EQ(label->LinkType(), ltNone);
    EXPECT_TRUE(label->LinkDestination().isEmpty());
}

TEST_F(LinkLabelTest, ADestinationWithAPrefixTakesItsKind)
{
    for (const auto &[type, prefix] : Prefixes) {
        label->SetLinkType(ltNone);
        label->SetLinkDestination(QString::fromLatin1(prefix) + QStringLiteral("Host/Path"));
        EXPECT_EQ(label->LinkType(), type) << prefix;
        EXPECT_EQ(label->LinkProtocol(), QString::fromLatin1(prefix));
        // Every kind is stored in lower case but a file's path, whose case names the file.
        EXPECT_EQ(label->LinkDestination(),
                  type == ltFILE ? QStringLiteral("Host/Path") : QStringLiteral("host/path"));
    }
    // Only the first prefix goes.
    label->SetLinkDestination(QStringLiteral("http://http://a"));
    EXPECT_EQ(label->LinkDestination(), QStringLiteral("http://a"));
    EXPECT_EQ(label->LinkType(), ltHTTP);
}

TEST_F(LinkLabelTest, AMailtoDestinationOpensAsMail)
{
    label->SetLinkType(ltHTTP);
    label->SetLinkDestination(QStringLiteral("mailto:Someone@Example.ORG"));
    EXPECT_EQ(label->LinkType(), ltMAILTO);
    EXPECT_EQ(label->LinkProtocol(), QStringLiteral("mailto:"));
    EXPECT_EQ(label->LinkDestination(), QStringLiteral("someone@example.org"));
    Click();
    EXPECT_EQ(desktop.Opened, QStringList {QStringLiteral("mailto:someone@example.org")});
}

TEST_F(LinkLabelTest, AFileLinkOpensTheFileByItsOwnName)
{
    label->SetLinkDestination(QStringLiteral("FILE:///opt/Korvane/ReadMe.txt"));
    EXPECT_EQ(label->LinkType(), ltFILE);
    EXPECT_EQ(label->LinkDestination(), QStringLiteral("/opt/Korvane/ReadMe.txt"));
    label->SetLinkDestination(QStringLiteral("/opt/Korvane/Skins"));
    EXPECT_EQ(label->LinkType(), ltFILE);
    Click();
    EXPECT_EQ(desktop.Opened, QStringList {QStringLiteral("file:///opt/Korvane/Skins")});
}

TEST_F(LinkLabelTest, ADestinationWithoutAPrefixKeepsTypeAndProtocol)
{
    label->SetLinkType(ltFTP);
    label->SetLinkDestination(QStringLiteral("WWW.Example.ORG/Files"));
    EXPECT_EQ(label->LinkType(), ltFTP);
    EXPECT_EQ(label->LinkProtocol(), QStringLiteral("ftp://"));
    EXPECT_EQ(label->LinkDestination(), QStringLiteral("www.example.org/files"));
    Click();
    EXPECT_EQ(desktop.Opened, QStringList {QStringLiteral("ftp://www.example.org/files")});
}

TEST_F(LinkLabelTest, AnEmptyDestinationMakesNoLinkButTheClickStillSoundsAndReports)
{
    QSignalSpy clicked(label, &TLinkLabel::clicked);
    label->SetLinkDestination(QString());
    EXPECT_EQ(label->LinkType(), ltNone);
    EXPECT_TRUE(label->LinkProtocol().isEmpty());
    Click();
    EXPECT_TRUE(desktop.Opened.isEmpty());
    EXPECT_EQ(desktop.Sounds, QStringList {QStringLiteral("menu-popup")});
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(LinkLabelTest, AnUnknownProtocolOpensAsItIs)
{
    label->SetLinkDestination(QStringLiteral("Libera.Chat/#Korvane"));
    label->SetLinkProtocol(QStringLiteral("irc:"));
    EXPECT_EQ(label->LinkType(), ltCUSTOM);
    Click();
    EXPECT_EQ(desktop.Opened, QStringList {QStringLiteral("irc:libera.chat/#korvane")});
}

TEST_F(LinkLabelTest, AClickPlaysTheSoundOpensTheLinkAndReports)
{
    QSignalSpy clicked(label, &TLinkLabel::clicked);
    label->SetLinkDestination(QStringLiteral("http://www.example.org"));
    Click();
    EXPECT_EQ(desktop.Sounds, QStringList {QStringLiteral("menu-popup")});
    EXPECT_EQ(desktop.Opened, QStringList {QStringLiteral("http://www.example.org")});
    EXPECT_EQ(clicked.count(), 1);
    // Without sound, only the sound goes.
    label->LinkSound = false;
    Click();
    EXPECT_EQ(desktop.Sounds.size(), 1);
    EXPECT_EQ(desktop.Opened.size(), 2);
    EXPECT_EQ(clicked.count(), 2);
    // The right button is no click.
    QTest::mouseClick(label, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicked.count(), 2);
    // A press that moves off the link before its release opens nothing.
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(label, QPoint(-20, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-20, 5));
    EXPECT_EQ(desktop.Opened.size(), 2);
    EXPECT_EQ(clicked.count(), 2);
}

TEST_F(LinkLabelTest, TheMouseChangesTheColourAndTheMagnetUndoesItself)
{
    const QRect home = label->geometry();
    for (int i = 0; i < 5; ++i) {
        Enter();
        EXPECT_EQ(label->FontColor(), QColor(Qt::red));
        EXPECT_EQ(label->geometry(),
                  QRect(home.x() - 1, home.y() - 1, home.width() + 1, home.height() + 1));
        Leave();
        EXPECT_EQ(label->FontColor(), QColor(Qt::blue));
        EXPECT_EQ(label->geometry(), home);
    }
    // One sound per entry, none on leaving.
    EXPECT_EQ(desktop.Sounds, QStringList(5, QStringLiteral("menu-click")));
}

TEST_F(LinkLabelTest, ASecondEntryWithoutALeaveDoesNotMoveTheLabelAgain)
{
    const QRect home = label->geometry();
    Enter();
    Enter();
    EXPECT_EQ(label->geometry(), home.adjusted(-1, -1, 0, 0));
    Leave();
    EXPECT_EQ(label->geometry(), home);
    Leave();
    EXPECT_EQ(label->geometry(), home);
    EXPECT_EQ(label->FontColor(), QColor(Qt::blue));
}

TEST_F(LinkLabelTest, WithoutMagnetOrSoundOnlyTheColourFollowsTheMouse)
{
    label->LinkMagnet = false;
    label->LinkSound = false;
    label->SetLinkColor(QColor(0, 0, 0x80));
    label->LinkColorMouseMove = Qt::blue;
    EXPECT_EQ(label->FontColor(), QColor(0, 0, 0x80));
    const QRect home = label->geometry();
    Enter();
    EXPECT_EQ(label->FontColor(), QColor(Qt::blue));
    EXPECT_EQ(label->geometry(), home);
    Leave();
    EXPECT_EQ(label->FontColor(), QColor(0, 0, 0x80));
    EXPECT_TRUE(desktop.Sounds.isEmpty());
}

TEST_F(LinkLabelTest, AMouseReallyMovingInAndOutLeavesTheLabelInPlace)
{
    // Qt may report an entry twice, or miss a leave: the label moves out once.
    const QRect home = label->geometry();
    for (int i = 0; i < 3; ++i) {
        QTest::mouseMove(&window, home.center());
        QTest::mouseMove(&window, QPoint(5, 5));
    }
    QApplication::processEvents();
    EXPECT_EQ(label->geometry(), home);
    EXPECT_EQ(label->FontColor(), QColor(Qt::blue));
}
