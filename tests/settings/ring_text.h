#pragma once
// What a ring test puts into a file and reads back out of it.

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/database.h"
#include "pgn/pgn_reader.h"

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The Event tags of the file's games in order, "(unread)" for a game that does not read.
inline std::vector<std::string> eventsInFile(const std::string& path) {
    CPgnReader reader;
    CDatabase database(reader);
    std::vector<std::string> events;
    if (!database.open(path.c_str())) return events;
    for (size_t n = 0; n < database.index().size(); ++n) {
        const std::unique_ptr<CGame> game = database.gameAt(int(n));
        events.push_back(game ? game->event().c_str() : "(unread)");
    }
    return events;
}
