#include "time_control.h"

#include <algorithm>

namespace tarnwick {

SearchLimits limitsFor(const Level& level) {
    SearchLimits limits;
    limits.maxDepth = std::clamp(level.maxPlies, 1, MAX_PLY - 10);
    limits.maxNodes = level.maxNodes;
    if (level.seconds >= NO_TIME_LIMIT && level.remainingMs < 0) return limits;

    const int64_t remaining =
        std::max<int64_t>(0, level.remainingMs >= 0 ? level.remainingMs : level.seconds * 1000LL);
    const int64_t increment = std::max<int64_t>(
        0, level.incrementMs >= 0 ? level.incrementMs : level.incrementSeconds * 1000LL);
    // Never plan to use the last of the clock: what is left after the overhead is the most
    // a move may take, and never less than a sliver so that a move is always made.
    const int64_t ceiling = std::max<int64_t>(remaining - level.moveOverheadMs, remaining / 4);

    // Each move also costs the overhead of passing it back, which the increment must cover
    // first; otherwise the clock drifts down to nothing over a long game.
    const int64_t available = std::max<int64_t>(remaining - level.moveOverheadMs, 0);
    const int64_t incrementShare = std::max<int64_t>(increment - level.moveOverheadMs, 0) * 3 / 4;
    int64_t target, hard;
    if (level.movesToGo == 1 && level.periodMoves <= 1) {
        // A fixed time per move: use it.
        target = hard = ceiling;
    } else if (level.movesToGo == 1) {
        // The last move before the time control: the clock is refilled after it.
        target = available / 2 + incrementShare;
        hard = available * 8 / 10;
    } else if (level.movesToGo > 1) {
        int moves = std::min(level.movesToGo, 40);
        target = available / (moves + 1) + incrementShare;
        hard = std::min(target * 4, available / 2 + incrementShare);
    } else {
        target = available / 25 + incrementShare;
        hard = std::min(target * 4, available / 3 + incrementShare);
    }
    hard = std::clamp<int64_t>(hard, 1, std::max<int64_t>(ceiling, 1));
    limits.hardMs = hard;
    // Past soft no new iteration starts: it would most likely not finish.
    limits.softMs = level.movesToGo == 1 && level.periodMoves <= 1
                        ? hard
                        : std::min(hard, std::max<int64_t>(target * 6 / 10, 1));
    return limits;
}

} // namespace tarnwick
