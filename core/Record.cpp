// Middle: the record of one game and its text form (see Record.h).
#include "core/Record.h"

#include <charconv>

namespace torvella {

namespace {

struct KindWord {
    EventKind kind;
    std::string_view word;
};
constexpr KindWord kKindWords[] = {
    {EventKind::Deal, "deal"}, {EventKind::Move, "move"},     {EventKind::Refused, "refused"},
    {EventKind::Undo, "undo"}, {EventKind::Hint, "hint"},     {EventKind::Pause, "pause"},
    {EventKind::Resume, "resume"}, {EventKind::Ticks, "ticks"}, {EventKind::GiveUp, "giveup"},
};

constexpr EndKind kEndKinds[] = {EndKind::Solved, EndKind::DeadEnd, EndKind::NewTableau, EndKind::SameTableau,
                                 EndKind::Left};

std::string_view Word(EventKind kind)
{
    for (const KindWord& k : kKindWords)
        if (k.kind == kind)
            return k.word;
    return "?";
}

std::string CellText(Cell c) { return std::to_string(c.col) + ',' + std::to_string(c.row); }
std::string MoveWords(Move m) { return CellText(m.from) + '>' + CellText(m.to); }

// Splits off the next word (up to a space); an empty view when none is left.
std::string_view NextWord(std::string_view& rest)
{
    const size_t space = rest.find(' ');
    const std::string_view word = rest.substr(0, space);
    rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    return word;
}

// Plain decimal digits (and a '-' where the type has one): no '+', no spaces.
template <typename T>
bool Number(std::string_view text, T& value)
{
    if (text.empty() || text.front() == '+')
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseCell(std::string_view text, Cell& c)
{
    const size_t comma = text.find(',');
    return comma != std::string_view::npos && Number(text.substr(0, comma), c.col) &&
           Number(text.substr(comma + 1), c.row);
}

bool ParseMove(std::string_view text, Move& m)
{
    const size_t gt = text.find('>');
    return gt != std::string_view::npos && ParseCell(text.substr(0, gt), m.from) &&
           ParseCell(text.substr(gt + 1), m.to);
}

} // namespace

const char* EndKindName(EndKind kind)
{
    switch (kind) {
    case EndKind::Solved: return "solved";
    case EndKind::DeadEnd: return "dead-end";
    case EndKind::NewTableau: return "new";
    case EndKind::SameTableau: return "again";
    case EndKind::Left: return "leave";
    }
    return "?";
}

void GameRecord::Add(const GameEvent& event)
{
    if (event.kind == EventKind::Ticks && !events.empty() && events.back().kind == EventKind::Ticks)
        events.back().count += event.count;
    else
        events.push_back(event);
}

std::string FormatEvent(const GameEvent& e)
{
    std::string s(Word(e.kind));
    switch (e.kind) {
    case EventKind::Deal:
        return s + ' ' + std::to_string(e.state) + " pulse " + std::to_string(e.count);
    case EventKind::Move:
    case EventKind::Refused: return s + ' ' + MoveWords(e.move);
    case EventKind::Hint: return s + ' ' + MoveWords(e.move) + ' ' + std::to_string(e.charge);
    case EventKind::Ticks: return s + ' ' + std::to_string(e.count);
    case EventKind::GiveUp: return s + ' ' + EndKindName(e.end);
    case EventKind::Undo:
    case EventKind::Pause:
    case EventKind::Resume: return s;
    }
    return s;
}

std::string FormatRecord(const GameRecord& record)
{
    std::string s = FormatEvent(record.DealEvent()) + '\n';
    for (const GameEvent& e : record.events)
        s += FormatEvent(e) + '\n';
    return s;
}

std::optional<GameEvent> ParseEvent(std::string_view line, std::string& error)
{
    std::string_view rest = line;
    const std::string_view word = NextWord(rest);
    GameEvent e;
    bool known = false;
    for (const KindWord& k : kKindWords)
        if (k.word == word) {
            e.kind = k.kind;
            known = true;
        }
    if (!known) {
        error = "unknown event '" + std::string(word) + "'";
        return std::nullopt;
    }
    const auto fail = [&](const char* what) {
        error = std::string(word) + ": " + what;
        return std::nullopt;
    };
    switch (e.kind) {
    case EventKind::Deal: {
        int32_t pulse = 0;
        if (!Number(NextWord(rest), e.state) || NextWord(rest) != "pulse" || !Number(NextWord(rest), pulse))
            return fail("expected 'deal STATE pulse STEP'");
        if (pulse < 0 || pulse > 15)
            return fail("the pulse step runs from 0 to 15");
        e.count = static_cast<uint64_t>(pulse);
        break;
    }
    case EventKind::Move:
    case EventKind::Refused:
    case EventKind::Hint: {
        if (!ParseMove(NextWord(rest), e.move))
            return fail("expected a drop 'C,R>C,R'");
        const bool offAllowed = e.kind == EventKind::Refused && e.move.to == kOffTableau;
        if (!OnTableau(e.move.from) || (!OnTableau(e.move.to) && !offAllowed))
            return fail("a cell off the tableau");
        if (e.kind == EventKind::Hint && (!Number(NextWord(rest), e.charge) || e.charge < 0))
            return fail("expected a charge of 0 or more points");
        break;
    }
    case EventKind::Ticks:
        if (!Number(NextWord(rest), e.count) || e.count == 0)
            return fail("expected a count of 1 or more");
        break;
    case EventKind::GiveUp: {
        const std::string_view how = NextWord(rest);
        bool found = false;
        for (EndKind k : kEndKinds)
            if (k != EndKind::Solved && k != EndKind::DeadEnd && how == EndKindName(k)) {
                e.end = k;
                found = true;
            }
        if (!found)
            return fail("expected new, again or leave");
        break;
    }
    case EventKind::Undo:
    case EventKind::Pause:
    case EventKind::Resume: break;
    }
    if (!rest.empty())
        return fail("unexpected text at the end");
    return e;
}

std::optional<GameRecord> ParseRecord(std::string_view text, std::string& error)
{
    GameRecord record;
    int lineNo = 0;
    while (!text.empty()) {
        const size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        ++lineNo;
        std::string why;
        const std::optional<GameEvent> e = ParseEvent(line, why);
        if (e && (e->kind == EventKind::Deal) != (lineNo == 1))
            why = lineNo == 1 ? "a record starts with its deal" : "a second deal";
        if (!why.empty()) {
            error = "line " + std::to_string(lineNo) + ": " + why;
            return std::nullopt;
        }
        if (lineNo == 1) {
            record.dealState = e->state;
            record.pulseStep = static_cast<int32_t>(e->count);
        } else {
            record.Add(*e);
        }
    }
    if (lineNo == 0) {
        error = "an empty record";
        return std::nullopt;
    }
    return record;
}

} // namespace torvella
