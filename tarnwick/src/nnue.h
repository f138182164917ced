// The learned evaluation: a network of one hidden layer over 768 inputs per side (piece type,
// colour and square, seen from that side with the board mirrored for Black), clipped ReLU,
// and a scalar output. Integer arithmetic only; the weights come from a file that the
// trainer (tools/nnue_train.py) writes and that load() checks before anything uses it.
#pragma once

#include "position.h"

#include <climits>
#include <cstdint>
#include <string>

namespace tarnwick::nnue {

constexpr int FEATURES = 768;
constexpr int HIDDEN = 128;
// The float network is quantised with the hidden layer scaled by QA (clipped to 0..QA) and the
// output weights by QB; its output times OUTPUT_SCALE is centipawns.
constexpr int QA = 255;
constexpr int QB = 1024;
constexpr int OUTPUT_SCALE = 400;
// Whatever a file holds, the output sum cannot leave 32 bits.
static_assert(int64_t(2) * HIDDEN * QA * 32767 < INT32_MAX, "the output sum fits 32 bits");

// File layout, little-endian: the header below, then featureWeights (feature by feature,
// HIDDEN values each), featureBias, outputWeights (the side to move's half first), outputBias,
// and last an FNV-1a checksum of every byte before it.
constexpr uint32_t FILE_MAGIC = 0x4e4e5754; // "TWNN"
constexpr uint32_t FILE_VERSION = 1;
struct FileHeader {
    uint32_t magic, version, features, hidden, qa, qb, outputScale;
};
static_assert(sizeof(FileHeader) == 28, "the header is seven words in the file");
constexpr size_t FILE_SIZE = sizeof(FileHeader) + 2 * (FEATURES * HIDDEN + HIDDEN + 2 * HIDDEN) +
                             sizeof(int32_t) + sizeof(uint32_t);

struct Network {
    alignas(64) int16_t featureWeights[FEATURES * HIDDEN];
    alignas(64) int16_t featureBias[HIDDEN];
    alignas(64) int16_t outputWeights[2 * HIDDEN];
    int32_t outputBias;
};

enum class LoadResult {
    OK,
    UNREADABLE,
    WRONG_SIZE,
    NOT_A_NETWORK,
    WRONG_VERSION,
    WRONG_SHAPE,
    DAMAGED
};
const char* describe(LoadResult result);

// Reads and checks a network file; net is changed only when the result is OK.
LoadResult load(const std::string& path, Network& net);
// Writes net in the file format (the trainer's quantiser writes the same bytes).
bool save(const std::string& path, const Network& net);
uint32_t checksum(const unsigned char* data, size_t size);

// The input of a piece on a square as seen by one side.
inline int featureIndex(Color perspective, Piece piece, int sq) {
    const int own = colorOf(piece) == perspective ? 0 : 1;
    return (own * 6 + typeOf(piece)) * 64 + relative(perspective, sq);
}

// The hidden layer's sums before the activation, one half per side.
struct Accumulator {
    alignas(64) int16_t values[2][HIDDEN];
};

void refresh(const Network& net, const Position& pos, Accumulator& acc);
void addFeature(const Network& net, int16_t* values, int feature);
void removeFeature(const Network& net, int16_t* values, int feature);
// Centipawns for the side to move, from sums that match the position.
int output(const Network& net, const Accumulator& acc, Color sideToMove);
// A full refresh and the output: what the incremental path must always equal.
int evaluate(const Network& net, const Position& pos);

} // namespace tarnwick::nnue
