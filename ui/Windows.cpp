#include "ui/Windows.h"

#include "ui/DlgResources.h"
#include "ui/HighscoreDlg.h"
#include "ui/InfoDlg.h"
#include "ui/MainForm.h"
#include "ui/OptionDlg.h"
#include "ui/TongueDlg.h"
#include "ui/YesNoDlg.h"

namespace torvella::ui {

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

void Windows::Create()
{
    mainform = std::make_unique<MainForm>();
    MainForm* main = mainform.get();
    yesNoDlg = std::make_unique<YesNoDlg>(main->Settings(), main);
    tongueDlg = std::make_unique<TongueDlg>(main->Settings(), main);
    infoDlg = std::make_unique<InfoDlg>(main->Settings(), main);
    dlgResources = std::make_unique<DlgResources>();
    optionDlg = std::make_unique<OptionDlg>(main->Settings(), *main, main);
    highscoreDlg = std::make_unique<HighscoreDlg>(main->Ini(), main->ScoreScrambler(), main->Settings(), main);

    // The pictures of the shared module reach the windows once it exists.
    yesNoDlg->BindPictures(*dlgResources);
    tongueDlg->BindPictures(*dlgResources);
    infoDlg->BindPictures(*dlgResources);
    optionDlg->BindPictures(*dlgResources);
    highscoreDlg->BindPictures(*dlgResources);
    main->AttachDialogs(yesNoDlg.get(), tongueDlg.get(), infoDlg.get(), dlgResources.get(), optionDlg.get(),
                        highscoreDlg.get());
}

} // namespace torvella::ui
