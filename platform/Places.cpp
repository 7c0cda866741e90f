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

QStringList SetFoldersOf(InstallKind kind, const QString &programFolder, const QString &name)
{
    const QString shipped = QDir(programFolder).filePath(name);
    if (kind == InstallKind::ikPortable)
        return {shipped};
    return {XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/korvane/")
                + name,
            shipped};
}

bool MakeSettingsFolder(InstallKind kind, const QString &settingsFile)
{
    return kind == InstallKind::ikPortable || QDir().mkpath(QFileInfo(settingsFile).path());
}

} // namespace korvane
