#pragma once
// The individual picture painters; WritePictures (Pictures.cpp) puts them into the
// image lists and writes the files.
#include <QImage>
#include <vector>

namespace torvella::assetgen {

constexpr int TileSize = 100;
constexpr int BackgroundDesigns = 7;

// One bright 100 x 100 tile of a background design (0..6); it tiles seamlessly.
QImage PaintBackgroundTile(int design);
// The same tile at a third of its brightness.
QImage DarkenTile(const QImage& bright);
// 200 x 700: bright tiles left, dark tiles right, one design per row.
QImage PaintBackgroundSheet();

QImage PaintDigitStrip();   // 220 x 54, glyphs above, masks below
QImage PaintJumpIcon();     // 45 x 45 wheel on black
QImage JumpMaskFor(const QImage& icon); // 45 x 45, Format_Mono
QImage PaintWindowIcon();   // 32 x 32, indexed, 16 colours
QImage PaintAppIcon(int size); // size x size, with alpha: the desktop's icon

// Button faces; the index meanings are those of assets/Pictures.h.
QImage PaintBmpsFace(int index);  // 1-9, 11-13, 16-18
QImage PaintBtnsFace(int index);  // 0-8
QImage PaintOptsFace(int index);  // 0-7
QImage PaintDlgsPicture(int index);

} // namespace torvella::assetgen
