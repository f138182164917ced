#pragma once
// The autosave ring: the last AUTOSAVE_GAMES games, kept in one PGN file so that the
// game in progress is back at the next start. "CurrentAutosaveGame" names the slot
// written last; once the file is full each save replaces the slot after it.
//
// PGN has no place for thinking times, so in the file every comment, the root's
// included, starts with its node's time in milliseconds and a comma ("1500,good move").

#include <memory>
#include <string>

class CGame;
class CSettings;

// The ring's file: "\My Documents\zorautosave.pgn" in the documents folder.
std::string autosaveFilePath();

// Puts the game into the ring at path. The game keeps its comments and times (its
// options become those of a saved file); false when the file could not be written.
// A game the same as the newest one of the ring but for its Time tag is not added again.
// A file that does not read whole (see ring_file.h) is never appended to: it is kept
// as path.damaged-N, N the first number free, and a new ring begins with its games that
// read and this game.
bool writeToAutosaveRing(CGame& game, CSettings& settings, const std::string& path);
// The game of the slot written last, with its thinking times, or when that one does not
// read the newest one before it that does; null when the file is missing or no game
// of it reads.
std::unique_ptr<CGame> readFromAutosaveRing(CSettings& settings, const std::string& path);

// A comment that starts with decimal digits and a comma gives the node that time and
// loses the prefix; every other comment stays as it is.
void takeTimesFromComments(CGame& game);
