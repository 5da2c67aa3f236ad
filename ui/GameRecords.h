#pragma once
// The window's side of the records: the journal of the game being played (kept on the disk
// event by event, brought back after an end the player did not ask for), the statistics of
// every game that ended and their window, and the deal numbers (copy, deal by number, the
// tableau of the day). The main window owns one and calls it from a few hooks.
#include "core/GameView.h"
#include "core/Record.h"
#include "records/Journal.h"
#include "records/Statistics.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>


namespace torvella::ui {

class DealNumberDlg;
class DlgResources;
class HighscoreDlg;
class MainForm;
class StatisticsDlg;

class GameRecords : public QObject, public GameListener {
    Q_OBJECT
public:
    // Created right after the first deal: takes this run's journal and brings back a game an
    // earlier run left unfinished (shown paused once the window is ready), or journals the
    // tableau just dealt.
    explicit GameRecords(MainForm& window);
    ~GameRecords() override;

    // The window is up and the language question is over: the game brought back is shown
    // paused, and what could not be read is told.
    void WindowReady();
    // The pause message to show instead of the plain one, once: the game is back.
    QString TakeResumeNotice();

    // The high-score list gets a way to the statistics (a link and Ctrl+T).
    void AttachDialogs(const DlgResources& resources, HighscoreDlg* highscore);

    // Ctrl+C: the number of the tableau on the table, as text.
    void CopyDealNumber();
    // Ctrl+G: asks for a number and deals that tableau.
    void AskDealNumber();
    // Deals the tableau of that number, after the give-up question when a game is running.
    bool DealNumber(uint32_t number);
    // --deal and --daily: before the window shows when nothing runs; over the window, with
    // the question, when an interrupted game came back.
    void DealAtStart(uint32_t number);
    // Ctrl+T, and from the high-score list.
    void ShowStatistics();

    // The statistics as the file holds them now (another copy of the game may have added).
    QList<records::GameEntry> Games();

    // --- GameListener
    void EventRecorded(const GameEvent& event) override;
    void GameEnded(const GameEnd& end) override;

private:
    // The clock's ticks are written in fives of seconds; this writes those still held.
    void FlushTicks();
    // Each problem with a file is told once per run; the game goes on.
    void Problem(const QString& what, const QString& error);
    void OpenJournal();
    bool Resume(const QList<QByteArray>& events, QString& why);
    void Write(const QByteArray& lines, bool begin);
    void JournalProblem(const QString& error);

    MainForm& window_;
    records::Journal journal_;
    bool journalOpen_ = false;     // a game is being journalled (from its deal to its end)
    uint64_t heldTicks_ = 0;       // timer ticks not yet written
    bool resumed_ = false;
    QString resumeNotice_;
    bool ready_ = false;           // problems wait for the window and the language
    QStringList waiting_;
    const DlgResources* resources_ = nullptr;
    records::StatisticsFile statistics_;
    std::unique_ptr<StatisticsDlg> statisticsDlg_;
    std::unique_ptr<DealNumberDlg> dealDlg_;
    QStringList told_;
};

// --deal N and --daily on the command line: the number to start with, none when neither
// is given. A number that is no deal number is an error (the text says which).
struct StartDeal {
    std::optional<uint32_t> number;
    QString error;
};
StartDeal StartDealFromArguments(const QStringList& arguments);

} // namespace torvella::ui
