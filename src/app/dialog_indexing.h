#pragma once
// Indexing a large PGN file off the interface thread, with its progress and a Cancel.

#include <cstdint>
#include <string>
#include <vector>

#include "database/game_index_entry.h"

namespace platform {
struct Window;
}

enum : int {
    IDC_INDEXING_FILE = 701,
    IDC_INDEXING_PROGRESS = 702,
};

// Files of at least this many bytes are indexed with the progress shown.
int64_t backgroundIndexSize();
// Tests index small files this way too.
void setBackgroundIndexSize(int64_t bytes);

// Indexes path on a thread of its own, with its own reader and file; the window keeps
// repainting and taking input meanwhile. False when the user cancelled or the file did
// not open; entries is then left empty.
bool indexInBackground(platform::Window* owner, const std::string& path,
                       std::vector<GameIndexEntry>* entries);
