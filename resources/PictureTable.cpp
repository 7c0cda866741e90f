// Build tool: decodes the program's own PNG pictures with the program's
// decoder and writes them out as the C++ table BuiltInImageData.h declares.
//
//   picture_table OUTPUT.cpp NAME=FILE.png[:alpha]...
#include "Png.h"

#include <QFile>

#include <cstdio>
#include <string>

using namespace korvane;

int main(int argc, char *argv[])
{
    std::string text = "// Made by picture_table from the PNG files in resources/.\n"
                       "#include \"BuiltInImageData.h\"\n\nnamespace korvane {\n\n";
    if (argc < 3) {
        std::fprintf(stderr, "usage: picture_table OUTPUT.cpp NAME=FILE.png[:alpha]...\n");
        return 2;
    }
    std::string table = "const BuiltInImageData BuiltInImageTable[] {\n";
    for (int i = 2; i < argc; ++i) {
        // NAME=FILE.png, with ":alpha" after it for a picture that keeps its transparency.
        QString picture = QString::fromLocal8Bit(argv[i]);
        const bool alpha = picture.endsWith(QStringLiteral(":alpha"));
        if (alpha)
            picture.chop(6);
        const qsizetype equals = picture.indexOf(u'=');
        const QString name = picture.left(equals);
        const QString path = picture.mid(equals + 1);
        QImage image;
        if (alpha) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                image = DecodePngWithAlpha(file.readAll());
        } else {
            image = LoadPng(path).Image;
        }
        if (equals <= 0 || image.isNull()) {
            std::fprintf(stderr, "picture_table: cannot decode %s\n", argv[i]);
            return 1;
        }
        const std::string pixels = "Pixels" + std::to_string(i - 2);
        text += "static const quint32 " + pixels + "[] {";
        for (int y = 0; y < image.height(); ++y) {
            const auto *line = reinterpret_cast<const quint32 *>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                char hex[24];
                std::snprintf(hex, sizeof hex, "%s0x%08Xu,", x % 8 == 0 ? "\n    " : " ", line[x]);
                text += hex;
            }
        }
        text += "\n};\n\n";
        table += "    {\"" + name.toStdString() + "\", " + std::to_string(image.width()) + ", "
            + std::to_string(image.height()) + ", " + (alpha ? "true" : "false") + ", " + pixels
            + "},\n";
    }
    text += table + "};\n\nconst int BuiltInImageCount = " + std::to_string(argc - 2)
        + ";\n\n} // namespace korvane\n";
    std::FILE *out = std::fopen(argv[1], "w");
    if (!out || std::fwrite(text.data(), 1, text.size(), out) != text.size()
        || std::fclose(out) != 0) {
        std::fprintf(stderr, "picture_table: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
