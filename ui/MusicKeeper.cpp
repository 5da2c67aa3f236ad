#include "ui/MusicKeeper.h"

#include <QTimer>

#include <cstdio>
#include <utility>

namespace torvella::ui {

MusicKeeper::MusicKeeper(audio::AudioService& audio, settings::GameSettings& settings, QObject* parent)
    : QObject(parent), audio_(audio), settings_(settings)
{
    audio_.SetErrorHandler([this](const QString& message) { Problem(message); });
}

void MusicKeeper::StartUp(const QString& folder)
{
    settings_.MusicAvailable = audio_.StartUp(folder);
}

void MusicKeeper::Keep()
{
    audio_.KeepMusicPlaying(settings_.MusicAvailable, settings_.MusicOn);
}

void MusicKeeper::Toggle()
{
    audio_.ToggleMusic(settings_.MusicOn);
}

QString MusicKeeper::FileName() const
{
    return audio_.CurrentFileName();
}

void MusicKeeper::FirstFrameShown()
{
    // Music starts within the first keeper run: its library loads now, in the background.
    if (settings_.MusicOn && settings_.MusicAvailable)
        QTimer::singleShot(0, this, [this] { audio_.PrefetchMusic(); });
}

// The audio side reports from inside the clock tick (the music keeper) or the options
// dialog. A modal message opened there would hold the tick, and with it the clock and
// the pulse, until it is answered; so the report is shown from the event loop instead,
// after the language question at start-up, and only once per run: music is off after
// any failure, and a second report would only repeat the first.
void MusicKeeper::Problem(const QString& detail)
{
    if (reported_ || silent_) {
        std::fprintf(stderr, "torvella: %s\n", qPrintable(detail));
        return;
    }
    reported_ = true;
    QMetaObject::invokeMethod(
        this,
        [this, detail] {
            report_ = detail;
            if (mayAsk_)
                ShowReport();
        },
        Qt::QueuedConnection);
}

void MusicKeeper::PlayerMayBeAsked()
{
    mayAsk_ = true;
    if (!report_.isEmpty())
        QTimer::singleShot(0, this, [this] { ShowReport(); });
}

void MusicKeeper::ShowReport()
{
    const QString detail = std::exchange(report_, QString());
    if (detail.isEmpty())
        return;
    // The sound system's own words (which have no German, and are often too long for the
    // message) go to standard error; the player reads what it means for the game.
    std::fprintf(stderr, "torvella: %s\n", qPrintable(detail));
    if (silent_ || !tell_)
        return;
    tell_(settings_.Text("Die Musik kann nicht gespielt werden und ist jetzt ausgeschaltet.",
                         "The music cannot be played and is now switched off."));
}

} // namespace torvella::ui
