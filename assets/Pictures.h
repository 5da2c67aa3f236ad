#pragma once
// The pictures the program carries, embedded as Qt resources (assets/pictures.qrc).
// Every picture is painted by tools/assetgen; the files are named "<list><index>.png"
// (two digits), e.g. ":/pictures/bmps10.png" is the digit strip. Every picture also comes
// at twice the size for high-density screens, named by Qt's convention "<list><index>@2x.png"
// (masks with it, agreeing with their pictures pixel for pixel).
#include <QIcon>
#include <QImage>
#include <QString>

namespace torvella::assets {

// The four image lists of the windows.
enum class PictureList { Bmps, Btns, Dlgs, Opts };

// Main window list `bmps` (19 pictures):
//   0       background sheet 200 x 700: 7 rows, bright tile left, dark tile right
//   1, 2, 3 same-tableau button: yellow circular arrow, another pose, grey
//   4, 5, 6 new-tableau button: rocket, another pose, grey
//   7, 8, 9 high-score button: trophy, another pose, grey
//   10      digit strip 220 x 54: minus, 0..9 (rows 0-26), their masks (rows 27-53)
//   11..13  pause button: cup on a saucer, another pose, grey
//   14      jump icon 45 x 45 (colour, black = transparent)
//   15      jump mask 45 x 45, 1-bit: black where the icon is not black
//   16..18  undo button: curved arrow, another pose, grey
// The grey faces (3, 6, 9, 13, 18) are 8-bit greyscale files, the mask 1-bit,
// everything else 24-bit.
enum BmpsIndex {
    BmpsSheet = 0,
    BmpsDigits = 10,
    BmpsJumpIcon = 14,
    BmpsJumpMask = 15,
    BmpsCount = 19
};

// Shared list `btns` (9 faces): 0 a plain white square; 1 closed door, 2 open door;
// 3 letter i, 4 another pose; 5 question mark, 6 another pose; 7 hammer and
// compasses, 8 another pose.
enum BtnsIndex { BtnsBlank = 0, BtnsCount = 9 };

// Shared list `dlgs`: panel backgrounds (exact size of the panel they fill; the
// panel draws its bevels and black border over the picture), button faces (50 x 50,
// white corners are transparent) and the picture of the options and language dialogs.
enum DlgsIndex {
    DlgMessageBack = 0,    // 319 x 158 message dialog
    DlgMessagePanel,       // 298 x 77 its text panel
    DlgHighscoreBack,      // 320 x 476 high-score dialog
    DlgHighscoreTitle,     // 298 x 33 title panel
    DlgHighscoreList,      // 298 x 329 list panel
    DlgHighscoreCheck,     // 298 x 29 check-box panel
    DlgOptionsBack,        // 497 x 416 options dialog
    DlgOptionsPanel,       // 369 x 333 options panel
    DlgLanguageBack,       // 408 x 162 language dialog
    DlgLanguagePanel,      // 289 x 137 its inner panel
    DlgInfoBack,           // 497 x 416 information dialog
    DlgInfoPanel,          // 369 x 333 its inner panel (at 116, 12 like the options panel)
    DlgYesNormal,          // 50 x 50 faces, each normal then mouse-over
    DlgYesHover,
    DlgNoNormal,
    DlgNoHover,
    DlgOkNormal,
    DlgOkHover,
    DlgCancelNormal,
    DlgCancelHover,
    DlgCloseNormal,        // options and information dialogs: back to the game
    DlgCloseHover,
    DlgGermanNormal,
    DlgGermanHover,
    DlgEnglishNormal,
    DlgEnglishHover,
    DlgCakePicture,        // 105 x 77 with an alpha channel (options and language dialogs)
    DlgsCount
};

// List `opts` (8 faces, 50 x 50): each option button normal then mouse-over.
enum OptsIndex {
    OptLanguageNormal = 0,
    OptLanguageHover,
    OptSoundNormal,
    OptSoundHover,
    OptMusicNormal,
    OptMusicHover,
    OptBackgroundNormal,
    OptBackgroundHover,
    OptsCount
};

// Number of pictures in a list; every index from 0 to count - 1 exists.
int PictureCount(PictureList list);
// Resource path of a picture (":/pictures/bmps10.png"), empty for an unknown index.
QString PicturePath(PictureList list, int index);
// The picture as stored (original depth), or a null image for an unknown index.
QImage LoadStoredPicture(PictureList list, int index);
// The picture ready for painting: pictures with an alpha channel become
// Format_ARGB32_Premultiplied, all others (1-bit masks too) Format_RGB32.
// An unknown index gives a null image.
QImage Picture(PictureList list, int index);
// The stored picture that suits a device pixel ratio best: the 1x picture up to a ratio of
// 1, the 2x picture (devicePixelRatio 2, twice the size) above it. Prepared as Picture().
QImage Picture(PictureList list, int index, qreal ratio);
// Resource path of the 2x picture (":/pictures/bmps10@2x.png"), empty for an unknown index.
QString PicturePath2x(PictureList list, int index);

QImage Bmps(int index);
QImage Btns(int index);
QImage Dlgs(int index);
QImage Opts(int index);
// 32 x 32 wheel of slices, like the mixed cake, with its 64 x 64 twin.
QIcon WindowIcon();
QString WindowIconPath();

} // namespace torvella::assets
