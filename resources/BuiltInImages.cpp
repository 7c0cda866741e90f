#include "BuiltInImages.h"

#include "BuiltInImageData.h"

namespace korvane {

QImage BuiltInImage(QStringView name)
{
    for (int i = 0; i < BuiltInImageCount; ++i) {
        const BuiltInImageData &image = BuiltInImageTable[i];
        if (name == QLatin1StringView(image.Name)) {
            return QImage(reinterpret_cast<const uchar *>(image.Pixels), image.Width, image.Height,
                          image.Alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        }
    }
    return {};
}

} // namespace korvane
