#include "platform/ui/dialogtemplate.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <utility>

namespace platform {
namespace {

constexpr std::pair<const char*, ControlKind> KINDS[] = {
    {"static", ControlKind::staticText}, {"button", ControlKind::button},
    {"checkbox", ControlKind::checkBox}, {"autocheckbox", ControlKind::autoCheckBox},
    {"radio", ControlKind::radio},       {"edit", ControlKind::edit},
    {"combo", ControlKind::combo},       {"droplist", ControlKind::dropList},
    {"listbox", ControlKind::listBox},   {"listview", ControlKind::listView},
    {"progress", ControlKind::progress}, {"group", ControlKind::group},
};

constexpr std::pair<const char*, ControlStyle> STYLES[] = {
    {"center", STYLE_CENTER},       {"right", STYLE_RIGHT},       {"default", STYLE_DEFAULT},
    {"multiline", STYLE_MULTILINE}, {"readonly", STYLE_READONLY}, {"sort", STYLE_SORT},
    {"vscroll", STYLE_VSCROLL},     {"group", STYLE_GROUP},
};

// Splits a line into words and quoted texts ("" inside quotes is one quote); false on an open
// quote.
bool splitLine(const std::string& line, std::vector<std::string>* words,
               std::vector<bool>* quoted) {
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            std::string text;
            ++i;
            for (;;) {
                if (i >= line.size()) {
                    return false;
                }
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += line[i++];
            }
            words->push_back(text);
            quoted->push_back(true);
        } else {
            const size_t start = i;
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
                ++i;
            }
            words->push_back(line.substr(start, i - start));
            quoted->push_back(false);
        }
    }
    return true;
}

bool readNumber(const std::string& word, int* number) {
    if (word.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(word.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || value < -32768 || value > 32767) {
        return false;
    }
    *number = int(value);
    return true;
}

} // namespace

bool parseDialogTemplate(const std::string& text, DialogTemplate* dialog, std::string* error) {
    *dialog = DialogTemplate();
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    bool titled = false;
    auto fail = [&](const std::string& why) {
        if (error) {
            *error = "line " + std::to_string(lineNumber) + ": " + why;
        }
        return false;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::vector<std::string> words;
        std::vector<bool> quoted;
        if (!splitLine(line, &words, &quoted)) {
            return fail("unterminated text");
        }
        if (words.empty()) {
            continue;
        }
        const std::string& keyword = words[0];
        if (keyword == "dialog") {
            if (words.size() != 4 || !quoted[1] || !readNumber(words[2], &dialog->width) ||
                !readNumber(words[3], &dialog->height) || dialog->width <= 0 ||
                dialog->height <= 0) {
                return fail("expected: dialog \"Title\" WIDTH HEIGHT");
            }
            dialog->title = words[1];
            titled = true;
        } else if (keyword == "units") {
            if (words.size() != 2 || (words[1] != "pixels" && words[1] != "dialog")) {
                return fail("expected: units pixels");
            }
            dialog->pixelUnits = words[1] == "pixels";
        } else if (keyword == "paint") {
            if (words.size() != 3 || !readNumber(words[1], &dialog->paintWidth) ||
                !readNumber(words[2], &dialog->paintHeight) || dialog->paintWidth < 0 ||
                dialog->paintHeight < 0) {
                return fail("expected: paint WIDTH HEIGHT");
            }
        } else {
            ControlTemplate control{};
            bool known = false;
            for (const auto& [name, kind] : KINDS) {
                if (keyword == name) {
                    control.kind = kind;
                    known = true;
                }
            }
            if (!known) {
                return fail("unknown statement \"" + keyword + "\"");
            }
            if (words.size() < 7 || !quoted[2] || !readNumber(words[1], &control.id) ||
                !readNumber(words[3], &control.x) || !readNumber(words[4], &control.y) ||
                !readNumber(words[5], &control.width) || !readNumber(words[6], &control.height) ||
                control.width < 0 || control.height < 0) {
                return fail("expected: KIND ID \"Text\" X Y WIDTH HEIGHT [STYLE...]");
            }
            control.text = words[2];
            for (size_t i = 7; i < words.size(); ++i) {
                bool knownStyle = false;
                for (const auto& [name, style] : STYLES) {
                    if (words[i] == name) {
                        control.styles |= style;
                        knownStyle = true;
                    }
                }
                if (!knownStyle) {
                    return fail("unknown style \"" + words[i] + "\"");
                }
            }
            dialog->controls.push_back(control);
        }
    }
    if (!titled) {
        lineNumber = 0;
        return fail("no dialog statement");
    }
    return true;
}

} // namespace platform
