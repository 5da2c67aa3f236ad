#include "ui/Windows.h"

#include "ui/DlgResources.h"
#include "ui/HighscoreDlg.h"
#include "ui/InfoDlg.h"
#include "ui/MainForm.h"
#include "ui/OptionDlg.h"
#include "ui/TongueDlg.h"
#include "ui/YesNoDlg.h"

#include <QEvent>

#include <functional>

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

template <class Dialog>
void BindPicturesWhenShown(Dialog* dialog, const DlgResources& res)
{
    new PictureBinder(dialog, [dialog, &res] { dialog->BindPictures(res); });
}

} // namespace

Windows::Windows() = default;

Windows::~Windows()
{
    highscoreDlg.reset();
    optionDlg.reset();
    dlgResources.reset();
    infoDlg.reset();
    tongueDlg.reset();
    yesNoDlg.reset();
    mainform.reset();
}

void Windows::Create(help::HelpRuntime* help)
{
    mainform = std::make_unique<MainForm>(help);
    MainForm* main = mainform.get();
    yesNoDlg = std::make_unique<YesNoDlg>(main->Settings(), main);
    tongueDlg = std::make_unique<TongueDlg>(main->Settings(), main);
    infoDlg = std::make_unique<InfoDlg>(main->Settings(), main);
    dlgResources = std::make_unique<DlgResources>();
    optionDlg = std::make_unique<OptionDlg>(main->Settings(), *main, main);
    highscoreDlg = std::make_unique<HighscoreDlg>(main->Ini(), main->ScoreScrambler(), main->Settings(), main);

    // The pictures of the shared module reach the dialogs when each is first shown.
    BindPicturesWhenShown(yesNoDlg.get(), *dlgResources);
    BindPicturesWhenShown(tongueDlg.get(), *dlgResources);
    BindPicturesWhenShown(infoDlg.get(), *dlgResources);
    BindPicturesWhenShown(optionDlg.get(), *dlgResources);
    BindPicturesWhenShown(highscoreDlg.get(), *dlgResources);
    main->AttachDialogs(yesNoDlg.get(), tongueDlg.get(), infoDlg.get(), dlgResources.get(), optionDlg.get(),
                        highscoreDlg.get());
}

} // namespace torvella::ui
