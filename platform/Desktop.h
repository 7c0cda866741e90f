// SPDX-License-Identifier: GPL-3.0-or-later
// What the program asks of the desktop beyond drawing: message boxes, sounds,
// the default handler and where the program lives. Tests swap in a recorder so
// that nothing modal or audible happens.
#pragma once

#include "Places.h"

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace korvane {

class Desktop
{
public:
    explicit Desktop(InstallKind install = InstallKind::ikPortable)
        : FInstall(install)
    { }
    virtual ~Desktop() = default;

    // A box with the text and one OK button, titled "Korvane".
    virtual void ShowMessage(const QString &text);
    // A freedesktop sound event id such as "menu-click"; asynchronous, and
    // silent when the sound theme has no such sound.
    virtual void PlaySound(const QString &eventId);
    // A file path or an address, opened with the desktop's default handler.
    virtual bool OpenDefault(const QString &target);
    // What OpenDefault opens for a path, a "file://" link or an address.
    static QUrl UrlOf(const QString &target);
    // The full path of the running program file.
    virtual QString ProgramPath() const;

    QString ProgramFolder() const;
    // Where the shipped skins, fonts and read-me lie (see DataFolderOf).
    QString DataFolder() const { return DataFolderOf(FInstall, ProgramFolder()); }
    // Where the settings and the sets live: beside the program, or in the
    // player's home for a system install.
    InstallKind Install() const { return FInstall; }

    // The window that message boxes are centred on; may be null.
    void SetParentWindow(QWidget *parent) { FParent = parent; }

protected:
    QWidget *FParent = nullptr;

private:
    InstallKind FInstall;
};

} // namespace korvane
