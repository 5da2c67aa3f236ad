#include "tools/cli/Commands.h"

#include "core/Game.h"
#include "core/NullView.h"
#include "core/Solver.h"
#include "tools/cli/Args.h"
#include "tools/cli/Extensions.h"

#include <charconv>
#include <chrono>
#include <climits>
#include <cstdint>
#include <limits>
#include <string_view>
#include <tuple>
#include <algorithm>

namespace torvella::cli {

namespace {

// Records what a move asks of its window; answers every question with Yes, as if a
// running game was given up without asking.
class RecordingView : public NullView {
public:
    std::vector<int> sounds;
    void PlaySound(Sound sound) override { sounds.push_back(ToInt(sound)); }
};

void PrintCells(std::string& s, const Tableau& t)
{
    s += "\"cells\":[";
    for (int i = 0; i < kCells; ++i) {
        if (i)
            s += ',';
        s += '[' + std::to_string(t.CellColour[i]) + ',' + std::to_string(t.CellSlices[i]) + ']';
    }
    s += ']';
}

int Deal(const std::vector<std::string>& args, std::FILE* out)
{
    if (args.size() != 1)
        throw UsageError("usage: torvella-cli deal STATE");
    const uint32_t state = ParseState(args[0]);
    Tableau t;
    Random rng(state);
    DealTableau(t, rng);
    std::string s = "{\"seed\":" + std::to_string(state) + ",\"state_after\":" + std::to_string(rng.State()) + ',';
    PrintCells(s, t);
    s += "}\n";
    std::fputs(s.c_str(), out);
    return 0;
}

struct Step {
    enum Kind { Drop, Undo, Again, New, Tick } kind;
    std::string text;
    int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool pixel1 = false, pixel2 = false;
    uint64_t ticks = 0;
};

// "C,R" or "@X,Y"
void ParsePlace(std::string_view text, const std::string& step, bool& pixel, int32_t& a, int32_t& b)
{
    pixel = !text.empty() && text.front() == '@';
    if (pixel)
        text.remove_prefix(1);
    const auto comma = text.find(',');
    if (comma == std::string_view::npos || !ParseNumber(text.substr(0, comma), a) ||
        !ParseNumber(text.substr(comma + 1), b))
        throw UsageError("step not understood: '" + step + "'");
}

std::vector<Step> ParseSteps(const std::vector<std::string>& args, size_t first)
{
    std::vector<Step> steps;
    for (size_t i = first; i < args.size(); ++i) {
        const std::string& a = args[i];
        Step st{Step::Drop, a};
        if (a == "undo") {
            st.kind = Step::Undo;
        } else if (a == "again") {
            st.kind = Step::Again;
        } else if (a == "new") {
            st.kind = Step::New;
        } else if (a == "tick") {
            if (i + 1 >= args.size())
                throw UsageError("tick needs a count");
            const std::string& n = args[++i];
            if (n.empty() || n.front() == '-' || n.front() == '+' || !ParseNumber(n, st.ticks))
                throw UsageError("tick count must be a non-negative integer: '" + n + "'");
            st.kind = Step::Tick;
            st.text = "tick " + n;
        } else {
            const auto gt = a.find('>');
            if (gt == std::string::npos)
                throw UsageError("step not understood: '" + a + "'");
            ParsePlace(std::string_view(a).substr(0, gt), a, st.pixel1, st.x1, st.y1);
            ParsePlace(std::string_view(a).substr(gt + 1), a, st.pixel2, st.x2, st.y2);
        }
        steps.push_back(st);
    }
    return steps;
}

// The centre of a cell, also for cells off the tableau; kept inside the 32-bit range.
Point CentreOf(const Geometry& g, int32_t col, int32_t row)
{
    auto clamp = [](int64_t v) {
        return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX));
    };
    return {clamp(g.OriginX + static_cast<int64_t>(col) * g.CellSize),
            clamp(g.OriginY + static_cast<int64_t>(row) * g.CellSize)};
}

// The step as `play` carries it out; the result word it prints.
const char* CarryOut(Game& game, const Step& st)
{
    switch (st.kind) {
    case Step::Drop: {
        // Cells go through their centres too, as a pointer would: a cell just off the
        // tableau may still map onto it.
        const Point p1 = st.pixel1 ? Point{st.x1, st.y1} : CentreOf(game.Layout(), st.x1, st.y1);
        const Point p2 = st.pixel2 ? Point{st.x2, st.y2} : CentreOf(game.Layout(), st.x2, st.y2);
        if (!game.LiftAt(game.Layout().CellUnder(p1.x, p1.y)))
            return "ignored";
        return game.DropOn(game.Layout().CellUnder(p2.x, p2.y)) == DropResult::Moved ? "moved" : "refused";
    }
    case Step::Undo: return game.OOpsBtnClick() ? "undone" : "disabled";
    case Step::Again: return game.AgainBtnClick() ? "dealt" : "disabled";
    case Step::New: return game.StartBtnClick() ? "dealt" : "disabled";
    case Step::Tick: game.TimerTicks(st.ticks); return "ticked";
    }
    return "";
}

// [--size WxH] STATE STEP...: a game dealt from STATE on that board area, and its steps.
struct Session {
    int32_t w = 702, h = 405;
    uint32_t state = 0;
    std::vector<Step> steps;
};

Session ParseSession(std::vector<std::string> args, const char* usage)
{
    Session s;
    if (!args.empty() && args[0] == "--size") {
        if (args.size() < 2)
            throw UsageError("--size needs WxH");
        std::tie(s.w, s.h) = ParseBoardSize(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        throw UsageError(usage);
    s.state = ParseState(args[0]);
    s.steps = ParseSteps(args, 1);
    return s;
}

void StartGame(Game& game, const Session& s)
{
    game.SetBoardSize(s.w, s.h);
    game.Seed(s.state);
    game.Deal();
}

int Play(const std::vector<std::string>& args, std::FILE* out)
{
    const Session session = ParseSession(args, "usage: torvella-cli play [--size WxH] STATE STEP...");
    RecordingView view;
    Game game(view);
    StartGame(game, session);

    for (const Step& st : session.steps) {
        view.sounds.clear();
        const char* result = CarryOut(game, st);
        const Tableau& t = game.Position();
        std::string s = "{\"step\":" + JsonQuoted(st.text) + ",\"result\":\"" + result + "\",\"score\":" +
                        std::to_string(t.Score) + ",\"jumps\":" + std::to_string(t.JumpsLeft) + ",\"plates\":[";
        for (int c = 1; c <= kColours; ++c)
            s += (c > 1 ? "," : "") + std::to_string(t.PlateSlices[c]);
        s += "],\"holds\":[";
        for (int c = 1; c <= kColours; ++c)
            s += (c > 1 ? "," : "") + std::to_string(t.HoldSlices[c]);
        s += "],\"phase\":\"" + std::string(PhaseName(game.Phase())) + "\",\"sounds\":[";
        for (size_t i = 0; i < view.sounds.size(); ++i)
            s += (i ? "," : "") + std::to_string(view.sounds[i]);
        s += "],";
        PrintCells(s, t);
        s += "}\n";
        std::fputs(s.c_str(), out);
    }
    return 0;
}

// Deals and plays as `play` does, then solves from where the steps left the game. With a
// limit the answer may be "solvable":null, with the reason the search stopped.
int SolveCommand(const std::vector<std::string>& args, std::FILE* out)
{
    static const char* const kUsage =
        "usage: torvella-cli solve [--size WxH] [--max-seconds S] [--max-mb M] STATE [STEP...]";
    SolveLimits limits;
    std::vector<std::string> session;
    size_t i = 0;
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        const std::string& option = args[i];
        if (i + 1 >= args.size())
            throw UsageError(option + " needs a value");
        const std::string& value = args[++i];
        if (option == "--max-seconds") {
            double seconds = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (ec != std::errc() || end != value.data() + value.size() || !(seconds > 0) || seconds > 1e9)
                throw UsageError("--max-seconds must be a positive number: '" + value + "'");
            limits.maxSeconds = seconds;
        } else if (option == "--max-mb") {
            uint32_t mb = 0;
            if (!ParseNumber(value, mb) || mb < 1 || mb > 65536)
                throw UsageError("--max-mb must be a whole number from 1 to 65536: '" + value + "'");
            limits.maxBytes = size_t{mb} << 20;
        } else if (option == "--size") {
            session.insert(session.end(), {option, value});
        } else {
            throw UsageError(std::string(kUsage));
        }
    }
    session.insert(session.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    const Session parsed = ParseSession(session, kUsage);
    NullView view;
    Game game(view);
    StartGame(game, parsed);
    for (const Step& st : parsed.steps)
        CarryOut(game, st);

    const auto start = std::chrono::steady_clock::now();
    const Solution solution = Solve(game.Position(), limits);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    std::string s = "{\"solvable\":";
    if (solution.cancelled)
        s += std::string("null,\"reason\":") + JsonQuoted(StopReason(solution.stop));
    else
        s += solution.solvable ? "true" : "false";
    s += ",\"moves\":[";
    for (size_t m = 0; m < solution.moves.size(); ++m)
        s += (m ? ",\"" : "\"") + MoveText(solution.moves[m]) + '"';
    char tail[64];
    std::snprintf(tail, sizeof tail, "],\"positions\":%llu,\"ms\":%.3f}\n",
                  static_cast<unsigned long long>(solution.positions), ms);
    s += tail;
    std::fputs(s.c_str(), out);
    return 0;
}

int Layout(const std::vector<std::string>& args, std::FILE* out)
{
    int32_t w = 0, h = 0;
    if (args.size() != 2)
        throw UsageError("usage: torvella-cli layout W H");
    if (!ParseNumber(args[0], w) || !ParseNumber(args[1], h) || w < 0 || h < 0)
        throw UsageError("W and H must be non-negative integers");
    const Geometry g = CalcLayout(w, h);
    std::fprintf(out,
                 "{\"CellSize\":%d,\"CakeRadius\":%d,\"PlateStep\":%d,\"OriginX\":%d,\"OriginY\":%d,"
                 "\"PlateX\":%d,\"PlateY\":%d}\n",
                 g.CellSize, g.CakeRadius, g.PlateStep, g.OriginX, g.OriginY, g.PlateX, g.PlateY);
    return 0;
}

int Colours(const std::vector<std::string>& args, std::FILE* out)
{
    if (!args.empty())
        throw UsageError("usage: torvella-cli colours");
    std::string s = "{\"ColourTable\":[";
    for (int c = 1; c <= kColours; ++c) {
        s += c > 1 ? ",[" : "[";
        for (int q = 1; q <= kShades; ++q)
            s += (q > 1 ? "," : "") + std::to_string(ColourTable()[c][q]);
        s += ']';
    }
    s += "],\"PulseColours\":[";
    for (int i = 0; i < 16; ++i)
        s += (i ? "," : "") + std::to_string(PulseColours()[i]);
    s += "]}\n";
    std::fputs(s.c_str(), out);
    return 0;
}

} // namespace

int Run(const std::vector<std::string>& args, std::FILE* out)
{
    if (args.empty())
        throw UsageError("usage: torvella-cli deal|play|solve|layout|colours|encrypt|decrypt|render ...");
    const std::string& cmd = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "deal")
        return Deal(rest, out);
    if (cmd == "play")
        return Play(rest, out);
    if (cmd == "solve")
        return SolveCommand(rest, out);
    if (cmd == "layout")
        return Layout(rest, out);
    if (cmd == "colours")
        return Colours(rest, out);
    if (int status = 0; RunExtension(cmd, rest, out, status))
        return status;
    throw UsageError("unknown command '" + cmd + "'");
}

} // namespace torvella::cli
