#include "settings/autosave.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <system_error>
#include <vector>

#include "database/database.h"
#include "database/file_replacement.h"
#include "database/file_system.h"
#include "game/game.h"
#include "pgn/pgn_game.h"
#include "pgn/pgn_reader.h"
#include "platform/kernel/paths.h"
#include "settings/option_keys.h"
#include "settings/ring_file.h"
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

// Copies of damaged ring files are numbered from 1; past this many the file is left alone.
constexpr int MAX_DAMAGED_COPIES = 100000;

void setSaveOptions(CGame& game) {
    game.setOptions(75, true, true, true, true, false);
}

// The ring's slots from the one written last back to the oldest. The slot written last
// is the stored one while the file holds it, else the file's last game.
std::vector<int32_t> slotsNewestFirst(CSettings& settings, int32_t games) {
    int32_t newest = games - 1;
    int32_t stored = 0;
    if (settings.getInt(AUTOSAVE_SLOT_KEY, &stored) && stored >= 0 && stored < newest) {
        newest = stored;
    }
    std::vector<int32_t> slots;
    for (int32_t back = 0; back < games; ++back)
        slots.push_back((newest - back + games) % games);
    return slots;
}

// A root comment that is only a time prefix, or the mark of a new game's root.
bool saysNothing(const CText& rootComment) {
    return timePrefixLength(rootComment, nullptr) == rootComment.length() ||
           isNewGameRootComment(rootComment);
}

// The Time tag says when a game was saved, not what it is: an idle start and exit saves
// the same game at another time, and must not push an older game out of the ring. Nor
// does a root without a comment of its own: a new game's root is written without one,
// the same root restored is written as "{0,}".
bool sameGame(CGame& saved, CGame& game, const std::string& text) {
    setSaveOptions(saved);
    const CText time = game.tag("Time");
    if (!time.isEmpty()) saved.setTag("Time", time);
    if (saved.root() && game.root() && saysNothing(saved.root()->comment) &&
        saysNothing(game.root()->comment)) {
        saved.root()->comment = game.root()->comment;
    }
    return gameText(saved) == text;
}

// Keeps a copy of a damaged ring file beside it as path.damaged-N, N the first number
// free. A copy rather than a rename: until the new ring replaces it, the ring's name
// still holds the old file, so a crash in between loses nothing.
bool setAside(const std::string& path) {
    namespace fs = std::filesystem;
    for (int n = 1; n <= MAX_DAMAGED_COPIES; ++n) {
        const fs::path copy = path + ".damaged-" + std::to_string(n);
        std::error_code error;
        if (fs::exists(fs::symlink_status(copy, error))) continue;
        return fs::copy_file(path, copy, fs::copy_options::none, error) && !error;
    }
    return false;
}

// Replaces a damaged ring file by a new ring: the old file's games that read, oldest
// first, and the new game last. The old file is set aside only once the new one may
// take its place, so that a file that may not be written gains no copy at every save.
bool startNewRing(const std::string& path, RingFile& ring, CSettings& settings,
                  const std::string& text, int32_t* slot) {
    std::vector<CGame*> kept;
    for (int32_t old : slotsNewestFirst(settings, int32_t(ring.games.size()))) {
        if (ring.games[size_t(old)] && kept.size() + 1 < size_t(AUTOSAVE_GAMES))
            kept.push_back(ring.games[size_t(old)].get());
    }
    std::reverse(kept.begin(), kept.end());

    CFileReplacement replacement(realFileSystem(), path.c_str());
    if (!replacement.begin() || (ring.exists && !setAside(path))) return false;
    for (CGame* game : kept) {
        setSaveOptions(*game);
        game->writeTo(replacement.out());
    }
    replacement.out().write(text.data(), std::streamsize(text.size()));
    if (!replacement.commit()) return false;
    *slot = int32_t(kept.size());
    return true;
}

// Appends the game on a line of its own.
bool appendToRing(const std::string& path, const std::string& separator, CGame& game) {
    if (!separator.empty()) {
        std::unique_ptr<std::ostream> out = realFileSystem().openForWriting(path.c_str(), true);
        if (!out) return false;
        out->write(separator.data(), std::streamsize(separator.size()));
        out->flush();
        if (!out->good()) return false;
    }
    CPgnReader reader;
    CDatabase database(reader);
    return database.append(path.c_str(), game);
}

// The game, its times already in its comments, into the ring; the slot number is
// written only once the game is in the file, so that a failed save never makes the next
// start restore an older game than the newest one there.
bool putIntoRing(CGame& game, CSettings& settings, const std::string& path) {
    const std::string text = gameText(game);
    RingFile ring = inspectRingFile(path);
    int32_t slot = 0;
    if (!ring.whole) {
        if (!startNewRing(path, ring, settings, text, &slot)) return false;
        settings.setInt(AUTOSAVE_SLOT_KEY, slot);
        return true;
    }

    const int32_t games = int32_t(ring.games.size());
    if (games > 0) {
        const int32_t newest = slotsNewestFirst(settings, games).front();
        if (sameGame(*ring.games[size_t(newest)], game, text)) return true;
    }
    int64_t next = 0;
    int32_t lastSlot = 0;
    if (settings.getInt(AUTOSAVE_SLOT_KEY, &lastSlot)) next = int64_t(lastSlot) + 1;
    if (games < AUTOSAVE_GAMES) {
        next = games;
    } else if (next < 0 || next >= AUTOSAVE_GAMES) {
        // A damaged slot number must not make the file grow past the ring.
        next = 0;
    }
    bool written = false;
    if (games >= AUTOSAVE_GAMES) {
        CPgnReader reader;
        CDatabase database(reader);
        written = database.open(path.c_str()) && database.replaceAt(int(next), game);
    }
    if (!written) {
        written = appendToRing(path, ring.separator, game);
        next = games;
    }
    if (written) settings.setInt(AUTOSAVE_SLOT_KEY, int32_t(next));
    return written;
}

} // namespace

std::string autosaveFilePath() {
    return platform::mapHandheldPath(AUTOSAVE_FILE);
}

bool writeToAutosaveRing(CGame& game, CSettings& settings, const std::string& path) {
    setSaveOptions(game);
    PutTimes putTimes;
    game.forEachNode(putTimes);
    const bool written = putIntoRing(game, settings, path);
    StripPutTimes strip;
    game.forEachNode(strip);
    return written;
}

std::unique_ptr<CGame> readFromAutosaveRing(CSettings& settings, const std::string& path) {
    CPgnReader reader;
    CDatabase database(reader);
    if (!database.open(path.c_str())) return nullptr;
    // A slot that does not read gives way to the newest one before it that does.
    for (int32_t slot : slotsNewestFirst(settings, gameCount(database))) {
        if (std::unique_ptr<CGame> game = database.gameAt(slot)) {
            takeTimesFromComments(*game);
            return game;
        }
    }
    return nullptr;
}

void takeTimesFromComments(CGame& game) {
    TakeTimes takeTimes;
    game.forEachNode(takeTimes);
}
