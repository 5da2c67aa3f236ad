#include "ui/Windows.h"

#include "ui/DlgResources.h"
#include "ui/GameRecords.h"
#include "ui/HighscoreDlg.h"
#include "ui/InfoDlg.h"
#include "ui/MainForm.h"
#include "ui/OptionDlg.h"
#include "ui/TongueDlg.h"
#include "ui/YesNoDlg.h"

#include <QEvent>

#include <functional>
#include <utility>

namespace torvella::ui {

namespace {

// Binds a dialog's pictures when it is first shown or drawn (a hidden dialog can be
// drawn into a picture). Not at polishing: showing the main window polishes its
// children, the dialogs among them. The dialog backgrounds are most of the program's
// pictures; a start that shows none of them never decodes them.
class PictureBinder : public QObject {
public:
    PictureBinder(QWidget* dialog, std::function<void()> bind) : QObject(dialog), bind_(std::move(bind))
    {
        if (dialog->isVisible())
            Bind();
        else
            dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if ((e->type() == QEvent::Show || e->type() == QEvent::Paint) && bind_) {
            watched->removeEventFilter(this);
            Bind();
        }
        return false;
    }

private:
    void Bind()
    {
        auto bind = std::move(bind_);
        bind_ = nullptr;
        bind();
    }

    std::function<void()> bind_;
};

// A dialog is made with its pictures bound when it is first shown.
template <class Dialog, class... Args>
void Make(std::unique_ptr<Dialog>& slot, const DlgResources& res, Args&&... args)
{
    slot = std::make_unique<Dialog>(std::forward<Args>(args)...);
    Dialog* dialog = slot.get();
    new PictureBinder(dialog, [dialog, &res] { dialog->BindPictures(res); });
}

} // namespace

Windows::Windows() = default;

Windows::~Windows()
{
    highscoreDlg_.reset();
    optionDlg_.reset();
    dlgResources_.reset();
    infoDlg_.reset();
    tongueDlg_.reset();
    yesNoDlg_.reset();
    mainform.reset();
}

void Windows::Create(help::HelpRuntime* help)
{
    mainform = std::make_unique<MainForm>(help);
    dlgResources_ = std::make_unique<DlgResources>();
    mainform->AttachDialogs(*this, *dlgResources_);
}

void Windows::CreateDialogsUpTo(int order)
{
    MainForm& main = *mainform;
    for (int next = created_ + 1; next <= order; ++next) {
        switch (next) {
        case 1: Make(yesNoDlg_, *dlgResources_, main.Settings(), &main); break;
        case 2: Make(tongueDlg_, *dlgResources_, main.Settings(), &main); break;
        case 3: Make(infoDlg_, *dlgResources_, main.Settings(), &main); break;
        case 4: Make(optionDlg_, *dlgResources_, main.Settings(), main, &main); break;
        case 5:
            Make(highscoreDlg_, *dlgResources_, main.Ini(), main.ScoreScrambler(), main.Settings(), &main);
            main.Records().AttachDialogs(*dlgResources_, highscoreDlg_.get());
            break;
        }
        created_ = next;
    }
}

YesNoDlg& Windows::YesNo() { return Made(1, yesNoDlg_); }
TongueDlg& Windows::Tongue() { return Made(2, tongueDlg_); }
InfoDlg& Windows::Info() { return Made(3, infoDlg_); }
OptionDlg& Windows::Options() { return Made(4, optionDlg_); }
HighscoreDlg& Windows::Highscore() { return Made(5, highscoreDlg_); }

} // namespace torvella::ui
