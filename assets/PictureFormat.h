#pragma once
// The one rule for the form in which a picture is painted: pictures with an alpha channel
// become Format_ARGB32_Premultiplied, all others (1-bit masks too: black and white)
// Format_RGB32. Shared by the program and by the build step that stores the pictures
// the first frame needs ready-made (tool/RawPictures.cpp).
#include <QImage>

namespace torvella::assets {

inline QImage ReadyForPainting(const QImage& image)
{
    if (image.isNull())
        return image;
    if (image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return image.convertToFormat(QImage::Format_RGB32);
}

// Header of a ready-made picture: magic, then width, height and QImage::Format as
// 32-bit integers in the machine's order; the rows follow, 4 bytes a pixel, unpadded.
struct RawPictureHeader {
    char magic[4]; // "TRAW"
    qint32 width;
    qint32 height;
    qint32 format;
};

} // namespace torvella::assets
