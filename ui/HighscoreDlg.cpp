#include "ui/HighscoreDlg.h"

#include "assets/Pictures.h"
#include "settings/GameSettings.h"
#include "settings/IniCtrl.h"
#include "ui/DlgResources.h"
#include "ui/FramedPanel.h"
#include "ui/ImageButton.h"

#include <QAccessibleWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QMessageBox>
#include <QShortcut>

#include <algorithm>

namespace torvella::ui {

// A link drawn as the label draws it, and kept so: with the focus it shows no mark of its
// own (the dialog's ring shows where the keyboard is). Space and Enter follow it, the side
// arrows pass the focus on as they do between the picture buttons.
class StatisticsLink : public QLabel {
public:
    StatisticsLink(QWidget* dialog, std::function<void()> open) : QLabel(dialog), open_(std::move(open))
    {
        setObjectName(QStringLiteral("StatisticsLink"));
        setGeometry(kArea);
        setFont(DialogFont(13, true));
        setTextFormat(Qt::RichText);
        setAttribute(Qt::WA_TranslucentBackground);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        connect(this, &QLabel::linkActivated, this, [this] { open_(); });
    }

    void Follow() { open_(); }
    const QString& Words() const { return words_; }

    // In the list's language; only as wide as its words, so the ring fits around them.
    void SetText(const QString& words)
    {
        words_ = words;
        setText(QStringLiteral("<a href='#' style='color:#fec912'>%1</a>").arg(words));
        resize(std::min(kArea.width(), sizeHint().width()), kArea.height());
    }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const bool plain = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
        if (!plain || e->isAutoRepeat()) {
            QLabel::keyPressEvent(e);
            return;
        }
        switch (e->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: Follow(); break;
        case Qt::Key_Left: focusNextPrevChild(false); break;
        case Qt::Key_Right: focusNextPrevChild(true); break;
        default: QLabel::keyPressEvent(e); break;
        }
    }

private:
    static constexpr QRect kArea{16, 426, 170, 30};
    std::function<void()> open_;
    QString words_;
};

namespace {

// For a screen reader the link is a link that can be pressed, not a line of text.
class StatisticsLinkAccessible : public QAccessibleWidget {
public:
    explicit StatisticsLinkAccessible(StatisticsLink* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return static_cast<StatisticsLink*>(widget())->Words();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }
    void doAction(const QString& name) override
    {
        if (name == pressAction())
            static_cast<StatisticsLink*>(widget())->Follow();
        else
            QAccessibleWidget::doAction(name);
    }
};

QAccessibleInterface* LinkFactory(const QString& key, QObject* object)
{
    if (key != QLatin1String("QLabel") || object->objectName() != QLatin1String("StatisticsLink"))
        return nullptr;
    auto* link = dynamic_cast<StatisticsLink*>(object);
    return link ? new StatisticsLinkAccessible(link) : nullptr;
}

} // namespace

HighscoreDlg::HighscoreDlg(settings::IniCtrl& ini, const settings::TChiffre& scrambler,
                           settings::GameSettings& settings, QWidget* mainWindow)
    : ModalDlg(mainWindow, "HighscoreDlg", QSize(320, 476), Placement::OverWindow),
      ini_(ini), scrambler_(scrambler), settings_(settings)
{
    backPanel_ = new FramedPanel(this);
    backPanel_->setObjectName(QStringLiteral("BackPanel"));
    backPanel_->setGeometry(0, 0, 320, 476);

    titlePanel_ = new FramedPanel(backPanel_);
    titlePanel_->setObjectName(QStringLiteral("TitlePanel"));
    titlePanel_->setGeometry(11, 12, 298, 33);
    title_ = MakeLabel(titlePanel_, "title", QRect(12, 4, 273, 25), 19, true, Qt::AlignCenter);

    editBack_ = new FramedPanel(backPanel_);
    editBack_->setObjectName(QStringLiteral("EditBack"));
    editBack_->setGeometry(11, 48, 298, 329);

    p6_ = new FramedPanel(backPanel_);
    p6_->setObjectName(QStringLiteral("p6"));
    p6_->setGeometry(11, 380, 298, 29);
    clearBox_ = new QCheckBox(p6_);
    clearBox_->setObjectName(QStringLiteral("ClearBox"));
    clearBox_->setGeometry(16, 7, 17, 17);
    delcheck_ = MakeLabel(p6_, "delcheck", QRect(40, 8, 245, 17), 13, false);

    cancelBtn_ = MakeButton(backPanel_, "CancelBtn", {204, 416});
    okBtn_ = MakeButton(backPanel_, "OkBtn", {260, 416});
    connect(okBtn_, &ImageButton::clicked, this, &HighscoreDlg::OkBtnClick);
    connect(cancelBtn_, &ImageButton::clicked, this, &HighscoreDlg::CancelBtnClick);

    CreateRows();
    // The edit field lies over the name labels.
    edit1_->raise();
    // Top to bottom: the name, the check box, Cancel, OK.
    setTabOrder(edit1_, clearBox_);
    setTabOrder(clearBox_, cancelBtn_);
    setTabOrder(cancelBtn_, okBtn_);
}

// The name's edit field (shown over the row a new score goes into), then the rows: all
// numbers, all names, all scores.
void HighscoreDlg::CreateRows()
{
    edit1_ = new QLineEdit(editBack_);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setFrame(false);
    edit1_->setMaxLength(kMaxNameLength);
    edit1_->setFont(DialogFont(13, true));
    QPalette pal = edit1_->palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, Qt::yellow);
    edit1_->setPalette(pal);
    edit1_->setText(LastName());
    edit1_->setGeometry(50, 10, 140, 17);
    edit1_->hide();

    // Arial 10 point is 13 pixels at the usual 96 dots per inch.
    const int rowFont = 13;
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray name = "num" + QByteArray::number(i);
        num_[i] = MakeLabel(editBack_, name.constData(), QRect(10, 21 * i + 10, 40, 21), rowFont, false,
                            Qt::AlignRight | Qt::AlignTop);
        num_[i]->setText(QString::number(i + 1) + QStringLiteral(".   "));
    }
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray name = "pla" + QByteArray::number(i);
        pla_[i] = MakeLabel(editBack_, name.constData(), QRect(50, 21 * i + 10, 140, 21), rowFont, false);
    }
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray name = "sco" + QByteArray::number(i);
        sco_[i] = MakeLabel(editBack_, name.constData(), QRect(190, 21 * i + 10, 90, 21), rowFont, false,
                            Qt::AlignRight | Qt::AlignTop);
    }
}

const QString& HighscoreDlg::LastName() const { return settings_.Player; }

void HighscoreDlg::BindPictures(const DlgResources& res)
{
    backPanel_->SetPicture(res.Dlg(assets::DlgHighscoreBack));
    titlePanel_->SetPicture(res.Dlg(assets::DlgHighscoreTitle));
    editBack_->SetPicture(res.Dlg(assets::DlgHighscoreList));
    p6_->SetPicture(res.Dlg(assets::DlgHighscoreCheck));
    okBtn_->SetFaces(res.Dlg(assets::DlgOkNormal), res.Dlg(assets::DlgOkHover));
    cancelBtn_->SetFaces(res.Dlg(assets::DlgCancelNormal), res.Dlg(assets::DlgCancelHover));
}

void HighscoreDlg::AddStatisticsLink(std::function<void()> open)
{
    if (statisticsLink_)
        return;
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    connect(key, &QShortcut::activated, this, [open] { open(); });
    static const bool accessible = [] {
        QAccessible::installFactory(LinkFactory);
        return true;
    }();
    (void)accessible;
    statisticsLink_ = new StatisticsLink(this, std::move(open));
    // Read as the list is: after the check box, before the two buttons beside it.
    setTabOrder(clearBox_, statisticsLink_);
    setTabOrder(statisticsLink_, cancelBtn_);
}

void HighscoreDlg::ShowEntries()
{
    for (int i = 0; i < kEntries; ++i) {
        // A name wider than its column ends in an ellipsis, and the row's hint shows it
        // whole (a 25-character name is, in most letters).
        const QString& name = list_.Entry(i).name;
        const QString shown = pla_[i]->fontMetrics().elidedText(name, Qt::ElideRight, pla_[i]->width());
        pla_[i]->setText(shown);
        pla_[i]->setAccessibleName(name);
        const QString hint = shown == name ? QString() : name;
        for (QLabel* label : {num_[i], pla_[i], sco_[i]})
            label->setToolTip(hint);
        sco_[i]->setText(QString::number(list_.Entry(i).score));
    }
}

void HighscoreDlg::ShowModal(int32_t score, bool viewOnly)
{
    viewOnly_ = viewOnly;
    cancelBtn_->setVisible(!viewOnly_);
    clearBox_->setChecked(false);
    insertPos_ = -1;
    edit1_->hide();

    list_.Read(ini_, scrambler_);
    if (!viewOnly_) {
        insertPos_ = list_.Insert(score, LastName());
        if (insertPos_ < 0)
            return;
    }
    ShowEntries();
    if (insertPos_ >= 0) {
        edit1_->setGeometry(50, 21 * insertPos_ + 10, 140, 17);
        edit1_->setText(LastName());
        edit1_->setEnabled(true);
        edit1_->show();
        edit1_->selectAll();
        edit1_->setFocus();
    }
    exec();
}

void HighscoreDlg::FormActivate()
{
    title_->setText(settings_.Text("Torvella - Bestenliste", "Torvella - Highscore"));
    delcheck_->setText(settings_.Text("alle Einträge löschen", "remove all entries"));
    // The check box and the edit field have no text of their own for a screen reader.
    clearBox_->setAccessibleName(delcheck_->text());
    edit1_->setAccessibleName(settings_.Text("Dein Name", "Your name"));
    if (statisticsLink_)
        statisticsLink_->SetText(settings_.Text("Statistik …", "Statistics …"));
}

QWidget* HighscoreDlg::FirstFocus() const
{
    // Looking at the list, the keyboard starts on OK, never on the box that clears it.
    return edit1_->isHidden() ? static_cast<QWidget*>(okBtn_) : edit1_;
}

void HighscoreDlg::OkBtnClick()
{
    if (clearBox_->isChecked()) {
        // A score just inserted goes with the rest.
        list_.Clear();
        settings_.Player = settings::HighScoreList::PlaceholderName();
        edit1_->setText(settings_.Player);
        insertPos_ = -1;
        edit1_->hide();
        ShowEntries();
    }
    if (insertPos_ >= 0) {
        settings_.Player = edit1_->text();
        list_.SetName(insertPos_, settings_.Player);
        ShowEntries();
    }
    try {
        list_.Save(ini_, scrambler_, settings_.Player);
    } catch (const settings::StoreError& e) {
        // Nothing was written, so the list stored before is still there; the dialog
        // stays open to try again or cancel.
        QMessageBox::critical(this, QStringLiteral("Torvella"),
                              settings_.Text("Die Bestenliste konnte nicht gespeichert werden.",
                                             "The high-score list could not be saved.")
                                  + QStringLiteral("\n\n") + e.Message(settings_.German()));
        return;
    }
    edit1_->hide();
    accept();
}

void HighscoreDlg::CancelBtnClick() { QDialog::reject(); }

void HighscoreDlg::keyPressEvent(QKeyEvent* e)
{
    // The buttons are pictures, not push buttons, so the dialog has no default button
    // that Return would click.
    const bool noModifier = (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (noModifier && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter))
        OkBtnClick();
    else
        ModalDlg::keyPressEvent(e);
}

void HighscoreDlg::reject() { CancelBtnClick(); }

} // namespace torvella::ui
