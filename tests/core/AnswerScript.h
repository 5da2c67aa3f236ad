#pragma once
// The answers a test view gives the game's questions: taken from a queue (Yes when it is
// empty), with a hook that runs while the dialog is open, to stand for the timer ticks that
// keep coming while a modal dialog shows.
#include "core/GameView.h"

#include <deque>
#include <functional>

namespace torvella::testing {

struct AnswerScript {
    std::deque<Answer> answers;
    std::function<void()> whileDialogOpen;

    Answer NextAnswer()
    {
        if (whileDialogOpen)
            whileDialogOpen();
        if (answers.empty())
            return Answer::Yes;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

} // namespace torvella::testing
