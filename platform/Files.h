// SPDX-License-Identifier: GPL-3.0-or-later
// The few file-system questions the program asks, answered the same way on
// case-sensitive and case-insensitive file systems.
#pragma once

#include <QString>
#include <QStringList>

namespace korvane {

// Names of the entries of a folder whose names end in ".png" in any letter
// case, entries of any kind; empty when the folder is missing.
QStringList ListPngNames(const QString &folder);
// The same for several folders, one after the other in their order.
QStringList ListPngNames(const QStringList &folders);

// The path of fileName inside folder. When no entry has that exact name, an
// entry whose name differs only in letter case is taken instead; without one
// the exact path is returned (and names nothing).
QString FindFileNoCase(const QString &folder, const QString &fileName);
// The first of the folders that holds fileName (in any letter case) decides;
// when none does, the exact path in the last one is returned.
QString FindFileNoCase(const QStringList &folders, const QString &fileName);

// True for a regular file, or a link to one.
bool FileExists(const QString &path);

} // namespace korvane
