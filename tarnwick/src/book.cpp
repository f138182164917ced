#include "book.h"

#include "movegen.h"

#include <vector>

namespace tarnwick {

namespace {

constexpr Key POLYGLOT_KEYS[781] = {
#include "polyglot_keys.inc"
};
constexpr int CASTLING_KEYS = 768;
constexpr int EN_PASSANT_KEYS = 772;
constexpr int TURN_KEY = 780;
constexpr long ENTRY_SIZE = 16;

// The book's piece kinds alternate black and white: black pawn 0, white pawn 1, ...
int polyglotKind(Piece p) {
    return 2 * typeOf(p) + (colorOf(p) == WHITE ? 1 : 0);
}

} // namespace

Key OpeningBook::polyglotKey(const Position& pos) {
    Key key = 0;
    Bitboard occupied = pos.pieces();
    while (occupied) {
        int sq = popLowest(occupied);
        key ^= POLYGLOT_KEYS[64 * polyglotKind(pos.pieceOn(sq)) + sq];
    }
    const int rights[4] = {WHITE_OO, WHITE_OOO, BLACK_OO, BLACK_OOO};
    for (int i = 0; i < 4; ++i)
        if (pos.castling() & rights[i]) key ^= POLYGLOT_KEYS[CASTLING_KEYS + i];
    // Our position keeps an en passant square only when a pawn could take there, which is
    // just when the book format counts it.
    if (pos.epSquare() != NO_SQUARE) key ^= POLYGLOT_KEYS[EN_PASSANT_KEYS + fileOf(pos.epSquare())];
    if (pos.sideToMove() == WHITE) key ^= POLYGLOT_KEYS[TURN_KEY];
    return key;
}

bool OpeningBook::open(const std::string& path) {
    close();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    file_.reset(f);
    if (std::fseek(f, 0, SEEK_END) != 0) {
        close();
        return false;
    }
    long size = std::ftell(f);
    // A book is a whole number of records, and at least one.
    if (size < ENTRY_SIZE || size % ENTRY_SIZE != 0) {
        close();
        return false;
    }
    entryCount_ = size / ENTRY_SIZE;
    path_ = path;
    return true;
}

void OpeningBook::close() {
    file_.reset();
    path_.clear();
    entryCount_ = 0;
}

bool OpeningBook::readEntry(long index, Key& key, uint16_t& move, uint16_t& weight) {
    unsigned char bytes[ENTRY_SIZE];
    if (std::fseek(file_.get(), index * ENTRY_SIZE, SEEK_SET) != 0 ||
        std::fread(bytes, 1, ENTRY_SIZE, file_.get()) != size_t(ENTRY_SIZE))
        return false;
    key = 0;
    for (int i = 0; i < 8; ++i)
        key = (key << 8) | bytes[i];
    move = uint16_t((bytes[8] << 8) | bytes[9]);
    weight = uint16_t((bytes[10] << 8) | bytes[11]);
    return true;
}

Move OpeningBook::probe(Position& pos) {
    if (!file_) return NO_MOVE;
    const Key key = polyglotKey(pos);
    // First record with this key (records are sorted by key).
    long low = 0, high = entryCount_;
    while (low < high) {
        long mid = low + (high - low) / 2;
        Key k;
        uint16_t m, w;
        if (!readEntry(mid, k, m, w)) return NO_MOVE;
        if (k < key)
            low = mid + 1;
        else
            high = mid;
    }
    MoveList legal;
    generateLegalMoves(pos, legal);
    std::vector<std::pair<Move, uint32_t>> candidates;
    uint32_t total = 0;
    for (long i = low; i < entryCount_ && candidates.size() < 64; ++i) {
        Key k;
        uint16_t raw, weight;
        if (!readEntry(i, k, raw, weight) || k != key) break;
        int to = raw & 63, from = (raw >> 6) & 63, promo = (raw >> 12) & 7;
        // Castling is written as the king taking its own rook.
        if (typeOf(pos.pieceOn(from)) == KING && pos.pieceOn(from) != NO_PIECE &&
            pos.pieceOn(to) != NO_PIECE && colorOf(pos.pieceOn(to)) == colorOf(pos.pieceOn(from)))
            to = to > from ? from + 2 : from - 2;
        for (Move m : legal) {
            if (moveFrom(m) != from || moveTo(m) != to) continue;
            if (moveKind(m) == PROMOTION && promotionType(m) != PieceType(promo)) continue;
            if (moveKind(m) != PROMOTION && promo != 0) continue;
            if (weight > 0) {
                candidates.push_back({m, weight});
                total += weight;
            }
        }
    }
    if (candidates.empty() || total == 0) return NO_MOVE;
    uint32_t pick = std::uniform_int_distribution<uint32_t>(0, total - 1)(random_);
    for (const auto& c : candidates) {
        if (pick < c.second) return c.first;
        pick -= c.second;
    }
    return candidates.back().first;
}

} // namespace tarnwick
