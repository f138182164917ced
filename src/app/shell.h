#pragma once
// The process-wide values of the shell: the main window with its menu bar and
// the bitmaps every board drawing uses.

#include <atomic>

#include "base/text.h"
#include "platform/ui/menu.h"

namespace platform {
struct Window;
struct Bitmap;
} // namespace platform

struct CShell {
    platform::Window* mainWindow = nullptr;
    platform::Menu menu; // resource 102, loaded on WM_CREATE
    platform::MenuBar* menuBar = nullptr;
    // Two handles of each piece strip: one for whole boards, one for single squares.
    platform::Bitmap* pieceStrip = nullptr;
    platform::Bitmap* pieceStripForSquares = nullptr;
    platform::Bitmap* pieceStrip24 = nullptr;
    platform::Bitmap* pieceStrip24ForSquares = nullptr;
    platform::Bitmap* boardTexture = nullptr;
    // The executable's folder, ending with a separator; start-up puts the real one in.
    CText exeDirectory = "\\windows\\start menu\\";
    std::atomic<bool> lowMemoryStop{false};
};

extern CShell shell;
