#include "app/dialog_options_level.h"

#include <string>

#include "app/app_state.h"
#include "app/dialog_options.h"
#include "app/show_message.h"
#include "engine/level_minutes.h"
#include "engine/level_settings.h"
#include "platform/ui/dialog.h"

using namespace platform;

namespace {

constexpr int BLITZ_FIELDS[] = {IDC_BLITZ_MINUTES, IDC_BLITZ_INCREMENT};
constexpr int TOURNAMENT_FIELDS[] = {IDC_PERIOD1_MOVES,   IDC_PERIOD1_MINUTES, IDC_PERIOD2_MOVES,
                                     IDC_PERIOD2_MINUTES, IDC_PERIOD3_MOVES,   IDC_PERIOD3_MINUTES};

// The periods' fields and the level's figures, period by period.
struct PeriodFields {
    int moves;
    int minutes;
    int32_t LevelSettings::*movesField;
    int32_t LevelSettings::*secondsField;
};
constexpr PeriodFields PERIODS[3] = {
    {IDC_PERIOD1_MOVES, IDC_PERIOD1_MINUTES, &LevelSettings::tournamentMoves1,
     &LevelSettings::tournamentSeconds1},
    {IDC_PERIOD2_MOVES, IDC_PERIOD2_MINUTES, &LevelSettings::tournamentMoves2,
     &LevelSettings::tournamentSeconds2},
    {IDC_PERIOD3_MOVES, IDC_PERIOD3_MINUTES, &LevelSettings::tournamentMoves3,
     &LevelSettings::tournamentSeconds3},
};

void setNumber(Window* page, int id, int32_t value) {
    setDlgItemText(page, id, std::to_string(value).c_str());
}

// The row that shows the level: its mode's for the timed levels; otherwise the preset of
// the fixed figures, if any, so that OK mends a mode this program does not know.
int rowOf(const LevelSettings& level) {
    if (level.mode == LEVEL_BLITZ) return LEVEL_ROW_BLITZ;
    if (level.mode == LEVEL_TOURNAMENT) return LEVEL_ROW_TOURNAMENT;
    return findLevelPreset(level);
}

template <size_t N> void enableFields(Window* page, const int (&ids)[N], bool enabled) {
    for (int id : ids)
        enableDlgItem(page, id, enabled);
}

void readBackBlitz(Window* page) {
    int32_t seconds = 0;
    int32_t increment = 0;
    if (!readMinutes(getDlgItemText(page, IDC_BLITZ_MINUTES).c_str(), &seconds) ||
        !readCount(getDlgItemText(page, IDC_BLITZ_INCREMENT).c_str(), &increment)) {
        showMessage("The blitz level needs its minutes (as 5 or 0:30) and its increment in "
                    "seconds. The level stays as it was.");
        return;
    }
    appState.level.setBlitz(seconds, increment);
}

void readBackTournament(Window* page) {
    int32_t moves[3] = {};
    int32_t seconds[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (!readCount(getDlgItemText(page, PERIODS[i].moves).c_str(), &moves[i]) ||
            !readMinutes(getDlgItemText(page, PERIODS[i].minutes).c_str(), &seconds[i])) {
            showMessage("Each tournament period needs its moves and its minutes (as 40 and 10, "
                        "or 0:30). The level stays as it was.");
            return;
        }
    }
    appState.level.setTournament(moves[0], seconds[0], moves[1], seconds[1], moves[2], seconds[2]);
}

} // namespace

void fillLevel(Window* page) {
    for (const LevelPreset& preset : LEVEL_PRESETS)
        listAddString(page, IDC_LEVEL, preset.name);
    listAddString(page, IDC_LEVEL, "Blitz");
    listAddString(page, IDC_LEVEL, "Tournament");
    const LevelSettings& level = appState.level;
    listSetCurSel(page, IDC_LEVEL, rowOf(level));
    setDlgItemText(page, IDC_BLITZ_MINUTES, minutesText(level.blitzSeconds).c_str());
    setNumber(page, IDC_BLITZ_INCREMENT, level.blitzIncrement);
    for (const PeriodFields& period : PERIODS) {
        setNumber(page, period.moves, level.*period.movesField);
        setDlgItemText(page, period.minutes, minutesText(level.*period.secondsField).c_str());
    }
    levelRowChosen(page);
}

void levelRowChosen(Window* page) {
    const int row = listCurSel(page, IDC_LEVEL);
    enableFields(page, BLITZ_FIELDS, row == LEVEL_ROW_BLITZ);
    enableFields(page, TOURNAMENT_FIELDS, row == LEVEL_ROW_TOURNAMENT);
}

void readBackLevel(Window* page) {
    const int row = listCurSel(page, IDC_LEVEL);
    if (row >= 0 && row < LEVEL_PRESET_COUNT) {
        appState.level.setFixed(LEVEL_PRESETS[row].plies, LEVEL_PRESETS[row].seconds);
    } else if (row == LEVEL_ROW_BLITZ) {
        readBackBlitz(page);
    } else if (row == LEVEL_ROW_TOURNAMENT) {
        readBackTournament(page);
    }
}
