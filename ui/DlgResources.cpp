#include "ui/DlgResources.h"

#include "assets/Pictures.h"
#include "generated/Version.h"
#include "paint/BoardPainter.h"
#include "ui/FramedPanel.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace torvella::ui {

namespace {

constexpr assets::PictureList kLists[] = {assets::PictureList::Dlgs, assets::PictureList::Opts,
                                          assets::PictureList::Btns};

} // namespace

DlgResources::DlgResources()
{
    for (int l = 0; l < ListCount; ++l)
        lists_[l].resize(assets::PictureCount(kLists[l]));
}

QImage DlgResources::At(ListId list, int index) const
{
    QList<QImage>& images = lists_[list];
    if (index < 0 || index >= images.size())
        return {};
    if (images[index].isNull())
        images[index] = assets::Picture(kLists[list], index, FaceRatio());
    return images[index];
}

int DlgResources::Decoded() const
{
    int count = 0;
    for (const QList<QImage>& images : lists_)
        count += int(std::count_if(images.begin(), images.end(), [](const QImage& i) { return !i.isNull(); }));
    return count;
}

const QList<QImage>& DlgResources::All(ListId list) const
{
    for (int i = 0; i < lists_[list].size(); ++i)
        At(list, i);
    return lists_[list];
}

qreal FaceRatio()
{
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

QFont DialogFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize, bool bold,
                  Qt::Alignment alignment)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(DialogFont(pixelSize, bold));
    // Names typed by the player must never be read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(pal);
    label->setAutoFillBackground(false);
    return label;
}

RaisedVerticalLabel::RaisedVerticalLabel(QWidget* parent, const char* name, const QRect& geometry, int pixelSize)
    : QWidget(parent)
{
    setObjectName(QString::fromLatin1(name));
    setGeometry(geometry);
    setFont(DialogFont(pixelSize, true));
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RaisedVerticalLabel::setText(const QString& text)
{
    text_ = text;
    update();
}

void RaisedVerticalLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font());
    // Turned a quarter to the left: the text's baseline runs from the bottom up and its
    // top faces the left edge of the box.
    p.translate(0, height());
    p.rotate(-90);
    const QRect box(0, 0, height(), width());
    const int depth = font().pixelSize() >= 24 ? 2 : 1;
    p.setPen(Qt::black);
    // In the turned frame +x points up the screen and +y to the right.
    p.drawText(box.translated(1, -1), Qt::AlignLeft | Qt::AlignVCenter, text_);          // up-left
    p.drawText(box.translated(-depth, depth), Qt::AlignLeft | Qt::AlignVCenter, text_);  // down-right
    p.setPen(Qt::white);
    p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text_);
}

QImage GreyedFace(const QImage& face)
{
    if (face.isNull())
        return {};
    QImage img = face.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            if ((c & 0xFFFFFF) == 0xFFFFFF)
                continue;
            const int g = 96 + qGray(c) * 3 / 5; // lifted and flattened: 96 .. 249
            line[x] = qRgba(g, g, g, qAlpha(c));
        }
    }
    return img;
}

QLabel* MakePicture(QWidget* parent, const char* name, const QPoint& at, const QImage& picture)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAutoFillBackground(false);
    label->setGeometry(QRect(at, QSize(105, 77)));
    ShowPicture(label, picture);
    return label;
}

void ShowPicture(QLabel* label, const QImage& picture)
{
    if (picture.isNull())
        return;
    const QSize logical = picture.deviceIndependentSize().toSize();
    QImage shown = picture;
    // Between the stored resolutions the 2x picture is scaled down smoothly once here; the
    // label itself would pick every other pixel.
    const qreal r = label->devicePixelRatio();
    if (r != picture.devicePixelRatio() && r > 1) {
        shown = picture.scaled(paint::DeviceSize(logical, r), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        shown.setDevicePixelRatio(r);
    }
    label->setPixmap(QPixmap::fromImage(shown));
    label->setGeometry(QRect(label->pos(), logical));
}

BrandSide MakeBrandSide(QWidget* dialog)
{
    BrandSide side;
    side.backPanel = new FramedPanel(dialog);
    side.backPanel->setObjectName(QStringLiteral("BackPanel"));
    side.backPanel->setGeometry(0, 0, 497, 416);
    side.picture = MakePicture(side.backPanel, "Picture", QPoint(0, 12), QImage());
    side.prog = new RaisedVerticalLabel(side.backPanel, "ProgLabel", QRect(12, 119, 53, 281), 37);
    side.version = new RaisedVerticalLabel(side.backPanel, "VersionLabel", QRect(56, 130, 21, 266), 16);
    side.prog->setText(QStringLiteral("Torvella"));
    side.version->setText(VersionText());
    return side;
}

QString VersionText() { return QStringLiteral("Version  ") + QLatin1String(kVersionTag); }

} // namespace torvella::ui
