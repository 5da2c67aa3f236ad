#pragma once
// The audio module "libtorvella-audio.so", loaded from the program folder the first time
// a sound, the music or the clips are wanted. Until then only the music folder is looked
// at (which needs nothing of the sound library). When the module cannot be loaded the
// game goes on without sound, and music, when it would start, says why once.
#include "audio/AudioService.h"

#include <functional>

namespace torvella::audio {

inline constexpr const char* kAudioModuleName = "libtorvella-audio.so";

// The folders searched for the module: the program folder, then $TORVELLA_MODULE_DIR
// (for test programs that do not live in the program folder).
std::unique_ptr<AudioService> CreateAudio(const QString& programFolder, const QList<QByteArray>& clips);
// The same with the clips fetched when the module loads: a game that never sounds never
// reads (or inflates) them.
using ClipSource = std::function<QList<QByteArray>()>;
std::unique_ptr<AudioService> CreateAudio(const QString& programFolder, ClipSource clips);

} // namespace torvella::audio
