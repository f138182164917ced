#pragma once
// After every move played on the board: has the game ended, and why. And the end of a
// game on the clock.

struct CAdjudication {
    bool over;
    int reason; // the game status reason, 0 while the game goes on
};

// Announces an ended game in a message box, puts the reason as the comment of the
// move that ended it and, at the end of the main line, records the result.
CAdjudication adjudicate();

// The time of loser (WHITE or BLACK) has run out in the current position: a loss, or a
// draw when the other side has nothing but its king; announced, commented and recorded
// as an ended game is.
void adjudicateTimeLoss(int loser);
