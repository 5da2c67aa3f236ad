#pragma once
// Middle: the record of one game, and what is known when a game ends. The record holds the
// deal and every event that changed the game since, in order; from it the game rebuilds
// the same position, clock, undo, phase and tallies (Game::Restore). Its text form is one
// event per line, so a journal can append each event as it happens:
//
//   deal 387989222 pulse 0    always first: the generator state dealt from, the pulse step
//   move 3,3>3,4              a drop the rules accepted (from>to, column,row)
//   refused 3,4>-1,-1         a drop they refused; -1,-1 is anywhere off the tableau
//   undo
//   hint 0,0>1,0 370          a hint that showed a drop, and what it was charged
//   pause
//   resume
//   ticks 25                  timer ticks of 100 ms; ticks in a row make one line
//   giveup new                a running game given up: new, again (same tableau) or leave
//
// Plain data, no I/O: the keeper of a journal decides where the lines go.
#include "core/Rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace torvella {

enum class EventKind : uint8_t { Deal, Move, Refused, Undo, Hint, Pause, Resume, Ticks, GiveUp };

// How a game ended: solved, no move left, or a running game given up by a new tableau, the
// same tableau again, or leaving the program.
enum class EndKind : uint8_t { Solved, DeadEnd, NewTableau, SameTableau, Left };

const char* EndKindName(EndKind kind);  // solved, dead-end, new, again, leave

struct GameEvent {
    EventKind kind = EventKind::Ticks;
    Move move{};                  // Move, Refused, Hint
    int32_t charge = 0;           // Hint: points charged
    uint64_t count = 0;           // Ticks: how many; Deal: the pulse step
    uint32_t state = 0;           // Deal: the generator state
    EndKind end = EndKind::Left;  // GiveUp: NewTableau, SameTableau or Left
    bool operator==(const GameEvent&) const = default;
};

struct GameRecord {
    uint32_t dealState = 0;
    int32_t pulseStep = 0;          // the pulse runs on across deals: where it stood at this one
    std::vector<GameEvent> events;  // everything after the deal; never a Deal

    // Appends one event; a tick right after ticks joins them.
    void Add(const GameEvent& event);
    GameEvent DealEvent() const
    {
        return {.kind = EventKind::Deal, .count = static_cast<uint64_t>(pulseStep), .state = dealState};
    }
    bool operator==(const GameRecord&) const = default;
};

// What one game was, told once when it ends.
struct Tally {
    int32_t moves = 0;         // legal moves, undone ones included
    int32_t undos = 0;
    int32_t hints = 0;         // hints that showed a drop (and were charged)
    uint64_t playedTicks = 0;  // 100 ms ticks while the game ran: a tenth of a second each
    bool operator==(const Tally&) const = default;
};

struct GameEnd {
    EndKind kind = EndKind::Solved;
    int32_t score = 0;
    Tally tally;
    uint32_t dealState = 0;
};

// One line without its newline; the whole record with a newline after each line.
std::string FormatEvent(const GameEvent& event);
std::string FormatRecord(const GameRecord& record);

// Reads what FormatEvent and FormatRecord write. Text that is not such a line or record
// gives no value and says why in `error` ("line 3: ..." for a record). A record's text may
// hold a tick per line; they are joined as Add joins them.
std::optional<GameEvent> ParseEvent(std::string_view line, std::string& error);
std::optional<GameRecord> ParseRecord(std::string_view text, std::string& error);

} // namespace torvella
