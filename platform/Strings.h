// SPDX-License-Identifier: GPL-3.0-or-later
// The string helpers the settings file and the set names share.
#pragma once

#include <QString>

#include <algorithm>

namespace korvane {

// The first n characters of s, or all of s when it is shorter.
inline QString LeftPart(const QString &s, qsizetype n)
{
    return s.left(std::max<qsizetype>(n, 0));
}
// The last n characters of s, or all of s when it is shorter.
inline QString RightPart(const QString &s, qsizetype n)
{
    return s.right(std::max<qsizetype>(n, 0));
}

} // namespace korvane
