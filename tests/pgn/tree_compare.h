#pragma once
// Compares two games read from PGN: tags, and the move trees node by node
// (moves, texts, plies, comments, every glyph, variations in order). Walks both
// trees side by side without recursion, so deep fuzzed trees are fine.

#include <string>

#include "game/game.h"
#include "pgn/pgn_game.h"

// A root comment that is the new-game marker is never written, so it reads
// back as no comment: the two are the same.
inline CText comparableRootComment(const CText& comment) {
    return isNewGameRootComment(comment) ? CText() : comment;
}

// "" when the games are the same, otherwise what differs first.
inline std::string gameDifference(const CGame& a, const CGame& b) {
    if (a.tags().size() != b.tags().size()) return "tag count";
    for (size_t i = 0; i < a.tags().size(); ++i) {
        if (a.tags()[i].name != b.tags()[i].name) return "tag name " + std::to_string(i);
        if (a.tags()[i].value != b.tags()[i].value)
            return std::string("tag value ") + a.tags()[i].name.c_str();
    }
    const CMoveNode* x = a.root();
    const CMoveNode* y = b.root();
    if (!x || !y) return x == y ? "" : "root";
    if (x->ply != y->ply) return "root ply";
    if (comparableRootComment(x->comment) != comparableRootComment(y->comment))
        return std::string("root comment '") + x->comment.c_str() + "' / '" + y->comment.c_str() +
               "'";
    int index = 0;
    while (x && y) {
        const std::string where =
            " at node " + std::to_string(index) + " (" + x->moveText.c_str() + ")";
        if (x != a.root()) {
            if (x->move != y->move) return "move" + where;
            if (x->moveText != y->moveText) return "move text" + where;
            if (x->ply != y->ply) return "ply" + where;
            if (x->comment != y->comment)
                return "comment '" + std::string(x->comment.c_str()) + "' / '" +
                       y->comment.c_str() + "'" + where;
            if (x->nag != y->nag || x->glyphs() != y->glyphs()) return "glyph" + where;
        }
        if (x->childCount() != y->childCount()) return "children" + where;
        x = nextInPreOrder(x, a.root());
        y = nextInPreOrder(y, b.root());
        ++index;
    }
    return x == y ? "" : "shape";
}
