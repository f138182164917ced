#pragma once
// The status panel below the board: the status part of WM_PAINT.

#include <functional>

#include "base/text.h"

namespace platform {
struct Dc;
}

// Runs after the board part of a paint whose update area is not empty.
void paintStatusPanel(platform::Dc* dc);

// The texts of one painting of the panel.
struct StatusPanelTexts {
    CText first;
    CText second;
    CText clocks;
};
// Tests read what the panel says here; an empty hook stops recording.
void setStatusPanelHook(std::function<void(const StatusPanelTexts&)> hook);
