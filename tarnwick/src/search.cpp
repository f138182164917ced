#include "search.h"

#include "evaluate.h"
#include "movegen.h"
#include "see.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarnwick {

namespace {

constexpr int HISTORY_MAX = 16384;
constexpr int TT_MOVE_RANK = 4000000;
constexpr int GOOD_CAPTURE_RANK = 3000000;
constexpr int KILLER_RANK = 2000000;
constexpr int COUNTER_RANK = 1900000;
constexpr int BAD_CAPTURE_RANK = -3000000;
// Below every depth the main search stores, so its entries never cut a real search off.
constexpr int QUIESCENCE_DEPTH = -1;

bool isCapture(const Position& pos, Move m) {
    return pos.pieceOn(moveTo(m)) != NO_PIECE || moveKind(m) == EN_PASSANT;
}

bool isTactical(const Position& pos, Move m) {
    return isCapture(pos, m) || (moveKind(m) == PROMOTION && promotionType(m) == QUEEN);
}

int capturedValue(const Position& pos, Move m) {
    if (moveKind(m) == EN_PASSANT) return PIECE_VALUE[PAWN];
    Piece p = pos.pieceOn(moveTo(m));
    int value = p == NO_PIECE ? 0 : PIECE_VALUE[typeOf(p)];
    if (moveKind(m) == PROMOTION) value += PIECE_VALUE[promotionType(m)] - PIECE_VALUE[PAWN];
    return value;
}

// Whether the moved piece itself attacks the enemy king (discovered checks are not seen).
bool givesDirectCheck(const Position& pos, Move m) {
    const int from = moveFrom(m), to = moveTo(m);
    const Color us = pos.sideToMove();
    const int king = pos.kingSquare(~us);
    PieceType type = moveKind(m) == PROMOTION ? promotionType(m) : typeOf(pos.pieceOn(from));
    Bitboard occupied = (pos.pieces() ^ bit(from)) | bit(to);
    switch (type) {
    case PAWN:
        return pawnAttacks(us, to) & bit(king);
    case KNIGHT:
        return knightAttacks(to) & bit(king);
    case BISHOP:
        return bishopAttacks(to, occupied) & bit(king);
    case ROOK:
        return rookAttacks(to, occupied) & bit(king);
    case QUEEN:
        return queenAttacks(to, occupied) & bit(king);
    default:
        return false;
    }
}

// Picks the highest-ranked remaining move, moving it to position index.
Move pickNext(MoveList& list, int* ranks, int index) {
    int best = index;
    for (int i = index + 1; i < list.size; ++i)
        if (ranks[i] > ranks[best]) best = i;
    std::swap(list.moves[index], list.moves[best]);
    std::swap(ranks[index], ranks[best]);
    return list.moves[index];
}

} // namespace

Search::Search(TranspositionTable& table)
    : table_(table), continuation_(size_t(12 * 64) * 12 * 64) {
    for (int d = 0; d < 64; ++d)
        for (int n = 0; n < 64; ++n)
            reductions_[d][n] =
                d && n ? int(0.75 + std::log(double(d)) * std::log(double(n)) / 2.25) : 0;
    clear();
}

void Search::clear() {
    std::memset(killers_, 0, sizeof killers_);
    std::memset(excluded_, 0, sizeof excluded_);
    std::memset(history_, 0, sizeof history_);
    std::memset(counterMove_, 0, sizeof counterMove_);
    std::fill(continuation_.begin(), continuation_.end(), 0);
}

int* Search::continuation(int ply, int pliesBack) const {
    const int at = ply + 1 - pliesBack;
    if (at < 1 || lastMove_[at] == NO_MOVE) return nullptr;
    const size_t row = size_t(movedPiece_[at]) * 64 + moveTo(lastMove_[at]);
    return const_cast<int*>(continuation_.data()) + row * 12 * 64;
}

int Search::quietScore(Move m, int ply) const {
    const Position& pos = *pos_;
    const size_t column = size_t(pos.pieceOn(moveFrom(m))) * 64 + moveTo(m);
    int score = history_[pos.sideToMove()][moveFrom(m)][moveTo(m)];
    for (int back = 1; back <= 2; ++back)
        if (const int* c = continuation(ply, back)) score += c[column];
    return score;
}

// The line below this ply, with the move that leads into it in front.
void Search::extendPv(int ply, Move m) {
    pv_[ply][0] = m;
    std::copy(pv_[ply + 1], pv_[ply + 1] + pvLength_[ply + 1], pv_[ply] + 1);
    pvLength_[ply] = pvLength_[ply + 1] + 1;
}

int64_t Search::elapsedMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_)
        .count();
}

bool Search::timeUp() {
    if (stopped_) return true;
    if (stopRequest_->load(std::memory_order_relaxed)) {
        stopped_ = true;
        return true;
    }
    if ((nodes_ & 1023) == 0) {
        if (limits_.hardMs >= 0 && elapsedMs() >= limits_.hardMs) stopped_ = true;
        if ((nodes_ & 16383) == 0) observer_->onNodes(nodes_);
    }
    if (limits_.maxNodes && nodes_ >= limits_.maxNodes) stopped_ = true;
    return stopped_;
}

void Search::reportLine(int score) {
    std::vector<Move> line(pv_[0], pv_[0] + pvLength_[0]);
    if (lineReported_ && line == lastLine_ && score == lastScore_) return;
    observer_->onNodes(nodes_);
    observer_->onLine(line, score);
    lastLine_ = line;
    lastScore_ = score;
    lineReported_ = true;
}

SearchResult Search::run(Position& pos, const SearchLimits& limits, SearchObserver& observer,
                         const std::atomic<bool>& stop) {
    pos_ = &pos;
    if (network_) accumulators_.reset(*network_, pos);
    observer_ = &observer;
    stopRequest_ = &stop;
    limits_ = limits;
    start_ = std::chrono::steady_clock::now();
    stopped_ = false;
    nodes_ = 0;
    selectiveDepth_ = 0;
    lineReported_ = false;
    table_.newSearch();
    std::memset(killers_, 0, sizeof killers_);
    for (auto& side : history_)
        for (auto& from : side)
            for (int& h : from)
                h /= 4;

    SearchResult result;
    MoveList legal;
    generateLegalMoves(pos, legal);
    if (legal.size == 0) {
        result.score = pos.inCheck() ? -MATE : 0;
        observer.onLine({}, result.score);
        return result;
    }
    const TTEntry* entry = table_.probe(pos.key());
    Move ttMove = entry ? entry->move : NO_MOVE;
    rootMoves_.clear();
    for (Move m : legal) {
        int rank = m == ttMove          ? TT_MOVE_RANK
                   : isTactical(pos, m) ? capturedValue(pos, m) * 10 + staticExchange(pos, m)
                                        : 0;
        rootMoves_.push_back({m, -INFINITE_SCORE, uint64_t(rank)});
    }
    std::stable_sort(rootMoves_.begin(), rootMoves_.end(),
                     [](const RootMove& a, const RootMove& b) { return a.nodes > b.nodes; });
    pv_[0][0] = rootMoves_[0].move;
    pvLength_[0] = 1;

    int score = 0;
    int previousScore = 0;
    for (int depth = 1; depth <= std::max(1, std::min(limits.maxDepth, MAX_PLY - 10)); ++depth) {
        rootDepth_ = depth;
        observer.onDepth(depth, selectiveDepth_);
        int delta = 20;
        int alpha = -INFINITE_SCORE, beta = INFINITE_SCORE;
        if (depth >= 5) {
            alpha = std::max(previousScore - delta, -INFINITE_SCORE);
            beta = std::min(previousScore + delta, INFINITE_SCORE);
        }
        for (;;) {
            score = searchRoot(alpha, beta, depth);
            if (stopped_) break;
            if (score <= alpha) {
                beta = (alpha + beta) / 2;
                alpha = std::max(score - delta, -INFINITE_SCORE);
            } else if (score >= beta) {
                beta = std::min(score + delta, INFINITE_SCORE);
            } else {
                break;
            }
            delta += delta / 2 + 10;
            if (delta > 600) {
                alpha = -INFINITE_SCORE;
                beta = INFINITE_SCORE;
            }
        }
        if (stopped_) break;
        previousScore = score;
        result.depth = depth;
        result.score = score;
        reportLine(score);
        // A mate found needs no deeper look once the search has gone twice as deep.
        if (std::abs(score) >= MATE_BOUND && depth >= 2 * (MATE - std::abs(score)) + 2) break;
        if (limits.softMs >= 0 && elapsedMs() >= limits.softMs) break;
        if (limits.maxNodes && nodes_ >= limits.maxNodes) break;
    }
    if (!lineReported_) {
        // Stopped before the first iteration ended: the best-ordered move is the answer.
        pv_[0][0] = rootMoves_[0].move;
        pvLength_[0] = 1;
        reportLine(0);
    }
    result.bestMove = pv_[0][0];
    result.nodes = nodes_;
    observer.onNodes(nodes_);
    return result;
}

int Search::searchRoot(int alpha, int beta, int depth) {
    Position& pos = *pos_;
    const int count = int(rootMoves_.size());
    int best = -INFINITE_SCORE;
    const bool inCheck = pos.inCheck();
    staticEval_[0] = inCheck ? -INFINITE_SCORE : evaluateAt(0);
    lastMove_[0] = NO_MOVE;
    pvLength_[0] = 0;
    Move bestMove = NO_MOVE;
    const int originalAlpha = alpha;
    for (int i = 0; i < count; ++i) {
        RootMove& rm = rootMoves_[i];
        observer_->onCurrentMove(rm.move, i + 1, count);
        uint64_t nodesBefore = nodes_;
        movedPiece_[1] = pos.pieceOn(moveFrom(rm.move));
        UndoInfo undo;
        if (network_) accumulators_.recordMove(1, pos, rm.move);
        pos.makeMove(rm.move, undo);
        table_.prefetch(pos.key());
        lastMove_[1] = rm.move;
        bool givesCheck = pos.inCheck();
        int newDepth = depth - 1 + (givesCheck ? 1 : 0);
        int score;
        if (i == 0) {
            score = -search(-beta, -alpha, newDepth, 1, false);
        } else {
            int reduction = 0;
            if (depth >= 3 && i >= 3 && !givesCheck && !isTactical(pos, rm.move) && !inCheck)
                reduction = std::max(0, reductions_[std::min(depth, 63)][std::min(i, 63)] - 1);
            score = -search(-alpha - 1, -alpha, newDepth - reduction, 1, true);
            if (score > alpha && reduction) score = -search(-alpha - 1, -alpha, newDepth, 1, true);
            if (score > alpha && score < beta) score = -search(-beta, -alpha, newDepth, 1, false);
        }
        pos.unmakeMove(rm.move, undo);
        rm.nodes = nodes_ - nodesBefore;
        if (stopped_) break;
        rm.score = score;
        if (score > best) {
            best = score;
            if (score > alpha) {
                bestMove = rm.move;
                alpha = score;
                extendPv(0, rm.move);
                // Move it to the front so the next iteration and a stop both keep it.
                std::rotate(rootMoves_.begin(), rootMoves_.begin() + i, rootMoves_.begin() + i + 1);
                if (score < beta && depth > 1 && i > 0) reportLine(score);
                if (score >= beta) break;
            }
        }
    }
    if (pvLength_[0] == 0) {
        // Nothing beat alpha (or the stop came first): keep the line of the front move.
        pv_[0][0] = rootMoves_[0].move;
        pvLength_[0] = 1;
    }
    if (!stopped_) {
        Bound bound = best >= beta ? BOUND_LOWER : best > originalAlpha ? BOUND_EXACT : BOUND_UPPER;
        table_.store(pos.key(), bestMove ? bestMove : rootMoves_[0].move, scoreToTable(best, 0),
                     staticEval_[0], depth, bound);
    }
    return best;
}

int Search::search(int alpha, int beta, int depth, int ply, bool cutNode) {
    Position& pos = *pos_;
    const bool pvNode = beta - alpha > 1;
    pvLength_[ply] = 0;
    if (depth <= 0) return quiesce(alpha, beta, ply);
    ++nodes_;
    if (timeUp()) return 0;
    selectiveDepth_ = std::max(selectiveDepth_, ply);
    if (pos.isDraw(ply)) return 0;
    if (ply >= MAX_PLY - 1) return evaluateAt(ply);
    // No line from here can be shorter than a mate right now.
    alpha = std::max(alpha, -MATE + ply);
    beta = std::min(beta, MATE - ply - 1);
    if (alpha >= beta) return alpha;

    const Key key = pos.key();
    const Move excluded = excluded_[ply];
    // A search that leaves a move out is not this node's search: the table's answer for the
    // node must not stand in for it.
    const TTEntry* entry = excluded ? nullptr : table_.probe(key);
    Move ttMove = NO_MOVE;
    int ttScore = 0;
    int ttDepth = -128;
    // Copied now: the searches below may reuse the entry's slot for another position.
    Bound ttBound = BOUND_NONE;
    if (entry) {
        ttBound = entry->bound();
        ttMove = entry->move;
        if (ttMove && !pos.isPseudoLegal(ttMove)) ttMove = NO_MOVE;
        ttScore = scoreFromTable(entry->score, ply);
        ttDepth = entry->depth;
        if (!pvNode && ttDepth >= depth &&
            (ttBound == BOUND_EXACT || (ttBound == BOUND_LOWER && ttScore >= beta) ||
             (ttBound == BOUND_UPPER && ttScore <= alpha)))
            return ttScore;
    }

    const bool inCheck = pos.inCheck();
    int eval;
    if (inCheck) {
        eval = staticEval_[ply] = -INFINITE_SCORE;
    } else {
        eval = staticEval_[ply] = entry ? entry->eval : evaluateAt(ply);
        // The stored score is a better guess than the static one when its bound agrees.
        if (entry && ((entry->bound() == BOUND_LOWER && ttScore > eval) ||
                      (entry->bound() == BOUND_UPPER && ttScore < eval)))
            eval = ttScore;
    }
    const bool improving = !inCheck && ply >= 2 && staticEval_[ply] > staticEval_[ply - 2];

    if (!pvNode && !inCheck && !excluded) {
        // Reverse futility: far above beta with little depth left, the opponent will not
        // catch up.
        if (depth <= 7 && eval - 75 * (depth - improving) >= beta && std::abs(beta) < MATE_BOUND)
            return eval;
        // Null move: if passing still leaves us above beta, a real move will too. Not
        // without pieces, where zugzwang is common.
        if (depth >= 2 && eval >= beta && lastMove_[ply] != NO_MOVE &&
            pos.hasNonPawnMaterial(pos.sideToMove()) && staticEval_[ply] >= beta) {
            int reduction = 3 + depth / 4 + std::min((eval - beta) / 200, 3);
            UndoInfo undo;
            if (network_) accumulators_.recordNullMove(ply + 1);
            pos.makeNullMove(undo);
            lastMove_[ply + 1] = NO_MOVE;
            int score = -search(-beta, -beta + 1, depth - reduction, ply + 1, !cutNode);
            pos.unmakeNullMove(undo);
            if (stopped_) return 0;
            if (score >= beta) return score >= MATE_BOUND ? beta : score;
        }
        // Razoring: hopeless positions at the frontier only need a look at the captures.
        if (depth <= 2 && eval + 250 * depth < alpha) {
            int score = quiesce(alpha, beta, ply);
            if (score < alpha) return score;
        }
        // ProbCut: a capture that clears beta by a margin in a much shallower search will
        // almost surely clear beta here, unless the table already knows better.
        const int probBeta = beta + 180;
        if (depth >= 5 && std::abs(beta) < MATE_BOUND &&
            !(ttDepth >= depth - 3 && ttScore < probBeta)) {
            MoveList captures;
            generateMoves(pos, GenType::CAPTURES, captures);
            for (Move m : captures) {
                if (staticExchange(pos, m) < probBeta - staticEval_[ply]) continue;
                UndoInfo undo;
                if (!makeLegalMove(m, undo, ply)) continue;
                int score = -quiesce(-probBeta, -probBeta + 1, ply + 1);
                if (score >= probBeta)
                    score = -search(-probBeta, -probBeta + 1, depth - 4, ply + 1, !cutNode);
                pos.unmakeMove(m, undo);
                if (stopped_) return 0;
                if (score >= probBeta) {
                    table_.store(key, m, scoreToTable(score, ply), staticEval_[ply], depth - 3,
                                 BOUND_LOWER);
                    return score;
                }
            }
        }
    }

    // Without a move from the table, a shallower search would order this one poorly anyway.
    if (!ttMove && depth >= 4 && (pvNode || cutNode)) --depth;

    // Singular extension: when every other move falls well short of the table's move in a
    // shallower search, that move is the only one and earns a ply more. When even the others
    // clear beta, several moves refute the line and the node fails high at once.
    bool singular = false;
    if (depth >= 8 && ttMove && ttDepth >= depth - 3 && ttBound != BOUND_UPPER &&
        std::abs(ttScore) < MATE_BOUND && ply < 2 * rootDepth_) {
        const int singularBeta = ttScore - 2 * depth;
        excluded_[ply] = ttMove;
        const int score = search(singularBeta - 1, singularBeta, (depth - 1) / 2, ply, cutNode);
        excluded_[ply] = NO_MOVE;
        if (stopped_) return 0;
        if (score < singularBeta)
            singular = true;
        else if (singularBeta >= beta)
            return singularBeta;
    }

    MoveList list;
    generateMoves(pos, GenType::ALL, list);
    int ranks[256];
    const Move previous = lastMove_[ply];
    const Move counter =
        previous ? counterMove_[pos.pieceOn(moveTo(previous))][moveTo(previous)] : NO_MOVE;
    for (int i = 0; i < list.size; ++i) {
        Move m = list.moves[i];
        if (m == ttMove)
            ranks[i] = TT_MOVE_RANK;
        else if (isTactical(pos, m)) {
            int see = staticExchange(pos, m);
            ranks[i] = (see >= 0 ? GOOD_CAPTURE_RANK : BAD_CAPTURE_RANK) +
                       capturedValue(pos, m) * 8 -
                       PIECE_VALUE[typeOf(pos.pieceOn(moveFrom(m)))] / 16;
        } else if (m == killers_[ply][0])
            ranks[i] = KILLER_RANK + 1;
        else if (m == killers_[ply][1])
            ranks[i] = KILLER_RANK;
        else if (m == counter)
            ranks[i] = COUNTER_RANK;
        else
            ranks[i] = quietScore(m, ply);
    }

    int best = -INFINITE_SCORE;
    Move bestMove = NO_MOVE;
    int legalCount = 0;
    Move quiets[256];
    int quietCount = 0;
    const int originalAlpha = alpha;
    bool skipQuiets = false;
    for (int i = 0; i < list.size; ++i) {
        Move m = pickNext(list, ranks, i);
        if (m == excluded) continue;
        const bool tactical = isTactical(pos, m);
        const bool quiet = !tactical;
        if (quiet && skipQuiets && !givesDirectCheck(pos, m)) continue;
        // Late, unpromising moves are left out near the leaves once a move has kept us from
        // being mated; moves that check are always looked at.
        if (best > -MATE_BOUND && legalCount > 0 && !inCheck) {
            if (quiet && !givesDirectCheck(pos, m)) {
                int lmpLimit = (3 + depth * depth) / (improving ? 1 : 2) + (pvNode ? 4 : 0);
                if (depth <= 8 && legalCount >= lmpLimit) {
                    skipQuiets = true;
                    continue;
                }
                if (depth <= 6 && staticEval_[ply] + 90 + 90 * depth <= alpha &&
                    ranks[i] < KILLER_RANK)
                    continue;
                if (depth <= 6 && staticExchange(pos, m) < -40 * depth) continue;
            } else if (tactical && depth <= 6 && ranks[i] < GOOD_CAPTURE_RANK - 1000000 &&
                       staticExchange(pos, m) < -90 * depth) {
                continue;
            }
        }

        UndoInfo undo;
        if (!makeLegalMove(m, undo, ply)) continue;
        const bool givesCheck = pos.inCheck();
        ++legalCount;
        int newDepth = depth - 1;
        if ((singular && m == ttMove) || (givesCheck && ply < 2 * rootDepth_)) ++newDepth;
        int score;
        if (legalCount == 1) {
            score = -search(-beta, -alpha, newDepth, ply + 1, !pvNode && !cutNode);
        } else {
            int reduction = 0;
            if (depth >= 3 && (quiet || ranks[i] < 0) && !inCheck) {
                reduction = reductions_[std::min(depth, 63)][std::min(legalCount, 63)];
                reduction -= pvNode;
                reduction += cutNode;
                reduction -= givesCheck;
                reduction -= ranks[i] >= COUNTER_RANK;
                if (quiet && ranks[i] < COUNTER_RANK)
                    reduction -= std::clamp(ranks[i] / 8192, -2, 2);
                reduction += !improving;
                reduction = std::clamp(reduction, 0, newDepth - 1);
            }
            score = -search(-alpha - 1, -alpha, newDepth - reduction, ply + 1, true);
            if (score > alpha && reduction)
                score = -search(-alpha - 1, -alpha, newDepth, ply + 1, !cutNode);
            if (pvNode && score > alpha && score < beta)
                score = -search(-beta, -alpha, newDepth, ply + 1, false);
        }
        pos.unmakeMove(m, undo);
        if (stopped_) return 0;
        if (score > best) {
            best = score;
            if (score > alpha) {
                bestMove = m;
                alpha = score;
                extendPv(ply, m);
                if (score >= beta) {
                    if (quiet) updateQuietStats(m, quiets, quietCount, depth, ply);
                    break;
                }
            }
        }
        if (quiet && quietCount < 256) quiets[quietCount++] = m;
    }
    if (legalCount == 0) {
        // Only the left-out move: the others did not reach alpha.
        if (excluded) return alpha;
        // No legal move, or all were pruned: pruning only happens after a legal move.
        return inCheck ? -MATE + ply : 0;
    }
    if (excluded) return best;
    Bound bound = best >= beta ? BOUND_LOWER : best > originalAlpha ? BOUND_EXACT : BOUND_UPPER;
    table_.store(key, bestMove, scoreToTable(best, ply), inCheck ? 0 : staticEval_[ply], depth,
                 bound);
    return best;
}

int Search::evaluateAt(int ply) {
    return network_ ? accumulators_.evaluate(ply, *pos_) : evaluate(*pos_);
}

bool Search::makeLegalMove(Move m, UndoInfo& undo, int ply) {
    Position& pos = *pos_;
    const Piece moved = pos.pieceOn(moveFrom(m));
    if (network_) accumulators_.recordMove(ply + 1, pos, m);
    pos.makeMove(m, undo);
    // The child's table entry is read first thing: start loading it now.
    table_.prefetch(pos.key());
    if (pos.leftKingInCheck()) {
        pos.unmakeMove(m, undo);
        return false;
    }
    lastMove_[ply + 1] = m;
    movedPiece_[ply + 1] = moved;
    return true;
}

void Search::updateQuietStats(Move best, const Move* quiets, int quietCount, int depth, int ply) {
    if (killers_[ply][0] != best) {
        killers_[ply][1] = killers_[ply][0];
        killers_[ply][0] = best;
    }
    const Color us = pos_->sideToMove();
    const int bonus = std::min(depth * depth * 8, 1600);
    auto adjust = [](int& h, int delta) { h += delta - h * std::abs(delta) / HISTORY_MAX; };
    int* previous1 = continuation(ply, 1);
    int* previous2 = continuation(ply, 2);
    auto reward = [&](Move m, int delta) {
        adjust(history_[us][moveFrom(m)][moveTo(m)], delta);
        const size_t column = size_t(pos_->pieceOn(moveFrom(m))) * 64 + moveTo(m);
        if (previous1) adjust(previous1[column], delta);
        if (previous2) adjust(previous2[column], delta);
    };
    reward(best, bonus);
    for (int i = 0; i < quietCount; ++i)
        reward(quiets[i], -bonus);
    Move previous = lastMove_[ply];
    if (previous) counterMove_[pos_->pieceOn(moveTo(previous))][moveTo(previous)] = best;
}

int Search::quiesce(int alpha, int beta, int ply) {
    Position& pos = *pos_;
    ++nodes_;
    pvLength_[ply] = 0;
    if (timeUp()) return 0;
    selectiveDepth_ = std::max(selectiveDepth_, ply);
    if (pos.halfmoveClock() >= 100 || pos.isDraw(ply)) return 0;
    if (ply >= MAX_PLY - 1) return evaluateAt(ply);

    const Key key = pos.key();
    const TTEntry* entry = table_.probe(key);
    Move ttMove = NO_MOVE;
    if (entry) {
        int ttScore = scoreFromTable(entry->score, ply);
        if (entry->bound() == BOUND_EXACT || (entry->bound() == BOUND_LOWER && ttScore >= beta) ||
            (entry->bound() == BOUND_UPPER && ttScore <= alpha))
            return ttScore;
        ttMove = entry->move;
    }

    const bool inCheck = pos.inCheck();
    const int originalAlpha = alpha;
    int best;
    int staticEval = 0;
    MoveList list;
    if (inCheck) {
        best = -MATE + ply;
        generateMoves(pos, GenType::ALL, list);
    } else {
        staticEval = best = entry ? entry->eval : evaluateAt(ply);
        if (best >= beta) {
            if (!entry)
                table_.store(key, NO_MOVE, scoreToTable(best, ply), staticEval, QUIESCENCE_DEPTH,
                             BOUND_LOWER);
            return best;
        }
        alpha = std::max(alpha, best);
        generateMoves(pos, GenType::CAPTURES, list);
    }
    const int standPat = best;
    int ranks[256];
    for (int i = 0; i < list.size; ++i) {
        Move m = list.moves[i];
        ranks[i] = m == ttMove ? TT_MOVE_RANK
                   : isTactical(pos, m)
                       ? capturedValue(pos, m) * 8 -
                             PIECE_VALUE[typeOf(pos.pieceOn(moveFrom(m)))] / 16 + 100000
                       : history_[pos.sideToMove()][moveFrom(m)][moveTo(m)];
    }
    Move bestMove = NO_MOVE;
    for (int i = 0; i < list.size; ++i) {
        Move m = pickNext(list, ranks, i);
        if (!inCheck) {
            // Delta pruning: even winning this piece cleanly would not reach alpha.
            if (standPat + capturedValue(pos, m) + 180 <= alpha) continue;
            if (staticExchange(pos, m) < 0) continue;
        }
        UndoInfo undo;
        if (!makeLegalMove(m, undo, ply)) continue;
        int score = -quiesce(-beta, -alpha, ply + 1);
        pos.unmakeMove(m, undo);
        if (stopped_) return 0;
        if (score > best) {
            best = score;
            if (score > alpha) {
                bestMove = m;
                alpha = score;
                extendPv(ply, m);
                if (score >= beta) break;
            }
        }
    }
    Bound bound = best >= beta ? BOUND_LOWER : best > originalAlpha ? BOUND_EXACT : BOUND_UPPER;
    table_.store(key, bestMove, scoreToTable(best, ply), staticEval, QUIESCENCE_DEPTH, bound);
    return best;
}

} // namespace tarnwick
