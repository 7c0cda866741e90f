// SPDX-License-Identifier: GPL-3.0-or-later
#include "Unprivileged.h"

#include <QDirIterator>
#include <QFile>

#include <unistd.h>

namespace korvane::test {

namespace {

    // The conventional id of the user and group that own nothing.
    constexpr uid_t Nobody = 65534;

    bool GiveToNobody(const QString &path)
    {
        return chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0;
    }

} // namespace

UnprivilegedFiles::UnprivilegedFiles(const QString &folder)
{
    if (geteuid() != 0)
        return;
    bool given = GiveToNobody(folder);
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (given && it.hasNext())
        given = GiveToNobody(it.next());
    if (!given) {
        FUnavailable = QStringLiteral("root may not give the test's files to another user here");
        return;
    }
    // The real user changes too: Qt asks access(), which goes by it, whether a
    // file may be written. The saved user stays root, so the way back is open.
    FSwitched = setresuid(Nobody, Nobody, 0) == 0;
    if (!FSwitched)
        FUnavailable = QStringLiteral("root may not act as another user here");
}

UnprivilegedFiles::~UnprivilegedFiles()
{
    if (FSwitched && setresuid(0, 0, 0) != 0)
        qFatal("could not become root again");
}

} // namespace korvane::test
