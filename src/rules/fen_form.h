#pragma once
// The form of a FEN typed or pasted by a user. The core reads any text into some
// position; these checks come first, so that a mistyped FEN is refused with the
// field named instead of quietly misread.

#include <string>

// Why a FEN's form is wrong ("" when it is fine): six fields, eight ranks of eight
// files of known letters, side w or b, castling - or KQkq letters, en passant - or
// a square, two counters.
std::string fenFormProblem(const char* text);
// The fields joined by single blanks, as the core expects them.
std::string joinedFenFields(const char* text);
