// SPDX-License-Identifier: GPL-3.0-or-later
// What the settings, shields and dialog tests share: the window with its four
// dialogs as the program creates them, modal dialogs driven from a timer, and
// the settings file read back line by line.
#pragma once

#include "WindowTestSupport.h"

#include <QList>
#include <QPair>
#include <QString>

#include <functional>

class QDialog;
class TfrmAbout;
class TfrmCredits;
class TfrmCustom;
class TfrmShields;

namespace korvane::test {

// Calls open(), which shows dialog modally, and runs act() once the dialog is
// up. A guard rejects the dialog after a few seconds, so that a test whose act
// does not close it fails instead of hanging. False when act never ran.
bool WhileModal(QDialog &dialog, const std::function<void()> &act,
                const std::function<void()> &open);

// The sections of an INI text in file order, each with its key=value lines in
// order; lines of other shapes are kept under the key "" with the line as value.
struct IniSection
{
    QString Name;
    QList<QPair<QString, QString>> Lines;
};
QList<IniSection> ParseIni(const QString &text);
// The value of key in section, or a null string.
QString IniLookup(const QList<IniSection> &ini, const QString &section, const QString &key);

class DialogWindowTest : public WindowTest
{
protected:
    // Creates the window, has it build its four dialogs and shows it.
    TfrmKorvane &OpenWithDialogs();
    QString SettingsText() const;
    QList<IniSection> SavedSettings() const { return ParseIni(SettingsText()); }
    QString Saved(const char *section, const char *key) const;

    // The dialogs belong to the window and go with it.
    TfrmCustom *Custom = nullptr;
    TfrmAbout *About = nullptr;
    TfrmCredits *Credits = nullptr;
    TfrmShields *Shields = nullptr;
};

} // namespace korvane::test
