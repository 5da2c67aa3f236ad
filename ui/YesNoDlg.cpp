#include "ui/YesNoDlg.h"

#include "assets/Pictures.h"
#include "core/GameView.h"
#include "settings/GameSettings.h"
#include "ui/DlgResources.h"
#include "ui/FramedPanel.h"
#include "ui/ImageButton.h"

#include <QKeyEvent>
#include <QLabel>

namespace torvella::ui {

// Inside the dialog, MessageKind() is the number of the kind shown.
using Kind = torvella::MessageKind;

YesNoDlg::YesNoDlg(const settings::GameSettings& settings, QWidget* mainWindow)
    : ModalDlg(mainWindow, "YesNoDlg", QSize(319, 158), Placement::OverClientArea), settings_(settings)
{
    backPanel_ = new FramedPanel(this);
    backPanel_->setObjectName(QStringLiteral("LMDBackPanel1"));
    backPanel_->setGeometry(0, 0, 319, 158);

    pan_ = new FramedPanel(backPanel_);
    pan_->setObjectName(QStringLiteral("Pan"));
    pan_->setGeometry(11, 12, 298, 77);

    txt_ = MakeLabel(pan_, "txt", QRect(5, 5, 288, 67), 16, true, Qt::AlignCenter);
    txt_->setWordWrap(true);

    noBtn_ = MakeButton(backPanel_, "NoBtn", {204, 100});
    yesBtn_ = MakeButton(backPanel_, "YesBtn", {260, 100});
    connect(yesBtn_, &ImageButton::clicked, this, &YesNoDlg::ByesClick);
    connect(noBtn_, &ImageButton::clicked, this, &YesNoDlg::BnoClick);
}

void YesNoDlg::BindPictures(const DlgResources& res)
{
    backPanel_->SetPicture(res.Dlg(assets::DlgMessageBack));
    pan_->SetPicture(res.Dlg(assets::DlgMessagePanel));
    yesBtn_->SetFaces(res.Dlg(assets::DlgYesNormal), res.Dlg(assets::DlgYesHover));
    noBtn_->SetFaces(res.Dlg(assets::DlgNoNormal), res.Dlg(assets::DlgNoHover));
}

Answer YesNoDlg::ShowKind(Kind kind)
{
    messageKind_ = ToInt(kind);
    if (kind == Kind::Solved || kind == Kind::Paused)
        buttonCount_ = 1;
    else if (kind == Kind::Quit || kind == Kind::GiveUp)
        buttonCount_ = 2;
    return static_cast<Answer>(exec());
}

Answer YesNoDlg::ShowText(Kind kind, const QString& text)
{
    messageKind_ = ToInt(kind);
    if (kind == Kind::Text)
        buttonCount_ = 1;
    customText_ = text;
    return static_cast<Answer>(exec());
}

QString YesNoDlg::BuiltInText(Kind kind) const
{
    switch (kind) {
    case Kind::Solved:
        return settings_.Text("Hurra, geschafft!", "Hurrah, you did it!");
    case Kind::Quit:
        return settings_.Text("Willst Du wirklich schon aufhören?", "Do you really want to go?");
    case Kind::GiveUp:
        return settings_.Text("Willst Du die Partie wirklich aufgeben?", "Do you really want to give up the game?");
    case Kind::Paused:
        return settings_.Text("Spiel angehalten.\nWeitermachen?", "Game paused.\nContinue?");
    default:
        return {};
    }
}

void YesNoDlg::FormActivate()
{
    noBtn_->setVisible(buttonCount_ == 2);
    if (messageKind_ == ToInt(Kind::Text)) {
        // A caller may separate two lines with a carriage return.
        QString text = customText_;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
        txt_->setText(text);
    }
    const QString builtIn = BuiltInText(static_cast<Kind>(messageKind_));
    if (!builtIn.isEmpty())
        txt_->setText(builtIn);
}

QWidget* YesNoDlg::FirstFocus() const { return yesBtn_; }

void YesNoDlg::ByesClick() { done(ToInt(Answer::Yes)); }
void YesNoDlg::BnoClick() { done(ToInt(Answer::No)); }
void YesNoDlg::reject() { done(ToInt(Answer::No)); }

void YesNoDlg::keyPressEvent(QKeyEvent* e)
{
    const QString t = e->text();
    if (IsYesKey(e))
        ByesClick();
    else if (e->key() == Qt::Key_Escape || t == u"N" || t == u"n")
        BnoClick();
    else
        e->ignore();
}

} // namespace torvella::ui
