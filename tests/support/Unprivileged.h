// SPDX-License-Identifier: GPL-3.0-or-later
// File permissions that hold for root too. Root passes every permission
// check, so a test of an unreadable file or a read-only folder would prove
// nothing when run as root (as CI does). While an UnprivilegedFiles lives,
// the process acts as an ordinary user, who owns the test's folder.
#pragma once

#include <QString>

namespace korvane::test {

class UnprivilegedFiles
{
public:
    // folder, with everything in it, passes to the ordinary user first.
    explicit UnprivilegedFiles(const QString &folder);
    ~UnprivilegedFiles();
    UnprivilegedFiles(const UnprivilegedFiles &) = delete;
    UnprivilegedFiles &operator=(const UnprivilegedFiles &) = delete;

    // Why permissions still do not hold, or empty when they do.
    const QString &Unavailable() const { return FUnavailable; }

private:
    bool FSwitched = false;
    QString FUnavailable;
};

} // namespace korvane::test
