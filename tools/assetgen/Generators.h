#pragma once
#include <QDir>

namespace torvella::assetgen {

// Each writes its files below the given assets folder, deterministically:
// running the generator twice gives the same bytes.
void WritePictures(const QDir& assets);   // background sheet, digits, icons, faces, dialog pictures
void WriteSoundClips(const QDir& assets); // sounds/sound1.wav .. sound7.wav
void WriteMusicFiles(const QDir& assets); // music/*.mid

} // namespace torvella::assetgen
