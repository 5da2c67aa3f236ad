#include "settings/GameSettings.h"

#include "settings/Keys.h"

namespace torvella::settings {

GameSettings::GameSettings()
    : Tongue(keys::Tongue.def), SoundOn(keys::Sound.def), MusicOn(keys::Music.def), BackMode(keys::BackMode.def),
      Player(QString::fromUtf8(keys::Player.def)), CakeLabels(keys::CakeLabels.def)
{
}

void GameSettings::Load(IniCtrl& ini)
{
    GameSettings read = *this;
    read.Tongue = Read(ini, keys::Tongue);
    read.SoundOn = Read(ini, keys::Sound);
    read.MusicOn = Read(ini, keys::Music);
    read.BackMode = Read(ini, keys::BackMode);
    read.Player = Read(ini, keys::Player);
    read.CakeLabels = Read(ini, keys::CakeLabels);
    *this = read;
}

void GameSettings::ReloadTongue(IniCtrl& ini) { Tongue = Read(ini, keys::Tongue); }

void GameSettings::Save(IniCtrl& ini) const
{
    Changes()
        .Set(keys::Sound, SoundOn)
        .Set(keys::Music, MusicOn)
        .Set(keys::Tongue, Tongue)
        .Set(keys::BackMode, BackMode)
        .Set(keys::CakeLabels, CakeLabels)
        .WriteTo(ini);
}

void GameSettings::NextLanguage() { Tongue = static_cast<int>((static_cast<long long>(Tongue) + 1) % 2); }

void GameSettings::NextBackground()
{
    // A stored number may be negative, or the largest one, whose successor does not fit.
    const long long next = (static_cast<long long>(BackMode) + 1) % 7;
    BackMode = static_cast<int>(next < 0 ? next + 7 : next);
}

} // namespace torvella::settings
