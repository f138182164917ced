#pragma once
// PGN files come in UTF-8 or, from older programs, in Windows-1252. A game
// read from either is kept, shown and saved in UTF-8 alone, so that a saved
// file never mixes the two.

#include <cstddef>
#include <string>

class CGame;

bool isValidUtf8(const char* text, size_t length);
// Every byte as the Windows-1252 character it stands for, in UTF-8; the five
// bytes the code page leaves undefined become the control characters of the
// same number, as Windows itself converts them.
std::string utf8FromWindows1252(const char* text, size_t length);

// When any tag value or comment of the game is not UTF-8, the game came from a Windows-1252 file:
// all its texts are converted, so that one game never holds both encodings.
void convertGameToUtf8(CGame& game);
