// torvella-assetgen [--only pictures|sounds|music|icons] ASSETS_DIR
#include "Generators.h"

#include <QGuiApplication>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // text rendering needs a GUI application
    QStringList args = app.arguments().mid(1);
    QString only;
    if (args.size() >= 2 && args[0] == "--only") {
        only = args[1];
        args = args.mid(2);
    }
    if (args.size() != 1 || (!only.isEmpty() && only != "pictures" && only != "sounds" && only != "music" && only != "icons")) {
        std::fprintf(stderr, "usage: torvella-assetgen [--only pictures|sounds|music|icons] ASSETS_DIR\n");
        return 2;
    }
    QDir dir(args[0]);
    if (!dir.exists() && !QDir().mkpath(args[0])) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args[0]));
        return 1;
    }
    if (only.isEmpty() || only == "pictures")
        torvella::assetgen::WritePictures(dir);
    if (only.isEmpty() || only == "sounds")
        torvella::assetgen::WriteSoundClips(dir);
    if (only.isEmpty() || only == "music")
        torvella::assetgen::WriteMusicFiles(dir);
    if (only.isEmpty() || only == "icons")
        torvella::assetgen::WriteDesktopIcons(dir);
    return 0;
}
