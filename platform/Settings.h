// Everything the settings file keeps, as a plain value: read from an INI file
// and written back to one without any window.
#pragma once

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
    int Width = 11;
    int Height = 11;
    int Bombs = 10;
    int Walls = 0;
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

// A stored field (ring included) brought into the custom field dialog's limits,
// as its OK would leave it: at least 9 x 9 inside the ring and at most the
// inner maxima the screen allows, no larger a picture than memory should hold
// at the tile size, bombs from 10 to the cells, then walls up to the cells the
// bombs leave.
struct StoredField
{
    int Width, Height, Bombs, Walls;
    bool operator==(const StoredField &) const = default;
};
StoredField LimitStoredField(StoredField field, int maxInnerWidth, int maxInnerHeight,
                             int tileWidth, int tileHeight);

} // namespace korvane
