#pragma once
// Test helpers: read PGN text from memory, and describe a move tree as one
// line ("e4 e5 (d5 exd5)"), each move with its glyph ($n) and comment ({...}).

#include <memory>
#include <string>

#include "../support/read_pgn.h"
#include "game/game.h"

inline std::string nodeText(const CMoveNode& node) {
    std::string text = node.moveText.c_str();
    for (uint8_t nag : node.glyphs())
        text += "$" + std::to_string(nag);
    if (!node.comment.isEmpty()) text += "{" + std::string(node.comment.c_str()) + "}";
    return text;
}

// The line after node: each main move, each variation in brackets after the
// move it replaces. Recursive: for the small trees of tests only.
inline std::string lineText(const CMoveNode& start) {
    std::string out;
    const CMoveNode* node = &start;
    while (node->hasChildren()) {
        const CMoveNode& main = *node->child(0);
        out += (out.empty() ? "" : " ") + nodeText(main);
        for (uint32_t i = 1; i < node->childCount(); ++i) {
            const CMoveNode& variation = *node->child(i);
            const std::string rest = lineText(variation);
            out += " (" + nodeText(variation) + (rest.empty() ? "" : " " + rest) + ")";
        }
        node = &main;
    }
    return out;
}

inline std::string treeText(const CGame& game) {
    const CMoveNode* root = game.root();
    if (!root) return "<no root>";
    std::string out =
        root->comment.isEmpty() ? "" : "{" + std::string(root->comment.c_str()) + "} ";
    return out + lineText(*root);
}
