#include "ui/InfoDlg.h"

#include "assets/Pictures.h"
#include "settings/GameSettings.h"
#include "ui/DlgResources.h"
#include "ui/FramedPanel.h"
#include "ui/ImageButton.h"

#include <QKeyEvent>
#include <QLabel>

namespace torvella::ui {

InfoDlg::InfoDlg(const settings::GameSettings& settings, QWidget* mainWindow)
    // Placed as the message dialog is.
    : ModalDlg(mainWindow, "InfoDlg", QSize(497, 416), Placement::OverClientArea), settings_(settings)
{
    // Laid out like the options dialog, so the two feel like one family.
    const BrandSide side = MakeBrandSide(this);
    backPanel_ = side.backPanel;
    picture_ = side.picture;
    progLabel_ = side.prog;
    versionLabel_ = side.version;

    closeBtn_ = MakeButton(backPanel_, "CloseBtn", {436, 355});
    connect(closeBtn_, &ImageButton::clicked, this, &InfoDlg::CloseBtnClick);

    infoPanel_ = new FramedPanel(backPanel_);
    infoPanel_->setObjectName(QStringLiteral("InfoPanel"));
    infoPanel_->setGeometry(116, 12, 369, 333);
    headLabel_ = MakeLabel(infoPanel_, "HeadLabel", QRect(19, 12, 330, 29), 21, true);
    headLabel_->setText(QStringLiteral("Torvella"));
    aboutLabel_ = MakeLabel(infoPanel_, "AboutLabel", QRect(19, 56, 330, 64), 16, false);
    aboutLabel_->setWordWrap(true);
    licenceLabel_ = MakeLabel(infoPanel_, "LicenceLabel", QRect(19, 136, 330, 20), 16, false);
    reportLabel_ = MakeLabel(infoPanel_, "ReportLabel", QRect(19, 172, 330, 44), 16, false);
    reportLabel_->setWordWrap(true);
}

void InfoDlg::BindPictures(const DlgResources& res)
{
    backPanel_->SetPicture(res.Dlg(assets::DlgInfoBack));
    infoPanel_->SetPicture(res.Dlg(assets::DlgInfoPanel));
    ShowPicture(picture_, res.Dlg(assets::DlgCakePicture));
    closeBtn_->SetFaces(res.Dlg(assets::DlgCloseNormal), res.Dlg(assets::DlgCloseHover));
}

void InfoDlg::FormActivate()
{
    const settings::GameSettings& s = settings_;
    aboutLabel_->setText(s.Text("Ein Geduldsspiel mit Torten für eine Person: Räum die Auslage ab, "
                                "Stück für Stück auf die Teller.",
                                "A puzzle game with cakes for one player: clear the tableau, "
                                "slice by slice onto the plates."));
    licenceLabel_->setText(s.Text("MIT-Lizenz", "MIT licence"));
    reportLabel_->setText(s.Text("Fehler bitte im Issue-Tracker des Projekts melden.",
                                 "Report problems at the project's issue tracker."));
    closeBtn_->setToolTip(s.Text("Zurück zum Spiel", "Back to game"));
}

QWidget* InfoDlg::FirstFocus() const { return closeBtn_; }

void InfoDlg::CloseBtnClick() { accept(); }

void InfoDlg::keyPressEvent(QKeyEvent* e)
{
    if (IsYesKey(e))
        accept();
    else
        QDialog::keyPressEvent(e);
}

} // namespace torvella::ui
