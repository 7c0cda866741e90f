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

// The field's picture holds every cell at the skin's tile size: a stored size
// may not make it larger than four 4K screens (128 MB), whatever the screen.
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
    LimitNextGame();

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

// A stored size is brought into the custom field dialog's limits for this
// screen, as its OK would leave it: a damaged or edited file can ask neither for
// a window larger than the screen nor for a field the bombs cannot fit.
void TfrmKorvane::LimitNextGame()
{
    const QSize max = ScreenMaxima({0, 0}, WindowChrome());
    qint64 height = std::clamp<qint64>(qint64 {GameHeight} - 2, 9, max.height());
    qint64 width = std::clamp<qint64>(qint64 {GameWidth} - 2, 9, max.width());
    const qint64 tilePixels = qint64 {CellWidth} * CellHeight;
    if ((height + 2) * (width + 2) * tilePixels > MaxFieldPixels) {
        const qint64 cells = MaxFieldPixels / tilePixels;
        height = std::max<qint64>(9, cells / (width + 2) - 2);
        width = std::max<qint64>(9, std::min(width, cells / (height + 2) - 2));
    }
    const qint64 cells = height * width;
    GameHeight = static_cast<int>(height + 2);
    GameWidth = static_cast<int>(width + 2);
    GameBombs = static_cast<int>(std::clamp<qint64>(GameBombs, 10, cells));
    GameWalls = static_cast<int>(std::clamp<qint64>(GameWalls, 0, cells - GameBombs));
}

void TfrmKorvane::SaveSettings()
{
    IniFile ini(SettingsFile());
    auto write = [&](const QString &section, const char *key, const QString &value) {
        ini.WriteString(section, QString::fromLatin1(key), value);
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
    // The keys were written into the text in memory: the file is replaced once,
    // so a failure leaves it as it was and is told once.
    if (!ini.Save())
        FDesktop.ShowMessage(QStringLiteral("Unable to write to %1").arg(ini.Path()));
}
