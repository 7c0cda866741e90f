// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: read once at start-up, written once at exit. The file's
// keys and values are the Settings value's; here they meet the menus.
#include "MineForm.h"

#include "IniFile.h"
#include "Menus.h"
#include "Places.h"
#include "Settings.h"

#include <cstdio>

using namespace korvane;

QString TfrmKorvane::SettingsFile() const
{
    return SettingsFileOf(FDesktop.Install(), FDesktop.ProgramPath());
}

void TfrmKorvane::LoadSettings()
{
    ApplySettings(ReadSettings(IniFile(SettingsFile())));
}

void TfrmKorvane::SaveSettings()
{
    if (const QString failure = WriteSettingsFile(); !failure.isEmpty())
        FDesktop.ShowMessage(failure);
}

void TfrmKorvane::SaveSettingsAtSessionEnd()
{
    // The desktop is going away: no one is left to read a message box.
    if (const QString failure = WriteSettingsFile(); !failure.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(failure));
}

QString TfrmKorvane::WriteSettingsFile() const
{
    MakeSettingsFolder(FDesktop.Install(), SettingsFile());
    IniFile ini(SettingsFile());
    WriteSettings(ini, CollectSettings());
    // The keys were written into the text in memory: the file is replaced once,
    // so a failure leaves it as it was and is told once.
    if (ini.Save())
        return {};
    return QStringLiteral("Unable to write to %1").arg(ini.Path());
}

void TfrmKorvane::ApplySettings(const Settings &s)
{
    // One radio group: a true value checks its item and unchecks the others, a
    // false one unchecks only its own, so the last one stored as true wins.
    const std::pair<QAction *, bool> sizes[] {{miBeginner, s.Beginner},
                                              {miInter, s.Intermediate},
                                              {miExpert, s.Expert},
                                              {miMaster, s.Master},
                                              {miCustom, s.Custom}};
    for (const auto &[item, on] : sizes)
        item->setChecked(on);
    SetNextGame(s.Field);

    const std::pair<QAction *, bool> options[] {
        {miSurround, s.Surround}, {miMarks, s.Marks},         {miStartMarked, s.StartMarked},
        {miAuto, s.AutoOpen},     {miOpenWalls, s.OpenWalls}, {miUpflag, s.Upflag}};
    for (const auto &[item, on] : options)
        item->setChecked(on);
    miMinutes->setChecked(s.Minutes);
    if (!miMinutes->isChecked())
        miSeconds->setChecked(true);
    miStatus->setChecked(s.Statusbar);
    sbInfo->setVisible(miStatus->isChecked());
    if (!miStatus->isChecked())
        resize(width(), height() - sbInfo->height());

    SkinName = s.Skin;
    if (SkinName.toLower() == u"default") {
        LoadDefaultSkin();
    } else if (!LoadSkin(SkinName)) {
        LoadDefaultSkin();
        SkinName = QStringLiteral("Default");
    }
    FontName = s.Font;
    if (FontName.toLower() == u"default") {
        LoadDefaultFont();
    } else if (!LoadFont(FontName)) {
        LoadDefaultFont();
        FontName = QStringLiteral("Default");
    }
    LimitNextGame();

    auto setCustom = [](QAction *item, int value, bool percent) {
        SetTag(item, value);
        item->setText(QString::number(value) + (percent ? QStringLiteral("%") : QString()));
    };
    setCustom(miPercentageCustom, s.CustomPercentage, true);
    setCustom(miFixedCustom, s.CustomFixed, false);
    const int selection = s.Selection;
    if (s.SelectionPercentage) {
        miPercentage->setChecked(true);
        QAction *entries[] {miPercentage10, miPercentage20, miPercentage30, miPercentage40};
        if (selection == 10 || selection == 20 || selection == 30 || selection == 40) {
            entries[selection / 10 - 1]->setChecked(true);
        } else {
            miPercentageCustom->setChecked(true);
            setCustom(miPercentageCustom, selection, true);
        }
    } else {
        QAction *entries[] {miMaximum, miSingle, miFixed2, miFixed3, miFixed4, miFixed5};
        if (selection >= 0 && selection <= 5) {
            entries[selection]->setChecked(true);
        } else {
            miFixedCustom->setChecked(true);
            setCustom(miFixedCustom, selection, false);
        }
        if (selection >= 2)
            miFixed->setChecked(true);
    }
    // A Custom mark restored here was not moved there by a click on Custom...:
    // cancelling that dialog later must leave it where it is.
    FCustomJustChecked = false;
}

// A stored size is brought into the custom field dialog's limits for this
// screen: a damaged or edited file can ask neither for a window larger than
// the screen nor for a field the bombs cannot fit.
bool TfrmKorvane::LimitNextGame()
{
    const FieldSize stored = NextGame();
    SetNextGame(
        LimitFieldSize(stored, ScreenMaxima({0, 0}, WindowChrome()), {CellWidth, CellHeight}));
    return NextGame() != stored;
}

FieldSize TfrmKorvane::NextGame() const
{
    return {GameWidth, GameHeight, GameBombs, GameWalls};
}

void TfrmKorvane::SetNextGame(const FieldSize &next)
{
    GameWidth = next.Width;
    GameHeight = next.Height;
    GameBombs = next.Bombs;
    GameWalls = next.Walls;
}

Settings TfrmKorvane::CollectSettings() const
{
    Settings s;
    s.Beginner = miBeginner->isChecked();
    s.Intermediate = miInter->isChecked();
    s.Expert = miExpert->isChecked();
    s.Master = miMaster->isChecked();
    s.Custom = miCustom->isChecked();
    s.Field = NextGame();
    s.Surround = miSurround->isChecked();
    s.Marks = miMarks->isChecked();
    s.StartMarked = miStartMarked->isChecked();
    s.AutoOpen = miAuto->isChecked();
    s.OpenWalls = miOpenWalls->isChecked();
    s.Upflag = miUpflag->isChecked();
    s.Minutes = miMinutes->isChecked();
    s.Statusbar = miStatus->isChecked();
    s.Skin = SkinName;
    s.Font = FontName;
    s.CustomPercentage = Tag(miPercentageCustom);
    s.CustomFixed = Tag(miFixedCustom);
    s.SelectionPercentage = miPercentage->isChecked();
    // The first of Single, Maximum and Percentage that is checked, else Fixed;
    // for a family, its first checked entry, else the family itself (tag 0).
    const QAction *chosen = miSingle->isChecked() ? miSingle
        : miMaximum->isChecked()                  ? miMaximum
        : miPercentage->isChecked()               ? miPercentage
                                                  : miFixed;
    if (chosen == miPercentage || chosen == miFixed) {
        if (const QAction *entry
            = FirstChecked(chosen == miPercentage ? miPercentageMenu : miFixedMenu))
            chosen = entry;
    }
    s.Selection = Tag(chosen);
    return s;
}
