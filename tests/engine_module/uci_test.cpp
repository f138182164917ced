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
    struct Case {
        const char* input;
        const char* expected; // must appear in the output
    };
    const Case CASES[] = {
        {"uci\nquit\n", "uciok"},
        {"isready\nquit\n", "readyok"},
        {"position startpos moves e2e4\ngo depth 3\nisready\nquit\n", "bestmove "},
        // White mates at once: the score is given as a mate in one.
        {"position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\ngo depth 3\nisready\nquit\n",
         "score mate 1"},
        {"position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1\ngo depth 3\nisready\nquit\n",
         "bestmove d1d8"},
        // No legal move, a broken position, an illegal move: a null move, never a crash.
        {"position fen 3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1\ngo depth 2\nisready\nquit\n",
         "bestmove 0000"},
        {"position fen nonsense\ngo depth 2\nisready\nquit\n", "bestmove 0000"},
        {"position startpos moves e2e5\ngo depth 2\nisready\nquit\n", "bestmove 0000"},
        {"setoption name Hash value 2\nposition startpos\ngo nodes 5000\nisready\nquit\n",
         "bestmove "},
        {"position startpos\ngo wtime 1000 btime 1000 winc 10 binc 10\nisready\nquit\n",
         "bestmove "},
        {"position startpos\ngo infinite\nisready\nstop\nquit\n", "bestmove "},
    };
    for (const Case& c : CASES) {
        std::string output = runUci(c.input);
        EXPECT_NE(output.find(c.expected), std::string::npos) << c.input << "\n" << output;
    }
}

} // namespace
