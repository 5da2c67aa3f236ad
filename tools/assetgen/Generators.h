#pragma once
#include <QDir>

namespace torvella::assetgen {

// Each writes its files below the given assets folder, deterministically:
// running the generator twice gives the same bytes.
void WritePictures(const QDir& assets);   // background sheet, digits, icons, faces, dialog pictures
void WriteSoundClips(const QDir& assets); // sounds/sound1.wav .. sound7.wav
void WriteMusicFiles(const QDir& assets); // music/*.mid
void WriteDesktopIcons(const QDir& assets); // icons/torvella-N.png, the hicolor sizes 16 to 256

} // namespace torvella::assetgen
