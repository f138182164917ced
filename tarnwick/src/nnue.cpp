#include "nnue.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace tarnwick::nnue {

namespace {

// The layout of the file is little-endian; so is every machine this engine is built for.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the network file is little-endian");

template <typename T> void take(const unsigned char*& cursor, T* out, size_t count) {
    std::memcpy(out, cursor, count * sizeof(T));
    cursor += count * sizeof(T);
}

template <typename T> void put(std::vector<unsigned char>& bytes, const T* values, size_t count) {
    const auto* first = reinterpret_cast<const unsigned char*>(values);
    bytes.insert(bytes.end(), first, first + count * sizeof(T));
}

} // namespace

const char* describe(LoadResult result) {
    switch (result) {
    case LoadResult::OK:
        return "loaded";
    case LoadResult::UNREADABLE:
        return "cannot be read";
    case LoadResult::WRONG_SIZE:
        return "has the wrong size";
    case LoadResult::NOT_A_NETWORK:
        return "is not a network file";
    case LoadResult::WRONG_VERSION:
        return "has a version this engine cannot read";
    case LoadResult::WRONG_SHAPE:
        return "has layers of other sizes than this engine's";
    case LoadResult::DAMAGED:
        return "is damaged (checksum)";
    }
    return "?";
}

uint32_t checksum(const unsigned char* data, size_t size) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

LoadResult load(const std::string& path, Network& net) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return LoadResult::UNREADABLE;
    // One byte more than a network holds is enough to tell a longer file.
    std::vector<unsigned char> bytes(FILE_SIZE + 1);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    if (in.bad()) return LoadResult::UNREADABLE;
    const size_t size = size_t(in.gcount());
    FileHeader header{};
    if (size >= sizeof header) std::memcpy(&header, bytes.data(), sizeof header);
    // The header speaks first: a file of another kind or version says so even when its size
    // differs too.
    if (size < sizeof header || header.magic != FILE_MAGIC) return LoadResult::NOT_A_NETWORK;
    if (header.version != FILE_VERSION) return LoadResult::WRONG_VERSION;
    if (header.features != FEATURES || header.hidden != HIDDEN || header.qa != QA ||
        header.qb != QB || header.outputScale != OUTPUT_SCALE)
        return LoadResult::WRONG_SHAPE;
    if (size != FILE_SIZE) return LoadResult::WRONG_SIZE;
    uint32_t stored = 0;
    std::memcpy(&stored, bytes.data() + FILE_SIZE - sizeof stored, sizeof stored);
    if (checksum(bytes.data(), FILE_SIZE - sizeof stored) != stored) return LoadResult::DAMAGED;

    const unsigned char* cursor = bytes.data() + sizeof header;
    take(cursor, net.featureWeights, std::size(net.featureWeights));
    take(cursor, net.featureBias, std::size(net.featureBias));
    take(cursor, net.outputWeights, std::size(net.outputWeights));
    take(cursor, &net.outputBias, 1);
    return LoadResult::OK;
}

bool save(const std::string& path, const Network& net) {
    const FileHeader header{FILE_MAGIC, FILE_VERSION, FEATURES, HIDDEN, QA, QB, OUTPUT_SCALE};
    std::vector<unsigned char> bytes;
    put(bytes, &header, 1);
    put(bytes, net.featureWeights, std::size(net.featureWeights));
    put(bytes, net.featureBias, std::size(net.featureBias));
    put(bytes, net.outputWeights, std::size(net.outputWeights));
    put(bytes, &net.outputBias, 1);
    const uint32_t sum = checksum(bytes.data(), bytes.size());
    put(bytes, &sum, 1);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out.flush());
}

void addFeature(const Network& net, int16_t* values, int feature) {
    const int16_t* weights = net.featureWeights + feature * HIDDEN;
    for (int i = 0; i < HIDDEN; ++i)
        values[i] = int16_t(values[i] + weights[i]);
}

void removeFeature(const Network& net, int16_t* values, int feature) {
    const int16_t* weights = net.featureWeights + feature * HIDDEN;
    for (int i = 0; i < HIDDEN; ++i)
        values[i] = int16_t(values[i] - weights[i]);
}

void refresh(const Network& net, const Position& pos, Accumulator& acc) {
    for (Color side : {WHITE, BLACK}) {
        std::copy(std::begin(net.featureBias), std::end(net.featureBias), acc.values[side]);
        for (Bitboard occupied = pos.pieces(); occupied; occupied &= occupied - 1) {
            const int sq = lowestSquare(occupied);
            addFeature(net, acc.values[side], featureIndex(side, pos.pieceOn(sq), sq));
        }
    }
}

int output(const Network& net, const Accumulator& acc, Color sideToMove) {
    const int16_t* halves[2] = {acc.values[sideToMove], acc.values[~sideToMove]};
    int32_t sum = 0;
    for (int half = 0; half < 2; ++half) {
        const int16_t* weights = net.outputWeights + half * HIDDEN;
        for (int i = 0; i < HIDDEN; ++i) {
            const int activated = std::clamp<int>(halves[half][i], 0, QA);
            sum += activated * weights[i];
        }
    }
    // The bias is stored at the scale of the sum, QA * QB.
    const int64_t scaled = (int64_t(sum) + net.outputBias) * OUTPUT_SCALE / (QA * QB);
    return int(std::clamp<int64_t>(scaled, -(MATE_BOUND - 1), MATE_BOUND - 1));
}

int evaluate(const Network& net, const Position& pos) {
    Accumulator acc;
    refresh(net, pos, acc);
    return output(net, acc, pos.sideToMove());
}

} // namespace tarnwick::nnue
