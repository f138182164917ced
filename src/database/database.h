#pragma once
// CDatabase: one PGN file seen as a list of games.
//
// Opening scans the file once with the game reader and keeps an index in
// memory: for every game its number, seven tag values, the length of its main
// line and its byte range. A game is read by seeking to its start, added by
// appending its text to a file, and replaced or removed by writing a new file
// beside the old one and swapping the two by renaming, so that the old file
// survives every failure.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <vector>

#include "base/text.h"
#include "database/file_system.h"
#include "database/game_filter.h"
#include "database/game_index_entry.h"

class CFileReplacement;
class CGame;
class CGameReader;

// Scans the games of stream from its position on (past any text before the first),
// appending an entry for each to entries. keepGoing is asked after every game with the
// position reached and the games indexed so far; false stops the scan, and so does the
// end of the games. False when stopped early. keepGoing may take the entries out of
// the vector (a worker that hands them over in batches): numbers count on regardless.
using IndexProgress = std::function<bool(int64_t position, size_t games)>;
bool indexGames(CGameReader& reader, std::istream& stream, std::vector<GameIndexEntry>& entries,
                const IndexProgress& keepGoing);

// Error codes; their texts are fixed (see errorTextFormat).
enum : int32_t {
    DB_OK = 0,
    DB_FILE_NOT_FOUND = 1,
    DB_CANNOT_WRITE = 2,
    DB_CANNOT_APPEND = 3,
    DB_READ_ERROR = 4,
    DB_WRITE_ERROR = 5,
    DB_PARSE_ERROR = 6,
    DB_SEEK_FAILED = 7,
    DB_OUT_OF_MEMORY = 8,
};

class CDatabase {
public:
    // The reader must outlive the database; so must the file system.
    explicit CDatabase(CGameReader& reader, CFileSystem& files = realFileSystem());
    virtual ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;

    virtual bool open(const char* path);
    // Opens the file with an index built already (elsewhere, by indexGames).
    virtual bool openIndexed(const char* path, std::vector<GameIndexEntry> entries);
    virtual void setFileName(const CText& path);
    virtual CText fileName() const;
    // The places (0-based) of the games that match, in the file's order.
    virtual void filter(const GameFilter& criteria, std::vector<int32_t>& out) const;
    virtual const std::vector<GameIndexEntry>& index() const;
    virtual std::unique_ptr<CGame> readCurrent();
    virtual std::unique_ptr<CGame> next();
    virtual std::unique_ptr<CGame> previous();
    virtual std::unique_ptr<CGame> gameAt(int n);
    virtual bool append(const char* path, CGame& game);
    // Adds the game after the file's last byte through a file replacement, so that a
    // failure leaves the file as it was (append writes into the file itself).
    virtual bool appendSafely(CGame& game);
    virtual bool replaceCurrent(CGame& game);
    virtual bool replaceAt(int n, CGame& game);
    virtual bool deleteCurrent();
    virtual bool deleteAt(int n);
    virtual void close();
    virtual void lastError(int32_t& code, CText& text) const;
    virtual CText toString() const;
    virtual void toFile(std::ostream& stream) const;
    virtual void setError(int32_t code, const char* argument = nullptr);
    virtual void buildIndex();

    bool isOpen() const { return m_isOpen; }
    int32_t current() const { return m_current; }
    // The game next and previous count from, once it is known without reading it.
    void setCurrent(int32_t n) {
        if (hasGame(n)) m_current = n;
    }
    int32_t errorCode() const { return m_errorCode; }
    const CText& errorText() const { return m_errorText; }

    // The text of an error code, a printf format with at most one %s.
    static const char* errorTextFormat(int32_t code);

protected:
    // Replaces the bytes from start up to end with the game's text (or with
    // nothing) through a file replacement: the file is never half-written, a
    // write-protected one is refused, a link stays a link and the mode is kept.
    // Before goes ahead of the game's text.
    bool rewrite(int64_t start, int64_t end, CGame* game, const char* before = "");
    // Copies the file's bytes from `from` up to `to` (to the end when to is 0)
    // to out, in blocks.
    bool copyRange(std::ostream& out, int64_t from, int64_t to);
    void seekTo(int64_t offset);

private:
    // Opens the file for reading, with no index yet.
    bool openFile(const char* path);
    bool hasGame(int n) const { return m_isOpen && n >= 0 && n < int(m_entries.size()); }
    int64_t filePosition();
    void setReplacementError(const CFileReplacement& replacement);

    CGameReader& m_reader;
    CFileSystem& m_files;
    CText m_name;
    std::unique_ptr<std::istream> m_file;
    bool m_isOpen = false;
    int32_t m_current = 0;
    std::vector<GameIndexEntry> m_entries;
    int32_t m_errorCode = DB_OK;
    CText m_errorText;
};
