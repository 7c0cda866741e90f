// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program keeps its settings file and finds its skin and font sets.
// A portable folder holds everything beside the program; a system install,
// whose folder the player cannot write to, keeps the settings in the player's
// configuration folder and adds the player's own sets from their data folder.
#pragma once

#include <QString>
#include <QStringList>

namespace korvane {

// Chosen when the program is built (KORVANE_SYSTEM_INSTALL), never at run time.
enum class InstallKind { ikPortable, ikSystem };

// The settings file of a program: its path with the extension replaced by ".ini".
QString SettingsPath(const QString &programPath);

// Portable: the program's path with its extension replaced by ".ini".
// System: $XDG_CONFIG_HOME/korvane/korvane.ini, ~/.config when that is unset.
QString SettingsFileOf(InstallKind kind, const QString &programPath);

// Where the shipped skins, fonts and read-me lie. Portable: beside the
// program. System: the game's data folder, found from the program's folder
// (/usr/games -> /usr/share/games/korvane), so an unpacked tree runs too.
QString DataFolderOf(InstallKind kind, const QString &programFolder);

// The folders a kind of set ("Skins" or "Fonts") is listed from, the player's
// first, so that a name found in both loads the player's file. System:
// $XDG_DATA_HOME/korvane/<name> (~/.local/share when unset), then the one in
// dataFolder (see DataFolderOf).
QStringList SetFoldersOf(InstallKind kind, const QString &dataFolder, const QString &name);

// A system install creates the player's folders when it first needs them; a
// portable folder is used as it is. False when it cannot be made.
bool MakePlayerFolder(InstallKind kind, const QString &folder);
bool MakeSettingsFolder(InstallKind kind, const QString &settingsFile);

} // namespace korvane
