// SPDX-License-Identifier: GPL-3.0-or-later
// Everything the settings file keeps, as a plain value: read from an INI file
// and written back to one without any window.
#pragma once

#include "FieldSize.h"
#include "IniFile.h"

#include <QString>

namespace korvane {

struct Settings
{
    // [Field]: the ticked size, and the next game's size with the wall ring.
    bool Beginner = true;
    bool Intermediate = false;
    bool Expert = false;
    bool Master = false;
    bool Custom = false;
    FieldSize Field;
    // [Settings]
    bool Surround = true;
    bool Marks = true;
    bool StartMarked = false;
    bool AutoOpen = true;
    bool OpenWalls = false;
    bool Upflag = true;
    bool Minutes = true;
    bool Statusbar = true;
    QString Skin = QStringLiteral("Default");
    QString Font = QStringLiteral("Default");
    // [Shields]: the two custom values, the family and the chosen entry's tag.
    int CustomPercentage = 50;
    int CustomFixed = 10;
    bool SelectionPercentage = false;
    int Selection = 1;

    bool operator==(const Settings &) const = default;
};

// Every key, a missing or unreadable one giving its default.
Settings ReadSettings(const IniFile &ini);
// Every key, in the file's order, into the text of ini (Save writes it).
void WriteSettings(IniFile &ini, const Settings &settings);

} // namespace korvane
