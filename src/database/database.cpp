#include "database/database.h"

#include <cstdio>
#include <istream>
#include <ostream>
#include <utility>
#include <vector>

#include "database/file_replacement.h"
#include "game/game.h"
#include "pgn/game_reader.h"

namespace {

constexpr std::streamsize COPY_BLOCK = 1 << 16;

// The PlyCount tag when it holds a count, else what the reader counted.
int32_t pliesOf(const CGame& game, int counted) {
    const CText tag = game.tag("PlyCount");
    if (tag.isEmpty() || tag.length() > 6) return counted;
    int32_t plies = 0;
    for (uint32_t i = 0; i < tag.length(); ++i) {
        if (tag[i] < '0' || tag[i] > '9') return counted;
        plies = plies * 10 + (tag[i] - '0');
    }
    return plies;
}

} // namespace

CDatabase::CDatabase(CGameReader& reader, CFileSystem& files) : m_reader(reader), m_files(files) {
    m_entries.reserve(8);
}

CDatabase::~CDatabase() {
    close();
}

const char* CDatabase::errorTextFormat(int32_t code) {
    static const char* const TEXTS[] = {
        "",
        "File not found %s",
        "Could not open for writing %s",
        "Could not open for appending %s",
        "Error while reading",
        "Error while writing",
        "Error while parsing",
        "Seek failed",
        "Out of memory",
    };
    if (code < 0 || code > DB_OUT_OF_MEMORY) return "Unknown error";
    return TEXTS[code];
}

void CDatabase::setError(int32_t code, const char* argument) {
    m_errorCode = code;
    const char* format = errorTextFormat(code);
    if (code > DB_OUT_OF_MEMORY) {
        m_errorText = format;
        return;
    }
    // The formats hold at most one "%s": put the argument there, or drop it.
    CText text;
    uint32_t expected = 0;
    for (const char* c = format; *c; ++c) {
        if (c[0] == '%' && c[1] == 's') {
            if (argument) {
                text += argument;
                expected += uint32_t(std::char_traits<char>::length(argument));
            }
            ++c;
        } else {
            text += *c;
            ++expected;
        }
    }
    if (text.length() != expected) {
        m_errorCode = DB_OUT_OF_MEMORY;
        m_errorText = "Out of memory";
        return;
    }
    m_errorText = text;
}

void CDatabase::lastError(int32_t& code, CText& text) const {
    code = m_errorCode;
    text = m_errorText;
}

bool CDatabase::open(const char* path) {
    if (!openFile(path)) return false;
    buildIndex();
    return m_isOpen;
}

bool CDatabase::openFile(const char* path) {
    if (m_isOpen) close();
    m_name = path;
    m_file = m_files.openForReading(path);
    if (!m_file) {
        setError(DB_FILE_NOT_FOUND, path);
        return false;
    }
    m_current = 0;
    m_isOpen = true;
    return true;
}

void CDatabase::setFileName(const CText& path) {
    m_name = path;
}

CText CDatabase::fileName() const {
    return m_name;
}

void CDatabase::close() {
    m_entries.clear();
    m_file.reset();
    m_current = 0;
    m_isOpen = false;
}

int64_t CDatabase::filePosition() {
    m_file->clear();
    const std::streampos position = m_file->tellg();
    return position < 0 ? 0 : int64_t(position);
}

bool indexGames(CGameReader& reader, std::istream& stream, std::vector<GameIndexEntry>& entries,
                const IndexProgress& keepGoing) {
    stream.clear();
    const std::streampos position = stream.tellg();
    // Text before the first game (a preamble, a comment) is no game of the file.
    int64_t start = reader.firstGameOffset(stream, position < 0 ? 0 : int64_t(position));
    int64_t end = 0;
    std::unique_ptr<CGame> game;
    size_t games = 0;
    while (reader.scanGame(stream, start, end, game)) {
        // A reader that makes no progress would index the same text forever.
        if (end <= start) break;
        GameIndexEntry entry;
        entry.number = int32_t(games++);
        entry.plies = pliesOf(*game, reader.scannedPlies());
        entry.white = game->white();
        entry.black = game->black();
        entry.date = game->date();
        entry.event = game->event();
        entry.eco = game->eco();
        entry.site = game->site();
        entry.result = game->result();
        entry.start = start;
        entry.end = end;
        entries.push_back(entry);
        game.reset();
        start = end;
        if (keepGoing && !keepGoing(end, games)) return false;
    }
    return true;
}

void CDatabase::buildIndex() {
    if (!m_isOpen) {
        m_entries.clear();
        m_current = 0;
        return;
    }
    const int64_t first = filePosition();
    indexGames(m_reader, *m_file, m_entries, nullptr);
    m_current = 0;
    seekTo(first);
}

bool CDatabase::openIndexed(const char* path, std::vector<GameIndexEntry> entries) {
    if (!openFile(path)) return false;
    m_entries = std::move(entries);
    return true;
}

const std::vector<GameIndexEntry>& CDatabase::index() const {
    return m_entries;
}

void CDatabase::filter(const GameFilter& criteria, std::vector<int32_t>& out) const {
    out.clear();
    for (size_t n = 0; n < m_entries.size(); ++n)
        if (matchesFilter(criteria, m_entries[n])) out.push_back(int32_t(n));
}

void CDatabase::seekTo(int64_t offset) {
    if (!m_isOpen) return;
    m_file->clear();
    if (m_file->seekg(offset)) return;
    m_file = m_files.openForReading(m_name.c_str());
    if (!m_file) {
        // Without a stream the database cannot stay open.
        m_isOpen = false;
        m_entries.clear();
        setError(DB_FILE_NOT_FOUND, m_name.c_str());
        return;
    }
    if (!m_file->seekg(offset)) setError(DB_SEEK_FAILED);
}

std::unique_ptr<CGame> CDatabase::readCurrent() {
    if (!m_isOpen) return nullptr;
    const int64_t position = filePosition();
    int64_t next = 0;
    std::unique_ptr<CGame> game;
    const bool read = m_reader.readGame(*m_file, position, next, game);
    seekTo(position);
    if (!read) {
        setError(DB_PARSE_ERROR);
        return nullptr;
    }
    return game;
}

std::unique_ptr<CGame> CDatabase::gameAt(int n) {
    if (!hasGame(n)) return nullptr;
    m_current = n;
    seekTo(m_entries[size_t(n)].start);
    return readCurrent();
}

std::unique_ptr<CGame> CDatabase::next() {
    if (!m_isOpen || m_entries.empty()) return nullptr;
    const int count = int(m_entries.size());
    return gameAt(m_current + 1 >= count ? 0 : m_current + 1);
}

std::unique_ptr<CGame> CDatabase::previous() {
    if (!m_isOpen || m_entries.empty()) return nullptr;
    const int count = int(m_entries.size());
    return gameAt(m_current - 1 < 0 || m_current - 1 >= count ? count - 1 : m_current - 1);
}

bool CDatabase::append(const char* path, CGame& game) {
    // Appending, unlike replacing, would go through where writing is refused.
    std::unique_ptr<std::ostream> out =
        m_files.mayWrite(path) ? m_files.openForWriting(path, true) : nullptr;
    if (!out) {
        setError(DB_CANNOT_APPEND, path);
        return false;
    }
    game.writeTo(*out);
    out->flush();
    // A full disk must not pass for a stored game.
    if (!out->good()) {
        setError(DB_WRITE_ERROR);
        return false;
    }
    return true;
}

bool CDatabase::appendSafely(CGame& game) {
    if (!m_isOpen) return false;
    m_file->clear();
    if (!m_file->seekg(0, std::ios_base::end)) {
        setError(DB_SEEK_FAILED);
        return false;
    }
    const int64_t size = int64_t(m_file->tellg());
    // A last line without its line break would run into the new game's first tag.
    char last = '\n';
    if (size > 0 && !(m_file->seekg(size - 1) && m_file->get(last))) {
        setError(DB_READ_ERROR);
        return false;
    }
    return rewrite(size, size, &game, size == 0 ? "" : last == '\n' ? "\n" : "\n\n");
}

bool CDatabase::replaceCurrent(CGame& game) {
    return replaceAt(m_current, game);
}

bool CDatabase::replaceAt(int n, CGame& game) {
    if (!hasGame(n)) return false;
    return rewrite(m_entries[size_t(n)].start, m_entries[size_t(n)].end, &game);
}

bool CDatabase::deleteCurrent() {
    return deleteAt(m_current);
}

bool CDatabase::deleteAt(int n) {
    if (!hasGame(n)) return false;
    return rewrite(m_entries[size_t(n)].start, m_entries[size_t(n)].end, nullptr);
}

bool CDatabase::rewrite(int64_t start, int64_t end, CGame* game, const char* before) {
    if (!m_isOpen) return false;
    const int32_t keptCurrent = m_current;
    const CText name = m_name;
    const int64_t keptPosition = filePosition();

    bool result = false;
    CFileReplacement replacement(m_files, name.c_str());
    if (!replacement.begin()) {
        setReplacementError(replacement);
    } else {
        std::ostream& out = replacement.out();
        bool written = start <= 0 || copyRange(out, 0, start);
        if (written && game) {
            out << before;
            game->writeTo(out);
            // The part was missing: a game that could not be written must not
            // replace the one on disk.
            if (!out.good()) {
                setError(DB_WRITE_ERROR);
                written = false;
            }
        }
        written = written && copyRange(out, end, 0);
        if (written) {
            close();
            result = replacement.commit();
            if (!result) setReplacementError(replacement);
        }
    }

    const int32_t keptCode = m_errorCode;
    const CText keptText = m_errorText;
    if (!m_isOpen) open(name.c_str());
    seekTo(keptPosition);
    m_current = keptCurrent;
    if (!result) {
        m_errorCode = keptCode;
        m_errorText = keptText;
    }
    return result;
}

void CDatabase::setReplacementError(const CFileReplacement& replacement) {
    switch (replacement.fault()) {
    case CFileReplacement::Fault::WRITE_PROTECTED:
        setError(DB_CANNOT_WRITE,
                 replacement.target().empty() ? m_name.c_str() : replacement.target().c_str());
        break;
    case CFileReplacement::Fault::CANNOT_CREATE:
        setError(DB_CANNOT_WRITE, replacement.temporary().c_str());
        break;
    default:
        setError(DB_WRITE_ERROR);
        break;
    }
}

bool CDatabase::copyRange(std::ostream& out, int64_t from, int64_t to) {
    if (!m_file || !*m_file) {
        setError(DB_READ_ERROR);
        return false;
    }
    if (to == 0) {
        // "To the end": the end is measured first, so that a read that stops
        // early is an error and not a silently shortened copy.
        if (!m_file->seekg(0, std::ios_base::end)) {
            setError(DB_SEEK_FAILED);
            return false;
        }
        to = int64_t(m_file->tellg());
    }
    if (!m_file->seekg(from)) {
        setError(DB_SEEK_FAILED);
        return false;
    }
    std::vector<char> block(static_cast<size_t>(COPY_BLOCK));
    int64_t remaining = to - from;
    if (remaining < 0) {
        setError(DB_READ_ERROR);
        return false;
    }
    while (remaining > 0) {
        const std::streamsize wanted =
            remaining < COPY_BLOCK ? std::streamsize(remaining) : COPY_BLOCK;
        const std::streamsize got = m_file->rdbuf()->sgetn(block.data(), wanted);
        if (got > 0) {
            out.write(block.data(), got);
            if (!out.good()) {
                setError(DB_WRITE_ERROR);
                return false;
            }
            remaining -= got;
        }
        if (got < wanted) {
            setError(DB_READ_ERROR);
            return false;
        }
    }
    return true;
}

CText CDatabase::toString() const {
    return CText("CDatabase::toString() not yet implemented");
}

void CDatabase::toFile(std::ostream& stream) const {
    stream << "CDatabase::toFile() not yet implemented";
}
