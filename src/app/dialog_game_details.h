#pragma once
// The Game details dialog (113), shown by Save game: the players, event, site, date
// and result, and the game's other tags. Whether closed with OK or Cancel, the fields
// are written back to the game.

namespace platform {
struct Window;
}

void gameDetailsDialog(platform::Window* owner);
