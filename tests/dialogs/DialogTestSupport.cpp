// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogTestSupport.h"

#include "MineAbout.h"
#include "MineCredits.h"
#include "MineCustom.h"
#include "MineShields.h"

#include <QDialog>
#include <QFile>
#include <QPointer>
#include <QTimer>

#include <unistd.h>

namespace korvane::test {

namespace {

    // Every window test writes its settings file at exit, with a sync for each
    // key: program folders in memory keep the whole run within seconds.
    const bool MemoryFolders = [] {
        if (qEnvironmentVariableIsEmpty("TMPDIR") && access("/dev/shm", W_OK | X_OK) == 0)
            qputenv("TMPDIR", "/dev/shm");
        return true;
    }();

} // namespace

bool WhileModal(QDialog &dialog, const std::function<void()> &act,
                const std::function<void()> &open)
{
    bool acted = false;
    QPointer<QDialog> guarded(&dialog);
    QTimer::singleShot(0, &dialog, [&] {
        acted = true;
        EXPECT_TRUE(dialog.isVisible()) << "the dialog is not shown";
        act();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (guarded && guarded->isVisible()) {
            ADD_FAILURE() << "the dialog was still open after five seconds";
            guarded->reject();
        }
    });
    guard.start(5000);
    open();
    return acted;
}

QList<IniSection> ParseIni(const QString &text)
{
    QList<IniSection> sections;
    sections.append({QString(), {}}); // lines before the first section
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString t = line.trimmed();
        if (t.startsWith(u'[') && t.endsWith(u']')) {
            sections.append({t.mid(1, t.size() - 2), {}});
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0 || t.startsWith(u';'))
            sections.last().Lines.append({QString(), line});
        else
            sections.last().Lines.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
    return sections;
}

QString IniLookup(const QList<IniSection> &ini, const QString &section, const QString &key)
{
    for (const IniSection &s : ini) {
        if (s.Name.compare(section, Qt::CaseInsensitive) != 0)
            continue;
        for (const auto &[k, v] : s.Lines) {
            if (!k.isEmpty() && k.compare(key, Qt::CaseInsensitive) == 0)
                return v;
        }
    }
    return {};
}

TfrmKorvane &DialogWindowTest::OpenWithDialogs()
{
    FWindow = std::make_unique<TfrmKorvane>(FDesktop);
    TfrmKorvane &w = *FWindow;
    // Built before they open, so that a test can reach them while they are up.
    Custom = &w.CustomDialog();
    About = &w.AboutDialog();
    Credits = &w.CreditsDialog();
    Shields = &w.ShieldsDialog();
    w.show();
    return w;
}

QString DialogWindowTest::SettingsText() const
{
    QFile file(SettingsPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString DialogWindowTest::Saved(const char *section, const char *key) const
{
    return IniLookup(SavedSettings(), QString::fromLatin1(section), QString::fromLatin1(key));
}

} // namespace korvane::test
