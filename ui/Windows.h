#pragma once
// Every window of the program, destroyed together. The main window is created first (it
// uses no dialog while it is created), then the shared pictures its right-hand buttons
// need. The dialogs follow when first asked for, always in the same order (the message
// dialog, the language dialog, the information dialog, the options, the high-score list):
// asking for one creates those before it that are still missing. A start that shows no
// dialog builds none before its first frame.
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

// Where the main window gets its dialogs: each is there whenever it is asked for.
class DialogSource {
public:
    virtual YesNoDlg& YesNo() = 0;
    virtual TongueDlg& Tongue() = 0;
    virtual InfoDlg& Info() = 0;
    virtual OptionDlg& Options() = 0;
    virtual HighscoreDlg& Highscore() = 0;

protected:
    ~DialogSource() = default;
};

class Windows final : public DialogSource {
public:
    Windows();
    ~Windows();  // the dialogs go before the main window
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // help: the program's help runtime, handed to the main window (none in most tests).
    void Create(help::HelpRuntime* help = nullptr);

    std::unique_ptr<MainForm> mainform;
    DlgResources& Resources() const { return *dlgResources_; }

    // --- DialogSource: created on first use, all of them children of the main window
    YesNoDlg& YesNo() override;
    TongueDlg& Tongue() override;
    InfoDlg& Info() override;
    OptionDlg& Options() override;
    HighscoreDlg& Highscore() override;
    // How many of the five dialogs exist so far.
    int DialogsCreated() const { return created_; }

private:
    // Creates the dialogs up to and including the one at `order` (1 the message dialog ...
    // 5 the high-score list) that do not exist yet.
    void CreateDialogsUpTo(int order);
    template <class Dialog>
    Dialog& Made(int order, const std::unique_ptr<Dialog>& slot)
    {
        CreateDialogsUpTo(order);
        return *slot;
    }

    std::unique_ptr<DlgResources> dlgResources_;
    std::unique_ptr<YesNoDlg> yesNoDlg_;
    std::unique_ptr<TongueDlg> tongueDlg_;
    std::unique_ptr<InfoDlg> infoDlg_;
    std::unique_ptr<OptionDlg> optionDlg_;
    std::unique_ptr<HighscoreDlg> highscoreDlg_;
    int created_ = 0;
};

} // namespace torvella::ui
