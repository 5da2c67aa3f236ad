#include "assets/Pictures.h"

#include <QFile>

// The resource initialiser lives in this static library; nothing would pull it into
// the program if we did not call it (and Q_INIT_RESOURCE must stand outside a namespace).
static void initPictureResources()
{
    Q_INIT_RESOURCE(pictures);
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

QImage LoadStoredPicture(PictureList list, int index)
{
    const QString path = PicturePath(list, index);
    if (path.isEmpty())
        return {};
    ensureResources();
    return QImage(path);
}

QImage Picture(PictureList list, int index)
{
    QImage image = LoadStoredPicture(list, index);
    if (image.isNull() || image.depth() == 1)
        return image;
    if (image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return image.convertToFormat(QImage::Format_RGB32);
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
    return QIcon(WindowIconPath());
}

} // namespace torvella::assets
