#include "ui/StatisticsDlg.h"

#include "assets/Pictures.h"
#include "ui/DlgResources.h"
#include "ui/FramedPanel.h"
#include "settings/GameSettings.h"
#include "ui/ImageButton.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBrowser>

#include <algorithm>
#include <cmath>

namespace torvella::ui {

namespace {

constexpr int kWidth = 620;
constexpr int kHeight = 470;

QString Duration(int64_t seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString ResultText(const settings::GameSettings& s, records::Result r)
{
    switch (r) {
    case records::Result::Solved: return s.Text("gelöst", "solved");
    case records::Result::DeadEnd: return s.Text("Sackgasse", "dead end");
    case records::Result::GivenUp: return s.Text("aufgegeben", "given up");
    }
    return {};
}

} // namespace

StatisticsDlg::StatisticsDlg(const settings::GameSettings& settings, std::function<QList<records::GameEntry>()> load,
                             std::function<QString()> reset, QWidget* mainWindow)
    : ModalDlg(mainWindow, "StatisticsDlg", QSize(kWidth, kHeight), Placement::OverWindow),
      settings_(settings), load_(std::move(load)), reset_(std::move(reset))
{
    backPanel_ = new FramedPanel(this);
    backPanel_->setGeometry(0, 0, kWidth, kHeight);

    titlePanel_ = new FramedPanel(backPanel_);
    titlePanel_->setGeometry(11, 12, kWidth - 22, 33);
    title_ = MakeLabel(titlePanel_, "title", QRect(12, 4, kWidth - 46, 25), 19, true, Qt::AlignCenter);

    figurePanel_ = new FramedPanel(backPanel_);
    figurePanel_->setGeometry(11, 50, 224, 350);
    figureNames_ = MakeLabel(figurePanel_, "figureNames", QRect(12, 12, 130, 326), 13, false);
    figureValues_ = MakeLabel(figurePanel_, "figureValues", QRect(140, 12, 72, 326), 13, true,
                              Qt::AlignRight | Qt::AlignTop);

    chartPanel_ = new FramedPanel(backPanel_);
    chartPanel_->setGeometry(241, 50, 368, 150);
    chart_ = new ScoreChart(chartPanel_);
    chart_->setGeometry(10, 8, 348, 112);
    chartLegend_ = MakeLabel(chartPanel_, "legend", QRect(10, 122, 348, 20), 12, false, Qt::AlignCenter);
    chartLegend_->setTextFormat(Qt::RichText);

    listPanel_ = new FramedPanel(backPanel_);
    listPanel_->setGeometry(241, 206, 368, 194);
    games_ = new QTextBrowser(listPanel_);
    games_->setObjectName(QStringLiteral("games"));
    games_->setGeometry(8, 8, 352, 178);
    games_->setFrameShape(QFrame::NoFrame);
    games_->setFont(DialogFont(11, false));
    games_->viewport()->setAutoFillBackground(false);
    games_->setStyleSheet(QStringLiteral("QTextBrowser { background: transparent; color: white; }"));
    // The arrows and page keys scroll the list; Tab goes on to the buttons.
    games_->setTabChangesFocus(true);

    resetBtn_ = MakeButton(backPanel_, "ResetBtn", {11, 410});
    resetLabel_ = MakeLabel(backPanel_, "resetLabel", QRect(68, 426, 220, 20), 13, true);
    closeBtn_ = MakeButton(backPanel_, "CloseBtn", {kWidth - 61, 410});
    connect(resetBtn_, &ImageButton::clicked, this, &StatisticsDlg::ResetBtnClick);
    connect(closeBtn_, &ImageButton::clicked, this, &StatisticsDlg::accept);

    askPanel_ = new FramedPanel(backPanel_);
    askPanel_->setGeometry((kWidth - 319) / 2, 150, 319, 158);
    auto* askText = new FramedPanel(askPanel_);
    askText->setGeometry(11, 12, 298, 77);
    askText_ = MakeLabel(askText, "askText", QRect(5, 5, 288, 67), 16, true, Qt::AlignCenter);
    askText_->setWordWrap(true);
    askNo_ = MakeButton(askPanel_, "NoBtn", {204, 100});
    askYes_ = MakeButton(askPanel_, "YesBtn", {260, 100});
    connect(askYes_, &ImageButton::clicked, this, &StatisticsDlg::ResetYesClick);
    connect(askNo_, &ImageButton::clicked, this, &StatisticsDlg::ResetNoClick);
    askPanel_->hide();
}

void StatisticsDlg::BindPictures(const DlgResources& res)
{
    backPanel_->SetPicture(res.Dlg(assets::DlgOptionsBack));
    titlePanel_->SetPicture(res.Dlg(assets::DlgHighscoreTitle));
    figurePanel_->SetPicture(res.Dlg(assets::DlgHighscoreList));
    chartPanel_->SetPicture(res.Dlg(assets::DlgMessagePanel));
    listPanel_->SetPicture(res.Dlg(assets::DlgHighscoreList));
    resetBtn_->SetFaces(res.Dlg(assets::DlgCancelNormal), res.Dlg(assets::DlgCancelHover));
    closeBtn_->SetFaces(res.Dlg(assets::DlgCloseNormal), res.Dlg(assets::DlgCloseHover));
    askPanel_->SetPicture(res.Dlg(assets::DlgMessageBack));
    askPanel_->findChild<FramedPanel*>()->SetPicture(res.Dlg(assets::DlgMessagePanel));
    askYes_->SetFaces(res.Dlg(assets::DlgYesNormal), res.Dlg(assets::DlgYesHover));
    askNo_->SetFaces(res.Dlg(assets::DlgNoNormal), res.Dlg(assets::DlgNoHover));
}

void StatisticsDlg::ShowModal()
{
    entries_ = load_();
    Ask(false);
    exec();
}

void StatisticsDlg::FormActivate() { Fill(); }

QString StatisticsDlg::FiguresText() const
{
    const QStringList names = figureNames_->text().split(QLatin1Char('\n'));
    const QStringList values = figureValues_->text().split(QLatin1Char('\n'));
    QStringList lines;
    for (int i = 0; i < names.size(); ++i)
        lines << names[i] + QLatin1Char(' ') + values.value(i);
    return lines.join(QLatin1Char('\n'));
}

void StatisticsDlg::Fill()
{
    const settings::GameSettings& s = settings_;
    title_->setText(s.Text("Statistik", "Statistics"));
    const QLocale locale(s.German() ? QLocale::German : QLocale::English);
    FillFigures(locale);

    chart_->SetGames(entries_);
    chartLegend_->setText(QStringLiteral("<span style='color:%1'>■</span> %2 &nbsp; "
                                         "<span style='color:%3'>■</span> %4 &nbsp; %5")
                              .arg(ScoreChart::SolvedColour().name(), s.Text("gelöst", "solved"),
                                   ScoreChart::LostColour().name(), s.Text("verloren", "lost"),
                                   s.Text("(die letzten 100)", "(the last 100)")));
    games_->setHtml(GamesHtml(locale));

    resetLabel_->setText(s.Text("Statistik löschen", "Reset statistics"));
    resetBtn_->setToolTip(resetLabel_->text());
    closeBtn_->setToolTip(s.Text("Zurück zum Spiel", "Back to game"));
    resetBtn_->setEnabled(!entries_.isEmpty());
}

void StatisticsDlg::FillFigures(const QLocale& locale)
{
    const settings::GameSettings& s = settings_;
    const records::Figures f = records::Summarise(entries_);
    const QString none = QStringLiteral("–");
    const QStringList names{
        s.Text("Gespielt", "Played"),          s.Text("Gelöst", "Solved"),
        s.Text("Sackgassen", "Dead ends"),     s.Text("Aufgegeben", "Given up"),
        s.Text("Anteil gelöst", "Solved share"), QString(),
        s.Text("Beste Punktzahl", "Best score"), s.Text("Durchschnitt", "Average score"), QString(),
        s.Text("Beste Serie", "Best streak"),  s.Text("Aktuelle Serie", "Current streak"), QString(),
        s.Text("Spielzeit gesamt", "Total time"),
    };
    const QStringList values{
        QString::number(f.played),
        QString::number(f.solved),
        QString::number(f.deadEnds),
        QString::number(f.givenUp),
        f.played ? locale.toString(f.solvedShare * 100, 'f', 1) + QStringLiteral(" %") : none,
        QString(),
        f.best ? QString::number(*f.best) : none,
        f.played ? locale.toString(f.average, 'f', 1) : none,
        QString(),
        QString::number(f.bestStreak),
        QString::number(f.currentStreak),
        QString(),
        Duration(f.totalSeconds),
    };
    figureNames_->setText(names.join(QLatin1Char('\n')));
    figureValues_->setText(values.join(QLatin1Char('\n')));
}

QString StatisticsDlg::GamesHtml(const QLocale& locale) const
{
    const settings::GameSettings& s = settings_;
    // Newest first; the deals played more than once below.
    QString html = QStringLiteral("<table width='100%' cellspacing='0' cellpadding='1'><tr><th align='left'>%1</th>"
                                  "<th align='right'>%2</th><th align='left'>&nbsp;%3</th><th align='right'>%4</th>"
                                  "<th align='right'>%5</th><th align='right'>%6</th><th align='right'>%7</th></tr>")
                       .arg(s.Text("Datum", "Date"), s.Text("Nummer", "Deal"), s.Text("Ergebnis", "Result"),
                            s.Text("Punkte", "Score"), s.Text("Zeit", "Time"), s.Text("Züge", "Moves"),
                            s.Text("Tipps", "Hints"));
    for (auto it = entries_.crbegin(); it != entries_.crend(); ++it)
        html += QStringLiteral("<tr><td>%1</td><td align='right'>%2</td><td>&nbsp;%3</td><td align='right'>%4</td>"
                               "<td align='right'>%5</td><td align='right'>%6</td><td align='right'>%7</td></tr>")
                    .arg(locale.toString(it->ended.toLocalTime(), s.German() ? QStringLiteral("dd.MM.yy HH:mm")
                                                                             : QStringLiteral("yyyy-MM-dd HH:mm"))
                             .replace(QLatin1Char(' '), QStringLiteral("&nbsp;")))
                    .arg(it->deal)
                    .arg(ResultText(s, it->result))
                    .arg(it->score)
                    .arg(Duration(it->seconds).remove(QRegularExpression(QStringLiteral("^0:"))))
                    .arg(it->moves)
                    .arg(it->hints);
    if (entries_.isEmpty())
        html += QStringLiteral("<tr><td colspan='7'>%1</td></tr>").arg(s.Text("Noch keine Partie.", "No game yet."));
    html += QStringLiteral("</table>");
    const QList<records::DealBest> repeated = records::RepeatedDeals(entries_);
    if (!repeated.isEmpty()) {
        html += QStringLiteral("<p><b>%1</b></p><table cellspacing='0' cellpadding='1'><tr><th align='right'>%2</th>"
                               "<th align='right'>&nbsp;&nbsp;%3</th><th align='right'>&nbsp;&nbsp;%4</th></tr>")
                    .arg(s.Text("Beste Punktzahl je Auslage", "Best score per deal"), s.Text("Nummer", "Deal"),
                         s.Text("gespielt", "played"), s.Text("beste", "best"));
        for (const records::DealBest& d : repeated)
            html += QStringLiteral("<tr><td align='right'>%1</td><td align='right'>%2</td><td align='right'>%3</td></tr>")
                        .arg(d.deal)
                        .arg(d.played)
                        .arg(d.best);
        html += QStringLiteral("</table>");
    }
    return html;
}

void StatisticsDlg::Ask(bool shown)
{
    askPanel_->setVisible(shown);
    if (shown) {
        askPanel_->raise();
        askText_->setText(settings_.Text("Alle %1 Partien der Statistik vergessen?",
                                         "Forget all %1 games of the statistics?")
                              .arg(entries_.size()));
    }
    for (QWidget* w : {static_cast<QWidget*>(resetBtn_), static_cast<QWidget*>(closeBtn_)})
        w->setEnabled(!shown && (w != resetBtn_ || !entries_.isEmpty()));
    // While asking, the keyboard stays on the question (Yes first, as Enter answers Yes).
    games_->setFocusPolicy(shown ? Qt::NoFocus : Qt::StrongFocus);
    if (shown)
        askYes_->setFocus();
    else if (isVisible())
        (resetBtn_->isEnabled() ? resetBtn_ : closeBtn_)->setFocus();
}

QWidget* StatisticsDlg::FirstFocus() const { return closeBtn_; }

void StatisticsDlg::ResetBtnClick() { Ask(true); }

void StatisticsDlg::ResetNoClick() { Ask(false); }

void StatisticsDlg::ResetYesClick()
{
    const QString error = reset_();
    entries_ = load_();
    Fill();
    Ask(false);
    if (!error.isEmpty())
        games_->setPlainText(settings_.Text("Die Statistik konnte nicht gelöscht werden:\n",
                                            "The statistics could not be reset:\n") + error);
}

void StatisticsDlg::keyPressEvent(QKeyEvent* e)
{
    if (askPanel_->isVisible()) {
        const QString t = e->text();
        if (IsYesKey(e))
            ResetYesClick();
        else if (e->key() == Qt::Key_Escape || t == u"N" || t == u"n")
            ResetNoClick();
        return;
    }
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape)
        accept();
    else
        ModalDlg::keyPressEvent(e);
}

// ---------------------------------------------------------------- chart

ScoreChart::ScoreChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chart"));
    setAttribute(Qt::WA_TranslucentBackground);
}

QColor ScoreChart::SolvedColour() { return QColor(254, 201, 18); }
QColor ScoreChart::LostColour() { return QColor(170, 120, 120); }

void ScoreChart::SetGames(const QList<records::GameEntry>& games)
{
    shown_ = games.mid(std::max<qsizetype>(0, games.size() - kShown));
    update();
}

void ScoreChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect(), QColor(0, 0, 0, 70));
    int32_t high = 1, low = 0;
    for (const auto& g : shown_) {
        high = std::max(high, g.score);
        low = std::min(low, g.score);
    }
    const double span = double(high) - double(low);
    const int zero = int(std::lround((height() - 1) * double(high) / span));
    p.setPen(QColor(255, 255, 255, 160));
    p.drawLine(0, zero, width() - 1, zero);
    const double step = double(width()) / kShown;
    for (int i = 0; i < shown_.size(); ++i) {
        const auto& g = shown_[i];
        const int y = int(std::lround((height() - 1) * (double(high) - g.score) / span));
        const int x = int(i * step);
        const int w = std::max(1, int((i + 1) * step) - x - 1);
        const QColor c = g.result == records::Result::Solved ? SolvedColour() : LostColour();
        p.fillRect(QRect(QPoint(x, std::min(y, zero)), QPoint(x + w - 1, std::max(y, zero))), c);
    }
    // The scale: the highest and the lowest score shown.
    if (!shown_.isEmpty()) {
        p.setPen(Qt::white);
        p.setFont(DialogFont(10, false));
        p.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignTop, QString::number(high));
        if (low < 0)
            p.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignRight | Qt::AlignBottom, QString::number(low));
    }
}

} // namespace torvella::ui
