#pragma once
// The autosave ring's file as a save finds it: its games, which of them read, and
// whether the file reads whole.
//
// "Whole" is the game reader's own verdict, asked twice: every game of the file reads whole,
// and on the file's text with a small game after it, that game is a game of its own that
// begins where it was put. A file that ends inside an open string or comment, or halfway
// through a game, fails the second question however leniently the reader makes sense of
// the damaged part, and appending to it would bury the next game. The question is asked
// with a game of its own rather than the one to be saved, so that a game the reader
// cannot take back never makes a sound file look damaged.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CGame;

struct RingFile {
    bool exists = false;
    bool whole = true;
    // What goes between the file's text and an appended game, so that every game starts
    // on a line of its own: a line end when the text does not end with one.
    std::string separator;
    // One entry per game of the file, in file order; null where the game does not read.
    std::vector<std::unique_ptr<CGame>> games;
};

RingFile inspectRingFile(const std::string& path);

// The text a game is saved as, with the options it carries.
std::string gameText(CGame& game);
