#pragma once
// The seven sound clips carried inside the program (the wave list), by sound number.
#include <QByteArray>

namespace torvella::assets {

// The complete RIFF/WAVE image of sound n (1..7). Empty when there is no such clip or
// when the image does not begin like a WAVE file ("RIFF", size, "WAVE", "fmt "): such a
// clip stays silent rather than reaching the player.
QByteArray Wave(int n);

// Whether bytes begin with "RIFF", a 32-bit size, "WAVE" and "fmt ".
bool LooksLikeWave(const QByteArray& bytes);

} // namespace torvella::assets
