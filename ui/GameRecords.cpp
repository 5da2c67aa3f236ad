#include "ui/GameRecords.h"

#include "core/NullView.h"
#include "generated/Version.h"
#include "records/DealNumber.h"
#include "records/Folders.h"
#include "ui/DealNumberDlg.h"
#include "ui/DlgResources.h"
#include "ui/HighscoreDlg.h"
#include "ui/MainForm.h"
#include "ui/StatisticsDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDate>
#include <QGuiApplication>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace torvella::ui {

namespace {

// A crash or a power cut loses at most this many ticks of the clock (five seconds).
constexpr uint64_t kTicksHeld = 50;

QByteArray Line(const GameEvent& e) { return QByteArray::fromStdString(FormatEvent(e)) + '\n'; }

} // namespace

GameRecords::GameRecords(MainForm& window)
    : QObject(&window), window_(window), journal_(records::StateFolder(), QByteArray(kVersion)),
      statistics_(records::DataFolder() + QStringLiteral("/statistics"))
{
    OpenJournal();
    window.GameState().SetListener(this);
    // A quit signal or the session's end closes the window unasked: what the clock ran
    // since the last line goes to the disk too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { FlushTicks(); });

    const struct {
        QKeySequence key;
        void (GameRecords::*action)();
    } keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_C), &GameRecords::CopyDealNumber},
        {QKeySequence(Qt::CTRL | Qt::Key_G), &GameRecords::AskDealNumber},
        {QKeySequence(Qt::CTRL | Qt::Key_T), &GameRecords::ShowStatistics},
    };
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(k.key, &window);
        shortcut->setAutoRepeat(false);
        connect(shortcut, &QShortcut::activated, this, [this, action = k.action] {
            window_.PutBackLiftedCake();
            (this->*action)();
        });
    }
}

GameRecords::~GameRecords()
{
    window_.GameState().SetListener(nullptr);
    FlushTicks();
    // Only a running game is worth bringing back; a dealt, solved or ended one is not.
    const GamePhase phase = window_.GameState().Phase();
    if (phase != GamePhase::Playing && phase != GamePhase::Paused)
        journal_.End();
    journal_.Close();
}

void GameRecords::OpenJournal()
{
    const settings::GameSettings& s = window_.Settings();
    const records::Journal::Found found = journal_.Open();
    QString why;
    switch (found.what) {
    case records::Journal::Left::Nothing:
        break;
    case records::Journal::Left::Game:
        if (Resume(found.events, why))
            return;
        if (!why.isEmpty())
            waiting_ << s.Text("Die unterbrochene Auslage ließ sich nicht wiederherstellen (%1); "
                               "das Journal liegt unverändert in\n%2",
                               "The interrupted tableau could not be brought back (%1); the journal is "
                               "kept as it was in\n%2")
                            .arg(why, journal_.SetAsideUnreadable());
        break;
    case records::Journal::Left::OtherVersion:
        waiting_ << s.Text("Eine unterbrochene Auslage einer anderen Version des Spiels liegt unverändert in\n%1",
                           "An interrupted tableau of another version of the game is kept as it was in\n%1")
                        .arg(found.setAside);
        break;
    case records::Journal::Left::Unreadable:
        waiting_ << s.Text("Das Journal der letzten Auslage ist unlesbar; es liegt unverändert in\n%1",
                           "The journal of the last tableau cannot be read; it is kept as it was in\n%1")
                        .arg(found.setAside);
        break;
    }
    Write(QByteArray::fromStdString(FormatRecord(window_.GameState().Record())), true);
}

// True when the journal's game runs again in the window. `why` says what was wrong with a
// journal that cannot be used; it stays empty for a game that needs no bringing back.
bool GameRecords::Resume(const QList<QByteArray>& events, QString& why)
{
    std::string error;
    std::optional<GameRecord> record = ParseRecord(events.join('\n').toStdString() + '\n', error);
    if (!record) {
        why = QString::fromStdString(error);
        return false;
    }
    // Killed while the pause message showed: the game comes back paused all the same, by the
    // pause it is shown in now.
    auto& ev = record->events;
    const auto pause = std::find_if(ev.rbegin(), ev.rend(), [](const GameEvent& e) {
        return e.kind == EventKind::Pause || e.kind == EventKind::Resume;
    });
    if (pause != ev.rend() && pause->kind == EventKind::Pause)
        ev.erase(std::prev(pause.base()), ev.end());
    // Tried on a quiet game first: the window's game changes only for a running one.
    NullView quiet;
    Game trial(quiet);
    if (auto failed = trial.Restore(*record)) {
        why = QString::fromStdString(*failed);
        return false;
    }
    if (trial.Phase() != GamePhase::Playing)
        return false;
    window_.GameState().Restore(*record);
    resumed_ = true;
    Write(QByteArray::fromStdString(FormatRecord(*record)), true);
    return true;
}

void GameRecords::WindowReady()
{
    ready_ = true;
    for (const QString& problem : std::exchange(waiting_, {}))
        window_.ReportProblem(problem);
    if (!resumed_ || window_.GameState().Phase() != GamePhase::Playing)
        return;
    const settings::GameSettings& s = window_.Settings();
    resumeNotice_ = s.Text("Deine Auslage ist wieder da.\nSpiel angehalten. Weitermachen?",
                           "Your interrupted tableau is back.\nGame paused. Continue?");
    window_.PauseBtnClick();
    resumeNotice_.clear();
}

QString GameRecords::TakeResumeNotice() { return std::exchange(resumeNotice_, QString()); }

void GameRecords::Write(const QByteArray& lines, bool begin)
{
    journalOpen_ = true;
    JournalProblem(begin ? journal_.Begin(lines) : journal_.Add(lines));
}

// However often the journal fails, the player hears of it once a run.
void GameRecords::JournalProblem(const QString& error)
{
    Problem(window_.Settings().Text("Das Journal der laufenden Auslage kann nicht geschrieben werden; nach einem "
                                    "Absturz käme sie nicht wieder:",
                                    "The journal of the running tableau cannot be written; after a crash it "
                                    "would not come back:"),
            error);
}

void GameRecords::FlushTicks()
{
    if (heldTicks_ == 0 || !journalOpen_)
        return;
    const uint64_t ticks = std::exchange(heldTicks_, 0);
    Write(Line({.kind = EventKind::Ticks, .count = ticks}), false);
}

void GameRecords::EventRecorded(const GameEvent& event)
{
    if (event.kind == EventKind::Deal) {
        heldTicks_ = 0;
        Write(Line(event), true);
        return;
    }
    if (!journalOpen_)
        return;  // the game has ended: nothing of it needs bringing back
    if (event.kind == EventKind::Ticks) {
        heldTicks_ += event.count;
        if (heldTicks_ >= kTicksHeld)
            FlushTicks();
        return;
    }
    FlushTicks();
    Write(Line(event), false);
}

void GameRecords::GameEnded(const GameEnd& end)
{
    heldTicks_ = 0;
    journalOpen_ = false;
    JournalProblem(journal_.End());

    records::GameEntry entry;
    entry.ended = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch(), Qt::UTC);
    entry.deal = end.dealState;
    entry.result = end.kind == EndKind::Solved    ? records::Result::Solved
                   : end.kind == EndKind::DeadEnd ? records::Result::DeadEnd
                                                  : records::Result::GivenUp;
    entry.score = end.score;
    entry.seconds = int64_t(end.tally.playedTicks / 10);
    entry.moves = end.tally.moves;
    entry.hints = end.tally.hints;
    Problem(window_.Settings().Text("Die Partie kann nicht in die Statistik geschrieben werden:",
                                    "The game cannot be written into the statistics:"),
            statistics_.Add(entry));
}

void GameRecords::AttachDialogs(const DlgResources& resources, HighscoreDlg* highscore)
{
    resources_ = &resources;
    if (highscore)
        highscore->AddStatisticsLink([this] { ShowStatistics(); });
}

void GameRecords::Problem(const QString& what, const QString& error)
{
    if (error.isEmpty() || told_.contains(what))
        return;
    told_ << what;
    if (ready_)
        window_.ReportProblem(what + QLatin1Char('\n') + error);
    else
        waiting_ << what + QLatin1Char('\n') + error;
}

void GameRecords::CopyDealNumber()
{
    QGuiApplication::clipboard()->setText(QString::number(window_.GameState().DealSeed()));
}

void GameRecords::AskDealNumber()
{
    if (!dealDlg_) {
        dealDlg_ = std::make_unique<DealNumberDlg>(window_.Settings(), &window_);
        if (resources_)
            dealDlg_->BindPictures(*resources_);
    }
    if (const auto number = dealDlg_->Ask(window_.GameState().DealSeed()))
        DealNumber(*number);
}

bool GameRecords::DealNumber(uint32_t number)
{
    Game& game = window_.GameState();
    // The new-tableau button deals from the generator's state; should the player keep the
    // running game, the generator goes on as if nothing had been asked.
    const uint32_t before = game.GeneratorState();
    game.Seed(number);
    if (window_.DealFromGenerator())
        return true;
    game.Seed(before);
    return false;
}

void GameRecords::DealAtStart(uint32_t number)
{
    if (window_.GameState().Phase() == GamePhase::Dealt)
        DealNumber(number);
    else
        QTimer::singleShot(0, this, [this, number] { DealNumber(number); });
}

QList<records::GameEntry> GameRecords::Games()
{
    records::StatisticsFile::Loaded loaded = statistics_.Load();
    const settings::GameSettings& s = window_.Settings();
    if (!loaded.error.isEmpty())
        Problem(s.Text("Die Statistik kann nicht gelesen werden:", "The statistics cannot be read:"), loaded.error);
    else if (!loaded.setAside.isEmpty())
        Problem(s.Text("Die Statistik enthielt Unlesbares; es liegt unverändert in",
                       "The statistics held something unreadable; it is kept as it was in"),
                loaded.setAside);
    return loaded.games;
}

void GameRecords::ShowStatistics()
{
    if (!statisticsDlg_) {
        statisticsDlg_ = std::make_unique<StatisticsDlg>(
            window_.Settings(), [this] { return Games(); }, [this] { return statistics_.Reset(); }, &window_);
        if (resources_)
            statisticsDlg_->BindPictures(*resources_);
    }
    statisticsDlg_->ShowModal();
}

StartDeal StartDealFromArguments(const QStringList& arguments)
{
    StartDeal start;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--daily")) {
            start.number = records::DailyDealNumber(QDate::currentDate());
        } else if (a == QLatin1String("--deal") || a.startsWith(QLatin1String("--deal="))) {
            const QString text = a == QLatin1String("--deal") ? arguments.value(++i) : a.mid(7);
            start.number = records::ParseDealNumber(text);
            if (!start.number) {
                start.error = QStringLiteral("--deal takes a number from 0 to 4294967295, not \"%1\"").arg(text);
                return start;
            }
        }
    }
    return start;
}

} // namespace torvella::ui
