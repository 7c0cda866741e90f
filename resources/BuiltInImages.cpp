// SPDX-License-Identifier: GPL-3.0-or-later
#include "BuiltInImages.h"

#include "Png.h"

#include <QFile>

namespace korvane {

QImage BuiltInImage(QStringView name)
{
    QFile file(QStringLiteral(":/%1.png").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return name.startsWith(u"korvane-") ? DecodePngWithAlpha(bytes) : DecodePng(bytes).Image;
}

} // namespace korvane
