// A UCI engine of canned lines for the bridge's tests. It plays the first legal move (in
// move text order) of the position it is given and logs every line it reads.
//
//   scripted_uci MODE [LOG]
//
// Modes: normal; noid (no "id name"); book (announces OwnBook and BookFile); mate (mate
// scores); crash (dies in its first search); hang (never gives a move, ignores stop);
// garbage (noise, then a move that is not one); silent (never says uciok).
// hang also ignores quit.
// A search of depth 20 or more, or an infinite one, waits for "stop"; others answer at once.
#include "move_text.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::ofstream logFile;

void say(const std::string& line) {
    std::cout << line << std::endl;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> all;
    for (std::string w; in >> w;)
        all.push_back(w);
    return all;
}

// The position of a "position" command; false when it is not one we can follow.
bool readPosition(const std::vector<std::string>& all, tarnwick::Position& pos) {
    size_t i = 1;
    if (i < all.size() && all[i] == "startpos") {
        pos.setStart();
        ++i;
    } else if (i < all.size() && all[i] == "fen") {
        std::string fen;
        for (++i; i < all.size() && all[i] != "moves"; ++i)
            fen += (fen.empty() ? "" : " ") + all[i];
        if (!pos.setFen(fen)) return false;
    } else {
        return false;
    }
    if (i < all.size() && all[i] == "moves") ++i;
    for (; i < all.size(); ++i)
        if (!playMoveText(pos, all[i])) return false;
    return true;
}

std::vector<std::string> sortedMoves(tarnwick::Position& pos) {
    tarnwick::MoveList legal;
    tarnwick::generateLegalMoves(pos, legal);
    std::vector<std::string> texts;
    for (tarnwick::Move m : legal)
        texts.push_back(tarnwick::moveToText(m));
    std::sort(texts.begin(), texts.end());
    return texts;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "normal";
    if (argc > 2) logFile.open(argv[2], std::ios::app);
    auto log = [](const std::string& line) {
        if (logFile) logFile << line << std::endl;
    };
    log("pid " + std::to_string(getpid()));

    tarnwick::Position pos;
    bool searching = false;
    std::string bestMove;
    for (std::string line; std::getline(std::cin, line);) {
        log(line);
        const std::vector<std::string> all = words(line);
        if (all.empty()) continue;
        const std::string& command = all[0];
        if (command == "uci") {
            if (mode == "silent") {
                say("Hello, I am no chess engine");
                continue;
            }
            if (mode != "noid") say("id name Scripted UCI 1.0");
            say("id author the tests");
            say("option name Hash type spin default 16 min 4 max 1024");
            say("option name Skill Level type spin default 20 min 0 max 20");
            if (mode == "book") {
                say("option name OwnBook type check default false");
                say("option name BookFile type string default <empty>");
            }
            say("uciok");
        } else if (command == "isready") {
            say("readyok");
        } else if (command == "position") {
            if (!readPosition(all, pos)) log("position not followed");
        } else if (command == "go") {
            const std::vector<std::string> moves = sortedMoves(pos);
            bestMove = moves.empty() ? "(none)" : moves.front();
            if (mode == "crash") {
                say("info depth 1 score cp 10 pv " + bestMove);
                std::abort();
            }
            if (mode == "garbage") {
                say("info depth nonsense score cp pv");
                say("\x01\x02\x7f info bestmove");
                say("info depth 3 score cp 12 pv zz99 e7e5");
                say("bestmove zz99");
                continue;
            }
            say("info depth 1 seldepth 2 nodes 120 score cp 25 pv " + bestMove);
            say("info depth 2 currmove " + bestMove + " currmovenumber 1");
            if (mode == "mate") {
                say("info depth 4 score mate -2 pv " + bestMove);
                say("info depth 5 score mate 3 pv " + bestMove);
            } else {
                // Past 32 bits, so that both halves of the count are needed.
                say("info depth 2 seldepth 4 multipv 1 score cp 31 nodes 4294967396 nps 1000 "
                    "pv " +
                    bestMove);
                say("info depth 2 multipv 2 score cp -80 pv " + moves.back());
            }
            if (mode == "hang") continue;
            int depth = 0;
            bool infinite = false;
            for (size_t i = 1; i < all.size(); ++i) {
                if (all[i] == "depth" && i + 1 < all.size()) depth = std::atoi(all[i + 1].c_str());
                if (all[i] == "infinite") infinite = true;
            }
            searching = infinite || depth >= 20;
            if (!searching) say("bestmove " + bestMove);
        } else if (command == "stop") {
            if (searching && mode != "hang") say("bestmove " + bestMove);
            searching = false;
        } else if (command == "quit" && mode != "hang") {
            return 0;
        }
    }
    return 0;
}
