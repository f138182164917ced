// tallowmere pgn generate COUNT [SEED] (not listed): random legal games with
// tags, clock and text comments, glyphs and variations, written by the PGN
// writer as the program writes files. tools/make-corpus.sh uses it to make the
// large files that reading and indexing are measured on.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "commands.h"
#include "pgn/pgn_game.h"
#include "rules/notation.h"
#include "rules/position.h"

namespace {

const char* const EVENTS[] = {"Tallowmere Corpus Open", "Casual Blitz",       "Rated Rapid game",
                              "Club Championship",      "Correspondence Cup", "Training Match",
                              "Online Arena",           "Spring Congress"};
const char* const SITES[] = {"Tallowmere", "Online",   "London ENG",
                             "Paris FRA",  "Riga LAT", "Oslo NOR"};
const char* const SURNAMES[] = {"Ashdown",     "Bellamy",   "Carver",   "Dunmore",  "Ellery",
                                "Fairweather", "Galloway",  "Hartwell", "Ingram",   "Jessop",
                                "Kendrick",    "Lindqvist", "Moreau",   "Nakamura", "Okafor",
                                "Petrov",      "Quintero",  "Rasmussen"};
const char* const FIRST_NAMES[] = {"Ada",   "Boris", "Clara", "Dmitri", "Elena", "Farid",
                                   "Greta", "Hugo",  "Ines",  "Jonas",  "Kira",  "Lev"};
const char* const TIME_CONTROLS[] = {"180+2", "300+0", "600+5", "60+0", "5400+30", "-"};
const char* const REMARKS[] = {"A solid choice.",
                               "Sharper was the alternative in the notes.",
                               "Time trouble starts to show.",
                               "The only move.",
                               "White keeps a small edge.",
                               "Black equalises comfortably.",
                               "A typical plan in this structure; the knight heads for the "
                               "outpost while the rooks double on the open file."};

template <size_t N> const char* pick(std::mt19937_64& random, const char* const (&items)[N]) {
    return items[random() % N];
}

class CGameGenerator {
public:
    explicit CGameGenerator(uint64_t seed) : m_random(seed) {}

    void write(int number, std::ostream& out) {
        CPgnGame game;
        setTags(game, number);
        auto* root = new CMoveNode(NO_MOVE, CText("root"), -1, CText(""), 0, 0);
        game.setRoot(root);
        m_position.reset();
        m_clock = percent(35) ? 180 + int(m_random() % 420) : -1;
        if (percent(3)) root->comment = pick(m_random, REMARKS);

        const int plies = 10 + int(m_random() % 170);
        CMoveNode* node = root;
        CText result(percent(45) ? "1-0" : percent(50) ? "0-1" : percent(80) ? "1/2-1/2" : "*");
        for (int ply = 0; ply < plies; ++ply) {
            CMove moves[MAX_MOVES];
            uint16_t count = 0;
            m_position.legalMoves(moves, count);
            if (count == 0) {
                if (m_position.inCheck())
                    result = m_position.sideToMove() == 0 ? "0-1" : "1-0";
                else
                    result = "1/2-1/2";
                break;
            }
            const CMove move = moves[m_random() % count];
            CMoveNode* child = addMove(node, move);
            decorate(*child);
            if (node != root && percent(5)) addVariation(node, move, 0);
            node = child;
        }
        game.setResult(result);
        game.setOptions(75, true, true, true, true, false);
        game.writeTo(out);
    }

private:
    bool percent(int chance) { return int(m_random() % 100) < chance; }

    void setTags(CGame& game, int number) {
        game.setEvent(CText(pick(m_random, EVENTS)));
        game.setSite(CText(pick(m_random, SITES)));
        char text[64];
        std::snprintf(text, sizeof text, "%04d.%02d.%02d", 1990 + int(m_random() % 35),
                      1 + int(m_random() % 12), 1 + int(m_random() % 28));
        game.setDate(CText(text));
        std::snprintf(text, sizeof text, "%d", 1 + number % 11);
        game.setRound(CText(percent(20) ? "-" : text));
        game.setWhite(playerName());
        game.setBlack(playerName());
        std::snprintf(text, sizeof text, "%c%02d", 'A' + int(m_random() % 5),
                      int(m_random() % 100));
        game.setTag("ECO", CText(text));
        std::snprintf(text, sizeof text, "%d", 1200 + int(m_random() % 1600));
        game.setTag("WhiteElo", CText(text));
        std::snprintf(text, sizeof text, "%d", 1200 + int(m_random() % 1600));
        game.setTag("BlackElo", CText(text));
        game.setTag("TimeControl", CText(pick(m_random, TIME_CONTROLS)));
    }

    CText playerName() {
        CText name(pick(m_random, SURNAMES));
        name += ", ";
        name += pick(m_random, FIRST_NAMES);
        return name;
    }

    // Adds move at node's position (the generator's position) and makes it.
    CMoveNode* addMove(CMoveNode* node, CMove move) {
        auto* child = new CMoveNode(move, sanText(m_position, move, true), int16_t(node->ply + 1),
                                    CText(""), 0, 0);
        node->addChild(child);
        m_position.makeMove(move);
        return child;
    }

    void decorate(CMoveNode& node) {
        if (m_clock >= 0) {
            m_clock = m_clock > 3 ? m_clock - int(m_random() % 4) : m_clock;
            char clock[32];
            std::snprintf(clock, sizeof clock, "[%%clk %d:%02d:%02d]", m_clock / 3600,
                          m_clock / 60 % 60, m_clock % 60);
            node.comment = clock;
        } else if (percent(3)) {
            node.comment = pick(m_random, REMARKS);
        }
        if (percent(4)) node.nag = uint8_t(percent(70) ? 1 + m_random() % 6 : 10 + m_random() % 10);
    }

    // A short line from node's position instead of the move just played there.
    void addVariation(CMoveNode* node, CMove played, int depth) {
        m_position.takeBack();
        CMove moves[MAX_MOVES];
        uint16_t count = 0;
        m_position.legalMoves(moves, count);
        const CMove alternative = count > 1 ? moves[m_random() % count] : played;
        if (alternative != played) {
            CMoveNode* line = addMove(node, alternative);
            decorate(*line);
            int made = 1;
            const int length = int(m_random() % 6);
            for (int i = 0; i < length; ++i) {
                m_position.legalMoves(moves, count);
                if (count == 0) break;
                const CMove next = moves[m_random() % count];
                CMoveNode* parent = line;
                line = addMove(line, next);
                ++made;
                if (depth < 2 && percent(10)) addVariation(parent, next, depth + 1);
            }
            for (int i = 0; i < made; ++i)
                m_position.takeBack();
        }
        m_position.makeMove(played);
    }

    std::mt19937_64 m_random;
    CPosition m_position;
    int m_clock = -1; // seconds left on the clock in the comments; -1 without clock comments
};

} // namespace

int pgnGenerateCommand(int argc, char** argv) {
    const char usage[] = "tallowmere pgn generate COUNT [SEED]";
    if (argc < 1 || argc > 2) return usageError(usage);
    const long count = std::strtol(argv[0], nullptr, 10);
    const unsigned long long seed = argc == 2 ? std::strtoull(argv[1], nullptr, 10) : 1;
    if (count < 0) return usageError(usage);
    std::ios_base::sync_with_stdio(false);
    CGameGenerator generator(seed);
    for (long i = 0; i < count; ++i)
        generator.write(int(i), std::cout);
    std::cout.flush();
    return std::cout ? EXIT_OK : EXIT_BAD_INPUT;
}
