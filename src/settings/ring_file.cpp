#include "settings/ring_file.h"

#include <iterator>
#include <sstream>

#include "database/database.h"
#include "database/file_system.h"
#include "game/game.h"
#include "pgn/pgn_reader.h"

namespace {

// A text held in memory, served to a database as its file: the look ahead at the file
// with the new game appended must not touch the disk.
class TextFile : public CFileSystem {
public:
    explicit TextFile(std::string text) : m_text(std::move(text)) {}
    std::unique_ptr<std::istream> openForReading(const char*) override {
        return std::make_unique<std::istringstream>(m_text, std::ios::binary);
    }
    std::unique_ptr<std::ostream> openForWriting(const char*, bool) override { return nullptr; }
    bool removeFile(const char*) override { return false; }
    bool renameFile(const char*, const char*) override { return false; }

private:
    std::string m_text;
};

// Appended to the file's text to see whether a game put after it stands apart.
constexpr char PROBE_GAME[] = "[Event \"?\"]\r\n\r\n*\r\n";

bool onlySpace(const std::string& text, size_t from, size_t to) {
    for (size_t i = from; i < to && i < text.size(); ++i) {
        const char c = text[i];
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return true;
}

// True when, on text with a game beginning at probeStart, the reader finds fileGames
// games before it and that game as one more that reads.
bool probeStandsApart(const std::string& text, size_t probeStart, size_t fileGames) {
    TextFile file(text);
    CPgnReader reader;
    CDatabase database(reader, file);
    if (!database.open("ring")) return false;
    const std::vector<GameIndexEntry>& index = database.index();
    if (index.size() != fileGames + 1) return false;
    const GameIndexEntry& last = index.back();
    if (last.start < 0 || size_t(last.start) > probeStart ||
        !onlySpace(text, size_t(last.start), probeStart)) {
        return false;
    }
    return database.gameAt(int(fileGames)) != nullptr;
}

} // namespace

std::string gameText(CGame& game) {
    std::ostringstream out(std::ios::binary);
    game.writeTo(out);
    return out.str();
}

RingFile inspectRingFile(const std::string& path) {
    RingFile ring;
    std::string text;
    if (std::unique_ptr<std::istream> in = realFileSystem().openForReading(path.c_str())) {
        ring.exists = true;
        text.assign(std::istreambuf_iterator<char>(*in), std::istreambuf_iterator<char>());
    }
    if (!text.empty() && text.back() != '\n') ring.separator = "\r\n";

    TextFile file(text);
    CPgnReader reader;
    CDatabase database(reader, file);
    if (database.open("ring")) {
        const size_t count = database.index().size();
        for (size_t n = 0; n < count; ++n) {
            ring.games.push_back(database.gameAt(int(n)));
            // A game read only in part keeps what it could read, but the file around it
            // is damaged all the same.
            if (!ring.games.back() || !ring.games.back()->leftOut.isEmpty()) ring.whole = false;
        }
    }
    const size_t probeStart = text.size() + ring.separator.size();
    if (ring.whole) {
        ring.whole =
            probeStandsApart(text + ring.separator + PROBE_GAME, probeStart, ring.games.size());
    }
    return ring;
}
