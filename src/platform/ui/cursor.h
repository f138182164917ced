#pragma once
// The pointer's shape over the program's windows: the wait cursor while a long
// step (opening a large file) runs on the interface thread.

namespace platform {

enum class Cursor { arrow, wait };

// Shows cursor and returns the one shown before, to be put back with the same call.
Cursor setCursor(Cursor cursor);
Cursor currentCursor();

} // namespace platform
