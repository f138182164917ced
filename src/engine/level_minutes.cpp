#include "engine/level_minutes.h"

#include <cctype>
#include <cstdio>
#include <limits>

namespace {

constexpr int64_t MOST = std::numeric_limits<int32_t>::max();

const char* skipBlanks(const char* text) {
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

// Digits at text into value, at most up to MOST; the first character after them, or null
// when there are none or the number is too large.
const char* readDigits(const char* text, int64_t* value, int* digits) {
    *value = 0;
    *digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*text))) {
        *value = *value * 10 + (*text - '0');
        if (*value > MOST) return nullptr;
        ++*digits;
        ++text;
    }
    return *digits > 0 ? text : nullptr;
}

} // namespace

CText minutesText(int32_t seconds) {
    char text[24];
    if (seconds % 60 == 0) {
        std::snprintf(text, sizeof text, "%d", int(seconds / 60));
    } else {
        std::snprintf(text, sizeof text, "%d:%02d", int(seconds / 60), int(seconds % 60));
    }
    return CText(text);
}

bool readMinutes(const char* text, int32_t* seconds) {
    int64_t minutes = 0;
    int64_t rest = 0;
    int digits = 0;
    const char* at = readDigits(skipBlanks(text), &minutes, &digits);
    if (!at) return false;
    if (*at == ':') {
        at = readDigits(at + 1, &rest, &digits);
        if (!at || digits > 2 || rest > 59) return false;
    }
    if (*skipBlanks(at) != '\0') return false;
    const int64_t total = minutes * 60 + rest;
    if (total > MOST) return false;
    *seconds = int32_t(total);
    return true;
}

bool readCount(const char* text, int32_t* value) {
    int64_t number = 0;
    int digits = 0;
    const char* at = readDigits(skipBlanks(text), &number, &digits);
    if (!at || *skipBlanks(at) != '\0') return false;
    *value = int32_t(number);
    return true;
}
