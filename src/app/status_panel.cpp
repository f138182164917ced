#include "app/status_panel.h"

// The panel's texts come with the engine link; until then it stays blank.
void paintStatusPanel(platform::Dc*) {}
