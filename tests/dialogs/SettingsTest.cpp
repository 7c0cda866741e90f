// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: what a start-up reads from it and what the end of a run
// writes back, always through the window itself.
#include "BuiltInImages.h"
#include "DialogTestSupport.h"

#include "IniFile.h"
#include "Menus.h"
#include "MineCustom.h"
#include "MineShields.h"
#include "Settings.h"
#include "SpinField.h"
#include "TestPictures.h"
#include "Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <random>

using namespace korvane;
using namespace korvane::test;

namespace {

using Lines = QList<QPair<QString, QString>>;

Lines Keys(std::initializer_list<std::pair<const char *, const char *>> keys)
{
    Lines lines;
    for (const auto &[k, v] : keys)
        lines.append({QString::fromLatin1(k), QString::fromLatin1(v)});
    return lines;
}

// Every key=value pair of a section in file order, other lines left out.
Lines KeyLines(const QList<IniSection> &ini, const QString &section)
{
    for (const IniSection &s : ini) {
        if (s.Name != section)
            continue;
        Lines lines;
        for (const auto &line : s.Lines) {
            if (!line.first.isEmpty())
                lines.append(line);
        }
        return lines;
    }
    return {};
}

QList<QAction *> SizeItems(const TfrmKorvane &w)
{
    return {w.miBeginner, w.miInter, w.miExpert, w.miMaster, w.miCustom};
}

QList<QAction *> ShieldItems(const TfrmKorvane &w)
{
    return {w.miSingle,       w.miMaximum,      w.miPercentage,   w.miPercentage10,
            w.miPercentage20, w.miPercentage30, w.miPercentage40, w.miPercentageCustom,
            w.miFixed,        w.miFixed2,       w.miFixed3,       w.miFixed4,
            w.miFixed5,       w.miFixedCustom};
}

QList<QAction *> Checked(const QList<QAction *> &items)
{
    QList<QAction *> on;
    for (QAction *item : items) {
        if (item->isChecked())
            on << item;
    }
    return on;
}

// Everything the settings file keeps, as readable lines, so that a failed
// comparison shows what differs.
QStringList Snapshot(const TfrmKorvane &w)
{
    QStringList s;
    const QList<QAction *> marks = SizeItems(w)
        + QList<QAction *> {w.miSurround, w.miMarks,   w.miStartMarked, w.miAuto,  w.miOpenWalls,
                            w.miUpflag,   w.miMinutes, w.miSeconds,     w.miStatus}
        + ShieldItems(w);
    for (const QAction *item : marks)
        s << item->text() + (item->isChecked() ? QStringLiteral(" on") : QStringLiteral(" off"));
    s << QStringLiteral("custom percentage %1 '%2'")
             .arg(Tag(w.miPercentageCustom))
             .arg(w.miPercentageCustom->text());
    s << QStringLiteral("custom fixed %1 '%2'")
             .arg(Tag(w.miFixedCustom))
             .arg(w.miFixedCustom->text());
    s << QStringLiteral("field %1 x %2, %3 bombs, %4 walls")
             .arg(w.GameWidth)
             .arg(w.GameHeight)
             .arg(w.GameBombs)
             .arg(w.GameWalls);
    s << QStringLiteral("skin %1, font %2").arg(w.SkinName, w.FontName);
    s << QStringLiteral("status bar %1").arg(w.sbInfo->isVisibleTo(&w) ? "shown" : "hidden");
    s << QStringLiteral("window %1 x %2").arg(w.width()).arg(w.height());
    return s;
}

} // namespace

using SettingsTest = DialogWindowTest;

TEST_F(SettingsTest, WithoutAFileTheDefaultsApplyAndAll23KeysAreWrittenAtExit)
{
    ASSERT_FALSE(QFile::exists(SettingsPath()));
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.GameWidth, 11);
    EXPECT_EQ(w.GameHeight, 11);
    EXPECT_EQ(w.GameBombs, 10);
    EXPECT_EQ(w.GameWalls, 0);
    EXPECT_EQ(Checked(SizeItems(w)), QList<QAction *> {w.miBeginner});
    for (QAction *on : {w.miSurround, w.miMarks, w.miAuto, w.miUpflag, w.miMinutes, w.miStatus})
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
    for (QAction *off : {w.miStartMarked, w.miOpenWalls, w.miSeconds})
        EXPECT_FALSE(off->isChecked()) << off->text().toStdString();
    EXPECT_EQ(Checked(ShieldItems(w)), QList<QAction *> {w.miSingle});
    EXPECT_EQ(Tag(w.miPercentageCustom), 50);
    EXPECT_EQ(w.miPercentageCustom->text(), QStringLiteral("50%"));
    EXPECT_EQ(Tag(w.miFixedCustom), 10);
    EXPECT_EQ(w.miFixedCustom->text(), QStringLiteral("10"));
    EXPECT_EQ(w.SkinName, QStringLiteral("Default"));
    EXPECT_EQ(w.FontName, QStringLiteral("Default"));
    EXPECT_TRUE(w.sbInfo->isVisible());
    // Nothing is written during the run.
    EXPECT_FALSE(QFile::exists(SettingsPath()));

    CloseWindow();
    const QList<IniSection> ini = SavedSettings();
    QStringList names;
    for (const IniSection &s : ini)
        names << s.Name;
    EXPECT_EQ(names,
              (QStringList {QString(), QStringLiteral("Field"), QStringLiteral("Settings"),
                            QStringLiteral("Shields")}));
    EXPECT_EQ(KeyLines(ini, QStringLiteral("Field")),
              Keys({{"Beginner", "1"},
                    {"Intermediate", "0"},
                    {"Expert", "0"},
                    {"Master", "0"},
                    {"Custom", "0"},
                    {"Width", "11"},
                    {"Height", "11"},
                    {"Bombs", "10"},
                    {"Walls", "0"}}));
    EXPECT_EQ(KeyLines(ini, QStringLiteral("Settings")),
              Keys({{"Surround", "1"},
                    {"Marks", "1"},
                    {"StartMarked", "0"},
                    {"AutoOpen", "1"},
                    {"OpenWalls", "0"},
                    {"Upflag", "1"},
                    {"Minutes", "1"},
                    {"Statusbar", "1"},
                    {"Skin", "Default"},
                    {"Font", "Default"}}));
    EXPECT_EQ(KeyLines(ini, QStringLiteral("Shields")),
              Keys({{"CustomPercentage", "50"},
                    {"CustomFixed", "10"},
                    {"SelectionPercentage", "0"},
                    {"Selection", "1"}}));
    EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
}

TEST_F(SettingsTest, ExpertCheckedWithAStoredWidthOf11KeepsTheWidth)
{
    WriteSettings(QStringLiteral("[Field]\nBeginner=0\nExpert=1\nWidth=11\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(Checked(SizeItems(w)), QList<QAction *> {w.miExpert});
    EXPECT_EQ(w.Game->FWidth, 11);
    EXPECT_EQ(w.Game->FHeight, 11);
    EXPECT_EQ(w.Game->BombCount(), 10);
}

TEST_F(SettingsTest, TheLastSizeStoredAsTrueWins)
{
    WriteSettings(QStringLiteral("[Field]\nBeginner=1\nMaster=1\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(Checked(SizeItems(w)), QList<QAction *> {w.miMaster});
    CloseWindow();
    EXPECT_EQ(Saved("Field", "Beginner"), QStringLiteral("0"));
    EXPECT_EQ(Saved("Field", "Master"), QStringLiteral("1"));
}

TEST_F(SettingsTest, AllFiveSizesStoredAsFalseLeaveNoneChecked)
{
    WriteSettings(QStringLiteral(
        "[Field]\nBeginner=0\nIntermediate=0\nExpert=0\nMaster=0\nCustom=0\nWidth=20\nHeight=15\n"
        "Bombs=33\nWalls=4\n"));
    TfrmKorvane &w = Open();
    EXPECT_TRUE(Checked(SizeItems(w)).isEmpty());
    EXPECT_EQ(w.Game->FWidth, 20);
    EXPECT_EQ(w.Game->FHeight, 15);
    EXPECT_EQ(w.Game->BombCount(), 33);
    CloseWindow();
    for (const char *key : {"Beginner", "Intermediate", "Expert", "Master", "Custom"})
        EXPECT_EQ(Saved("Field", key), QStringLiteral("0")) << key;
}

TEST_F(SettingsTest, MinutesStoredAsFalseChecksSeconds)
{
    WriteSettings(QStringLiteral("[Settings]\nMinutes=0\n"));
    TfrmKorvane &w = Open();
    EXPECT_FALSE(w.miMinutes->isChecked());
    EXPECT_TRUE(w.miSeconds->isChecked());
    CloseWindow();
    EXPECT_EQ(Saved("Settings", "Minutes"), QStringLiteral("0"));
}

TEST_F(SettingsTest, StatusbarStoredAsFalseHidesTheBarAndShortensTheWindow)
{
    const int withBar = Open().height();
    const int barHeight = FWindow->sbInfo->height();
    ASSERT_GT(barHeight, 0);
    CloseWindow();

    WriteSettings(QStringLiteral("[Settings]\nStatusbar=0\n"));
    TfrmKorvane &w = Open();
    EXPECT_FALSE(w.miStatus->isChecked());
    EXPECT_FALSE(w.sbInfo->isVisible());
    EXPECT_EQ(w.height(), withBar - barHeight);
    CloseWindow();
    EXPECT_EQ(Saved("Settings", "Statusbar"), QStringLiteral("0"));
}

class DefaultSkinNames : public DialogWindowTest, public testing::WithParamInterface<const char *>
{ };

TEST_P(DefaultSkinNames, MeanTheBuiltInSkinAndAreWrittenBackAsRead)
{
    const QString name = QString::fromLatin1(GetParam());
    WriteSettings(QStringLiteral("[Settings]\nSkin=%1\nFont=%1\n").arg(name));
    TfrmKorvane &w = Open();
    EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
    EXPECT_EQ(w.SkinName, name);
    EXPECT_EQ(w.FontName, name);
    const QImage builtIn = BuiltInImage(u"DefaultSkin").copy(0, 0, 16, 16);
    EXPECT_EQ(Tile(tiOpen), builtIn);
    CloseWindow();
    EXPECT_EQ(Saved("Settings", "Skin"), name);
    EXPECT_EQ(Saved("Settings", "Font"), name);
}

INSTANTIATE_TEST_SUITE_P(Settings, DefaultSkinNames,
                         testing::Values("default", "DEFAULT", "Default"));

class UnloadableSkinNames : public DialogWindowTest,
                            public testing::WithParamInterface<const char *>
{ };

TEST_P(UnloadableSkinNames, AreReportedBeforeTheWindowShowsAndStoredAsDefault)
{
    WriteSettings(QStringLiteral("[Settings]\nSkin=%1\n").arg(QString::fromLatin1(GetParam())));
    // The window is created, but not yet shown.
    FWindow = std::make_unique<TfrmKorvane>(FDesktop);
    EXPECT_FALSE(FWindow->isVisible());
    EXPECT_EQ(FDesktop.Messages.size(), 1) << FDesktop.Messages.join(u'\n').toStdString();
    EXPECT_EQ(FWindow->SkinName, QStringLiteral("Default"));
    EXPECT_EQ(FWindow->ilCells.Count(), 44);
    FWindow->show();
    CloseWindow();
    EXPECT_EQ(Saved("Settings", "Skin"), QStringLiteral("Default"));
}

INSTANTIATE_TEST_SUITE_P(Settings, UnloadableSkinNames, testing::Values("", "Nowhere"));

TEST_F(SettingsTest, ACustomPercentageSelectionIsCheckedAndStoredUnderBothKeys)
{
    WriteSettings(
        QStringLiteral("[Shields]\nCustomPercentage=60\nSelectionPercentage=1\nSelection=35\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(Checked(ShieldItems(w)), (QList<QAction *> {w.miPercentage, w.miPercentageCustom}));
    EXPECT_EQ(w.miPercentageCustom->text(), QStringLiteral("35%"));
    EXPECT_EQ(w.ComputeShields(100), 35);
    CloseWindow();
    EXPECT_EQ(Saved("Shields", "CustomPercentage"), QStringLiteral("35"));
    EXPECT_EQ(Saved("Shields", "Selection"), QStringLiteral("35"));
    EXPECT_EQ(Saved("Shields", "SelectionPercentage"), QStringLiteral("1"));
}

TEST_F(SettingsTest, ACustomFixedSelectionChecksFixedToo)
{
    WriteSettings(QStringLiteral("[Shields]\nSelectionPercentage=0\nSelection=7\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(Checked(ShieldItems(w)), (QList<QAction *> {w.miFixed, w.miFixedCustom}));
    EXPECT_EQ(w.miFixedCustom->text(), QStringLiteral("7"));
    EXPECT_EQ(w.ComputeShields(10), 7);
    CloseWindow();
    EXPECT_EQ(Saved("Shields", "CustomFixed"), QStringLiteral("7"));
    EXPECT_EQ(Saved("Shields", "Selection"), QStringLiteral("7"));
}

TEST_F(SettingsTest, ANegativeFixedSelectionLeavesFixedUncheckedAndSurvivesTheSave)
{
    WriteSettings(QStringLiteral("[Shields]\nSelectionPercentage=0\nSelection=-3\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(Checked(ShieldItems(w)), QList<QAction *> {w.miFixedCustom});
    EXPECT_EQ(w.miFixedCustom->text(), QStringLiteral("-3"));
    EXPECT_EQ(Tag(w.miFixedCustom), -3);
    // No top-level item is checked: one hit ends the game, which is playable.
    EXPECT_EQ(w.ComputeShields(10), 1);
    EXPECT_FALSE(w.Game->IsFinished());
    CloseWindow();
    EXPECT_EQ(Saved("Shields", "Selection"), QStringLiteral("-3"));
    EXPECT_EQ(Saved("Shields", "CustomFixed"), QStringLiteral("-3"));
    EXPECT_EQ(Saved("Shields", "SelectionPercentage"), QStringLiteral("0"));
}

TEST_F(SettingsTest, NoShieldCheckedIsStoredAsMaximum)
{
    TfrmKorvane &w = Open();
    w.miSingle->setChecked(false);
    ASSERT_TRUE(Checked(ShieldItems(w)).isEmpty());
    CloseWindow();
    EXPECT_EQ(Saved("Shields", "SelectionPercentage"), QStringLiteral("0"));
    EXPECT_EQ(Saved("Shields", "Selection"), QStringLiteral("0"));
    TfrmKorvane &again = Open();
    EXPECT_EQ(Checked(ShieldItems(again)), QList<QAction *> {again.miMaximum});
}

struct StandardValueCase
{
    bool Percentage;
    int Value;
};

class CustomShieldsEqualToAStandardValue : public DialogWindowTest,
                                           public testing::WithParamInterface<StandardValueCase>
{ };

TEST_P(CustomShieldsEqualToAStandardValue, ComeBackAsTheStandardEntry)
{
    const StandardValueCase c = GetParam();
    TfrmKorvane &w = OpenWithDialogs();
    const bool acted = WhileModal(
        *Shields,
        [&] {
            Shields->edShields->setText(QString::number(c.Value) + (c.Percentage ? "%" : ""));
            Shields->btOk->click();
        },
        [&] { c.Percentage ? w.miPercentageSelectClick() : w.miFixedSelectClick(); });
    ASSERT_TRUE(acted);
    QAction *custom = c.Percentage ? w.miPercentageCustom : w.miFixedCustom;
    ASSERT_TRUE(custom->isChecked());
    const QString caption = custom->text();
    const int shields = w.ComputeShields(99);
    CloseWindow();

    TfrmKorvane &again = Open();
    QAction *standard = nullptr;
    if (c.Percentage) {
        QAction *items[] {again.miPercentage10, again.miPercentage20, again.miPercentage30,
                          again.miPercentage40};
        standard = items[c.Value / 10 - 1];
    } else {
        QAction *items[] {again.miSingle, again.miFixed2, again.miFixed3, again.miFixed4,
                          again.miFixed5};
        standard = items[c.Value - 1];
    }
    QList<QAction *> expected {standard};
    if (c.Percentage)
        expected.prepend(again.miPercentage);
    else if (c.Value >= 2)
        expected.prepend(again.miFixed);
    QList<QAction *> checked = Checked(ShieldItems(again));
    EXPECT_EQ(checked.size(), expected.size());
    for (QAction *item : expected)
        EXPECT_TRUE(item->isChecked()) << item->text().toStdString();
    QAction *customAgain = c.Percentage ? again.miPercentageCustom : again.miFixedCustom;
    EXPECT_FALSE(customAgain->isChecked());
    EXPECT_EQ(Tag(customAgain), c.Value);
    EXPECT_EQ(customAgain->text(), caption);
    EXPECT_EQ(again.ComputeShields(99), shields);
}

INSTANTIATE_TEST_SUITE_P(Settings, CustomShieldsEqualToAStandardValue,
                         testing::Values(StandardValueCase {false, 1}, StandardValueCase {false, 2},
                                         StandardValueCase {false, 3}, StandardValueCase {false, 4},
                                         StandardValueCase {false, 5}, StandardValueCase {true, 10},
                                         StandardValueCase {true, 20}, StandardValueCase {true, 30},
                                         StandardValueCase {true, 40}));

// The value alone, read and written without a window.
TEST_F(SettingsTest, BooleansAreNumbers)
{
    // A word is not a number: the default applies. Any number but 0 is true.
    WriteSettings(QStringLiteral("[Field]\nBeginner=true\nIntermediate=yes\n"
                                 "[Settings]\nMarks=2\nStartMarked=-1\nSurround=false\n"
                                 "OpenWalls= 7\nAutoOpen=0x0\n"));
    const Settings s = ReadSettings(IniFile(SettingsPath()));
    EXPECT_TRUE(s.Beginner);
    EXPECT_FALSE(s.Intermediate);
    EXPECT_TRUE(s.Marks);
    EXPECT_TRUE(s.StartMarked);
    EXPECT_TRUE(s.Surround);
    EXPECT_TRUE(s.OpenWalls);
    EXPECT_FALSE(s.AutoOpen);
}

TEST_F(SettingsTest, BeginnerStoredAs2IsTrue)
{
    WriteSettings(QStringLiteral("[Field]\nBeginner=2\n"));
    IniFile ini(SettingsPath());
    const Settings s = ReadSettings(ini);
    EXPECT_TRUE(s.Beginner);
    korvane::WriteSettings(ini, s);
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(Saved("Field", "Beginner"), QStringLiteral("1"));
}

TEST_F(SettingsTest, IntegersMayBeHexadecimalOrPaddedWithBlanks)
{
    WriteSettings(QStringLiteral("[Field]\nWidth=0x14\nHeight=$10\nBombs=  0X1e\nWalls= 12 \n"
                                 "[Shields]\nSelectionPercentage=0\nSelection=$0C\n"));
    IniFile ini(SettingsPath());
    const Settings s = ReadSettings(ini);
    EXPECT_EQ(s.Field.Width, 20);
    EXPECT_EQ(s.Field.Height, 16);
    EXPECT_EQ(s.Field.Bombs, 30);
    EXPECT_EQ(s.Field.Walls, 12);
    EXPECT_EQ(s.Selection, 12);
    korvane::WriteSettings(ini, s);
    ASSERT_TRUE(ini.Save());
    // Written back in decimal.
    EXPECT_EQ(Saved("Field", "Width"), QStringLiteral("20"));
    EXPECT_EQ(Saved("Field", "Height"), QStringLiteral("16"));
    EXPECT_EQ(Saved("Field", "Bombs"), QStringLiteral("30"));
    EXPECT_EQ(Saved("Field", "Walls"), QStringLiteral("12"));
    EXPECT_EQ(Saved("Shields", "Selection"), QStringLiteral("12"));
}

// --- Save and load of every option in every state ---------------------------

// The window, then its custom field and custom shields dialogs.
using Change = std::function<void(TfrmKorvane &, TfrmCustom &, TfrmShields &)>;

struct RoundTripCase
{
    const char *Name;
    Change Apply;
};

class SettingsRoundTrip : public DialogWindowTest, public testing::WithParamInterface<RoundTripCase>
{ };

namespace {

void ThroughShieldsDialog(TfrmKorvane &w, TfrmShields &d, bool percentage, const char *text)
{
    WhileModal(
        d,
        [&] {
            d.edShields->setText(QString::fromLatin1(text));
            d.btOk->click();
        },
        [&] { percentage ? w.miPercentageSelect->trigger() : w.miFixedSelect->trigger(); });
}

void ThroughCustomDialog(TfrmKorvane &w, TfrmCustom &d, int h, int wd, int b, int x)
{
    WhileModal(
        d,
        [&] {
            d.edHeight->setText(QString::number(h));
            d.edWidth->setText(QString::number(wd));
            d.edBombs->setText(QString::number(b));
            d.edWalls->setText(QString::number(x));
            d.btOk->click();
        },
        [&] { w.miCustom->trigger(); });
}

Change Trigger(QAction *TfrmKorvane::*item)
{
    return [item](TfrmKorvane &w, TfrmCustom &, TfrmShields &) { (w.*item)->trigger(); };
}

Change TriggerAll(std::initializer_list<QAction * TfrmKorvane::*> items)
{
    std::vector<QAction * TfrmKorvane::*> list(items);
    return [list](TfrmKorvane &w, TfrmCustom &, TfrmShields &) {
        for (auto item : list)
            (w.*item)->trigger();
    };
}

const RoundTripCase RoundTripCases[] {
    {"Nothing", [](TfrmKorvane &, TfrmCustom &, TfrmShields &) {}},
    {"SurroundOff", Trigger(&TfrmKorvane::miSurround)},
    {"MarksOff", Trigger(&TfrmKorvane::miMarks)},
    {"StartMarkedOn", Trigger(&TfrmKorvane::miStartMarked)},
    {"AutoOpenOff", Trigger(&TfrmKorvane::miAuto)},
    {"OpenWallsOn", Trigger(&TfrmKorvane::miOpenWalls)},
    {"UpflagOff", Trigger(&TfrmKorvane::miUpflag)},
    {"Seconds", Trigger(&TfrmKorvane::miSeconds)},
    {"SecondsThenMinutes", TriggerAll({&TfrmKorvane::miSeconds, &TfrmKorvane::miMinutes})},
    {"StatusOff", Trigger(&TfrmKorvane::miStatus)},
    {"StatusOffAndOn", TriggerAll({&TfrmKorvane::miStatus, &TfrmKorvane::miStatus})},
    {"Intermediate", Trigger(&TfrmKorvane::miInter)},
    {"Expert", Trigger(&TfrmKorvane::miExpert)},
    {"Master", Trigger(&TfrmKorvane::miMaster)},
    {"MasterThenBeginner", TriggerAll({&TfrmKorvane::miMaster, &TfrmKorvane::miBeginner})},
    {"CustomField",
     [](TfrmKorvane &w, TfrmCustom &c, TfrmShields &) {
         ThroughCustomDialog(w, c, 14, 21, 40, 17);
     }},
    {"Maximum", Trigger(&TfrmKorvane::miMaximum)},
    {"MaximumThenSingle", TriggerAll({&TfrmKorvane::miMaximum, &TfrmKorvane::miSingle})},
    {"Percentage10", Trigger(&TfrmKorvane::miPercentage10)},
    {"Percentage20", Trigger(&TfrmKorvane::miPercentage20)},
    {"Percentage30", Trigger(&TfrmKorvane::miPercentage30)},
    {"Percentage40", Trigger(&TfrmKorvane::miPercentage40)},
    {"PercentageCustom", Trigger(&TfrmKorvane::miPercentageCustom)},
    {"PercentageCustom35",
     [](TfrmKorvane &w, TfrmCustom &, TfrmShields &s) { ThroughShieldsDialog(w, s, true, "35%"); }},
    {"Fixed2", Trigger(&TfrmKorvane::miFixed2)},
    {"Fixed3", Trigger(&TfrmKorvane::miFixed3)},
    {"Fixed4", Trigger(&TfrmKorvane::miFixed4)},
    {"Fixed5", Trigger(&TfrmKorvane::miFixed5)},
    {"FixedCustom", Trigger(&TfrmKorvane::miFixedCustom)},
    {"FixedCustom77",
     [](TfrmKorvane &w, TfrmCustom &, TfrmShields &s) { ThroughShieldsDialog(w, s, false, "77"); }},
    {"CustomPercentageKeptWhileFixedIsChosen",
     [](TfrmKorvane &w, TfrmCustom &, TfrmShields &s) {
         ThroughShieldsDialog(w, s, true, "64%");
         ThroughShieldsDialog(w, s, false, "3000");
         w.miFixed4->trigger();
     }},
    {"EverythingAtOnce",
     [](TfrmKorvane &w, TfrmCustom &, TfrmShields &s) {
         for (QAction *item : {w.miSurround, w.miMarks, w.miStartMarked, w.miAuto, w.miOpenWalls,
                               w.miUpflag, w.miSeconds, w.miStatus, w.miMaster})
             item->trigger();
         ThroughShieldsDialog(w, s, false, "4096");
     }},
    {"SkinAndFontFromTheirFolders",
     [](TfrmKorvane &w, TfrmCustom &, TfrmShields &) {
         ASSERT_EQ(w.miSkins->actions().size(), 1);
         ASSERT_EQ(w.miFonts->actions().size(), 1);
         w.miSkins->actions().front()->trigger();
         w.miFonts->actions().front()->trigger();
         EXPECT_EQ(w.SkinName, QStringLiteral("Green"));
         EXPECT_EQ(w.FontName, QStringLiteral("Amber"));
     }},
};

} // namespace

TEST_P(SettingsRoundTrip, ComesBackAsItWasLeft)
{
    WriteImage(QStringLiteral("Skins"), QStringLiteral("green.png"), MakeSkin(16, 16));
    WriteImage(QStringLiteral("Fonts"), QStringLiteral("amber.png"), MakeFont(13, 23));
    TfrmKorvane &w = OpenWithDialogs();
    GetParam().Apply(w, *Custom, *Shields);
    const QStringList before = Snapshot(w);
    CloseWindow();
    ASSERT_TRUE(QFile::exists(SettingsPath()));
    const QString firstSave = SettingsText();

    TfrmKorvane &again = Open();
    EXPECT_EQ(Snapshot(again), before);
    EXPECT_EQ(again.Game->FWidth, again.GameWidth);
    EXPECT_EQ(again.Game->FHeight, again.GameHeight);
    EXPECT_EQ(again.Game->BombCount(), again.GameBombs);
    CloseWindow();
    // A second run without changes writes the same file.
    EXPECT_EQ(SettingsText(), firstSave);
    EXPECT_TRUE(FDesktop.Messages.isEmpty()) << FDesktop.Messages.join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Settings, SettingsRoundTrip, testing::ValuesIn(RoundTripCases),
                         [](const testing::TestParamInfo<RoundTripCase> &info) {
                             return std::string(info.param.Name);
                         });

// --- Values that cannot make a playable game --------------------------------

struct ClampCase
{
    const char *Name;
    const char *Stored; // the [Field] lines
    int Width, Height, Bombs, Walls; // what the next game gets
};

class StoredFieldClamp : public WindowTest, public testing::WithParamInterface<ClampCase>
{ };

TEST_P(StoredFieldClamp, BringsTheFieldIntoTheCustomDialogsLimits)
{
    const ClampCase c = GetParam();
    WriteSettings(QStringLiteral("[Field]\n") + QString::fromLatin1(c.Stored));
    const Settings s = ReadSettings(IniFile(SettingsPath()));
    // The 1280 x 1024 test screen with 16-pixel tiles: at most 77 x 56 cells.
    const FieldSize f = LimitFieldSize(s.Field, {77, 56}, {16, 16});
    EXPECT_EQ(f, (FieldSize {c.Width, c.Height, c.Bombs, c.Walls}))
        << f.Width << " x " << f.Height << ", " << f.Bombs << " bombs, " << f.Walls << " walls";
}

// The window takes the limits of the screen it is on.
TEST_F(SettingsTest, AStoredFieldLargerThanTheScreenIsCutToIt)
{
    WriteSettings(QStringLiteral("[Field]\nWidth=100000\nHeight=1000\n"));
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.Game->FWidth, 79);
    EXPECT_EQ(w.Game->FHeight, 58);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StoredFieldClamp,
    testing::Values(
        ClampCase {"TooSmall", "Width=5\nHeight=10\n", 11, 11, 10, 0},
        ClampCase {"ZeroAndNegative", "Width=0\nHeight=-7\n", 11, 11, 10, 0},
        ClampCase {"MinimumKept", "Width=11\nHeight=12\n", 11, 12, 10, 0},
        // The 1280 x 1024 test screen shows at most 77 x 56 cells inside the ring.
        ClampCase {"TooWide", "Width=100000\nHeight=11\nBombs=5\n", 79, 11, 10, 0},
        ClampCase {"TooHigh", "Width=11\nHeight=2147483647\nBombs=5\n", 11, 58, 10, 0},
        ClampCase {"LargestTheScreenShowsKept", "Width=79\nHeight=58\n", 79, 58, 10, 0},
        ClampCase {"NegativeCounts", "Bombs=-4\nWalls=-2\n", 11, 11, 10, 0},
        ClampCase {"TooManyBombs", "Bombs=2147483647\n", 11, 11, 81, 0},
        ClampCase {"WallsGiveWayToBombs", "Width=20\nHeight=20\nBombs=500\nWalls=300\n", 20, 20,
                   324, 0},
        ClampCase {"WallsFillWhatBombsLeave", "Width=20\nHeight=20\nWalls=99999\n", 20, 20, 10,
                   314},
        ClampCase {"ExactlyFull", "Width=12\nHeight=12\nBombs=60\nWalls=40\n", 12, 12, 60, 40},
        ClampCase {"Garbage", "Width=wide\nHeight=12abc\nBombs=\nWalls=$\n", 11, 11, 10, 0},
        ClampCase {"OutOfIntRange", "Width=99999999999\nBombs=-99999999999\n", 11, 11, 10, 0}),
    [](const testing::TestParamInfo<ClampCase> &info) { return std::string(info.param.Name); });

namespace {

QByteArray RandomBytes(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    for (char &b : bytes)
        b = static_cast<char>(random());
    return bytes;
}

} // namespace

struct BadFileCase
{
    const char *Name;
    std::function<QByteArray()> Content;
};

class BadSettingsFile : public DialogWindowTest, public testing::WithParamInterface<BadFileCase>
{ };

TEST_P(BadSettingsFile, StartsAPlayableGameAndSavesOnExit)
{
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().Content());
    }
    TfrmKorvane &w = Open();
    EXPECT_GE(w.GameWidth, 11);
    EXPECT_LE(w.GameWidth, 8192);
    EXPECT_GE(w.GameHeight, 11);
    EXPECT_LE(w.GameHeight, 8192);
    const qint64 interior = qint64 {w.GameWidth - 2} * (w.GameHeight - 2);
    EXPECT_GE(w.GameWalls, 0);
    EXPECT_GE(w.GameBombs, 0);
    EXPECT_LE(qint64 {w.GameBombs} + w.GameWalls, interior);
    // A field full of bombs and walls has nothing left to open: it is won at once.
    if (qint64 {w.GameBombs} + w.GameWalls < interior) {
        EXPECT_FALSE(w.Game->IsFinished());
    }
    EXPECT_GE(w.ComputeShields(w.GameBombs), 1);

    // A left click on a covered cell does what a click does (a won game ignores it).
    int x = 1;
    int y = 1;
    while (w.Game->CellState(x, y) != csHidden && x < w.Game->FWidth - 2)
        ++x;
    const QPoint at = CellCentre(x, y);
    w.pbGameMouseDown(Qt::LeftButton, at.x(), at.y());
    w.pbGameMouseUp(Qt::LeftButton, at.x(), at.y());
    EXPECT_TRUE(w.Game->CellState(x, y) == csOpen || w.Game->CellState(x, y) == csFlagged
                || w.Game->CellContent(x, y) == ccWall || w.Game->IsWon());
    const QStringList firstRun = Snapshot(w);
    CloseWindow();
    ASSERT_TRUE(QFile::exists(SettingsPath()));

    // What was written is read back as it was left.
    TfrmKorvane &again = Open();
    QStringList secondRun = Snapshot(again);
    EXPECT_EQ(secondRun, firstRun);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, BadSettingsFile,
    testing::Values(
        BadFileCase {"Empty", [] { return QByteArray(); }},
        BadFileCase {"NoSections", [] { return QByteArray("Width=20\nBombs=1000\n"); }},
        BadFileCase {"EveryKeyGarbage",
                     [] {
                         return QByteArray(
                             "[Field]\nBeginner=x\nIntermediate=\nExpert\nMaster==1\nCustom=1e3\n"
                             "Width=-\nHeight=+\nBombs=0x\nWalls=$$\n[Settings]\nSurround=[\n"
                             "Skin=../../etc/passwd\nFont=\x01\x02\n[Shields]\n"
                             "CustomPercentage=abc\nCustomFixed=0xFFFFFFFFFF\n"
                             "SelectionPercentage=?\nSelection=\n");
                     }},
        BadFileCase {"HugeAndNegative",
                     [] {
                         return QByteArray("[Field]\nWidth=70000\nHeight=-70000\nBombs=70000\n"
                                           "Walls=-1\n[Shields]\nCustomPercentage=2147483647\n"
                                           "CustomFixed=-2147483648\nSelectionPercentage=1\n"
                                           "Selection=2147483647\n");
                     }},
        BadFileCase {"ZeroShields",
                     [] {
                         return QByteArray("[Shields]\nSelectionPercentage=1\nSelection=0\n"
                                           "CustomFixed=0\n");
                     }},
        BadFileCase {"BombsAndWallsOverflowTheInterior",
                     [] {
                         return QByteArray(
                             "[Field]\nWidth=30\nHeight=30\nBombs=2000000000\nWalls=2000000000\n");
                     }},
        BadFileCase {"Binary", [] { return RandomBytes(64 * 1024, 7); }},
        BadFileCase {"BinaryWithKeys",
                     [] {
                         return RandomBytes(4000, 11) + "\n[Field]\nWidth=13\r\n"
                             + RandomBytes(4000, 12);
                     }},
        BadFileCase {"LongLines",
                     [] {
                         return "[Field]\nWidth=" + QByteArray(100000, '9')
                             + "\n[Settings]\nSkin=" + QByteArray(100000, 'a') + "\n";
                     }}),
    [](const testing::TestParamInfo<BadFileCase> &info) { return std::string(info.param.Name); });

TEST_F(SettingsTest, AnEnormousFileNeitherHangsNorIsCutShort)
{
    // Far more than any settings file: only its beginning is read.
    QByteArray text = "[Field]\nWidth=15\n; ";
    text += QByteArray(6 * 1024 * 1024, 'x');
    text += "\n[Settings]\nMarks=0\n";
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.GameWidth, 15);
    EXPECT_FALSE(w.Game->IsFinished());
    CloseWindow();
    // The file is not ours to shorten: it is left as it was, and the user is told.
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), text);
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("Unable to write to ") + SettingsPath()});
}

TEST_F(SettingsTest, AFileThatCannotBeWrittenIsReportedOnceAndTheRunEndsNormally)
{
    // A folder where the file should be: no write can succeed, whoever runs the test.
    ASSERT_TRUE(QDir().mkpath(SettingsPath()));
    Open();
    EXPECT_TRUE(FDesktop.Messages.isEmpty());
    CloseWindow();
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("Unable to write to ") + SettingsPath()});
    EXPECT_TRUE(QFileInfo(SettingsPath()).isDir());
}

TEST_F(SettingsTest, AReadOnlyFolderIsReported)
{
    QFile probeFile(Folder() + QStringLiteral("/probe"));
    ASSERT_TRUE(QFile::setPermissions(Folder(),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    const UnprivilegedFiles user(Folder());
    if (!user.Unavailable().isEmpty())
        GTEST_SKIP() << user.Unavailable().toStdString();
    const bool writable = probeFile.open(QIODevice::WriteOnly);
    if (writable) {
        probeFile.close();
        probeFile.remove();
    }
    auto restore = qScopeGuard([&] {
        QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (writable)
        GTEST_SKIP() << "the folder stays writable for this user (root?)";
    Open();
    CloseWindow();
    EXPECT_EQ(FDesktop.Messages,
              QStringList {QStringLiteral("Unable to write to ") + SettingsPath()});
    EXPECT_FALSE(QFile::exists(SettingsPath()));
}

TEST_F(SettingsTest, TheSaveLeavesEveryOtherLineAsItWas)
{
    const QStringList original {
        QStringLiteral("; Korvane settings, kept by hand"),
        QStringLiteral("[Field]"),
        QStringLiteral("Width = 20"),
        QStringLiteral("# a comment inside a section"),
        QStringLiteral("Height=15"),
        QStringLiteral("Colour=blue"),
        QStringLiteral(""),
        QStringLiteral("[Elsewhere]"),
        QStringLiteral("Bombs=999"),
        QStringLiteral("Beginner=0"),
        QStringLiteral(""),
        QStringLiteral("[Settings]"),
        QStringLiteral("Skin=Default"),
        QStringLiteral("just a line"),
    };
    WriteSettings(original.join(u'\n') + u'\n');
    TfrmKorvane &w = Open();
    EXPECT_EQ(w.GameWidth, 20);
    EXPECT_EQ(w.GameHeight, 15);
    EXPECT_EQ(w.GameBombs, 10);
    CloseWindow();

    const QStringList saved = SettingsText().split(u'\n');
    // Every line that is not one of the program's keys keeps its text and order.
    QStringList kept;
    for (const QString &line : saved) {
        if (!original.contains(line))
            continue;
        kept << line;
    }
    QStringList expected = (original.join(u'\n') + u'\n').split(u'\n');
    // The one key line written in another form; "Height=15" is written as it was.
    expected.removeAll(QStringLiteral("Width = 20"));
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(saved.front(), original.front());
    EXPECT_EQ(Saved("Field", "Width"), QStringLiteral("20"));
    EXPECT_EQ(Saved("Field", "Height"), QStringLiteral("15"));
    EXPECT_EQ(Saved("Field", "Colour"), QStringLiteral("blue"));
    EXPECT_EQ(Saved("Elsewhere", "Bombs"), QStringLiteral("999"));
    EXPECT_EQ(Saved("Elsewhere", "Beginner"), QStringLiteral("0"));
    EXPECT_EQ(Saved("Field", "Beginner"), QStringLiteral("1"));
    // Each key appears once.
    EXPECT_EQ(SettingsText().count(QStringLiteral("Surround=")), 1);
    EXPECT_EQ(SettingsText().count(QStringLiteral("\n[Settings]")), 1);
    // Byte for byte what the save has always made of this file.
    EXPECT_EQ(SettingsText(),
              QStringLiteral("; Korvane settings, kept by hand\n[Field]\nWidth=20\n"
                             "# a comment inside a section\nHeight=15\nColour=blue\n"
                             "Beginner=1\nIntermediate=0\nExpert=0\nMaster=0\nCustom=0\n"
                             "Bombs=10\nWalls=0\n\n[Elsewhere]\nBombs=999\nBeginner=0\n\n"
                             "[Settings]\nSkin=Default\njust a line\nSurround=1\nMarks=1\n"
                             "StartMarked=0\nAutoOpen=1\nOpenWalls=0\nUpflag=1\nMinutes=1\n"
                             "Statusbar=1\nFont=Default\n[Shields]\nCustomPercentage=50\n"
                             "CustomFixed=10\nSelectionPercentage=0\nSelection=1\n"));
}
