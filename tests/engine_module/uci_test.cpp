// tarnwick-uci as a GUI or match runner uses it: commands in, answers out.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// Runs tarnwick-uci with the given standard input; returns what it printed.
std::string runUci(const std::string& input) {
    std::string inputPath = ::testing::TempDir() + "tarnwick_uci_input.txt";
    {
        std::ofstream out(inputPath);
        out << input;
    }
    std::string command = std::string("\"") + TARNWICK_UCI_PATH + "\" < \"" + inputPath + "\"";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

TEST(TarnwickUci, AnswersTheProtocol) {
    // One session, as a GUI holds it; each answer must come after the one before.
    struct Step {
        const char* commands;
        const char* answer;
    };
    const Step STEPS[] = {
        {"uci\n", "uciok"},
        {"isready\n", "readyok"},
        {"position startpos moves e2e4\ngo depth 3\n", "bestmove "},
        // White mates at once: the score is given as a mate in one.
        {"position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\ngo depth 3\n", "score mate 1"},
        {"", "bestmove d1d8"},
        // No legal move, a broken position, an illegal move: a null move, never a crash.
        {"position fen 3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1\ngo depth 2\n", "bestmove 0000"},
        {"position fen nonsense\ngo depth 2\n", "bestmove 0000"},
        {"position startpos moves e2e5\ngo depth 2\n", "bestmove 0000"},
        {"setoption name Hash value 2\nucinewgame\nposition startpos\ngo nodes 5000\n",
         "bestmove "},
        // A network file that is not there leaves the hand-made evaluation playing.
        {"setoption name EvalFile value /nonexistent.nnue\nsetoption name UseNNUE value true\n"
         "position startpos\ngo depth 3\n",
         "bestmove "},
        {"position startpos\ngo wtime 1000 btime 1000 winc 10 binc 10\n", "bestmove "},
        // A stop right after go must not be lost, even before the search has begun.
        {"position startpos\ngo infinite\nstop\n", "bestmove "},
        {"isready\n", "readyok"},
    };
    std::string input;
    for (const Step& step : STEPS)
        input += step.commands;
    input += "quit\n";
    std::string output = runUci(input);
    size_t at = 0;
    for (const Step& step : STEPS) {
        size_t found = output.find(step.answer, at);
        ASSERT_NE(found, std::string::npos)
            << "no \"" << step.answer << "\" after " << step.commands << "\n"
            << output;
        at = found + 1;
    }
}

} // namespace
