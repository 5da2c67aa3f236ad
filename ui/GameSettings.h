#pragma once
// The settings in memory, owned by the main window; the dialogs change them with
// immediate effect and the main window writes them back when it closes.
#include <QString>

namespace torvella::ui {

struct GameSettings {
    int Tongue = -1;          // 1 German, 0 English, -1 not chosen yet; only 1 shows German
    bool SoundOn = true;
    bool MusicOn = true;
    int BackMode = 0;         // 0..6, shown as 1..7
    bool MusicAvailable = false;

    bool German() const { return Tongue == 1; }
    // Picks the text for the current language.
    QString Text(const char* german, const char* english) const
    {
        return QString::fromUtf8(German() ? german : english);
    }
};

// What the options dialog asks of the main window.
class OptionHost {
public:
    virtual ~OptionHost() = default;
    virtual void SetLanguageTexts() = 0;
    // BackMode changed: BuildBoardBack, RenderBoard and repaint the whole window.
    virtual void BackgroundChanged() = 0;
    // Music off, or on with the next music file.
    virtual void ToggleMusic() = 0;
    // Name of the current music file, without folder, with extension.
    virtual QString MusicFileName() const = 0;
};

} // namespace torvella::ui
