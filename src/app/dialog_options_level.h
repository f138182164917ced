#pragma once
// The Level part of the Options page: the presets, and the blitz and tournament levels
// with their figures typed on the page.

namespace platform {
struct Window;
}

// WM_INITDIALOG: the list, the row of the level, and the figures of both timed levels.
void fillLevel(platform::Window* page);
// A row was chosen: the figures of the chosen timed level can be typed, the others not.
void levelRowChosen(platform::Window* page);
// OK: the chosen row becomes the level. Figures that do not read leave the level as it
// was, and a message says which.
void readBackLevel(platform::Window* page);
