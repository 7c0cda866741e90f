// SPDX-License-Identifier: GPL-3.0-or-later
#include "Look.h"

#include "Png.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace korvane {

namespace {

    QByteArray QtPicture(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    class Look : public QProxyStyle
    {
    public:
        Look()
            : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
        { }

        QIcon standardIcon(StandardPixmap which, const QStyleOption *option,
                           const QWidget *widget) const override
        {
            if (which != SP_ToolBarHorizontalExtensionButton)
                return QProxyStyle::standardIcon(which, option, widget);
            // Qt's own pictures, at the sizes Qt offers them.
            const Qt::LayoutDirection direction
                = option ? option->direction : QGuiApplication::layoutDirection();
            const QString stem = direction == Qt::RightToLeft
                ? QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-rtl-")
                : QStringLiteral(":/qt-project.org/styles/commonstyle/images/toolbar-ext-h-");
            QIcon icon;
            for (int size : {8, 16, 32}) {
                const QImage image = DecodePngWithAlpha(
                    QtPicture(stem + QString::number(size) + QStringLiteral(".png")));
                if (!image.isNull())
                    icon.addPixmap(QPixmap::fromImage(image));
            }
            return icon;
        }
    };

} // namespace

QStyle *CreateLook()
{
    return new Look;
}

} // namespace korvane
