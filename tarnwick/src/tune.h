// Fitting the evaluation's weights to game results: positions are read once and kept as the
// evaluation's coefficients, so that every step of the fit is a sum over small sparse rows.
#pragma once

#include "eval_params.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tarnwick {

struct TuningPosition {
    uint32_t first = 0; // its coefficients in TuningSet::terms
    uint16_t count = 0;
    uint8_t phase = 0;
    uint8_t scaleWhite = 4;
    uint8_t scaleBlack = 4;
    float result = 0; // 1 White won, 0.5 draw, 0 Black won
};

struct TuningTerm {
    uint16_t index;
    int16_t coefficient;
};

struct TuningSet {
    std::vector<TuningPosition> positions;
    std::vector<TuningTerm> terms;
    std::size_t malformed = 0; // lines skipped as unreadable
    std::size_t drawn = 0;     // positions skipped as dead draws
};

// Reads lines "<FEN> | <result>" and appends them to set. A line that is not one is skipped
// with a message on errors (the first few of them; the rest are only counted).
void readTuningSet(std::istream& in, TuningSet& set, std::ostream& errors);

// Weights as real numbers while they are fitted: [index] middle game, [COUNT + index] end game.
using TuningWeights = std::vector<double>;
TuningWeights currentWeights();

// The evaluation from White's side that the weights give this position.
double tunedEvaluation(const TuningSet& set, const TuningPosition& position,
                       const TuningWeights& weights);
// Mean squared difference between results and the expectation 1 / (1 + 10^(-K * eval / 400)).
double meanError(const TuningSet& set, const TuningWeights& weights, double k);
// The K that makes the weights' evaluations fit the results best.
double fitScalingConstant(const TuningSet& set, const TuningWeights& weights);

struct TuningOptions {
    int epochs = 2000;
    double rate = 1.0; // Adam's step, in centipawns
    // Pulls every weight towards its starting value by this much times the squared distance
    // (in pawns), so that weights the data hardly touches stay where they were.
    double regularisation = 0;
    std::function<void(int epoch, double error, const TuningWeights& weights)> report;
};
// Full-batch Adam on the mean squared error. Returns the error of the final weights.
double fitWeights(const TuningSet& set, TuningWeights& weights, double k,
                  const TuningOptions& options);

// The last part of set (fraction of its positions, whole games as far as the file keeps games
// together) moved into a set of its own, to measure the fit on positions it was not made on.
TuningSet splitTail(TuningSet& set, double fraction);

// Moves each piece's mean placement value into its material value, so that material reads as
// what a piece is worth on an average square.
void centrePieceSquares(TuningWeights& weights);

// The weights as the C++ source the evaluation includes, headed by the comment lines given.
void writeWeights(std::ostream& out, const TuningWeights& weights,
                  const std::vector<std::string>& comment);

} // namespace tarnwick
