#include <cstdio>
#include <string>

#include "commands.h"
#include "rules/fen_form.h"
#include "rules/position.h"

bool readFenArgument(const char* text, CPosition& position) {
    const std::string problem = fenFormProblem(text);
    if (!problem.empty()) {
        std::fprintf(stderr, "bad FEN: %s\n", problem.c_str());
        return false;
    }
    // The core expects exactly one blank between fields.
    position.setFen(joinedFenFields(text).c_str());
    // A well-formed FEN may still describe a position no game can be played from;
    // moves from it would take a king or leave a side without one.
    if (const char* impossible = position.whyNotPlayable()) {
        std::fprintf(stderr, "impossible position: %s\n", impossible);
        return false;
    }
    return true;
}
