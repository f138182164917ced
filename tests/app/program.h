#pragma once
// The whole program off-screen, driven as a user drives it: the real main window,
// pointer presses, moves and releases on its surface, buttons and menu items.
// Message boxes, sounds and help requests are recorded instead of shown or played.

#include "app/app_state.h"
#include "app/shell.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"
#include "rules/move.h"
#include "temp_root.h"

#include "../support/when_dialog_opens.h"

#include <QImage>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class QWidget;

class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::Window* window() const { return shell.mainWindow; }
    QWidget* surface() const;

    // The pointer, at logical pixels of the window.
    void press(int x, int y);
    void moveTo(int x, int y);
    void release(int x, int y);
    // A tap on a square's centre; a drag from one square's centre to another's.
    void tap(const char* square);
    void drag(const char* from, const char* to);
    // Taps the squares in turn, letting each move finish.
    void taps(const std::vector<const char*>& squares);
    // Lets timers, animations and paints run until the board is still.
    void settle();
    // A command as the menu bar or a key sends it.
    void command(int id);

    // Replaces the game by one starting at fen.
    void startFrom(const char* fen);
    // The SAN texts of the main line.
    std::vector<std::string> mainLine() const;
    // True when the window shows the square with the piece (EMPTY: nothing) on its texture.
    bool squareShows(const char* square, Piece piece) const;
    // The pixels of the window's back buffer.
    QImage shown() const;
    // The squares (as "e4 e5") that differ from a fresh drawing of the window; empty when none.
    std::string staleSquares();
    // A key with its modifiers, pressed and released over the main window as the user
    // types it: the accelerators of the message loop are attached on the first call.
    void key(int qtKey, int modifiers = 0);
    // Each character as a key of its own.
    void type(const char* text);

    std::unique_ptr<TempRoot> root;
    std::vector<std::string> messages; // texts of the message boxes, in order
    std::vector<std::string> sounds;   // sound requests, in order
    std::vector<std::string> helps;    // help requests, in order
    int messageAnswer = 1;             // IDOK
    bool acceleratorsAttached = false;
};

Square at(const char* square);
