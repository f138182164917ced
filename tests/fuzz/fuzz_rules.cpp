// Arbitrary bytes through the rules: the first line is read as a FEN, every further
// line as the text of a move. Beyond "no crash, no out-of-bounds access" it checks
// what must always hold: a FEN written reads back to itself, no move is generated
// twice, every legal move's SAN reads back as that move (in a position fit to start
// a game), making and taking back a move restores the position and its clock, and
// move reading answers only legal moves.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "rules/notation.h"
#include "rules/position.h"

#include "../support/fen_text.h"

namespace {

constexpr size_t MAX_LINES = 16;

void require(bool condition) {
    if (!condition) std::abort();
}

bool isLegalMove(CPosition& position, CMove move) {
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    for (uint16_t i = 0; i < count; ++i)
        if (moves[i] == move) return true;
    return false;
}

// The same origin, destination and piece twice (an en-passant capture onto an
// occupied square, say) would make one move's text name two moves.
bool generatedTwice(const CMove* moves, uint16_t count) {
    for (uint16_t i = 0; i < count; ++i)
        for (uint16_t j = 0; j < i; ++j)
            if (moves[i].from == moves[j].from && moves[i].to == moves[j].to &&
                moves[i].piece == moves[j].piece)
                return true;
    return false;
}

void exerciseMoves(CPosition& position) {
    CMove moves[MAX_MOVES];
    uint16_t count = 0;
    position.legalMoves(moves, count);
    require(count <= MAX_MOVES);
    require(!generatedTwice(moves, count));
    const bool sound = position.isValidSetup();
    const std::string before = withoutCounters(position);
    const int16_t clock = position.halfMoveClock();
    for (uint16_t i = 0; i < count; ++i) {
        const CMove move = moves[i];
        const CText san = sanText(position, move, true);
        require(san.length() > 0 && san.length() < 12);
        if (sound) require(parseSan(position, san.c_str()) == move);
        char coordinates[6];
        coordinateText(move, coordinates);
        require(std::strlen(coordinates) >= 4);
        require(position.makeMove(move));
        int reason = -1;
        position.gameStatus(reason);
        require(reason >= STATUS_ON && reason <= STATUS_MATERIAL);
        position.takeBack();
        require(withoutCounters(position) == before);
        require(position.halfMoveClock() == clock);
    }
    int reason = -1;
    const bool over = position.gameStatus(reason);
    require(over == (reason != STATUS_ON));
    require(over || count > 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= input.size() && lines.size() < MAX_LINES) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos) end = input.size();
        lines.push_back(input.substr(start, end - start));
        start = end + 1;
    }

    CPosition position;
    position.setFen(lines[0].c_str());
    char fen[FEN_BUFFER_SIZE];
    position.getFen(fen);
    require(std::strlen(fen) < FEN_BUFFER_SIZE);
    CPosition reread;
    reread.setFen(fen);
    char again[FEN_BUFFER_SIZE];
    reread.getFen(again);
    require(std::strcmp(fen, again) == 0);
    position.isValidSetup();
    exerciseMoves(position);

    for (size_t i = 1; i < lines.size(); ++i) {
        const char* text = lines[i].c_str();
        char key[MOVE_KEY_SIZE];
        normalizeMoveText(text, key);
        require(std::strlen(key) < MOVE_KEY_SIZE);

        // Coordinate moves are not checked for legality: whatever they do to the
        // board, the position must stay within bounds and readable.
        CPosition trusting(position);
        if (trusting.makeCoordinateMove(text)) {
            CMove moves[MAX_MOVES];
            uint16_t count = 0;
            trusting.legalMoves(moves, count);
            int reason = -1;
            trusting.gameStatus(reason);
            trusting.getFen(fen);
            trusting.takeBack();
        }

        const CMove move = parseSan(position, text);
        if (move == NO_MOVE) continue;
        require(isLegalMove(position, move));
        require(position.makeMove(move));
        exerciseMoves(position);
    }
    return 0;
}
