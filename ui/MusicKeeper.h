#pragma once
// The music of the window: the first file at start-up, the keeper's run on every clock
// tick, the options' switch, and the one report of a sound system that failed. The sound
// effects go straight to the audio service; they need no keeping.
#include "audio/AudioService.h"
#include "settings/GameSettings.h"

#include <QObject>
#include <QString>

#include <functional>

namespace torvella::ui {

class MusicKeeper : public QObject {
    Q_OBJECT
public:
    // Takes the audio service's error reports from now on.
    MusicKeeper(audio::AudioService& audio, settings::GameSettings& settings, QObject* parent = nullptr);

    // The music files of a folder; the settings learn whether there is any music.
    void StartUp(const QString& folder);
    void Keep();
    void Toggle();
    QString FileName() const;
    // The first frame is on the screen: music that is to play gets its library loaded.
    void FirstFrameShown();

    // How the player is told that the music failed, in the game's message dialog.
    void SetTeller(std::function<void(const QString&)> tell) { tell_ = std::move(tell); }
    // The language question is over: a report waiting for it is shown now.
    void PlayerMayBeAsked();
    // The game is closing: reports go to the error stream only.
    void Silence() { silent_ = true; }

private:
    void Problem(const QString& detail);
    void ShowReport();

    audio::AudioService& audio_;
    settings::GameSettings& settings_;
    std::function<void(const QString&)> tell_;
    bool mayAsk_ = false;    // the first show's language question is over
    bool reported_ = false;  // the one audio report of this run is on its way
    bool silent_ = false;
    QString report_;         // waiting for the language question to end
};

} // namespace torvella::ui
