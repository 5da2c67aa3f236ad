#pragma once
// The statistics window: the figures of every game played, a chart of the last hundred
// scores (solved games told apart from lost ones), every game with its date, deal number,
// result, score, time, moves and hints, the best score of each deal played more than once,
// and a reset that asks first. It shows what the records hold; it keeps nothing itself.
#include "records/Statistics.h"
#include "ui/ModalDlg.h"

#include <functional>

class QLabel;
class QLocale;
class QTextBrowser;

namespace torvella::settings {
class GameSettings;
}

namespace torvella::ui {

class DlgResources;
class FramedPanel;
class ImageButton;
class ScoreChart;

class StatisticsDlg : public ModalDlg {
    Q_OBJECT
public:
    // `load` gives the games as they stand now; `reset` forgets them and answers an error
    // text or nothing.
    StatisticsDlg(const settings::GameSettings& settings, std::function<QList<records::GameEntry>()> load,
                  std::function<QString()> reset, QWidget* mainWindow);
    void BindPictures(const DlgResources& res);

    void ShowModal();

    // For tests and the screen reader: what the window shows.
    QString FiguresText() const;
    const ScoreChart* Chart() const { return chart_; }
    QTextBrowser* GameList() const { return games_; }

public slots:
    void ResetBtnClick();  // asks first
    void ResetYesClick();
    void ResetNoClick();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void FormActivate() override;
    QWidget* FirstFocus() const override;
    void Fill();
    void FillFigures(const QLocale& locale);
    // The list of games, newest first, and the best score of each deal played more than once.
    QString GamesHtml(const QLocale& locale) const;
    void Ask(bool shown);

    const settings::GameSettings& settings_;
    std::function<QList<records::GameEntry>()> load_;
    std::function<QString()> reset_;
    QList<records::GameEntry> entries_;

    FramedPanel* backPanel_;
    FramedPanel* titlePanel_;
    QLabel* title_;
    FramedPanel* figurePanel_;
    QLabel* figureNames_;
    QLabel* figureValues_;
    FramedPanel* chartPanel_;
    ScoreChart* chart_;
    QLabel* chartLegend_;
    FramedPanel* listPanel_;
    QTextBrowser* games_;
    ImageButton* resetBtn_;
    QLabel* resetLabel_;
    ImageButton* closeBtn_;
    // The reset question, over the figures.
    FramedPanel* askPanel_;
    QLabel* askText_;
    ImageButton* askNo_;
    ImageButton* askYes_;
};

// The last hundred scores as bars from a zero line: solved games in gold, lost ones
// (dead end, given up) in grey-red.
class ScoreChart : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShown = 100;
    explicit ScoreChart(QWidget* parent);
    void SetGames(const QList<records::GameEntry>& games);
    const QList<records::GameEntry>& Shown() const { return shown_; }
    static QColor SolvedColour();
    static QColor LostColour();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QList<records::GameEntry> shown_;
};

} // namespace torvella::ui
