// Opening books in the Polyglot format: 16-byte big-endian records (key, move, weight,
// learning data) sorted by key.
#pragma once

#include "position.h"

#include <cstdio>
#include <memory>
#include <random>
#include <string>

namespace tarnwick {

class OpeningBook {
public:
    // Opens the book; false (and no book) when the file is missing or not a book.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }

    // A legal book move for pos chosen at random by weight, or NO_MOVE.
    Move probe(Position& pos);

    static Key polyglotKey(const Position& pos);

private:
    struct FileCloser {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    bool readEntry(long index, Key& key, uint16_t& move, uint16_t& weight);

    std::unique_ptr<std::FILE, FileCloser> file_;
    std::string path_;
    long entryCount_ = 0;
    std::mt19937 random_{std::random_device{}()};
};

} // namespace tarnwick
