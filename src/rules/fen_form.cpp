#include "rules/fen_form.h"

#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

// The core reads any text into some position; the tool is stricter, so that a
// mistyped FEN is refused with the field named instead of quietly misread.
namespace {

// Any run of white space parts two fields: a FEN pasted from a file may hold tabs
// or end in a line end.
std::vector<std::string> splitFields(const std::string& text) {
    std::istringstream words(text);
    std::vector<std::string> fields;
    for (std::string field; words >> field;)
        fields.push_back(field);
    return fields;
}

std::string describe(char c) {
    char shown[16];
    if (c > 32 && c < 127)
        std::snprintf(shown, sizeof shown, "'%c'", c);
    else
        std::snprintf(shown, sizeof shown, "byte %u", unsigned(static_cast<unsigned char>(c)));
    return shown;
}

std::string boardProblem(const std::string& board) {
    std::vector<std::string> ranks;
    size_t start = 0;
    for (size_t slash; (slash = board.find('/', start)) != std::string::npos; start = slash + 1)
        ranks.push_back(board.substr(start, slash - start));
    ranks.push_back(board.substr(start));
    if (ranks.size() != 8) return std::to_string(ranks.size()) + " ranks instead of 8";
    for (size_t i = 0; i < ranks.size(); ++i) {
        const std::string rank = "rank " + std::to_string(8 - i);
        int files = 0;
        for (char c : ranks[i]) {
            if (c >= '1' && c <= '8')
                files += c - '0';
            else if (std::strchr("KQRBNPkqrbnp", c))
                ++files;
            else
                return "unknown piece letter " + describe(c) + " in " + rank;
        }
        if (files != 8) return rank + " has " + std::to_string(files) + " files instead of 8";
    }
    return "";
}

bool isCounter(const std::string& field) {
    if (field.empty() || field.size() > 5) return false;
    for (char c : field)
        if (c < '0' || c > '9') return false;
    return std::stoi(field) <= 32767;
}

} // namespace

std::string fenFormProblem(const char* text) {
    const std::vector<std::string> fields = splitFields(text);
    if (fields.size() != 6) return "expected 6 fields, found " + std::to_string(fields.size());
    const std::string board = boardProblem(fields[0]);
    if (!board.empty()) return "board field: " + board;
    if (fields[1] != "w" && fields[1] != "b")
        return "side to move field: '" + fields[1] + "' is not w or b";
    const std::string& castling = fields[2];
    if (castling != "-") {
        for (size_t i = 0; i < castling.size(); ++i) {
            if (!std::strchr("KQkq", castling[i]) || castling.find(castling[i]) != i)
                return "castling field: '" + castling + "' is not - or letters of KQkq";
        }
    }
    const std::string& ep = fields[3];
    if (ep != "-" &&
        !(ep.size() == 2 && ep[0] >= 'a' && ep[0] <= 'h' && ep[1] >= '1' && ep[1] <= '8'))
        return "en passant field: '" + ep + "' is not - or a square";
    if (!isCounter(fields[4])) return "half-move clock field: '" + fields[4] + "' is not a number";
    if (!isCounter(fields[5])) return "move number field: '" + fields[5] + "' is not a number";
    return "";
}

std::string joinedFenFields(const char* text) {
    std::string joined;
    for (const std::string& field : splitFields(text))
        joined += (joined.empty() ? "" : " ") + field;
    return joined;
}
