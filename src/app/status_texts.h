#pragma once
// What the status panel says: its two lines, chosen from the engine's search, the level
// or the last move, and the players; and the two clocks.

#include <cstdint>

#include "app/engine_note.h"
#include "base/text.h"

struct ClockReadings;
struct EngineReport;

// The application state's part of the panel, gathered by the caller.
struct StatusView {
    bool showThinking = true;
    bool showLevelLine = true;
    bool whiteToMove = true;
    int32_t plyNumber = 1;
    bool hasLastMove = false;
    CText lastMoveSan;         // "e4"
    CText lastMoveCoordinates; // "e2e4"
    CText levelLine;
    CText white;
    CText black;
    CText result;
    EngineNote note = EngineNote::none;
    // The name of a UCI engine playing instead of Tarnwick; empty for Tarnwick, whose
    // panel stays as it always was.
    CText otherEngine;
};

struct StatusLines {
    CText first;
    CText second;
};

// A line with nothing to say is a single space. A note about the engine takes the first
// line; while a hint is searched the second stays blank, so the hint's line is not shown.
StatusLines statusLines(const StatusView& view, const EngineReport& report);

// "MM:SS MM:SS", White's first unless flipped; in hours and minutes a blank stands for
// the colon on odd seconds.
CText clockText(const ClockReadings& readings, bool flipped);

// source whole when it has at most maxLength characters, else cut at the last blank before
// maxLength (nothing when there is none); then blanks up to width characters.
CText cutAtWord(const char* source, uint32_t maxLength, uint32_t width);
