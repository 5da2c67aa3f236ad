#pragma once
// Every window of the program, created once in a fixed order and destroyed together:
// the main window first (it uses no dialog while it is created), then the message dialog,
// the language dialog, the information dialog, the shared pictures, the options and the
// high-score list.
#include <memory>

namespace torvella::help {
class HelpRuntime;
}

namespace torvella::ui {

class MainForm;
class YesNoDlg;
class TongueDlg;
class InfoDlg;
class DlgResources;
class OptionDlg;
class HighscoreDlg;

struct Windows {
    Windows();
    ~Windows();  // the dialogs go before the main window
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // help: the program's help runtime, handed to the main window (none in most tests).
    void Create(help::HelpRuntime* help = nullptr);

    std::unique_ptr<MainForm> mainform;
    std::unique_ptr<YesNoDlg> yesNoDlg;
    std::unique_ptr<TongueDlg> tongueDlg;
    std::unique_ptr<InfoDlg> infoDlg;
    std::unique_ptr<DlgResources> dlgResources;
    std::unique_ptr<OptionDlg> optionDlg;
    std::unique_ptr<HighscoreDlg> highscoreDlg;
};

} // namespace torvella::ui
