#include "pgn/text_encoding.h"

#include <cstdint>

#include "game/game.h"

namespace {

// The code points of the bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr uint16_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += char(codePoint);
    } else if (codePoint < 0x800) {
        out += char(0xC0 | (codePoint >> 6));
        out += char(0x80 | (codePoint & 0x3F));
    } else {
        out += char(0xE0 | (codePoint >> 12));
        out += char(0x80 | ((codePoint >> 6) & 0x3F));
        out += char(0x80 | (codePoint & 0x3F));
    }
}

bool isUtf8(const CText& text) {
    return isValidUtf8(text.c_str(), text.length());
}

CText converted(const CText& text) {
    return CText(utf8FromWindows1252(text.c_str(), text.length()).c_str());
}

} // namespace

bool isValidUtf8(const char* text, size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        size_t count = 0;
        uint32_t codePoint = 0;
        uint32_t smallest = 0;
        if ((lead & 0xE0) == 0xC0) {
            count = 1, codePoint = lead & 0x1F, smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            count = 2, codePoint = lead & 0x0F, smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            count = 3, codePoint = lead & 0x07, smallest = 0x10000;
        } else {
            return false;
        }
        if (length - i <= count) return false;
        for (size_t k = 1; k <= count; ++k) {
            if ((bytes[i + k] & 0xC0) != 0x80) return false;
            codePoint = codePoint << 6 | (bytes[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
        if (codePoint < smallest || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += count + 1;
    }
    return true;
}

std::string utf8FromWindows1252(const char* text, size_t length) {
    std::string out;
    out.reserve(length + length / 8);
    for (size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80 && byte < 0xA0)
            appendUtf8(out, WINDOWS_1252_HIGH[byte - 0x80]);
        else
            appendUtf8(out, byte);
    }
    return out;
}

void convertGameToUtf8(CGame& game) {
    // Tag names and move texts are made of ASCII symbol characters alone.
    bool allUtf8 = true;
    for (const CTagPair& pair : game.tags())
        allUtf8 = allUtf8 && (isUtf8(pair.value) || pair.name == "FEN");
    for (CMoveNode* node = game.root(); node && allUtf8; node = nextInPreOrder(node, game.root()))
        allUtf8 = isUtf8(node->comment);
    if (allUtf8) return;

    // The FEN tag is position data: the game was read from its bytes, and
    // other bytes could mean another position.
    const std::vector<CTagPair> tags = game.tags();
    for (const CTagPair& pair : tags)
        if (pair.name != "FEN") game.setTag(pair.name.c_str(), converted(pair.value));
    for (CMoveNode* node = game.root(); node; node = nextInPreOrder(node, game.root()))
        node->comment = converted(node->comment);
}
