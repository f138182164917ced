#include "settings/autosave.h"

#include <cstdint>
#include <cstdio>

#include "database/database.h"
#include "game/game.h"
#include "pgn/pgn_reader.h"
#include "platform/kernel/paths.h"
#include "settings/option_keys.h"
#include "settings/settings.h"

namespace {

// Digits of the longest time prefix read back: 2^32 - 1 has ten.
constexpr uint32_t MAX_TIME_DIGITS = 10;

// The length of a "digits," prefix at the start of text, 0 when there is none.
uint32_t timePrefixLength(const CText& text, uint64_t* time) {
    uint32_t digits = 0;
    uint64_t value = 0;
    while (digits < text.length() && text[digits] >= '0' && text[digits] <= '9') {
        if (digits < MAX_TIME_DIGITS) value = value * 10 + uint64_t(text[digits] - '0');
        ++digits;
    }
    if (digits == 0 || digits >= text.length() || text[digits] != ',') return 0;
    if (time) *time = digits > MAX_TIME_DIGITS || value > UINT32_MAX ? UINT32_MAX : value;
    return digits + 1;
}

class PutTimes : public CNodeVisitor {
public:
    void visit(CMoveNode& node) override {
        char prefix[16];
        // The low 32 bits, unsigned: a time is never negative, and the prefix must
        // read back as digits.
        std::snprintf(prefix, sizeof prefix, "%u,", unsigned(uint32_t(node.thinkTime)));
        CText comment(prefix);
        comment += node.comment;
        node.comment = comment;
    }
};

// Undoes PutTimes on the game still in memory: its own times are kept whole.
class StripPutTimes : public CNodeVisitor {
public:
    void visit(CMoveNode& node) override {
        const uint32_t length = timePrefixLength(node.comment, nullptr);
        node.comment = CText(node.comment.c_str() + length);
    }
};

class TakeTimes : public CNodeVisitor {
public:
    void visit(CMoveNode& node) override {
        uint64_t time = 0;
        const uint32_t length = timePrefixLength(node.comment, &time);
        if (length == 0) return;
        node.thinkTime = int64_t(time);
        node.comment = CText(node.comment.c_str() + length);
    }
};

int32_t gameCount(const CDatabase& database) {
    return database.isOpen() ? int32_t(database.index().size()) : 0;
}

} // namespace

std::string autosaveFilePath() {
    return platform::mapHandheldPath(AUTOSAVE_FILE);
}

bool writeToAutosaveRing(CGame& game, CSettings& settings, const std::string& path) {
    game.setOptions(75, true, true, true, true, false);
    CPgnReader reader;
    CDatabase database(reader);
    database.open(path.c_str());
    const int32_t games = gameCount(database);

    int64_t slot = 0;
    int32_t lastSlot = 0;
    if (settings.getInt(AUTOSAVE_SLOT_KEY, &lastSlot)) slot = int64_t(lastSlot) + 1;
    if (games < AUTOSAVE_GAMES) {
        slot = games;
    } else if (slot < 0 || slot >= AUTOSAVE_GAMES) {
        // A damaged slot number must not make the file grow past the ring.
        slot = 0;
    }
    settings.setInt(AUTOSAVE_SLOT_KEY, int32_t(slot));

    PutTimes putTimes;
    game.forEachNode(putTimes);
    bool written = false;
    if (games >= AUTOSAVE_GAMES) written = database.replaceAt(int(slot), game);
    if (!written) {
        database.close();
        written = database.append(path.c_str(), game);
    }
    StripPutTimes strip;
    game.forEachNode(strip);
    return written;
}

std::unique_ptr<CGame> readFromAutosaveRing(CSettings& settings, const std::string& path) {
    CPgnReader reader;
    CDatabase database(reader);
    if (!database.open(path.c_str())) return nullptr;
    const int32_t games = gameCount(database);
    if (games == 0) return nullptr;
    int32_t slot = games - 1;
    int32_t stored = 0;
    if (settings.getInt(AUTOSAVE_SLOT_KEY, &stored) && stored >= 0 && stored < slot) slot = stored;
    std::unique_ptr<CGame> game = database.gameAt(slot);
    if (game) takeTimesFromComments(*game);
    return game;
}

void takeTimesFromComments(CGame& game) {
    TakeTimes takeTimes;
    game.forEachNode(takeTimes);
}
