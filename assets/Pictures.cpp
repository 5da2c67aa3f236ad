#include "assets/Pictures.h"

#include "assets/PictureFormat.h"

#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QResource>

#include <cstring>

// The resource initialisers live in this static library; nothing would pull them into
// the program if we did not call them (and Q_INIT_RESOURCE must stand outside a namespace).
static void initPictureResources()
{
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(rawpictures);
}

namespace torvella::assets {

namespace {

void ensureResources()
{
    static const bool done = (initPictureResources(), true);
    (void)done;
}

const char* listName(PictureList list)
{
    switch (list) {
    case PictureList::Bmps: return "bmps";
    case PictureList::Btns: return "btns";
    case PictureList::Dlgs: return "dlgs";
    case PictureList::Opts: return "opts";
    }
    return "";
}

} // namespace

int PictureCount(PictureList list)
{
    switch (list) {
    case PictureList::Bmps: return BmpsCount;
    case PictureList::Btns: return BtnsCount;
    case PictureList::Dlgs: return DlgsCount;
    case PictureList::Opts: return OptsCount;
    }
    return 0;
}

QString PicturePath(PictureList list, int index)
{
    if (index < 0 || index >= PictureCount(list))
        return {};
    return QStringLiteral(":/pictures/%1%2.png")
        .arg(QLatin1String(listName(list)))
        .arg(index, 2, 10, QLatin1Char('0'));
}

QString PicturePath2x(PictureList list, int index)
{
    QString path = PicturePath(list, index);
    if (!path.isEmpty())
        path.insert(path.size() - 4, QLatin1String("@2x"));
    return path;
}

QImage LoadStoredPicture(PictureList list, int index)
{
    const QString path = PicturePath(list, index);
    if (path.isEmpty())
        return {};
    ensureResources();
    return QImage(path);
}

namespace {

// The ready-made form of a picture (see PictureFormat.h), painted straight from the
// program's mapped resource data: nothing to inflate, and no second copy in memory.
// Null when there is none, or when it is not usable as it stands.
QImage ReadyMadePicture(PictureList list, int index)
{
    const QString png = PicturePath(list, index);
    if (png.isEmpty())
        return {};
    ensureResources();
    const QResource raw(QStringLiteral(":/raw/") + png.mid(png.lastIndexOf(QLatin1Char('/')) + 1).replace(
                                                       QStringLiteral(".png"), QStringLiteral(".raw")));
    if (!raw.isValid() || raw.compressionAlgorithm() != QResource::NoCompression ||
        raw.size() < qint64(sizeof(RawPictureHeader)))
        return {};
    RawPictureHeader header;
    std::memcpy(&header, raw.data(), sizeof header);
    const uchar* bits = raw.data() + sizeof header;
    if (std::memcmp(header.magic, "TRAW", 4) != 0 || header.width <= 0 || header.height <= 0 ||
        raw.size() != qint64(sizeof header) + qint64(header.width) * header.height * 4 ||
        reinterpret_cast<quintptr>(bits) % alignof(quint32) != 0)
        return {};
    return QImage(bits, header.width, header.height, header.width * 4, QImage::Format(header.format));
}

} // namespace

QImage Picture(PictureList list, int index)
{
    QImage ready = ReadyMadePicture(list, index);
    if (!ready.isNull())
        return ready;
    return ReadyForPainting(LoadStoredPicture(list, index));
}

QImage Picture(PictureList list, int index, qreal ratio)
{
    if (ratio <= 1)
        return Picture(list, index);
    const QString path = PicturePath2x(list, index);
    if (path.isEmpty())
        return {};
    ensureResources();
    QImage image(path);
    if (image.isNull())
        return Picture(list, index);
    image.setDevicePixelRatio(2);  // the "@2x" name says so already; the promise stands here
    return ReadyForPainting(image);
}

QImage Bmps(int index) { return Picture(PictureList::Bmps, index); }
QImage Btns(int index) { return Picture(PictureList::Btns, index); }
QImage Dlgs(int index) { return Picture(PictureList::Dlgs, index); }
QImage Opts(int index) { return Picture(PictureList::Opts, index); }

QString WindowIconPath()
{
    return QStringLiteral(":/pictures/windowicon.png");
}

QIcon WindowIcon()
{
    ensureResources();
    // Both sizes named outright: a QIcon made from a file name does not look for "@2x".
    // Read as PNG files by name: left to guess, the reader would first load every image
    // format plugin of the system to ask each whether it knows the file.
    QIcon icon;
    for (const QString& path : {WindowIconPath(), QStringLiteral(":/pictures/windowicon@2x.png")}) {
        QImageReader reader(path, "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace torvella::assets
