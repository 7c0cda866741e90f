// The settings file beside the program: read once at start-up, written once
// at exit.
#include "MineForm.h"

#include "IniFile.h"
#include "Menus.h"

#include <QMenuBar>

using namespace korvane;

namespace {

const QString Field = QStringLiteral("Field");
const QString Settings = QStringLiteral("Settings");
const QString Shields = QStringLiteral("Shields");

// The smallest field the custom field dialog offers, ring included.
constexpr int MinSide = 11;
// No screen shows more cells than these, even with 1 x 1 tiles (a 4K screen
// holds 3840 x 2160); the bounds keep a damaged file from asking for gigabytes.
constexpr int MaxSide = 8192;
constexpr qint64 MaxCells = qint64 {1} << 23;
// The field's picture holds every cell at the skin's tile size: a stored size
// may not make it larger than four 4K screens (128 MB), whatever the skin.
constexpr qint64 MaxFieldPixels = qint64 {1} << 25;

} // namespace

QString TfrmKorvane::SettingsFile() const
{
    return SettingsFileOf(FDesktop.Install(), FDesktop.ProgramPath());
}

void TfrmKorvane::LoadSettings()
{
    const IniFile ini(SettingsFile());

    const std::pair<QAction *, const char *> sizes[] {
        {miBeginner, "Beginner"}, {miInter, "Intermediate"}, {miExpert, "Expert"},
        {miMaster, "Master"},     {miCustom, "Custom"},
    };
    for (const auto &[item, key] : sizes)
        item->setChecked(ini.ReadBool(Field, QString::fromLatin1(key), item == miBeginner));
    GameWidth = ini.ReadInteger(Field, QStringLiteral("Width"), 11);
    GameHeight = ini.ReadInteger(Field, QStringLiteral("Height"), 11);
    GameBombs = ini.ReadInteger(Field, QStringLiteral("Bombs"), 10);
    GameWalls = ini.ReadInteger(Field, QStringLiteral("Walls"), 0);
    // Values that cannot make a playable game are brought to the custom field
    // dialog's limits: at least 9 x 9 inside the ring, bombs and walls not
    // negative and together no more than the interior.
    GameWidth = std::clamp(GameWidth, MinSide, MaxSide);
    GameHeight = std::clamp(GameHeight, MinSide, MaxSide);
    if (qint64 {GameWidth} * GameHeight > MaxCells)
        GameHeight = std::max<int>(MinSide, static_cast<int>(MaxCells / GameWidth));
    const qint64 interior = qint64 {GameWidth - 2} * (GameHeight - 2);
    GameWalls = static_cast<int>(std::clamp<qint64>(GameWalls, 0, interior));
    GameBombs = static_cast<int>(std::clamp<qint64>(GameBombs, 0, interior - GameWalls));

    const std::pair<QAction *, const char *> options[] {
        {miSurround, "Surround"}, {miMarks, "Marks"},         {miStartMarked, "StartMarked"},
        {miAuto, "AutoOpen"},     {miOpenWalls, "OpenWalls"}, {miUpflag, "Upflag"},
    };
    const bool defaults[] {true, true, false, true, false, true};
    for (int i = 0; i < 6; ++i)
        options[i].first->setChecked(
            ini.ReadBool(Settings, QString::fromLatin1(options[i].second), defaults[i]));
    miMinutes->setChecked(ini.ReadBool(Settings, QStringLiteral("Minutes"), true));
    if (!miMinutes->isChecked())
        miSeconds->setChecked(true);
    miStatus->setChecked(ini.ReadBool(Settings, QStringLiteral("Statusbar"), true));
    sbInfo->setVisible(miStatus->isChecked());
    if (!miStatus->isChecked())
        resize(width(), height() - sbInfo->height());

    SkinName = ini.ReadString(Settings, QStringLiteral("Skin"), QStringLiteral("Default"));
    if (SkinName.toLower() == u"default") {
        LoadDefaultSkin();
    } else if (!LoadSkin(SkinName)) {
        LoadDefaultSkin();
        SkinName = QStringLiteral("Default");
    }
    FontName = ini.ReadString(Settings, QStringLiteral("Font"), QStringLiteral("Default"));
    if (FontName.toLower() == u"default") {
        LoadDefaultFont();
    } else if (!LoadFont(FontName)) {
        LoadDefaultFont();
        FontName = QStringLiteral("Default");
    }
    const qint64 tilePixels = qint64 {CellWidth} * CellHeight;
    if (qint64 {GameWidth} * GameHeight * tilePixels > MaxFieldPixels) {
        const qint64 cells = MaxFieldPixels / tilePixels;
        GameHeight = static_cast<int>(std::max<qint64>(MinSide, cells / GameWidth));
        GameWidth = static_cast<int>(
            std::max<qint64>(MinSide, std::min<qint64>(GameWidth, cells / GameHeight)));
        const qint64 inside = qint64 {GameWidth - 2} * (GameHeight - 2);
        GameWalls = static_cast<int>(std::min<qint64>(GameWalls, inside));
        GameBombs = static_cast<int>(std::min<qint64>(GameBombs, inside - GameWalls));
    }

    auto setCustom = [](QAction *item, int value, bool percent) {
        SetTag(item, value);
        item->setText(QString::number(value) + (percent ? QStringLiteral("%") : QString()));
    };
    setCustom(miPercentageCustom, ini.ReadInteger(Shields, QStringLiteral("CustomPercentage"), 50),
              true);
    setCustom(miFixedCustom, ini.ReadInteger(Shields, QStringLiteral("CustomFixed"), 10), false);
    if (ini.ReadBool(Shields, QStringLiteral("SelectionPercentage"), false)) {
        miPercentage->setChecked(true);
        const int s = ini.ReadInteger(Shields, QStringLiteral("Selection"), 10);
        QAction *fixedEntries[] {miPercentage10, miPercentage20, miPercentage30, miPercentage40};
        if (s == 10 || s == 20 || s == 30 || s == 40) {
            fixedEntries[s / 10 - 1]->setChecked(true);
        } else {
            miPercentageCustom->setChecked(true);
            setCustom(miPercentageCustom, s, true);
        }
    } else {
        const int s = ini.ReadInteger(Shields, QStringLiteral("Selection"), 1);
        QAction *entries[] {miMaximum, miSingle, miFixed2, miFixed3, miFixed4, miFixed5};
        if (s >= 0 && s <= 5) {
            entries[s]->setChecked(true);
        } else {
            miFixedCustom->setChecked(true);
            setCustom(miFixedCustom, s, false);
        }
        if (s >= 2)
            miFixed->setChecked(true);
    }
    // A Custom mark restored here was not moved there by a click on Custom...:
    // cancelling that dialog later must leave it where it is.
    FCustomJustChecked = false;
}

void TfrmKorvane::SaveSettings()
{
    IniFile ini(SettingsFile());
    bool ok = true;
    // The first key that cannot be written is reported; the rest are skipped.
    auto write = [&](const QString &section, const char *key, const QString &value) {
        if (ok && !ini.WriteString(section, QString::fromLatin1(key), value)) {
            ok = false;
            FDesktop.ShowMessage(QStringLiteral("Unable to write to %1").arg(ini.Path()));
        }
    };
    auto flag = [](const QAction *item) {
        return item->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    };
    auto number = [](int n) { return QString::number(n); };

    write(Field, "Beginner", flag(miBeginner));
    write(Field, "Intermediate", flag(miInter));
    write(Field, "Expert", flag(miExpert));
    write(Field, "Master", flag(miMaster));
    write(Field, "Custom", flag(miCustom));
    write(Field, "Width", number(GameWidth));
    write(Field, "Height", number(GameHeight));
    write(Field, "Bombs", number(GameBombs));
    write(Field, "Walls", number(GameWalls));
    write(Settings, "Surround", flag(miSurround));
    write(Settings, "Marks", flag(miMarks));
    write(Settings, "StartMarked", flag(miStartMarked));
    write(Settings, "AutoOpen", flag(miAuto));
    write(Settings, "OpenWalls", flag(miOpenWalls));
    write(Settings, "Upflag", flag(miUpflag));
    write(Settings, "Minutes", flag(miMinutes));
    write(Settings, "Statusbar", flag(miStatus));
    write(Settings, "Skin", SkinName);
    write(Settings, "Font", FontName);
    write(Shields, "CustomPercentage", number(Tag(miPercentageCustom)));
    write(Shields, "CustomFixed", number(Tag(miFixedCustom)));
    write(Shields, "SelectionPercentage", flag(miPercentage));

    const QAction *chosen = miSingle->isChecked() ? miSingle
        : miMaximum->isChecked()                  ? miMaximum
        : miPercentage->isChecked()               ? miPercentage
                                                  : miFixed;
    const QMenu *family = chosen == miPercentage ? miPercentageMenu
        : chosen == miFixed                      ? miFixedMenu
                                                 : nullptr;
    if (family) {
        for (const QAction *item : family->actions()) {
            if (item->isCheckable() && item->isChecked()) {
                chosen = item;
                break;
            }
        }
    }
    write(Shields, "Selection", number(Tag(chosen)));
}
