#pragma once
// CPgnGame: the game the program creates, read and written as PGN text.
// Rendering lives in pgn_writer.cpp.

#include <iosfwd>

#include "game/game.h"

class CPgnGame : public CGame {
public:
    // The game as PGN: tag section, move text with numbers, variations,
    // comments and glyphs, and the result, broken into lines of lineWidth
    // characters with "\r\n". Records in every rendered node the range of
    // characters its text occupies.
    CText toString() override;
    void writeTo(std::ostream& stream) override;
};

// The comment a new game gives its root, marking that no file supplied one.
extern const char NEW_GAME_ROOT_COMMENT[];

// True for the new-game marker, also with the thinking-time prefix ("%d,")
// the autosave puts in front of every comment.
bool isNewGameRootComment(const CText& comment);
