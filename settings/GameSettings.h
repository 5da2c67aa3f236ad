#pragma once
// The player's settings in memory: language, sound effects, music, background, and the
// name typed last into the high-score list. The game session reads them once at start-up
// and hands them to the windows; the dialogs change them only through the methods below,
// each of which holds the rule of its change; the session writes the four switches back
// when the game closes, in one write. The name is stored with the list it was typed into
// (HighScoreList::Save), so that the list and its name never disagree.
#include <QString>

namespace torvella::settings {

class IniCtrl;

class GameSettings {
public:
    int Tongue = -1;       // 1 German, 0 English, -1 not chosen yet; only 1 shows German
    bool SoundOn = true;
    bool MusicOn = true;
    int BackMode = 0;      // 0..6, shown as 1..7; a hand-edited store may hold any number
    QString Player;        // the name typed last into the high-score list
    bool CakeLabels = false;  // slice count and a colour sign beside the hue on every cake
    bool MusicAvailable = false;  // a music file was found at start-up; not stored

    GameSettings();  // every value at its default

    // The six stored values. Reading never fails: a value that is missing or cannot be
    // read takes its default. The result is taken over only when all are read.
    void Load(IniCtrl& ini);
    // The language alone, read again (the first show asks when none is stored).
    void ReloadTongue(IniCtrl& ini);
    // Sound, music, language, background and the cakes' labels in one write: all are
    // stored, or none and StoreError is thrown.
    void Save(IniCtrl& ini) const;

    // The language dialog's choice.
    void ChooseLanguage(bool german) { Tongue = german ? 1 : 0; }
    // The options' language button: (Tongue + 1) mod 2 with the remainder taking the sign
    // of the dividend, so 0 and 1 swap, -1 (not chosen yet) becomes 0, English, and a
    // hand-edited -2 becomes -1.
    void NextLanguage();
    void ToggleSound() { SoundOn = !SoundOn; }
    void ToggleCakeLabels() { CakeLabels = !CakeLabels; }
    // (BackMode + 1) mod 7, always in 0..6 (it picks a picture), whatever was stored.
    void NextBackground();

    bool German() const { return Tongue == 1; }
    // Picks the text for the current language.
    QString Text(const char* german, const char* english) const
    {
        return QString::fromUtf8(German() ? german : english);
    }
};

} // namespace torvella::settings
