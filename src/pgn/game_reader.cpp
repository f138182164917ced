#include "pgn/game_reader.h"

#include "game/game.h"

bool CGameReader::readGame(std::istream&, int64_t, int64_t&, std::unique_ptr<CGame>& game) {
    game.reset();
    return false;
}

bool CGameReader::scanGame(std::istream&, int64_t, int64_t&, std::unique_ptr<CGame>& game) {
    game.reset();
    return false;
}

int64_t CGameReader::firstGameOffset(std::istream&, int64_t offset) {
    return offset;
}
