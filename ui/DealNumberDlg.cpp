#include "ui/DealNumberDlg.h"

#include "assets/Pictures.h"
#include "records/DealNumber.h"
#include "ui/DlgResources.h"
#include "ui/FramedPanel.h"
#include "settings/GameSettings.h"
#include "ui/ImageButton.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace torvella::ui {

DealNumberDlg::DealNumberDlg(const settings::GameSettings& settings, QWidget* mainWindow)
    : ModalDlg(mainWindow, "DealNumberDlg", QSize(319, 158), Placement::OverClientArea), settings_(settings)
{
    backPanel_ = new FramedPanel(this);
    backPanel_->setGeometry(0, 0, 319, 158);
    pan_ = new FramedPanel(backPanel_);
    pan_->setGeometry(11, 12, 298, 77);
    prompt_ = MakeLabel(pan_, "prompt", QRect(8, 6, 282, 36), 14, true, Qt::AlignCenter);
    prompt_->setWordWrap(true);
    field_ = new QLineEdit(pan_);
    field_->setObjectName(QStringLiteral("number"));
    field_->setGeometry(74, 44, 150, 24);
    field_->setFont(DialogFont(16, true));
    field_->setAlignment(Qt::AlignCenter);
    field_->setMaxLength(20);
    field_->setFrame(false);
    QPalette pal = field_->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, Qt::yellow);
    field_->setPalette(pal);

    cancelBtn_ = MakeButton(backPanel_, "CancelBtn", {204, 100});
    okBtn_ = MakeButton(backPanel_, "OkBtn", {260, 100});
    connect(okBtn_, &ImageButton::clicked, this, &DealNumberDlg::OkBtnClick);
    connect(cancelBtn_, &ImageButton::clicked, this, &DealNumberDlg::reject);
}

void DealNumberDlg::BindPictures(const DlgResources& res)
{
    backPanel_->SetPicture(res.Dlg(assets::DlgMessageBack));
    pan_->SetPicture(res.Dlg(assets::DlgMessagePanel));
    okBtn_->SetFaces(res.Dlg(assets::DlgOkNormal), res.Dlg(assets::DlgOkHover));
    cancelBtn_->SetFaces(res.Dlg(assets::DlgCancelNormal), res.Dlg(assets::DlgCancelHover));
}

std::optional<uint32_t> DealNumberDlg::Ask(uint32_t current)
{
    answer_.reset();
    const QString clip = QGuiApplication::clipboard()->text().trimmed();
    field_->setText(records::ParseDealNumber(clip) ? clip : QString::number(current));
    field_->selectAll();
    exec();
    return answer_;
}

void DealNumberDlg::FormActivate()
{
    prompt_->setText(settings_.Text("Welche Auslage? Nummer eingeben oder einfügen:",
                                    "Which tableau? Type or paste its number:"));
    field_->setAccessibleName(prompt_->text());
}

QWidget* DealNumberDlg::FirstFocus() const { return field_; }

void DealNumberDlg::OkBtnClick()
{
    answer_ = records::ParseDealNumber(field_->text());
    if (answer_) {
        accept();
        return;
    }
    prompt_->setText(settings_.Text("Eine Nummer von 0 bis 4294967295, bitte:",
                                    "A number from 0 to 4294967295, please:"));
    field_->selectAll();
    field_->setFocus();
}

void DealNumberDlg::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        OkBtnClick();
    else
        ModalDlg::keyPressEvent(e);  // Escape cancels
}

} // namespace torvella::ui
