#pragma once
// Key H: the search for the first drop of a solution from the position of now, on a thread
// of its own so the window stays alive meanwhile, and the blinking of the drop it found.
// The answer comes back on the window's thread and goes to the game, which charges the
// hint and tells its view what to show (Show).
#include "core/Game.h"
#include "core/Solver.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <thread>

namespace torvella::ui {

class HintSearch : public QObject {
    Q_OBJECT
public:
    explicit HintSearch(Game& game, QObject* parent = nullptr);
    // A search still running is cancelled and waited for.
    ~HintSearch() override;

    // No search runs and the game allows a hint now.
    bool CanStart() const { return !searching_ && game_.HintPossible(); }
    // Starts the search for the position of now (CanStart must hold).
    void Start();
    bool Searching() const { return searching_; }

    // The game's answer: the drop blinks three times.
    void Show(Move move);
    // The drop's marks stand on the screen now, and which drop it is.
    bool MarksShown() const { return blinks_ > 0 && blinks_ % 2 == 0; }
    Move Shown() const { return move_; }

signals:
    // The marks come or go: their square is to be repainted.
    void MarksChanged();
    // Neither a drop nor a proof within the search's limit; nothing was charged.
    void NoAnswerInTime();

private:
    void Found(const Tableau& askedAbout, const Solution& solution);
    void BlinkStep();

    Game& game_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    bool searching_ = false;
    Move move_{};
    int blinks_ = 0;  // phases of the blink still to come; even: the marks show
    QTimer timer_;
};

} // namespace torvella::ui
