#pragma once
// Load game and Save game: PGN files chosen with the desktop's open and save dialogs.

#include <iosfwd>
#include <memory>
#include <string>

class CDatabase;
class CFileSystem;
class CGame;

namespace platform {
struct Window;
}

// The database Load game reads from: the file loaded last stays open and indexed.
CDatabase& gameDatabase();

// The chosen file is indexed; a file of one game opens it, one of more shows the game
// list to choose from. The current game stays until a game is opened.
void loadGame(platform::Window* window);
// What Load game does once the file is chosen, for whatever names a file: the command
// line, a drop onto the window, a second start. Refused while a dialog of the program is
// open; a thinking engine stops once a game is opened.
void openGameFile(platform::Window* window, const std::string& path);
// The game list of the file loaded last (Load game when there is none).
void gameList(platform::Window* window);
// The game step places after (or before) the one opened last, in the file loaded last.
void stepGame(platform::Window* window, int step);
// The chosen file is replaced by the current game, after the Game details dialog. The
// game is written beside the file and renamed over it only once it is all written, so
// a failure leaves the file as it was; a write-protected file is refused, a link keeps
// naming the file it names and the file keeps its mode.
void saveGame(platform::Window* window);

// The rest of Load game once a game is read: the current game goes to the autosave
// ring, the read one becomes the current game.
void openGame(platform::Window* window, std::unique_ptr<CGame> game);
// The game as Save game writes it.
void writeGameAsSaved(CGame& game, std::ostream& out);

// The files Save game writes (tests make writing fail); null gives the machine's files.
void setSaveFileSystem(CFileSystem* files);
