#include "app/time_loss.h"

#include "app/adjudication.h"
#include "app/app_state.h"
#include "app/engine_link.h"
#include "engine/clocks.h"
#include "engine/think_time.h"
#include "platform/ui/window.h"

void checkTimeLoss(platform::Window* window) {
    if (appState.modalOpen) return;
    const ClockInputs inputs = clockInputs();
    const TimeUp up = timeUp(appState.level, inputs);
    if (up == TimeUp::none) return;
    // The clock is held before anything else: the announcement's box lets timer ticks run,
    // and a clock that still ran would end the game once more on each of them.
    holdUserClock(appState.humanClockStart, runningMs(inputs));
    // A game that has ended on the board stays as it ended.
    int reason = 0;
    if (appState.position->gameStatus(reason)) return;
    appState.autoMove = false;
    stopSearch();
    adjudicateTimeLoss(up == TimeUp::white ? WHITE : BLACK);
    platform::invalidateRect(window, &appState.statusRect, false);
}
