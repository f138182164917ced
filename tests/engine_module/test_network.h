// A small network with fixed pseudo-random weights, the same in every run, for tests that need
// a learned evaluation without a trained file.
#pragma once

#include "nnue.h"

#include <cstdint>
#include <memory>

inline std::unique_ptr<tarnwick::nnue::Network> testNetwork(uint64_t seed) {
    auto net = std::make_unique<tarnwick::nnue::Network>();
    uint64_t state = seed;
    // A linear congruential generator: what matters is that the weights never change.
    auto next = [&state](int low, int high) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return int16_t(low + int((state >> 33) % uint64_t(high - low + 1)));
    };
    for (int16_t& w : net->featureWeights)
        w = next(-40, 40);
    for (int16_t& b : net->featureBias)
        b = next(0, 80);
    for (int16_t& w : net->outputWeights)
        w = next(-1000, 1000);
    net->outputBias = 1234;
    return net;
}
