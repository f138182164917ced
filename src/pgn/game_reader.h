#pragma once
// CGameReader: reads one game of a file at a byte offset. The game database
// indexes a file with scanGame (tags only) and opens games with readGame.

#include <cstdint>
#include <iosfwd>
#include <memory>

class CGame;

class CGameReader {
public:
    virtual ~CGameReader() = default;

    // Reads the whole game whose text begins offset bytes into stream. On
    // success game receives it and nextOffset the offset where the text after
    // the game begins; on failure neither is written.
    virtual bool readGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                          std::unique_ptr<CGame>& game);
    // The same, reading the tags only and skipping the move text up to the
    // next game's "["; fails only when no token is left at offset.
    virtual bool scanGame(std::istream& stream, int64_t offset, int64_t& nextOffset,
                          std::unique_ptr<CGame>& game);
    // The moves (plies) of the main line of the game the last scanGame passed over,
    // variations and comments left out; -1 when the reader does not count them.
    virtual int scannedPlies() const { return -1; }
    // Where the first game of a file that begins at offset starts: text before
    // it that is no game (a preamble, escape lines, a comment) is passed over.
    // The base reader knows no such text and answers offset.
    virtual int64_t firstGameOffset(std::istream& stream, int64_t offset);
};
