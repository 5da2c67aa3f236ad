#include "ui/HintSearch.h"

#include "core/Solver.h"

#include <optional>

namespace torvella::ui {

namespace {
// A hint blinks three times over about a second.
constexpr int kBlinkPhases = 6;
constexpr int kBlinkMs = 170;
} // namespace

HintSearch::HintSearch(Game& game, QObject* parent) : QObject(parent), game_(game)
{
    timer_.setInterval(kBlinkMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        --blinks_;
        BlinkStep();
    });
}

HintSearch::~HintSearch()
{
    cancel_ = true;
    if (thread_.joinable())
        thread_.join();
}

void HintSearch::Start()
{
    searching_ = true;
    if (thread_.joinable())
        thread_.join();
    const Tableau asked = game_.Position();
    thread_ = std::thread([this, asked] {
        const Solution solution = Solve(asked, HintLimits(&cancel_));
        QMetaObject::invokeMethod(
            this, [this, asked, solution] { Found(asked, solution); }, Qt::QueuedConnection);
    });
}

void HintSearch::Found(const Tableau& askedAbout, const Solution& solution)
{
    searching_ = false;
    if (solution.cancelled) {
        emit NoAnswerInTime();
        return;
    }
    std::optional<Move> first;
    if (solution.solvable && !solution.moves.empty())
        first = solution.moves.front();
    game_.GiveHint(askedAbout, first);
}

void HintSearch::Show(Move move)
{
    move_ = move;
    blinks_ = kBlinkPhases;
    BlinkStep();
    timer_.start();
}

void HintSearch::BlinkStep()
{
    emit MarksChanged();
    if (blinks_ == 0)
        timer_.stop();
}

} // namespace torvella::ui
