// SPDX-License-Identifier: GPL-3.0-or-later
#include "Files.h"

#include <QDir>
#include <QFileInfo>

namespace korvane {

QStringList ListPngNames(const QString &folder)
{
    QDir dir(folder);
    if (!dir.exists())
        return {};
    // Hidden entries and entries of every kind count: the listing is by name only.
    // The ending is compared here: a "*.png" name filter would compile a regular
    // expression per listing, before the first frame.
    QStringList names
        = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDir::Name | QDir::IgnoreCase);
    names.removeIf([](const QString &name) {
        return !name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive);
    });
    return names;
}

QStringList ListPngNames(const QStringList &folders)
{
    QStringList names;
    for (const QString &folder : folders)
        names += ListPngNames(folder);
    return names;
}

QString FindFileNoCase(const QString &folder, const QString &fileName)
{
    QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return exact;
}

QString FindFileNoCase(const QStringList &folders, const QString &fileName)
{
    QString path;
    for (const QString &folder : folders) {
        path = FindFileNoCase(folder, fileName);
        if (QFileInfo::exists(path))
            break;
    }
    return path;
}

bool FileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

} // namespace korvane
