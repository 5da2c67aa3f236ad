#include "ui/TongueDlg.h"

#include "assets/Pictures.h"
#include "settings/GameSettings.h"
#include "ui/DlgResources.h"
#include "ui/FramedPanel.h"
#include "ui/ImageButton.h"

#include <QKeyEvent>
#include <QLabel>

namespace torvella::ui {

TongueDlg::TongueDlg(settings::GameSettings& settings, QWidget* mainWindow)
    // Asked before the main window has shown anything, so it centres on the screen.
    : ModalDlg(mainWindow, "TongueDlg", QSize(408, 162), Placement::OnScreen), settings_(settings)
{
    backPanel_ = new FramedPanel(this);
    backPanel_->setObjectName(QStringLiteral("BackPanel"));
    backPanel_->setGeometry(0, 0, 408, 162);
    picture_ = MakePicture(backPanel_, "Picture", QPoint(0, 12), QImage());

    innerPanel_ = new FramedPanel(backPanel_);
    innerPanel_->setObjectName(QStringLiteral("InnerPanel"));
    innerPanel_->setGeometry(108, 12, 289, 137);

    germanBtn_ = MakeButton(innerPanel_, "GermanBtn", {16, 15});
    englishBtn_ = MakeButton(innerPanel_, "EnglishBtn", {16, 71});
    tongueLabel_ = MakeLabel(innerPanel_, "TongueLabel", QRect(79, 32, 190, 18), 16, false);
    tongueLabel_->setText(QStringLiteral("Ich spreche deutsch"));
    englishLabel_ = MakeLabel(innerPanel_, "EnglishLabel", QRect(79, 88, 190, 18), 16, false);
    englishLabel_->setText(QStringLiteral("I speak English"));
    connect(germanBtn_, &ImageButton::clicked, this, &TongueDlg::GermanBtnClick);
    connect(englishBtn_, &ImageButton::clicked, this, &TongueDlg::EnglishBtnClick);
}

void TongueDlg::BindPictures(const DlgResources& res)
{
    backPanel_->SetPicture(res.Dlg(assets::DlgLanguageBack));
    innerPanel_->SetPicture(res.Dlg(assets::DlgLanguagePanel));
    ShowPicture(picture_, res.Dlg(assets::DlgCakePicture));
    germanBtn_->SetFaces(res.Dlg(assets::DlgGermanNormal), res.Dlg(assets::DlgGermanHover));
    englishBtn_->SetFaces(res.Dlg(assets::DlgEnglishNormal), res.Dlg(assets::DlgEnglishHover));
}

void TongueDlg::GermanBtnClick()
{
    settings_.ChooseLanguage(true);
    accept();
}

void TongueDlg::EnglishBtnClick()
{
    settings_.ChooseLanguage(false);
    accept();
}

QWidget* TongueDlg::FirstFocus() const { return germanBtn_; }

void TongueDlg::keyPressEvent(QKeyEvent* e)
{
    const QString t = e->text().toLower();
    if (t == u"d")
        GermanBtnClick();
    else if (t == u"e")
        EnglishBtnClick();
    else
        ModalDlg::keyPressEvent(e);  // Escape closes without a choice
}

} // namespace torvella::ui
