// Writes every picture of the program into assets/pictures/, the resource file that
// embeds them (assets/pictures.qrc) and a contact sheet for looking them over.
#include "Generators.h"
#include "PictureKit.h"
#include "PictureSets.h"
#include "../../assets/Pictures.h"

#include <QFile>
#include <QImageWriter>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace torvella::assetgen {

namespace {

using assets::PictureList;

// How a picture is stored: the depth each list entry must have.
enum class Storage { Rgb24, Grey8, Mono, Alpha, Indexed };

struct Entry {
    PictureList list;
    int index;
    QString file;   // relative to the assets folder
    QImage image;
    Storage storage;
};

QString listName(PictureList list)
{
    switch (list) {
    case PictureList::Bmps: return "bmps";
    case PictureList::Btns: return "btns";
    case PictureList::Dlgs: return "dlgs";
    case PictureList::Opts: return "opts";
    }
    return {};
}

// The same rule as assets::PicturePath, without the resource prefix; the 2x twin by Qt's
// "@2x" convention.
QString fileFor(PictureList list, int index, int scale)
{
    return QStringLiteral("pictures/%1%2%3.png")
        .arg(listName(list))
        .arg(index, 2, 10, QLatin1Char('0'))
        .arg(scale == 1 ? QString() : QStringLiteral("@%1x").arg(scale));
}

QString windowIconFile(int scale)
{
    return scale == 1 ? QStringLiteral("pictures/windowicon.png") : QStringLiteral("pictures/windowicon@%1x.png").arg(scale);
}

QImage stored(const QImage& image, Storage storage)
{
    switch (storage) {
    case Storage::Rgb24: return image.convertToFormat(QImage::Format_RGB888);
    case Storage::Grey8: return image.convertToFormat(QImage::Format_Grayscale8);
    case Storage::Alpha: return image.convertToFormat(QImage::Format_ARGB32);
    case Storage::Mono:
    case Storage::Indexed: return image;
    }
    return image;
}

void fail(const QString& what)
{
    std::fprintf(stderr, "torvella-assetgen: %s\n", qPrintable(what));
    std::exit(1);
}

void save(const QDir& assets, const QString& file, const QImage& image)
{
    if (image.isNull())
        fail("no picture for " + file);
    QImageWriter writer(assets.filePath(file), "png");
    if (!writer.write(image))
        fail("cannot write " + file + ": " + writer.errorString());
}

// Every picture at the current paint scale.
std::vector<Entry> allPictures()
{
    std::vector<Entry> out;
    auto add = [&](PictureList list, int index, QImage image, Storage storage) {
        out.push_back({list, index, fileFor(list, index, PaintScale()), std::move(image), storage});
    };
    // bmps
    add(PictureList::Bmps, assets::BmpsSheet, PaintBackgroundSheet(), Storage::Rgb24);
    for (int i = 1; i < assets::BmpsCount; ++i) {
        if (i == assets::BmpsDigits)
            add(PictureList::Bmps, i, PaintDigitStrip(), Storage::Rgb24);
        else if (i == assets::BmpsJumpIcon)
            add(PictureList::Bmps, i, PaintJumpIcon(), Storage::Rgb24);
        else if (i == assets::BmpsJumpMask)
            add(PictureList::Bmps, i, JumpMaskFor(PaintJumpIcon()), Storage::Mono);
        else {
            const bool grey = i == 3 || i == 6 || i == 9 || i == 13 || i == 18;
            add(PictureList::Bmps, i, PaintBmpsFace(i), grey ? Storage::Grey8 : Storage::Rgb24);
        }
    }
    for (int i = 0; i < assets::BtnsCount; ++i)
        add(PictureList::Btns, i, PaintBtnsFace(i), Storage::Rgb24);
    for (int i = 0; i < assets::DlgsCount; ++i)
        add(PictureList::Dlgs, i, PaintDlgsPicture(i),
            i == assets::DlgCakePicture ? Storage::Alpha : Storage::Rgb24);
    for (int i = 0; i < assets::OptsCount; ++i)
        add(PictureList::Opts, i, PaintOptsFace(i), Storage::Rgb24);
    return out;
}

QImage checkerboard(QSize size)
{
    QImage img(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            img.setPixel(x, y, ((x / 8 + y / 8) % 2) ? qRgb(150, 150, 150) : qRgb(110, 110, 110));
    return img;
}

// Every picture twice its size (pixels kept sharp) with its list name and index.
QImage contactSheet(const std::vector<Entry>& entries, const QImage& windowIcon)
{
    struct Item {
        QString label;
        QImage image;
    };
    std::vector<Item> items;
    for (const Entry& e : entries)
        items.push_back({listName(e.list) + " " + QString::number(e.index), e.image});
    items.push_back({"window icon", windowIcon});
    // Small pictures first, then the panels and the sheet, each group in list order,
    // so the tall pictures do not leave most of the sheet empty.
    auto bucket = [](const Item& it) { return it.image.height() <= 60 ? 0 : it.image.height() <= 200 ? 1 : 2; };
    std::stable_sort(items.begin(), items.end(),
                     [&](const Item& a, const Item& b) { return bucket(a) < bucket(b); });

    const int width = 2200, gap = 16, labelH = 18;
    // first pass: positions
    std::vector<QPoint> pos;
    int x = gap, y = gap, rowH = 0;
    for (const Item& it : items) {
        const QSize s = it.image.size() * 2;
        const int w = std::max(s.width(), 90);
        if (x + w + gap > width && x > gap) {
            x = gap;
            y += rowH + gap;
            rowH = 0;
        }
        pos.emplace_back(x, y);
        x += w + gap;
        rowH = std::max(rowH, s.height() + labelH);
    }
    const int height = y + rowH + gap;
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(128, 128, 128));
    QPainter p(&sheet);
    p.setFont(boldFont(13));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QImage img = items[i].image.convertToFormat(QImage::Format_ARGB32);
        const QSize s = img.size() * 2;
        const QPoint at = pos[i] + QPoint(0, labelH);
        p.setPen(QColor(20, 20, 20));
        p.drawText(QRect(pos[i], QSize(std::max(s.width(), 90), labelH)), Qt::AlignLeft | Qt::AlignVCenter,
                   items[i].label);
        if (img.hasAlphaChannel())
            p.drawImage(at, checkerboard(s));
        p.drawImage(QRect(at, s), img);
    }
    p.end();
    return sheet;
}

} // namespace

void WritePictures(const QDir& assets)
{
    if (!assets.mkpath("pictures"))
        fail("cannot create " + assets.filePath("pictures"));
    // Drop pictures of an earlier run, so the folder holds exactly what the table says.
    QDir folder(assets.filePath("pictures"));
    for (const QString& old : folder.entryList({"*.png"}, QDir::Files))
        folder.remove(old);

    const std::vector<Entry> entries = allPictures();
    for (const Entry& e : entries)
        save(assets, e.file, stored(e.image, e.storage));
    const QImage icon = PaintWindowIcon();
    save(assets, windowIconFile(1), icon);
    // The twins for high-density screens, twice the size each way.
    std::vector<Entry> twins;
    {
        const PaintScaleScope twice(2);
        twins = allPictures();
        for (const Entry& e : twins)
            save(assets, e.file, stored(e.image, e.storage));
        save(assets, windowIconFile(2), PaintWindowIcon());
    }

    QFile qrc(assets.filePath("pictures.qrc"));
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        fail("cannot write " + qrc.fileName());
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<!-- written by torvella-assetgen -->\n<qresource prefix=\"/\">\n";
    for (const std::vector<Entry>* list : {&entries, static_cast<const std::vector<Entry>*>(&twins)})
        for (const Entry& e : *list)
            out << "    <file>" << e.file << "</file>\n";
    out << "    <file>" << windowIconFile(1) << "</file>\n";
    out << "    <file>" << windowIconFile(2) << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    out.flush();
    if (qrc.error() != QFileDevice::NoError)
        fail("cannot write " + qrc.fileName());

    save(assets, "contact-sheet.png", contactSheet(entries, icon));
}

} // namespace torvella::assetgen
