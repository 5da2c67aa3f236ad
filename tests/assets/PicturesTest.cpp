#include "assets/PictureFormat.h"
#include "assets/Pictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace torvella::assets;

namespace {

// How a picture is stored in its PNG file (bit depth and colour type of the header).
enum class Stored { Rgb24, Grey8, Mono, Rgba32 };

struct Expected {
    PictureList list;
    int index;
    int width, height;
    Stored stored;
};

std::vector<Expected> everyPicture()
{
    std::vector<Expected> all;
    all.push_back({PictureList::Bmps, BmpsSheet, 200, 700, Stored::Rgb24});
    for (int i : {1, 2, 4, 5, 7, 8, 11, 12, 16, 17})
        all.push_back({PictureList::Bmps, i, 50, 50, Stored::Rgb24});
    for (int i : {3, 6, 9, 13, 18})
        all.push_back({PictureList::Bmps, i, 50, 50, Stored::Grey8});
    all.push_back({PictureList::Bmps, BmpsDigits, 220, 54, Stored::Rgb24});
    all.push_back({PictureList::Bmps, BmpsJumpIcon, 45, 45, Stored::Rgb24});
    all.push_back({PictureList::Bmps, BmpsJumpMask, 45, 45, Stored::Mono});
    for (int i = 0; i < BtnsCount; ++i)
        all.push_back({PictureList::Btns, i, 50, 50, Stored::Rgb24});
    const std::vector<Expected> dlgs{
        {PictureList::Dlgs, DlgMessageBack, 319, 158, Stored::Rgb24},
        {PictureList::Dlgs, DlgMessagePanel, 298, 77, Stored::Rgb24},
        {PictureList::Dlgs, DlgHighscoreBack, 320, 476, Stored::Rgb24},
        {PictureList::Dlgs, DlgHighscoreTitle, 298, 33, Stored::Rgb24},
        {PictureList::Dlgs, DlgHighscoreList, 298, 329, Stored::Rgb24},
        {PictureList::Dlgs, DlgHighscoreCheck, 298, 29, Stored::Rgb24},
        {PictureList::Dlgs, DlgOptionsBack, 497, 416, Stored::Rgb24},
        {PictureList::Dlgs, DlgOptionsPanel, 369, 333, Stored::Rgb24},
        {PictureList::Dlgs, DlgLanguageBack, 408, 162, Stored::Rgb24},
        {PictureList::Dlgs, DlgLanguagePanel, 289, 137, Stored::Rgb24},
        {PictureList::Dlgs, DlgInfoBack, 497, 416, Stored::Rgb24},
        {PictureList::Dlgs, DlgInfoPanel, 369, 333, Stored::Rgb24},
        {PictureList::Dlgs, DlgCakePicture, 105, 77, Stored::Rgba32},
    };
    all.insert(all.end(), dlgs.begin(), dlgs.end());
    for (int i = DlgYesNormal; i <= DlgEnglishHover; ++i)
        all.push_back({PictureList::Dlgs, i, 50, 50, Stored::Rgb24});
    for (int i = 0; i < OptsCount; ++i)
        all.push_back({PictureList::Opts, i, 50, 50, Stored::Rgb24});
    return all;
}

// Width, height, bit depth and colour type straight from the PNG header.
struct PngHeader {
    int width = 0, height = 0, bitDepth = 0, colourType = -1;
};

PngHeader readHeader(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray b = f.read(26);
    if (b.size() < 26 || !b.startsWith("\x89PNG\r\n\x1a\n") || b.mid(12, 4) != "IHDR")
        return {};
    auto u32 = [&](int at) {
        return int((uchar(b[at]) << 24) | (uchar(b[at + 1]) << 16) | (uchar(b[at + 2]) << 8) | uchar(b[at + 3]));
    };
    return {u32(16), u32(20), uchar(b[24]), uchar(b[25])};
}

bool isBlack(QRgb c) { return (c & 0xFFFFFF) == 0; }
bool isWhite(QRgb c) { return (c & 0xFFFFFF) == 0xFFFFFF; }

std::vector<std::pair<PictureList, int>> everyFace()
{
    std::vector<std::pair<PictureList, int>> faces;
    for (int i : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 16, 17, 18})
        faces.emplace_back(PictureList::Bmps, i);
    for (int i = 1; i < BtnsCount; ++i)
        faces.emplace_back(PictureList::Btns, i);
    for (int i = DlgYesNormal; i <= DlgEnglishHover; ++i)
        faces.emplace_back(PictureList::Dlgs, i);
    for (int i = 0; i < OptsCount; ++i)
        faces.emplace_back(PictureList::Opts, i);
    return faces;
}

QString describe(PictureList list, int index) { return PicturePath(list, index); }

} // namespace

TEST(Pictures, EveryPictureHasItsSizeAndStoredDepth)
{
    for (const Expected& e : everyPicture()) {
        SCOPED_TRACE(describe(e.list, e.index).toStdString());
        // loading first registers the resources, then the header can be read
        const QImage ready = Picture(e.list, e.index);
        ASSERT_FALSE(ready.isNull());
        EXPECT_EQ(ready.size(), QSize(e.width, e.height));
        const PngHeader header = readHeader(PicturePath(e.list, e.index));
        EXPECT_EQ(header.width, e.width);
        EXPECT_EQ(header.height, e.height);
        switch (e.stored) {
        case Stored::Rgb24:
            EXPECT_EQ(header.bitDepth, 8);
            EXPECT_EQ(header.colourType, 2);
            EXPECT_EQ(ready.format(), QImage::Format_RGB32);
            break;
        case Stored::Grey8:
            EXPECT_EQ(header.bitDepth, 8);
            EXPECT_EQ(header.colourType, 0);
            EXPECT_EQ(ready.format(), QImage::Format_RGB32);
            break;
        case Stored::Mono:
            EXPECT_EQ(header.bitDepth, 1);
            EXPECT_EQ(ready.format(), QImage::Format_RGB32);
            break;
        case Stored::Rgba32:
            EXPECT_EQ(header.bitDepth, 8);
            EXPECT_EQ(header.colourType, 6);
            EXPECT_EQ(ready.format(), QImage::Format_ARGB32_Premultiplied);
            break;
        }
    }
}

TEST(Pictures, ListsHaveNoGapsAndUnknownIndicesGiveNullImages)
{
    EXPECT_EQ(PictureCount(PictureList::Bmps), 19);
    EXPECT_EQ(PictureCount(PictureList::Btns), 9);
    EXPECT_EQ(PictureCount(PictureList::Opts), 8);
    EXPECT_EQ(everyPicture().size(),
              std::size_t(int(BmpsCount) + int(BtnsCount) + int(DlgsCount) + int(OptsCount))); // the table above misses none
    for (PictureList list : {PictureList::Bmps, PictureList::Btns, PictureList::Dlgs, PictureList::Opts}) {
        const int count = PictureCount(list);
        for (int bad : {-1, count, count + 7, 1 << 30}) {
            EXPECT_TRUE(Picture(list, bad).isNull()) << bad;
            EXPECT_TRUE(PicturePath(list, bad).isEmpty()) << bad;
        }
    }
    EXPECT_TRUE(Bmps(-5).isNull());
    EXPECT_TRUE(Dlgs(DlgsCount).isNull());
    const QIcon icon = WindowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage iconImage(WindowIconPath());
    EXPECT_EQ(iconImage.size(), QSize(32, 32));
    EXPECT_LE(iconImage.colorCount(), 16);
    EXPECT_GT(iconImage.colorCount(), 0);
    EXPECT_EQ(icon.pixmap(QSize(32, 32), 1.0).toImage().convertToFormat(QImage::Format_ARGB32),
              iconImage.convertToFormat(QImage::Format_ARGB32));
}

TEST(Pictures, DigitMasksAreBlackExactlyWhereTheGlyphsAreNotBlack)
{
    const QImage strip = Bmps(BmpsDigits);
    ASSERT_EQ(strip.size(), QSize(220, 54));
    for (int cell = 0; cell < 11; ++cell) {
        int glyphPixels = 0;
        for (int y = 0; y < 27; ++y)
            for (int x = cell * 20; x < cell * 20 + 20; ++x) {
                const QRgb colour = strip.pixel(x, y), mask = strip.pixel(x, y + 27);
                ASSERT_TRUE(isBlack(mask) || isWhite(mask)) << x << "," << y;
                ASSERT_EQ(isBlack(mask), !isBlack(colour)) << x << "," << y;
                if (!isBlack(colour)) {
                    ++glyphPixels;
                    EXPECT_LT(x - cell * 20, 19) << "glyphs keep to the left 19 columns";
                    // golden: red and green strong, blue weak
                    EXPECT_GE(qRed(colour), qBlue(colour));
                }
            }
        EXPECT_GT(glyphPixels, 40) << "cell " << cell;
    }
}

TEST(Pictures, JumpMaskIsBlackExactlyWhereTheIconIsNotBlack)
{
    const QImage icon = Bmps(BmpsJumpIcon);
    const QImage mask = Bmps(BmpsJumpMask).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(icon.size(), mask.size());
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x) {
            ASSERT_TRUE(isBlack(mask.pixel(x, y)) || isWhite(mask.pixel(x, y)));
            ASSERT_EQ(isBlack(mask.pixel(x, y)), !isBlack(icon.pixel(x, y))) << x << "," << y;
        }
    // a black disc on white: the dark hub belongs to the shape, the corners do not
    EXPECT_TRUE(isBlack(mask.pixel(22, 22)));
    EXPECT_TRUE(isWhite(mask.pixel(0, 0)));
    EXPECT_TRUE(isWhite(mask.pixel(44, 44)));
}

TEST(Pictures, FacesHaveWhiteCornersABlackFrameAndNoWhiteInside)
{
    for (const auto& [list, index] : everyFace()) {
        SCOPED_TRACE(describe(list, index).toStdString());
        const QImage face = Picture(list, index);
        ASSERT_EQ(face.size(), QSize(50, 50));
        for (QPoint corner : {QPoint(0, 0), QPoint(49, 0), QPoint(0, 49), QPoint(49, 49)})
            EXPECT_TRUE(isWhite(face.pixel(corner)));
        for (QPoint frame : {QPoint(25, 0), QPoint(0, 25), QPoint(49, 25), QPoint(25, 49)})
            EXPECT_TRUE(isBlack(face.pixel(frame)));
        // white is the transparent colour: nothing inside the frame may be pure white
        for (int y = 4; y < 46; ++y)
            for (int x = 4; x < 46; ++x)
                ASSERT_FALSE(isWhite(face.pixel(x, y))) << x << "," << y;
    }
    const QImage blank = Btns(BtnsBlank);
    ASSERT_EQ(blank.size(), QSize(50, 50));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_TRUE(isWhite(blank.pixel(x, y)));
}

TEST(Pictures, DisabledFacesAreGreyAndTheOthersAreNot)
{
    auto isGrey = [](const QImage& img) {
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c))
                    return false;
            }
        return true;
    };
    for (int i : {3, 6, 9, 13, 18})
        EXPECT_TRUE(isGrey(Bmps(i))) << i;
    for (int i : {1, 2, 4, 5, 7, 8, 11, 12, 16, 17})
        EXPECT_FALSE(isGrey(Bmps(i))) << i;
}

namespace {

// Mean absolute difference between column a and column b (or rows) of a tile.
double columnDiff(const QImage& img, QRect tile, int a, int b)
{
    double sum = 0;
    for (int y = 0; y < tile.height(); ++y)
        for (int ch = 0; ch < 3; ++ch) {
            const QRgb p = img.pixel(tile.x() + a, tile.y() + y), q = img.pixel(tile.x() + b, tile.y() + y);
            const int shift = 8 * ch;
            sum += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
        }
    return sum / (3.0 * tile.height());
}

double rowDiff(const QImage& img, QRect tile, int a, int b)
{
    return columnDiff(img.transformed(QTransform(0, 1, 1, 0, 0, 0)), QRect(tile.y(), tile.x(), tile.height(), tile.width()),
                      a, b);
}

double meanLevel(const QImage& img, QRect r)
{
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb c = img.pixel(x, y);
            sum += qRed(c) + qGreen(c) + qBlue(c);
        }
    return sum / (3.0 * r.width() * r.height());
}

} // namespace

TEST(Pictures, BackgroundTilesWrapSeamlesslyAndTheDarkOnesAreAThird)
{
    const QImage sheet = Bmps(BmpsSheet);
    ASSERT_EQ(sheet.size(), QSize(200, 700));
    for (int design = 0; design < 7; ++design)
        for (int column = 0; column < 2; ++column) {
            SCOPED_TRACE("design " + std::to_string(design) + (column ? " dark" : " bright"));
            const QRect tile(column * 100, design * 100, 100, 100);
            // The step across the wrap (last column to first) must look like a step
            // between neighbouring columns inside the tile: a seam pairs two unrelated
            // columns and differs more than any neighbours do. (The mean would be too
            // strict: a grout line of the mosaic may lie just at the edge.)
            double steepest = 0, steepestRows = 0;
            for (int k = 0; k < 99; ++k) {
                steepest = std::max(steepest, columnDiff(sheet, tile, k, k + 1));
                steepestRows = std::max(steepestRows, rowDiff(sheet, tile, k, k + 1));
            }
            EXPECT_LE(columnDiff(sheet, tile, 99, 0), steepest + 1.0);
            EXPECT_LE(rowDiff(sheet, tile, 99, 0), steepestRows + 1.0);
            // and the tile is not a flat colour, which would pass the above trivially
            EXPECT_GT(steepest, 1.0);
        }
    for (int design = 0; design < 7; ++design) {
        const double bright = meanLevel(sheet, QRect(0, design * 100, 100, 100));
        const double dark = meanLevel(sheet, QRect(100, design * 100, 100, 100));
        EXPECT_GT(bright, 60) << design;
        EXPECT_NEAR(dark / bright, 1.0 / 3.0, 0.04) << design;
    }
}

// The desktop's icons: the size in the file name is the picture's size (the installation
// files them under hicolor/NxN by that name), clear corners, a solid middle.
TEST(Pictures, DesktopIconsHaveTheSizeOfTheirNameAndAClearBackground)
{
    const QDir icons(QStringLiteral(TORVELLA_ASSETS_DIR "/icons"));
    const QStringList files = icons.entryList({"torvella-*.png"}, QDir::Files);
    QList<int> sizes;
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        const int size = file.section('-', 1).section('.', 0, 0).toInt();
        sizes << size;
        const QImage icon(icons.filePath(file));
        ASSERT_EQ(icon.size(), QSize(size, size));
        ASSERT_TRUE(icon.hasAlphaChannel());
        for (QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            EXPECT_EQ(qAlpha(icon.pixel(corner)), 0);
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (QList<int>{16, 22, 24, 32, 48, 64, 128, 256}));
}

// Qt's raster engine picks its blending code by processor (SSE, AVX2), so antialiased edges
// of a fresh run may differ from the committed picture in the last bit or two on another
// machine. Same size, same format, and no pixel further off than a rounding step.
void ExpectSamePicture(const QString& committedPath, const QString& freshPath, const QString& name)
{
    const QImage a(committedPath), b(freshPath);
    ASSERT_FALSE(a.isNull()) << name.toStdString();
    ASSERT_FALSE(b.isNull()) << name.toStdString();
    ASSERT_EQ(a.size(), b.size()) << name.toStdString();
    ASSERT_EQ(a.format(), b.format()) << name.toStdString();
    int worst = 0;
    long off = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            worst = std::max(worst, d);
            off += d > 0;
        }
    EXPECT_LE(worst, 2) << name.toStdString() << " differs from a fresh run";
    EXPECT_LE(off * 100, long(a.width()) * a.height()) << name.toStdString() << ": " << off << " pixels differ";
}

// Every generated file of a kind, compared with the committed one.
struct GeneratedKind {
    const char* kind;      // the generator's --only argument
    const char* folder;    // below assets/
    const char* pattern;
    QStringList extras;    // further files below assets/
};

TEST(Assets, TheGeneratorReproducesTheCommittedFiles)
{
    const GeneratedKind kinds[] = {
        {"pictures", "pictures", "*.png", {"pictures.qrc", "contact-sheet.png"}},
        {"sounds", "sounds", "*.wav", {}},
        {"music", "music", "*.mid", {}},
        {"icons", "icons", "*.png", {}},
    };
    const QDir committed(QStringLiteral(TORVELLA_ASSETS_DIR));
    for (const GeneratedKind& k : kinds) {
        SCOPED_TRACE(k.kind);
        QTemporaryDir out;
        ASSERT_TRUE(out.isValid());
        QProcess gen;
        gen.start(QStringLiteral(TORVELLA_ASSETGEN), {"--only", k.kind, out.path()});
        ASSERT_TRUE(gen.waitForFinished(300000)) << gen.errorString().toStdString();
        ASSERT_EQ(gen.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();

        const QDir fresh(out.path());
        const QStringList committedFiles =
            QDir(committed.filePath(k.folder)).entryList({k.pattern}, QDir::Files, QDir::Name);
        const QStringList freshFiles = QDir(fresh.filePath(k.folder)).entryList({k.pattern}, QDir::Files, QDir::Name);
        EXPECT_EQ(committedFiles, freshFiles);
        EXPECT_FALSE(freshFiles.isEmpty());
        QStringList compared;
        for (const QString& name : freshFiles)
            compared << QString::fromUtf8(k.folder) + "/" + name;
        compared << k.extras;
        for (const QString& name : compared) {
            if (name.endsWith(QLatin1String(".png"))) {
                ExpectSamePicture(committed.filePath(name), fresh.filePath(name), name);
                continue;
            }
            QFile a(committed.filePath(name)), b(fresh.filePath(name));
            ASSERT_TRUE(a.open(QIODevice::ReadOnly)) << name.toStdString();
            ASSERT_TRUE(b.open(QIODevice::ReadOnly)) << name.toStdString();
            EXPECT_TRUE(a.readAll() == b.readAll()) << name.toStdString() << " differs from a fresh run";
        }
    }
}

// The main window's pictures come ready-made: the same pixels as the decoded PNG file,
// held once (two requests share one buffer, the program's own mapped data).
TEST(Pictures, MainWindowPicturesAreReadyMadeEqualToTheirFilesAndHeldOnce)
{
    for (PictureList list : {PictureList::Bmps, PictureList::Btns}) {
        for (int index = 0; index < PictureCount(list); ++index) {
            SCOPED_TRACE(PicturePath(list, index).toStdString());
            const QImage first = Picture(list, index);
            const QImage decoded = ReadyForPainting(LoadStoredPicture(list, index));
            ASSERT_FALSE(first.isNull());
            EXPECT_EQ(first, decoded);
            EXPECT_EQ(first.format(), decoded.format());
            EXPECT_EQ(Picture(list, index).constBits(), first.constBits()) << "decoded anew";
        }
    }
}

// The twins for high-density screens ("@2x"): twice the size each way, stored like their
// 1x pictures, the same picture only finer, and their masks agree with them pixel for pixel.
TEST(Pictures, EveryPictureHasATwinAtTwiceTheSize)
{
    for (const Expected& e : everyPicture()) {
        SCOPED_TRACE(describe(e.list, e.index).toStdString());
        const QImage one = Picture(e.list, e.index);
        const QImage two = Picture(e.list, e.index, 2.0);
        ASSERT_FALSE(two.isNull());
        EXPECT_EQ(two.size(), QSize(2 * e.width, 2 * e.height));
        EXPECT_EQ(two.devicePixelRatio(), 2.0);
        EXPECT_EQ(two.deviceIndependentSize().toSize(), one.size());
        EXPECT_EQ(two.format(), one.format());
        const PngHeader a = readHeader(PicturePath(e.list, e.index)), b = readHeader(PicturePath2x(e.list, e.index));
        EXPECT_EQ(b.bitDepth, a.bitDepth);
        EXPECT_EQ(b.colourType, a.colourType);
        // the same picture: averaged down to 1x it is close to the 1x picture
        const QImage down = two.convertToFormat(QImage::Format_ARGB32).scaled(one.size(), Qt::IgnoreAspectRatio,
                                                                              Qt::SmoothTransformation);
        const QImage ref = one.convertToFormat(QImage::Format_ARGB32);
        double diff = 0;
        for (int y = 0; y < ref.height(); ++y)
            for (int x = 0; x < ref.width(); ++x) {
                const QRgb p = ref.pixel(x, y), q = down.pixel(x, y);
                diff += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
            }
        EXPECT_LT(diff / (3.0 * ref.width() * ref.height()), 24.0);
    }
    // the window icon: QIcon finds the twin by its name
    const QImage icon2(WindowIconPath().replace(".png", "@2x.png"));
    EXPECT_EQ(icon2.size(), QSize(64, 64));
    EXPECT_LE(icon2.colorCount(), 16);
    EXPECT_EQ(WindowIcon().pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
    EXPECT_TRUE(Picture(PictureList::Bmps, BmpsCount, 2.0).isNull());
    EXPECT_TRUE(PicturePath2x(PictureList::Dlgs, -1).isEmpty());
}

TEST(Pictures, TwinMasksAgreeWithTheirPictures)
{
    const QImage strip = Picture(PictureList::Bmps, BmpsDigits, 2.0);
    ASSERT_EQ(strip.size(), QSize(440, 108));
    for (int cell = 0; cell < 11; ++cell) {
        int glyphPixels = 0;
        for (int y = 0; y < 54; ++y)
            for (int x = cell * 40; x < cell * 40 + 40; ++x) {
                const QRgb colour = strip.pixel(x, y), mask = strip.pixel(x, y + 54);
                ASSERT_TRUE(isBlack(mask) || isWhite(mask)) << x << "," << y;
                ASSERT_EQ(isBlack(mask), !isBlack(colour)) << x << "," << y;
                if (!isBlack(colour)) {
                    ++glyphPixels;
                    EXPECT_LT(x - cell * 40, 38) << "glyphs keep to their 19 logical columns";
                }
            }
        EXPECT_GT(glyphPixels, 160) << "cell " << cell;
    }
    const QImage icon = Picture(PictureList::Bmps, BmpsJumpIcon, 2.0);
    const QImage mask = Picture(PictureList::Bmps, BmpsJumpMask, 2.0).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(icon.size(), QSize(90, 90));
    ASSERT_EQ(mask.size(), icon.size());
    EXPECT_EQ(Picture(PictureList::Bmps, BmpsJumpMask, 2.0).format(), QImage::Format_RGB32);
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            ASSERT_EQ(isBlack(mask.pixel(x, y)), !isBlack(icon.pixel(x, y))) << x << "," << y;
    EXPECT_TRUE(isBlack(mask.pixel(45, 45)));
    EXPECT_TRUE(isWhite(mask.pixel(0, 0)));
    // faces: white corners, black frame, nothing white inside, at twice the pixels
    for (const auto& [list, index] : everyFace()) {
        SCOPED_TRACE(describe(list, index).toStdString());
        const QImage face = Picture(list, index, 2.0);
        ASSERT_EQ(face.size(), QSize(100, 100));
        for (QPoint corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 99), QPoint(99, 99)})
            EXPECT_TRUE(isWhite(face.pixel(corner)));
        for (QPoint frame : {QPoint(50, 0), QPoint(0, 50), QPoint(99, 50), QPoint(50, 99)})
            EXPECT_TRUE(isBlack(face.pixel(frame)));
        for (int y = 8; y < 92; ++y)
            for (int x = 8; x < 92; ++x)
                ASSERT_FALSE(isWhite(face.pixel(x, y))) << x << "," << y;
    }
}
