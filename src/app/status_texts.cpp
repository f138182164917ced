#include "app/status_texts.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "engine/clocks.h"
#include "engine/engine_report.h"
#include "engine/score_text.h"

namespace {

// Every line fits the panel's width many times over; a longer one is cut, never overrun.
constexpr size_t LINE_SIZE = 640;

template <typename... Values> CText formatted(const char* format, Values... values) {
    char buffer[LINE_SIZE];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return CText(buffer);
}

// The number of the move just made: White's when Black is to move.
CText lastMoveLine(const StatusView& view, const CText& moveText) {
    if (!view.hasLastMove) return CText(" ");
    const char* format = view.whiteToMove ? "Last move %d... %s" : "Last move %d. %s";
    return formatted(format, int(view.plyNumber / 2), moveText.c_str());
}

// A UCI engine is named beside the level, so the user sees who plays.
CText levelLine(const StatusView& view) {
    if (view.otherEngine.isEmpty()) return view.levelLine;
    return formatted("%s, %s", view.levelLine.c_str(), view.otherEngine.c_str());
}

const char* noteText(EngineNote note) {
    switch (note) {
    case EngineNote::searchingForHint:
        return "Searching for hint move...";
    case EngineNote::noAnswer:
        return "The engine does not answer";
    case EngineNote::noMove:
        return "The engine found no move";
    case EngineNote::none:
        break;
    }
    return nullptr;
}

const char* separator(const ClockReading& reading) {
    return reading.colon || !reading.hoursAndMinutes ? ":" : " ";
}

} // namespace

StatusLines statusLines(const StatusView& view, const EngineReport& report) {
    StatusLines lines{CText(" "), CText(" ")};
    if (view.showThinking && !view.showLevelLine) {
        if (report.busy) {
            const char* format =
                view.whiteToMove ? "Depth=%d   %d. %s(%d/%d)" : "Depth=%d   %d... %s(%d/%d)";
            lines.first =
                formatted(format, int(report.depth), int((view.plyNumber + 1) / 2),
                          report.currentMoveSan, int(report.moveIndex), int(report.moveCount));
        } else {
            lines.first = lastMoveLine(view, view.lastMoveSan);
        }
        if (report.depth > 0) {
            const CText best = cutAtWord(report.pvSan, 20, 99);
            lines.second =
                formatted("Score=%s, PV=%s", formatScore(report.score).c_str(), best.c_str());
        }
    } else if (report.busy) {
        lines.first = view.otherEngine.isEmpty()
                          ? CText("Thinking...")
                          : formatted("%s thinking...", view.otherEngine.c_str());
    } else {
        lines.first = view.showLevelLine ? levelLine(view)
                                         : lastMoveLine(view, view.lastMoveCoordinates);
        if (!view.white.isEmpty() && !view.black.isEmpty())
            lines.second = formatted("%s - %s, %s", view.white.c_str(), view.black.c_str(),
                                     view.result.c_str());
    }
    if (const char* said = noteText(view.note)) {
        lines.first = said;
        if (view.note == EngineNote::searchingForHint) lines.second = " ";
    }
    return lines;
}

CText clockText(const ClockReadings& readings, bool flipped) {
    const ClockReading& left = flipped ? readings.black : readings.white;
    const ClockReading& right = flipped ? readings.white : readings.black;
    return formatted("%02d%s%02d %02d%s%02d", int(left.first), separator(left), int(left.second),
                     int(right.first), separator(right), int(right.second));
}

CText cutAtWord(const char* source, uint32_t maxLength, uint32_t width) {
    std::string text(source);
    if (text.size() > maxLength) {
        const size_t blank = text.rfind(' ', maxLength == 0 ? 0 : maxLength - 1);
        text.resize(blank == std::string::npos || maxLength == 0 ? 0 : blank);
    }
    if (text.size() < width) text.append(width - text.size(), ' ');
    text.resize(width);
    return CText(text.c_str());
}
