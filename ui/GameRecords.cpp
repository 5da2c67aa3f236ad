#include "ui/GameRecords.h"

#include "records/DealNumber.h"
#include "records/Folders.h"
#include "ui/DealNumberDlg.h"
#include "ui/DlgResources.h"
#include "ui/MainForm.h"
#include "ui/StatisticsDlg.h"

#include <QClipboard>
#include <QDate>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace torvella::ui {

GameRecords::GameRecords(MainForm& window)
    : QObject(&window), window_(window), statistics_(records::DataFolder() + QStringLiteral("/statistics"))
{
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

GameRecords::~GameRecords() = default;

void GameRecords::WindowReady()
{
    ready_ = true;
    for (const QString& problem : std::exchange(waiting_, {}))
        window_.ReportProblem(problem);
}

namespace {

// "Statistics ..." in the free corner of the high-score list, in the list's language.
class StatisticsLink : public QLabel {
public:
    StatisticsLink(QDialog* list, const GameSettings& settings, std::function<void()> open)
        : QLabel(list), settings_(settings)
    {
        setObjectName(QStringLiteral("StatisticsLink"));
        setGeometry(16, 426, 170, 30);
        setFont(DialogFont(13, true));
        setTextFormat(Qt::RichText);
        setAttribute(Qt::WA_TranslucentBackground);
        setCursor(Qt::PointingHandCursor);
        connect(this, &QLabel::linkActivated, this, [open] { open(); });
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), list);
        connect(key, &QShortcut::activated, this, [open] { open(); });
        list->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show) {
            setText(QStringLiteral("<a href='#' style='color:#fec912'>%1</a>")
                        .arg(settings_.Text("Statistik …", "Statistics …")));
            raise();
        }
        return false;
    }

private:
    const GameSettings& settings_;
};

} // namespace

void GameRecords::AttachDialogs(const DlgResources& resources, QDialog* highscore)
{
    resources_ = &resources;
    if (highscore)
        new StatisticsLink(highscore, window_.Settings(), [this] { ShowStatistics(); });
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
    const GameSettings& s = window_.Settings();
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
