#include "engine/level_store.h"

#include "base/text.h"
#include "settings/settings.h"

namespace {

int32_t storedOr(CSettings& settings, const LevelKey& key) {
    int32_t value = key.defaultAtLoad;
    settings.getInt(key.key, &value);
    return value;
}

void store(CSettings& settings, const LevelKey& key, int32_t value) {
    settings.setInt(key.key, value);
}

} // namespace

LevelSettings loadLevels(CSettings& settings) {
    LevelSettings level;
    level.setTournament(storedOr(settings, LEVEL_TOURNAMENT_MOVES1_KEY),
                        storedOr(settings, LEVEL_TOURNAMENT_SECONDS1_KEY),
                        storedOr(settings, LEVEL_TOURNAMENT_MOVES2_KEY),
                        storedOr(settings, LEVEL_TOURNAMENT_SECONDS2_KEY),
                        storedOr(settings, LEVEL_TOURNAMENT_MOVES3_KEY),
                        storedOr(settings, LEVEL_TOURNAMENT_SECONDS3_KEY));
    level.setBlitz(storedOr(settings, LEVEL_BLITZ_SECONDS_KEY),
                   storedOr(settings, LEVEL_BLITZ_INCREMENT_KEY));
    level.setFixed(storedOr(settings, LEVEL_FIXED_PLIES_KEY),
                   storedOr(settings, LEVEL_FIXED_SECONDS_KEY));
    level.mode = storedOr(settings, LEVEL_MODE_KEY);
    return level;
}

void saveLevels(CSettings& settings, const LevelSettings& level) {
    store(settings, LEVEL_TOURNAMENT_MOVES1_KEY, level.tournamentMoves1);
    store(settings, LEVEL_TOURNAMENT_MOVES2_KEY, level.tournamentMoves2);
    store(settings, LEVEL_TOURNAMENT_MOVES3_KEY, level.tournamentMoves3);
    store(settings, LEVEL_TOURNAMENT_SECONDS1_KEY, level.tournamentSeconds1);
    store(settings, LEVEL_TOURNAMENT_SECONDS2_KEY, level.tournamentSeconds2);
    store(settings, LEVEL_TOURNAMENT_SECONDS3_KEY, level.tournamentSeconds3);
    store(settings, LEVEL_BLITZ_SECONDS_KEY, level.blitzSeconds);
    store(settings, LEVEL_BLITZ_INCREMENT_KEY, level.blitzIncrement);
    store(settings, LEVEL_FIXED_PLIES_KEY, level.fixedPlies);
    store(settings, LEVEL_FIXED_SECONDS_KEY, level.fixedSeconds);
    store(settings, LEVEL_MODE_KEY, level.mode);
}
