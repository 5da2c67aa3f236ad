// The program's icon for the desktop in every size of the hicolor theme, painted at
// each size rather than scaled, so the small ones stay sharp.
#include "Generators.h"
#include "PictureSets.h"

#include <QImageWriter>
#include <cstdio>
#include <cstdlib>

namespace torvella::assetgen {

void WriteDesktopIcons(const QDir& assets)
{
    if (!assets.mkpath("icons")) {
        std::fprintf(stderr, "torvella-assetgen: cannot create %s\n", qPrintable(assets.filePath("icons")));
        std::exit(1);
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString file = assets.filePath(QStringLiteral("icons/torvella-%1.png").arg(size));
        QImageWriter writer(file, "png");
        if (!writer.write(PaintAppIcon(size))) {
            std::fprintf(stderr, "torvella-assetgen: cannot write %s: %s\n", qPrintable(file),
                         qPrintable(writer.errorString()));
            std::exit(1);
        }
    }
}

} // namespace torvella::assetgen
