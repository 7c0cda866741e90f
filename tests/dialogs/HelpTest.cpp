// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu: the About and Credits windows, where they open, and the
// read-me.
#include "DialogTestSupport.h"

#include "LinkLabel.h"
#include "MineAbout.h"
#include "MineCredits.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace korvane;
using namespace korvane::test;

namespace {

const QColor Navy(0, 0, 0x80);

QList<QFrame *> Separators(const QWidget &window)
{
    QList<QFrame *> lines;
    for (QFrame *f : window.findChildren<QFrame *>()) {
        if (f->frameShape() == QFrame::HLine)
            lines << f;
    }
    std::sort(lines.begin(), lines.end(), [](QFrame *a, QFrame *b) { return a->y() < b->y(); });
    return lines;
}

void ExpectSmallNavyLink(const TLinkLabel *link)
{
    EXPECT_EQ(link->font().pixelSize(), 11);
    EXPECT_EQ(link->LinkColor(), Navy);
    EXPECT_EQ(link->FontColor(), Navy);
    EXPECT_EQ(link->LinkColorMouseMove, QColor(Qt::blue));
    EXPECT_FALSE(link->LinkMagnet);
    EXPECT_TRUE(link->LinkSound);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
}

// A label's text must fit its width and stay inside the window.
void ExpectTextFits(const QLabel *label, const QWidget &window)
{
    if (!label->wordWrap()) {
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
            << label->text().toStdString();
    }
    EXPECT_LE(label->geometry().right(), window.width()) << label->text().toStdString();
}

} // namespace

class AboutWindow : public testing::Test
{
protected:
    RecordingDesktop desktop {QStringLiteral("/opt/game/korvane")};
    TfrmAbout about {desktop};
};

TEST_F(AboutWindow, ShowsNameVersionAndLinkInTheirPlaces)
{
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Oskavel"));
    EXPECT_EQ(about.size(), QSize(289, 165));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_FALSE(about.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(about.windowFlags() & Qt::WindowMinMaxButtonsHint);

    EXPECT_EQ(about.Image1->geometry(), QRect(8, 9, 35, 34));
    EXPECT_EQ(about.Image1->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(about.Label1->text(), QStringLiteral("Korvane"));
    EXPECT_EQ(about.Label1->pos(), QPoint(52, 12));
    EXPECT_TRUE(about.Label1->font().bold());
    EXPECT_EQ(about.Label1->font().pixelSize(), 19);
    EXPECT_EQ(about.lbVersion->text(), QStringLiteral("Version 1.14"));
    EXPECT_EQ(about.lbVersion->pos(), QPoint(52, 35));
    EXPECT_EQ(about.Label2->pos(), QPoint(52, 52));
    EXPECT_EQ(about.Label2->width(), 124);
    EXPECT_TRUE(about.Label2->wordWrap());
    EXPECT_FALSE(about.Label2->text().isEmpty());
    EXPECT_GE(about.Label2->height(), about.Label2->heightForWidth(124));

    const TLinkLabel *link = about.LinkLabel1;
    EXPECT_EQ(link->pos(), QPoint(52, 84));
    // No web page of its own: the link opens the read-me beside the program.
    EXPECT_EQ(link->LinkType(), ltFILE);
    EXPECT_EQ(link->LinkProtocol(), QStringLiteral("file://"));
    EXPECT_TRUE(link->LinkDestination().endsWith(QStringLiteral("/ReadMe.txt")));
    EXPECT_FALSE(link->LinkDestination().isEmpty());
    EXPECT_FALSE(link->font().underline());
    ExpectSmallNavyLink(link);

    auto *panel = qobject_cast<QFrame *>(about.Panel1);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->geometry(), QRect(51, 108, 222, 2));
    EXPECT_EQ(panel->frameShadow(), QFrame::Sunken);

    EXPECT_EQ(about.Button1->geometry(), QRect(213, 128, 61, 27));
    EXPECT_EQ(about.Button1->text(), QStringLiteral("OK"));
    EXPECT_TRUE(about.Button1->isDefault());

    for (const QLabel *label :
         {about.Label1, about.lbVersion, about.Label2, static_cast<QLabel *>(about.LinkLabel1)})
        ExpectTextFits(label, about);
    // The texts stay clear of one another.
    EXPECT_LE(about.Label1->geometry().bottom(), 35);
    EXPECT_LE(about.Label2->geometry().bottom(), 84);
    EXPECT_LE(link->geometry().bottom(), 108);
}

TEST_F(AboutWindow, TheLinkOpensThePage)
{
    about.show();
    QTest::mouseClick(about.LinkLabel1, Qt::LeftButton, {}, QPoint(3, 3));
    ASSERT_EQ(desktop.Opened.size(), 1);
    EXPECT_EQ(desktop.Opened.front(), QStringLiteral("file:///opt/game/ReadMe.txt"));
    EXPECT_EQ(desktop.Sounds, QStringList {QStringLiteral("menu-popup")});
}

TEST_F(AboutWindow, OkAndEscapeAndEnterClose)
{
    for (int way = 0; way < 3; ++way) {
        EXPECT_TRUE(WhileModal(
            about,
            [&] {
                if (way == 0)
                    QTest::mouseClick(about.Button1, Qt::LeftButton);
                else
                    QTest::keyClick(&about, way == 1 ? Qt::Key_Escape : Qt::Key_Return);
            },
            [&] { about.exec(); }));
        EXPECT_FALSE(about.isVisible());
    }
}

class CreditsWindow : public testing::Test
{
protected:
    RecordingDesktop desktop {QStringLiteral("/opt/game/korvane")};
    TfrmCredits credits {desktop};
};

TEST_F(CreditsWindow, ListsSevenEntriesBetweenSeparators)
{
    EXPECT_EQ(credits.windowTitle(), QStringLiteral("Credits"));
    EXPECT_EQ(credits.size(), QSize(272, 397));
    EXPECT_EQ(credits.minimumSize(), credits.maximumSize());
    EXPECT_FALSE(credits.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(credits.windowFlags() & Qt::WindowMinMaxButtonsHint);

    ASSERT_EQ(credits.Titles.size(), 7);
    ASSERT_EQ(credits.Lines.size(), 4);
    ASSERT_EQ(credits.Links.size(), 7);
    const int titles[] {8, 64, 120, 176, 232, 274, 316};
    const int lines[] {22, 78, 134, 190};
    const int links[] {36, 92, 148, 204, 246, 288, 330};
    for (int i = 0; i < 7; ++i) {
        const QLabel *title = credits.Titles[i];
        EXPECT_EQ(title->pos(), QPoint(32, titles[i])) << i;
        EXPECT_TRUE(title->font().bold());
        EXPECT_EQ(title->font().pixelSize(), 11);
        EXPECT_FALSE(title->text().trimmed().isEmpty());
        ExpectTextFits(title, credits);

        const TLinkLabel *link = credits.Links[i];
        EXPECT_EQ(link->pos(), QPoint(36, links[i])) << i;
        EXPECT_TRUE(link->text().startsWith(QStringLiteral("  "))) << i;
        // Library pages on the web; our own fonts and skins where they ship.
        EXPECT_EQ(link->LinkType(), i < 4 ? ltHTTP : ltFILE) << i;
        EXPECT_FALSE(link->LinkDestination().isEmpty()) << i;
        ExpectSmallNavyLink(link);
        ExpectTextFits(link, credits);
        // Each line ends before the next begins.
        EXPECT_LE(title->geometry().bottom(), title->y() + 14) << i;
    }
    for (int i = 0; i < 4; ++i) {
        const QLabel *line = credits.Lines[i];
        EXPECT_EQ(line->pos(), QPoint(32, lines[i])) << i;
        EXPECT_FALSE(line->font().bold());
        EXPECT_EQ(line->font().pixelSize(), 11);
        EXPECT_TRUE(line->text().startsWith(QStringLiteral("  "))) << i;
        ExpectTextFits(line, credits);
    }

    const QList<QFrame *> separators = Separators(credits);
    ASSERT_EQ(separators.size(), 7);
    const int ys[] {56, 112, 168, 224, 266, 308, 350};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(separators[i]->geometry(), QRect(11, ys[i], 250, 2)) << i;
        EXPECT_EQ(separators[i]->frameShadow(), QFrame::Sunken);
    }

    EXPECT_EQ(credits.Button1->geometry(), QRect(101, 362, 61, 27));
    EXPECT_EQ(credits.Button1->text(), QStringLiteral("Close"));
    EXPECT_TRUE(credits.Button1->isDefault());
}

TEST_F(CreditsWindow, EachLinkOpensItsTarget)
{
    credits.show();
    for (TLinkLabel *link : credits.Links)
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(10, 5));
    ASSERT_EQ(desktop.Opened.size(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(desktop.Opened[i],
                  credits.Links[i]->LinkProtocol() + credits.Links[i]->LinkDestination());
        EXPECT_TRUE(desktop.Opened[i].startsWith(i < 4 ? QStringLiteral("http://")
                                                       : QStringLiteral("file:///opt/game/")))
            << desktop.Opened[i].toStdString();
    }
    EXPECT_EQ(desktop.Sounds, QStringList(7, QStringLiteral("menu-popup")));
}

TEST_F(CreditsWindow, CloseAndEscapeClose)
{
    for (bool key : {false, true}) {
        EXPECT_TRUE(WhileModal(
            credits,
            [&] {
                if (key)
                    QTest::keyClick(&credits, Qt::Key_Escape);
                else
                    QTest::mouseClick(credits.Button1, Qt::LeftButton);
            },
            [&] { credits.exec(); }));
        EXPECT_FALSE(credits.isVisible());
    }
}

// --- Opened from the Help menu ----------------------------------------------

using HelpMenu = DialogWindowTest;

TEST_F(HelpMenu, AboutStandsBelowTheDisplaysAndTowardTheLeftEdge)
{
    TfrmKorvane &w = OpenWithDialogs();
    // Beginner (narrower than About), then Expert and Master (wider).
    for (QAction *preset : {w.miBeginner, w.miExpert, w.miMaster}) {
        preset->trigger();
        QRect placed;
        ASSERT_TRUE(WhileModal(
            *About,
            [&] {
                placed = About->frameGeometry();
                QTest::mouseClick(About->Button1, Qt::LeftButton);
            },
            [&] { w.About1Click(); }));
        const QRect m = w.frameGeometry();
        const int centred = m.left() + m.width() / 2 - placed.width() / 2;
        const int d = std::abs(m.left() - centred) * 40 / 100;
        if (placed.width() < m.width())
            EXPECT_EQ(placed.left(), centred - d) << preset->text().toStdString();
        else
            EXPECT_EQ(placed.left(), centred + d) << preset->text().toStdString();
        // The top edge one and a half tiles below the top of the field panel.
        const int fieldTop = w.pGame->mapToGlobal(QPoint(0, 0)).y();
        EXPECT_EQ(placed.top(), fieldTop + 24) << preset->text().toStdString();
    }
}

TEST_F(HelpMenu, AboutNextToABeginnerWindowStandsRightOfCentre)
{
    TfrmKorvane &w = OpenWithDialogs();
    QRect placed;
    ASSERT_TRUE(WhileModal(
        *About,
        [&] {
            placed = About->frameGeometry();
            About->accept();
        },
        [&] { w.About1->trigger(); }));
    const QRect m = w.frameGeometry();
    ASSERT_LT(m.width(), placed.width());
    // Overhanging (289 - 192) / 2 on each side, moved right by 40% of that.
    const int overhang = m.left() - (m.left() + m.width() / 2 - placed.width() / 2);
    EXPECT_EQ(placed.left() - (m.left() - overhang), overhang * 40 / 100);
}

TEST_F(HelpMenu, CreditsStandsOffCentreBelowTheTop)
{
    TfrmKorvane &w = OpenWithDialogs();
    for (QAction *preset : {w.miBeginner, w.miExpert}) {
        preset->trigger();
        QRect placed;
        ASSERT_TRUE(WhileModal(
            *Credits,
            [&] {
                placed = Credits->frameGeometry();
                QTest::keyClick(Credits, Qt::Key_Escape);
            },
            [&] { w.Credits1->trigger(); }));
        const QRect m = w.frameGeometry();
        const int half = placed.width() / 2;
        const int expected = placed.width() >= m.width() ? m.left() + m.width() / 2 - half * 4 / 5
                                                         : m.left() + m.width() / 2 - half * 6 / 5;
        EXPECT_EQ(placed.left(), expected) << preset->text().toStdString();
        EXPECT_EQ(placed.top(), m.top() + 40);
    }
}

TEST_F(HelpMenu, EveryDialogBuiltAtItsFirstOpeningOpensAsItDoesLater)
{
    TfrmKorvane &w = Open();
    EXPECT_TRUE(w.findChildren<QDialog *>().isEmpty());
    for (QAction *item : {w.miCustom, w.miPercentageSelect, w.Credits1, w.About1}) {
        QStringList openings;
        for (int i = 0; i < 2; ++i) {
            QTimer::singleShot(0, &w, [&] {
                auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                if (!d)
                    return; // nothing recorded: the count below fails
                EXPECT_EQ(d->parentWidget(), &w);
                EXPECT_TRUE(d->isModal());
                const QRect g = d->frameGeometry();
                QString seen = QStringLiteral("%1,%2 %3x%4")
                                   .arg(g.x())
                                   .arg(g.y())
                                   .arg(g.width())
                                   .arg(g.height());
                for (const QLineEdit *e : d->findChildren<QLineEdit *>())
                    seen += QStringLiteral(" %1[%2]").arg(e->text(), e->selectedText());
                openings << seen;
                d->reject();
            });
            item->trigger();
        }
        ASSERT_EQ(openings.size(), 2) << item->text().toStdString();
        EXPECT_EQ(openings[0], openings[1]) << item->text().toStdString();
    }
}

TEST_F(HelpMenu, AMissingReadMeIsReportedWithItsFullPath)
{
    TfrmKorvane &w = OpenWithDialogs();
    w.ReadMetxt1->trigger();
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("File: ") + Folder()
                           + QStringLiteral("/ReadMe.txt not found!")});
    EXPECT_TRUE(FDesktop.Opened.isEmpty());
}

TEST_F(HelpMenu, AReadMeBesideTheProgramIsOpened)
{
    {
        QFile file(Folder() + QStringLiteral("/ReadMe.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Korvane\n");
    }
    TfrmKorvane &w = OpenWithDialogs();
    w.ReadMetxt1->trigger();
    EXPECT_EQ(FDesktop.Opened, QStringList {Folder() + QStringLiteral("/ReadMe.txt")});
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
}

TEST_F(HelpMenu, AFolderNamedReadMeIsNoReadMe)
{
    ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("ReadMe.txt")));
    TfrmKorvane &w = OpenWithDialogs();
    w.ReadMetxt1Click();
    EXPECT_EQ(FDesktop.Messages.size(), 1);
    EXPECT_TRUE(FDesktop.Opened.isEmpty());
}
