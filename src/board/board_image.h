#pragma once
// The board as a picture of its own, for Export board image: the position as the window
// shows it (piece set, texture, flip, the last-move arrow when shown), without the marks
// of a move being entered, with the files and ranks named in the corner squares.

namespace platform {
struct Bitmap;
struct Window;
} // namespace platform

// A size x size bitmap, or null when it cannot be made; the caller deletes it.
platform::Bitmap* drawBoardImage(platform::Window* window, int size);
