// Build step: writes the pictures of the first frame in the form they are painted in
// (see PictureFormat.h), so the program maps them instead of inflating PNG files, and a
// Qt resource file listing them.
// Usage: torvella-rawpictures OUTDIR picture.png...
#include "assets/PictureFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: torvella-rawpictures OUTDIR picture.png...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QString qrc;
    QTextStream list(&qrc);
    list << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/raw\">\n";
    for (int i = 2; i < argc; ++i) {
        const QString png = QString::fromLocal8Bit(argv[i]);
        const QImage image = torvella::assets::ReadyForPainting(QImage(png));
        if (image.isNull() || image.depth() != 32) {
            std::fprintf(stderr, "torvella-rawpictures: %s: not a picture of 32 bits a pixel\n", argv[i]);
            return 1;
        }
        torvella::assets::RawPictureHeader header{};
        std::memcpy(header.magic, "TRAW", 4);
        header.width = image.width();
        header.height = image.height();
        header.format = image.format();
        const QString name = QFileInfo(png).completeBaseName() + QStringLiteral(".raw");
        QFile file(out + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "torvella-rawpictures: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        file.write(reinterpret_cast<const char*>(&header), sizeof header);
        for (int y = 0; y < image.height(); ++y)
            file.write(reinterpret_cast<const char*>(image.constScanLine(y)), qint64(image.width()) * 4);
        list << "    <file>" << name << "</file>\n";
    }
    list << "</qresource>\n</RCC>\n";
    QFile file(out + QStringLiteral("/rawpictures.qrc"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(qrc.toUtf8()) != qrc.toUtf8().size())
        return 1;
    return 0;
}
