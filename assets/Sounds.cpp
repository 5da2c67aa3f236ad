#include "assets/Sounds.h"

#include <QFile>

// The resource file lives in this static library; without this call a program that
// links it would find the resource tree empty.
static void InitSoundResources()
{
    Q_INIT_RESOURCE(sounds);
}

namespace torvella::assets {

bool LooksLikeWave(const QByteArray& bytes)
{
    return bytes.size() >= 16 && bytes.startsWith("RIFF") && bytes.mid(8, 8) == "WAVEfmt ";
}

QByteArray Wave(int n)
{
    if (n < 1 || n > 7)
        return {};
    static const bool registered = (InitSoundResources(), true);
    (void)registered;
    QFile file(QStringLiteral(":/sounds/sound%1.wav").arg(n));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    return LooksLikeWave(bytes) ? bytes : QByteArray();
}

} // namespace torvella::assets
