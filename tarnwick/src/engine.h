// The engine as the exported interface sees it: one position, one level, one book, one
// hash table, and the search that runs on the caller's thread until the level is used up
// or another thread asks it to stop.
#pragma once

#include "book.h"
#include "engine_interface.h"
#include "search.h"
#include "time_control.h"

#include <atomic>
#include <memory>
#include <string>

namespace tarnwick {

class Engine {
public:
    Engine();

    void start(int hashKB, const EngineCallbacks* callbacks);
    void exit();
    void analyse();
    void stop() { stopRequest_.store(true, std::memory_order_relaxed); }
    void setPosition(const char* fen);
    void enterMove(const char* move);
    void setBook(const char* path, int use);
    void setLevel(int movesToGo, int seconds, int incrementSeconds, int maxPlies);
    void setTimeControl(int movesPerPeriod, int secondsPerPeriod);
    void clearHashtables();
    bool setParameter(const char* name, const char* value);
    // Whether the next search evaluates with the learned network.
    bool usesNetwork() const { return search_.network() != nullptr; }

private:
    // Whether a move text is legal here, and which move it is.
    Move parseMove(const std::string& text);
    // Replaces the network by the one in path; on any failure the engine keeps none and
    // evaluates by hand.
    bool loadNetwork(const std::string& path);
    void chooseEvaluation();

    TranspositionTable table_;
    Search search_;
    Position position_;
    bool positionValid_ = true;
    Level level_;
    OpeningBook book_;
    bool useBook_ = false;
    EngineCallbacks callbacks_{};
    std::atomic<bool> stopRequest_{false};
    std::unique_ptr<nnue::Network> network_;
    bool networkWanted_ = true;
};

} // namespace tarnwick
