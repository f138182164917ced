#pragma once
// The states of the menu bar's Back, Forward and Flip buttons.

void enableBackButton(bool enabled);
void enableForwardButton(bool enabled);
void checkFlipButton(bool checked);
// Back when the current node is not the root, Forward when it has children.
void updateNavigationButtons();
