#include "engine/search_request.h"

#include "game/game.h"
#include "platform/kernel/paths.h"
#include "settings/option_keys.h"
#include "settings/settings.h"

SearchRequest gameSearchRequest(const CGame& game, const CMoveNode* node, CSettings& settings) {
    SearchRequest request;
    const CText fen = game.tag("FEN");
    if (fen.isEmpty()) {
        request.fen = START_FEN;
        request.position.reset();
    } else {
        request.fen = fen;
        request.position.setFen(fen.c_str());
    }

    std::vector<CMove> path;
    for (const CMoveNode* step = node; step && step->parent; step = step->parent) {
        path.push_back(step->move);
    }
    request.moves.reserve(path.size());
    for (auto move = path.rbegin(); move != path.rend(); ++move) {
        char text[8];
        coordinateText(*move, text);
        request.moves.emplace_back(text);
        request.position.makeCoordinateMove(text);
        ++request.plyNumber;
    }

    CText book;
    if (!settings.getString(BOOK_KEY, &book)) book = DEFAULT_BOOK_FILE;
    request.book = platform::mapHandheldPath(book.c_str()).c_str();
    return request;
}
