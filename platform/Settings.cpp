// SPDX-License-Identifier: GPL-3.0-or-later
#include "Settings.h"

namespace korvane {

namespace {

    const QString Field = QStringLiteral("Field");
    const QString Options = QStringLiteral("Settings");
    const QString Shields = QStringLiteral("Shields");

    // The keys in the order the file keeps them, each with its member.
    template<typename Visit>
    void EachKey(Settings &s, Visit visit)
    {
        visit(Field, "Beginner", s.Beginner);
        visit(Field, "Intermediate", s.Intermediate);
        visit(Field, "Expert", s.Expert);
        visit(Field, "Master", s.Master);
        visit(Field, "Custom", s.Custom);
        visit(Field, "Width", s.Field.Width);
        visit(Field, "Height", s.Field.Height);
        visit(Field, "Bombs", s.Field.Bombs);
        visit(Field, "Walls", s.Field.Walls);
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

} // namespace korvane
