#pragma once
// After every move played on the board: has the game ended, and why.

struct CAdjudication {
    bool over;
    int reason; // the game status reason, 0 while the game goes on
};

// Announces an ended game in a message box, puts the reason as the comment of the
// move that ended it and, at the end of the main line, records the result.
CAdjudication adjudicate();
