#include "Settings.h"

#include <algorithm>

namespace korvane {

namespace {

    const QString Field = QStringLiteral("Field");
    const QString Options = QStringLiteral("Settings");
    const QString Shields = QStringLiteral("Shields");

    // The field's picture holds every cell at the skin's tile size: a stored
    // size may not make it larger than four 4K screens (128 MB).
    constexpr qint64 MaxFieldPixels = qint64 {1} << 25;

    // The keys in the order the file keeps them, each with its member.
    template<typename Visit>
    void EachKey(Settings &s, Visit visit)
    {
        visit(Field, "Beginner", s.Beginner);
        visit(Field, "Intermediate", s.Intermediate);
        visit(Field, "Expert", s.Expert);
        visit(Field, "Master", s.Master);
        visit(Field, "Custom", s.Custom);
        visit(Field, "Width", s.Width);
        visit(Field, "Height", s.Height);
        visit(Field, "Bombs", s.Bombs);
        visit(Field, "Walls", s.Walls);
        visit(Options, "Surround", s.Surround);
        visit(Options, "Marks", s.Marks);
        visit(Options, "StartMarked", s.StartMarked);
        visit(Options, "AutoOpen", s.AutoOpen);
        visit(Options, "OpenWalls", s.OpenWalls);
        visit(Options, "Upflag", s.Upflag);
        visit(Options, "Minutes", s.Minutes);
        visit(Options, "Statusbar", s.Statusbar);
        visit(Options, "Skin", s.Skin);
        visit(Options, "Font", s.Font);
        visit(Shields, "CustomPercentage", s.CustomPercentage);
        visit(Shields, "CustomFixed", s.CustomFixed);
        visit(Shields, "SelectionPercentage", s.SelectionPercentage);
        visit(Shields, "Selection", s.Selection);
    }

    struct Reader
    {
        const IniFile &Ini;
        void operator()(const QString &section, const char *key, bool &value) const
        {
            value = Ini.ReadBool(section, QString::fromLatin1(key), value);
        }
        void operator()(const QString &section, const char *key, int &value) const
        {
            value = Ini.ReadInteger(section, QString::fromLatin1(key), value);
        }
        void operator()(const QString &section, const char *key, QString &value) const
        {
            value = Ini.ReadString(section, QString::fromLatin1(key), value);
        }
    };

    struct Writer
    {
        IniFile &Ini;
        void operator()(const QString &section, const char *key, bool value) const
        {
            Ini.WriteBool(section, QString::fromLatin1(key), value);
        }
        void operator()(const QString &section, const char *key, int value) const
        {
            Ini.WriteInteger(section, QString::fromLatin1(key), value);
        }
        void operator()(const QString &section, const char *key, const QString &value) const
        {
            Ini.WriteString(section, QString::fromLatin1(key), value);
        }
    };

} // namespace

Settings ReadSettings(const IniFile &ini)
{
    Settings s;
    // The chosen entry's default depends on the family read before it.
    s.Selection = ini.ReadBool(Shields, QStringLiteral("SelectionPercentage"), false) ? 10 : 1;
    EachKey(s, Reader {ini});
    return s;
}

void WriteSettings(IniFile &ini, const Settings &settings)
{
    Settings s = settings;
    EachKey(s, Writer {ini});
}

StoredField LimitStoredField(StoredField f, int maxInnerWidth, int maxInnerHeight, int tileWidth,
                             int tileHeight)
{
    qint64 height = std::clamp<qint64>(qint64 {f.Height} - 2, 9, std::max(9, maxInnerHeight));
    qint64 width = std::clamp<qint64>(qint64 {f.Width} - 2, 9, std::max(9, maxInnerWidth));
    const qint64 tilePixels = std::max<qint64>(1, qint64 {tileWidth} * tileHeight);
    if ((height + 2) * (width + 2) * tilePixels > MaxFieldPixels) {
        const qint64 cells = MaxFieldPixels / tilePixels;
        height = std::max<qint64>(9, std::min(height, cells / (width + 2) - 2));
        width = std::max<qint64>(9, std::min(width, cells / (height + 2) - 2));
    }
    const qint64 cells = height * width;
    const qint64 bombs = std::clamp<qint64>(f.Bombs, 10, cells);
    return {static_cast<int>(width + 2), static_cast<int>(height + 2), static_cast<int>(bombs),
            static_cast<int>(std::clamp<qint64>(f.Walls, 0, cells - bombs))};
}

} // namespace korvane
