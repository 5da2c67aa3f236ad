#include "ui/OptionDlg.h"

#include "assets/Pictures.h"
#include "settings/GameSettings.h"
#include "ui/DlgResources.h"
#include "ui/FramedPanel.h"
#include "ui/ImageButton.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>

namespace torvella::ui {

OptionDlg::OptionDlg(settings::GameSettings& settings, OptionHost& host, QWidget* mainWindow)
    : ModalDlg(mainWindow, "OptionDlg", QSize(497, 416), Placement::OverShownClientArea), settings_(settings),
      host_(host)
{
    const BrandSide side = MakeBrandSide(this);
    backPanel_ = side.backPanel;
    picture_ = side.picture;
    progLabel_ = side.prog;
    versionLabel_ = side.version;

    // Made first, so Tab and the arrows run from the close button through the options
    // top to bottom and back.
    okBtn_ = MakeButton(backPanel_, "OKBtn", {436, 355});
    connect(okBtn_, &ImageButton::clicked, this, &OptionDlg::exitClick);

    optPanel_ = new FramedPanel(backPanel_);
    optPanel_->setObjectName(QStringLiteral("OptPanel"));
    optPanel_->setGeometry(116, 12, 369, 333);
    optLabel_ = MakeLabel(optPanel_, "OptLabel", QRect(19, 12, 254, 29), 21, true);

    tongueBtn_ = MakeButton(optPanel_, "TongueBtn", {16, 47});
    soundBtn_ = MakeButton(optPanel_, "SoundBtn", {16, 103});
    musicBtn_ = MakeButton(optPanel_, "MusicBtn", {16, 159});
    backBtn_ = MakeButton(optPanel_, "BackBtn", {16, 215});
    tongueLabel_ = MakeLabel(optPanel_, "TongueLabel", QRect(79, 64, 294, 18), 16, false);
    soundLabel_ = MakeLabel(optPanel_, "SoundLabel", QRect(79, 120, 294, 18), 16, false);
    musicLabel_ = MakeLabel(optPanel_, "MusicLabel", QRect(79, 176, 294, 18), 16, false);
    backLabel_ = MakeLabel(optPanel_, "BackLabel", QRect(79, 232, 290, 18), 16, false);
    connect(tongueBtn_, &ImageButton::clicked, this, &OptionDlg::TongueBtnClick);
    connect(soundBtn_, &ImageButton::clicked, this, &OptionDlg::SoundBtnClick);
    connect(musicBtn_, &ImageButton::clicked, this, &OptionDlg::MusicBtnClick);
    connect(backBtn_, &ImageButton::clicked, this, &OptionDlg::BackBtnClick);

    // Below the four buttons: the cakes' labels, for players who cannot count the slices
    // at a glance or tell the colours apart.
    labelsBox_ = new QCheckBox(optPanel_);
    labelsBox_->setObjectName(QStringLiteral("LabelsBox"));
    labelsBox_->setGeometry(20, 282, 340, 24);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(16);
    font.setBold(false);
    labelsBox_->setFont(font);
    QPalette pal = labelsBox_->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    labelsBox_->setPalette(pal);
    connect(labelsBox_, &QCheckBox::clicked, this, &OptionDlg::LabelsBoxClick);
}

void OptionDlg::BindPictures(const DlgResources& res)
{
    backPanel_->SetPicture(res.Dlg(assets::DlgOptionsBack));
    optPanel_->SetPicture(res.Dlg(assets::DlgOptionsPanel));
    ShowPicture(picture_, res.Dlg(assets::DlgCakePicture));
    okBtn_->SetFaces(res.Dlg(assets::DlgCloseNormal), res.Dlg(assets::DlgCloseHover));
    tongueBtn_->SetFaces(res.Opt(assets::OptLanguageNormal), res.Opt(assets::OptLanguageHover));
    soundBtn_->SetFaces(res.Opt(assets::OptSoundNormal), res.Opt(assets::OptSoundHover));
    // Without music files this one is disabled, and should look it.
    musicBtn_->SetFaces(res.Opt(assets::OptMusicNormal), res.Opt(assets::OptMusicHover),
                        GreyedFace(res.Opt(assets::OptMusicNormal)));
    backBtn_->SetFaces(res.Opt(assets::OptBackgroundNormal), res.Opt(assets::OptBackgroundHover));
}

void OptionDlg::ShowModal()
{
    RefreshTexts();
    exec();
}

void OptionDlg::RefreshTexts()
{
    const settings::GameSettings& s = settings_;
    progLabel_->setText(QStringLiteral("Torvella"));
    versionLabel_->setText(VersionText());
    musicBtn_->setEnabled(s.MusicAvailable);

    okBtn_->setToolTip(s.Text("Zurück zum Spiel", "Back to game"));
    optLabel_->setText(s.Text("Einstellungen:", "Options:"));
    tongueBtn_->setToolTip(s.Text("Sprache ändern", "Change language"));
    tongueLabel_->setText(s.Text("Ich spreche deutsch.", "I speak English."));
    soundBtn_->setToolTip(s.Text("Geräusche ein- und ausschalten.", "Sound on or off"));
    soundLabel_->setText(s.SoundOn ? s.Text("Geräusche sind an.", "Sound is on.")
                                   : s.Text("Geräusche sind aus.", "Sound is off."));
    musicBtn_->setToolTip(s.Text("Musik ein- und ausschalten.", "Music on or off."));
    if (!s.MusicAvailable)
        musicLabel_->setText(s.Text("Keine Musikdateien vorhanden.", "No music files available."));
    else if (s.MusicOn)
        musicLabel_->setText(s.Text("Musik: ", "Music: ") + host_.MusicFileName());
    else
        musicLabel_->setText(s.Text("Musik ist aus.", "Music is off."));
    backBtn_->setToolTip(s.Text("Hintergrund ändern", "Change background"));
    backLabel_->setText(s.Text("Hintergrund: ", "Background: ") + QString::number(static_cast<long long>(s.BackMode) + 1));
    labelsBox_->setText(s.Text("Stückzahl und Zeichen auf den Torten", "Slice counts and signs on the cakes"));
    labelsBox_->setChecked(s.CakeLabels);
}

// The close button: Enter or Space right after opening changes nothing.
QWidget* OptionDlg::FirstFocus() const { return okBtn_; }

void OptionDlg::keyPressEvent(QKeyEvent* e)
{
    // A check box takes Space only; here Enter has nothing else to do.
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (enter && labelsBox_->hasFocus() && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        labelsBox_->click();
    else
        ModalDlg::keyPressEvent(e);
}

void OptionDlg::exitClick() { accept(); }

void OptionDlg::TongueBtnClick()
{
    settings_.NextLanguage();
    RefreshTexts();
    host_.SetLanguageTexts();
}

void OptionDlg::SoundBtnClick()
{
    settings_.ToggleSound();
    RefreshTexts();
}

void OptionDlg::MusicBtnClick()
{
    host_.ToggleMusic();
    RefreshTexts();
}

void OptionDlg::LabelsBoxClick()
{
    settings_.ToggleCakeLabels();
    host_.CakeLabelsChanged();
    RefreshTexts();
}

void OptionDlg::BackBtnClick()
{
    settings_.NextBackground();
    host_.BackgroundChanged();
    host_.SetLanguageTexts();
    RefreshTexts();
}

} // namespace torvella::ui
