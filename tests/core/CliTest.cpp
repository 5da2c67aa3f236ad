// torvella-cli as its users run it: a separate process, output on stdout, exit status.
#include "GameFixture.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace torvella {
namespace {

using testing::kDealOfState0;

struct CliRun {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

CliRun RunCli(const std::vector<std::string>& args)
{
    char outPath[] = "/tmp/torvella-cli-out-XXXXXX";
    char errPath[] = "/tmp/torvella-cli-err-XXXXXX";
    const int outFd = mkstemp(outPath);
    const int errFd = mkstemp(errPath);
    if (outFd < 0 || errFd < 0)
        std::abort();
    std::vector<char*> argv{const_cast<char*>(TORVELLA_CLI_PATH)};
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = fork();
    if (pid == 0) {
        dup2(outFd, 1);
        dup2(errFd, 2);
        execv(TORVELLA_CLI_PATH, argv.data());
        _exit(127);
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    close(outFd);
    close(errFd);
    CliRun run;
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    run.out = Slurp(outPath);
    run.err = Slurp(errPath);
    unlink(outPath);
    unlink(errPath);
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The raw text of a top-level value in a one-line JSON object: a number, a quoted string
// (quotes removed) or an array with its brackets.
std::string Field(const std::string& json, const std::string& key)
{
    const std::string tag = "\"" + key + "\":";
    const auto at = json.find(tag);
    if (at == std::string::npos)
        return "<missing " + key + ">";
    size_t i = at + tag.size();
    if (json[i] == '"')
        return json.substr(i + 1, json.find('"', i + 1) - i - 1);
    if (json[i] == '[') {
        int depth = 0;
        for (size_t j = i; j < json.size(); ++j) {
            depth += json[j] == '[' ? 1 : json[j] == ']' ? -1 : 0;
            if (depth == 0)
                return json.substr(i, j - i + 1);
        }
    }
    return json.substr(i, json.find_first_of(",}", i) - i);
}

std::string CellsOfState0()
{
    std::string s = "[";
    for (int i = 0; i < kCells; ++i)
        s += (i ? ",[" : "[") + std::to_string(kDealOfState0[i].first) + "," +
             std::to_string(kDealOfState0[i].second) + "]";
    return s + "]";
}

TEST(CliTest, DealPrintsThePinnedTableauOfStateZero)
{
    const CliRun run = RunCli({"deal", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "{\"seed\":0,\"state_after\":387989222,\"cells\":" + CellsOfState0() + "}\n");

    const CliRun top = RunCli({"deal", "4294967295"});
    ASSERT_EQ(top.status, 0) << top.err;
    EXPECT_EQ(Field(top.out, "seed"), "4294967295");
}

TEST(CliTest, LayoutAndColours)
{
    const CliRun layout = RunCli({"layout", "702", "405"});
    ASSERT_EQ(layout.status, 0) << layout.err;
    EXPECT_EQ(layout.out, "{\"CellSize\":54,\"CakeRadius\":24,\"PlateStep\":81,\"OriginX\":108,"
                          "\"OriginY\":40,\"PlateX\":513,\"PlateY\":81}\n");

    const CliRun colours = RunCli({"colours"});
    ASSERT_EQ(colours.status, 0) << colours.err;
    EXPECT_EQ(Field(colours.out, "PulseColours"),
              "[4144959,5197647,6250335,7303023,8355711,9408399,10461087,11513775,12566463,"
              "11513775,10461087,9408399,8355711,7303023,6250335,5197647]");
    EXPECT_EQ(Field(colours.out, "ColourTable").substr(0, 25), "[[179,192,205,219,232,219");
}

struct StepLine {
    const char* step;
    const char* result;
    int score, jumps;
    const char* plates;
    const char* holds;
    const char* phase;
    const char* sounds;
};

TEST(CliTest, PlayReportsEveryStep)
{
    // Deal of state 0: yellow 10 at (0,4) over green 1 at (0,5); red 4 at (3,3) over red 7;
    // green 7 at (3,5); the mixed cake at (5,6); yellow 5 at (0,0); blue 1 at (4,0) beside
    // blue 11 at (5,0), whose hit square holds pixel (355,17).
    const StepLine expected[] = {
        {"tick 5", "ticked", 0, 3, "[0,0,0,0]", "[0,0,0,0]", "Dealt", "[]"},
        {"3,3>3,3", "refused", 0, 3, "[0,0,0,0]", "[0,0,0,0]", "Dealt", "[6]"},
        {"@0,0>3,3", "ignored", 0, 3, "[0,0,0,0]", "[0,0,0,0]", "Dealt", "[]"},
        {"undo", "disabled", 0, 3, "[0,0,0,0]", "[0,0,0,0]", "Dealt", "[]"},
        {"again", "disabled", 0, 3, "[0,0,0,0]", "[0,0,0,0]", "Dealt", "[]"},
        {"0,4>0,5", "moved", 45, 3, "[0,1,0,0]", "[0,0,0,0]", "Playing", "[3]"},
        {"3,3>3,4", "moved", 45, 3, "[0,1,0,0]", "[7,0,0,0]", "Playing", "[2]"},
        {"3,5>3,4", "refused", 45, 3, "[0,1,0,0]", "[7,0,0,0]", "Playing", "[6]"},
        {"tick 10", "ticked", 44, 3, "[0,1,0,0]", "[7,0,0,0]", "Playing", "[]"},
        {"undo", "undone", 45, 3, "[0,1,0,0]", "[0,0,0,0]", "Playing", "[]"},
        {"undo", "disabled", 45, 3, "[0,1,0,0]", "[0,0,0,0]", "Playing", "[]"},
        {"5,6>0,0", "moved", 45 - 370, 2, "[0,1,0,0]", "[0,0,0,5]", "Playing", "[2,4]"},
        {"4,0>@355,17", "moved", 45 - 370, 2, "[0,1,0,0]", "[0,0,11,5]", "Playing", "[2]"},
        {"tick 1605", "ticked", 45 - 370 - 160, 2, "[0,1,0,0]", "[0,0,11,5]", "Playing", "[]"},
        {"again", "dealt", 0, 3, "[0,0,0,0]", "[0,0,0,0]", "Dealt", "[]"},
        {"new", "dealt", 0, 3, "[0,0,0,0]", "[0,0,0,0]", "Dealt", "[]"},
    };
    std::vector<std::string> args{"play", "0"};
    for (const auto& e : expected) {
        const std::string step = e.step;
        if (step.rfind("tick ", 0) == 0) {
            args.push_back("tick");
            args.push_back(step.substr(5));
        } else {
            args.push_back(step);
        }
    }
    const CliRun run = RunCli(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), std::size(expected));
    for (size_t i = 0; i < lines.size(); ++i) {
        const StepLine& e = expected[i];
        const std::string& l = lines[i];
        SCOPED_TRACE(l);
        EXPECT_EQ(Field(l, "step"), e.step);
        EXPECT_EQ(Field(l, "result"), e.result);
        EXPECT_EQ(Field(l, "score"), std::to_string(e.score));
        EXPECT_EQ(Field(l, "jumps"), std::to_string(e.jumps));
        EXPECT_EQ(Field(l, "plates"), e.plates);
        EXPECT_EQ(Field(l, "holds"), e.holds);
        EXPECT_EQ(Field(l, "phase"), e.phase);
        EXPECT_EQ(Field(l, "sounds"), e.sounds);
        EXPECT_EQ(l.substr(l.find("\"result\"")).find(' '), std::string::npos) << "no spaces but the step's";
    }
    EXPECT_EQ(Field(lines[0], "cells"), CellsOfState0());
    EXPECT_EQ(Field(lines[14], "cells"), CellsOfState0()) << "again: the same tableau";
    const CliRun next = RunCli({"deal", "387989222"});
    EXPECT_EQ(Field(lines[15], "cells"), Field(next.out, "cells")) << "new: the generator went on";
    // After the jump the mixed cake stands at (0,0) and its old cell (5,6) is empty.
    EXPECT_EQ(Field(lines[11], "cells").substr(0, 7), "[[0,1],");
    EXPECT_NE(Field(lines[11], "cells").find("[-1,0],[4,3]"), std::string::npos);
}

TEST(CliTest, ExtremeButWellFormedArgumentsWork)
{
    const std::vector<std::vector<std::string>> cases = {
        {"play", "0", "-2147483648,2147483647>2147483647,-2147483648"},
        {"play", "0", "0,4>0,5", "tick", "18446744073709551615"},
        {"play", "--size", "2147483647x2147483647", "4294967295", "3,3>3,4"},
        {"layout", "2147483647", "2147483647"},
        {"layout", "0", "0"},
    };
    for (const auto& args : cases) {
        const CliRun run = RunCli(args);
        SCOPED_TRACE(args.back());
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_FALSE(run.out.empty());
    }
}

TEST(CliTest, BadInputExitsWithTwoAndOneLineOnStandardError)
{
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"deal"},
        {"deal", "-1"},
        {"deal", "4294967296"},
        {"deal", "abc"},
        {"deal", ""},
        {"deal", "0", "1"},
        {"deal", "0x10"},
        {"play"},
        {"play", "-1", "3,3>3,4"},
        {"play", "0", "3,3"},
        {"play", "0", "3,3>x"},
        {"play", "0", "3,3>3"},
        {"play", "0", "3,3>@"},
        {"play", "0", "99999999999,0>0,0"},
        {"play", "0", "3,3>3,4", "jump"},  // a bad step after a good one prints nothing either
        {"play", "0", "tick"},
        {"play", "0", "tick", "-1"},
        {"play", "0", "tick", "many"},
        {"play", "--size", "10x10", "0"},
        {"play", "--size", "0x5", "0"},
        {"play", "--size", "702", "0"},
        {"play", "--size"},
        {"layout", "702"},
        {"layout", "-1", "405"},
        {"layout", "wide", "405"},
        {"colours", "red"},
        {"solve"},
        {"solve", "-3"},
        {"solve", "3", "3,3>"},
        {"solve", "--max-seconds", "0", "3"},
        {"solve", "--max-seconds", "soon", "3"},
        {"solve", "--max-mb", "0", "3"},
        {"solve", "--max-mb", "3"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args)
            joined += "[" + a + "]";
        SCOPED_TRACE(joined);
        const CliRun run = RunCli(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        ASSERT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "exactly one line: " << run.err;
    }
}

// The moves of a solution as `play` steps: "C,R>C,R", ...
std::vector<std::string> MovesOf(const std::string& json)
{
    std::vector<std::string> moves;
    const std::string list = Field(json, "moves");
    for (size_t at = list.find('"'); at != std::string::npos; at = list.find('"', list.find('"', at + 1) + 1))
        moves.push_back(list.substr(at + 1, list.find('"', at + 1) - at - 1));
    return moves;
}

TEST(CliTest, SolveFindsDropsThatPlayCarriesToSolved)
{
    const CliRun run = RunCli({"solve", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(Lines(run.out).size(), 1u);
    EXPECT_EQ(Field(run.out, "solvable"), "true");
    EXPECT_GT(std::stoll(Field(run.out, "positions")), 0);
    EXPECT_GE(std::stod(Field(run.out, "ms")), 0.0);
    const std::vector<std::string> moves = MovesOf(run.out);
    ASSERT_EQ(moves.size(), 48u);

    std::vector<std::string> play{"play", "3"};
    play.insert(play.end(), moves.begin(), moves.end());
    const CliRun replay = RunCli(play);
    ASSERT_EQ(replay.status, 0) << replay.err;
    const std::vector<std::string> lines = Lines(replay.out);
    ASSERT_EQ(lines.size(), 48u);
    for (const std::string& line : lines)
        EXPECT_EQ(Field(line, "result"), "moved") << line;
    EXPECT_EQ(Field(lines.back(), "phase"), "Solved");

    // After the first ten drops and a tick, from where `play` leaves the game.
    std::vector<std::string> later{"solve", "3"};
    later.insert(later.end(), moves.begin(), moves.begin() + 10);
    later.insert(later.end(), {"tick", "25"});
    const CliRun rest = RunCli(later);
    ASSERT_EQ(rest.status, 0) << rest.err;
    EXPECT_EQ(Field(rest.out, "solvable"), "true");
    EXPECT_EQ(MovesOf(rest.out).size(), 38u);
}

TEST(CliTest, SolveStoppedAtItsTimeLimitSaysNotKnownAndWhy)
{
    // The deal of state 0 takes more than a microsecond; the table may be small.
    const CliRun run = RunCli({"solve", "--max-seconds", "0.000001", "--max-mb", "1", "0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Field(run.out, "solvable"), "null");
    EXPECT_EQ(Field(run.out, "reason"), "time limit reached");
    EXPECT_EQ(Field(run.out, "moves"), "[]");

    const CliRun roomy = RunCli({"solve", "--max-mb", "1", "--max-seconds", "60", "3"});
    ASSERT_EQ(roomy.status, 0) << roomy.err;
    EXPECT_EQ(Field(roomy.out, "solvable"), "true");
    EXPECT_EQ(Field(roomy.out, "reason"), "<missing reason>");
}

} // namespace
} // namespace torvella
