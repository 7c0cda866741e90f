// SPDX-License-Identifier: GPL-3.0-or-later
#include "Places.h"

#include "Strings.h"

#include <QDir>
#include <QFileInfo>

namespace korvane {

namespace {

    // An XDG base folder: the variable when it holds an absolute path (the
    // freedesktop base directory rules ignore relative ones), else its default
    // under the home folder.
    QString XdgFolder(const char *variable, const QString &fallback)
    {
        const QString value = qEnvironmentVariable(variable);
        if (QDir::isAbsolutePath(value))
            return value;
        return QDir(QDir::homePath()).filePath(fallback);
    }

} // namespace

QString SettingsPath(const QString &programPath)
{
    // The extension runs from the last "." to the end, unless a path separator follows it.
    const qsizetype dot = programPath.lastIndexOf(u'.');
    const qsizetype slash = programPath.lastIndexOf(u'/');
    if (dot < 0 || dot < slash)
        return programPath + QStringLiteral(".ini");
    return LeftPart(programPath, dot) + QStringLiteral(".ini");
}

QString SettingsFileOf(InstallKind kind, const QString &programPath)
{
    if (kind == InstallKind::ikPortable)
        return SettingsPath(programPath);
    return XdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config"))
        + QStringLiteral("/korvane/korvane.ini");
}

QString DataFolderOf(InstallKind kind, const QString &programFolder)
{
    if (kind == InstallKind::ikPortable)
        return programFolder;
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral(KORVANE_SYSTEM_DATA)));
}

QStringList SetFoldersOf(InstallKind kind, const QString &dataFolder, const QString &name)
{
    const QString shipped = QDir(dataFolder).filePath(name);
    if (kind == InstallKind::ikPortable)
        return {shipped};
    return {XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/korvane/")
                + name,
            shipped};
}

bool MakePlayerFolder(InstallKind kind, const QString &folder)
{
    return kind == InstallKind::ikPortable || QDir().mkpath(folder);
}

bool MakeSettingsFolder(InstallKind kind, const QString &settingsFile)
{
    return MakePlayerFolder(kind, QFileInfo(settingsFile).path());
}

} // namespace korvane
