// The database never loses a file: every step of a replacement is made to fail
// in turn, and the original file must be intact and readable afterwards, with
// the error code and text of that step.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "database/database.h"
#include "database/file_replacement.h"
#include "pgn/pgn_game.h"
#include "pgn/pgn_reader.h"

#include "../support/file_text.h"

namespace fs = std::filesystem;

namespace {

std::string gameText(int number) {
    std::string moves;
    // Long enough that copying takes several blocks.
    for (int i = 0; i < 40; ++i)
        moves += "{" + std::string(1500, char('a' + i % 26)) + "} ";
    return "[Event \"Game " + std::to_string(number) + "\"]\r\n\r\n1. e4 " + moves + "e5 *\r\n\r\n";
}

std::string event(const std::unique_ptr<CGame>& game) {
    return game ? game->event().c_str() : "<none>";
}

// An output that takes `limit` bytes into its file and then refuses; with
// flushFails, it takes everything but cannot put it on the disk.
class CLimitedOutput : public std::filebuf {
public:
    CLimitedOutput(std::streamsize limit, bool flushFails)
        : m_limit(limit), m_flushFails(flushFails) {}

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        const std::streamsize allowed = std::max<std::streamsize>(0, m_limit - m_written);
        const std::streamsize taken = std::filebuf::xsputn(text, std::min(count, allowed));
        m_written += taken;
        return taken;
    }
    int_type overflow(int_type c) override {
        if (m_written >= m_limit) return traits_type::eof();
        ++m_written;
        return std::filebuf::overflow(c);
    }
    int sync() override { return m_flushFails ? -1 : std::filebuf::sync(); }

private:
    std::streamsize m_limit;
    bool m_flushFails;
    std::streamsize m_written = 0;
};

class COwningOutput : public std::ostream {
public:
    COwningOutput(const char* path, std::streamsize limit, bool flushFails)
        : std::ostream(nullptr), m_buffer(limit, flushFails) {
        m_buffer.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
        rdbuf(&m_buffer);
    }

private:
    CLimitedOutput m_buffer;
};

// The file in memory; once `failing` is set, reads stop `limit` bytes into it.
class CFailingInput : public std::streambuf {
public:
    CFailingInput(std::string text, const bool& failing, std::streamsize limit)
        : m_text(std::move(text)), m_failing(failing), m_limit(limit) {
        place(0);
    }

protected:
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode mode) override {
        if (direction == std::ios_base::cur) offset += gptr() - eback();
        if (direction == std::ios_base::end) offset += off_type(m_text.size());
        return seekpos(pos_type(offset), mode);
    }
    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        if (off_type(position) < 0 || size_t(off_type(position)) > m_text.size())
            return pos_type(off_type(-1));
        place(size_t(off_type(position)));
        return position;
    }

private:
    void place(size_t position) {
        char* begin = m_text.data();
        size_t end = m_text.size();
        if (m_failing) end = std::min(end, size_t(m_limit));
        end = std::max(end, position);
        setg(begin, begin + position, begin + end);
    }

    std::string m_text;
    const bool& m_failing;
    std::streamsize m_limit;
};

class COwningInput : public std::istream {
public:
    COwningInput(std::string text, const bool& failing, std::streamsize limit)
        : std::istream(nullptr), m_buffer(std::move(text), failing, limit) {
        rdbuf(&m_buffer);
    }

private:
    CFailingInput m_buffer;
};

// The machine's files, with one step made to fail on request.
class CFaultyFiles : public CFileSystem {
public:
    enum Fault {
        NONE,
        CREATE_TEMPORARY,
        WRITE,
        FLUSH,
        READ_WHILE_COPYING,
        RENAME_TO_BACKUP,
        RENAME_INTO_PLACE
    };

    std::unique_ptr<std::istream> openForReading(const char* path) override {
        if (fault != READ_WHILE_COPYING) return CFileSystem::openForReading(path);
        if (!fs::exists(path)) return nullptr;
        return std::make_unique<COwningInput>(fileText(path), readsFail, readLimit);
    }
    std::unique_ptr<std::ostream> openForWriting(const char* path, bool append) override {
        const bool temporary = std::string(path).size() > 4 &&
                               std::string(path).substr(std::string(path).size() - 4) == ".tmp";
        if (temporary && fault == CREATE_TEMPORARY) return nullptr;
        if (temporary && !append)
            return std::make_unique<COwningOutput>(path, fault == WRITE ? writeLimit : 1 << 30,
                                                   fault == FLUSH);
        return CFileSystem::openForWriting(path, append);
    }
    bool renameFile(const char* from, const char* to) override {
        const std::string target = to;
        if (fault == RENAME_TO_BACKUP && target.substr(target.size() - 4) == ".bak") return false;
        if (fault == RENAME_INTO_PLACE &&
            std::string(from).substr(std::string(from).size() - 4) == ".tmp")
            return false;
        return CFileSystem::renameFile(from, to);
    }

    Fault fault = NONE;
    std::streamsize writeLimit = 0;
    bool readsFail = false;
    std::streamsize readLimit = 0;
};

class SafeReplacement : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::temp_directory_path() / (std::string("tallowmere-safe-") + info->name() +
                                                "-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_path = (m_folder / "games.pgn").string();
        m_original = gameText(0) + gameText(1) + gameText(2);
        std::ofstream(m_path, std::ios::binary) << m_original;
        m_replacement.setEvent(CText("Replacement"));
        m_replacement.setRoot(new CMoveNode(NO_MOVE, CText("root"), -1, CText(""), 0, 0));
        m_replacement.setOptions(75, true, true, true, true, false);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    std::string error(const CDatabase& database) {
        int32_t code = -1;
        CText text;
        database.lastError(code, text);
        return std::to_string(code) + " " + text.c_str();
    }

    // The original file is there, byte for byte, and the database reads it again.
    void expectIntact(CDatabase& database) {
        EXPECT_TRUE(fileText(m_path) == m_original) << "the file changed";
        EXPECT_TRUE(database.isOpen());
        ASSERT_EQ(database.index().size(), 3u);
        for (int n = 0; n < 3; ++n) {
            std::unique_ptr<CGame> game = database.gameAt(n);
            ASSERT_TRUE(game) << n;
            EXPECT_EQ(std::string(game->event().c_str()), "Game " + std::to_string(n));
        }
    }

    fs::path m_folder;
    std::string m_path;
    std::string m_original;
    CPgnReader m_reader;
    CPgnGame m_replacement;
    CFaultyFiles m_files;
};

} // namespace

TEST_F(SafeReplacement, EveryFailingStepLeavesTheFileIntact) {
    struct Case {
        const char* step;
        CFaultyFiles::Fault fault;
        int game;              // replaced (or deleted, for game -1 - n)
        std::streamsize limit; // bytes that go through before the fault
        std::string error;
    };
    const std::string temporary = m_path + ".tmp";
    const std::streamsize firstGame = std::streamsize(gameText(0).size());
    const Case cases[] = {
        {"temporary file cannot be created", CFaultyFiles::CREATE_TEMPORARY, 1, 0,
         "2 Could not open for writing " + temporary},
        {"copying the games before fails to write", CFaultyFiles::WRITE, 1, 1000,
         "5 Error while writing"},
        {"writing the game fails", CFaultyFiles::WRITE, 1, firstGame + 20, "5 Error while writing"},
        {"writing the last game fails", CFaultyFiles::WRITE, 2, 2 * firstGame + 20,
         "5 Error while writing"},
        {"copying the games after fails to write", CFaultyFiles::WRITE, 0, firstGame + 5000,
         "5 Error while writing"},
        {"the disk fills up at the flush", CFaultyFiles::FLUSH, 1, 0, "5 Error while writing"},
        {"deleting: the flush fails", CFaultyFiles::FLUSH, -3, 0, "5 Error while writing"},
        {"reading while copying before fails", CFaultyFiles::READ_WHILE_COPYING, 2, 3000,
         "4 Error while reading"},
        {"reading while copying after fails", CFaultyFiles::READ_WHILE_COPYING, 0, firstGame + 3000,
         "4 Error while reading"},
        {"deleting: reading fails", CFaultyFiles::READ_WHILE_COPYING, -1, firstGame + 10,
         "4 Error while reading"},
        {"renaming the file to the backup fails", CFaultyFiles::RENAME_TO_BACKUP, 1, 0,
         "5 Error while writing"},
        {"renaming the new file into place fails", CFaultyFiles::RENAME_INTO_PLACE, 1, 0,
         "5 Error while writing"},
        {"deleting: renaming into place fails", CFaultyFiles::RENAME_INTO_PLACE, -2, 0,
         "5 Error while writing"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.step);
        std::ofstream(m_path, std::ios::binary) << m_original;
        m_files = CFaultyFiles();
        m_files.fault = test.fault;
        m_files.writeLimit = test.limit;
        m_files.readLimit = test.limit;
        CDatabase database(m_reader, m_files);
        ASSERT_TRUE(database.open(m_path.c_str()));
        EXPECT_EQ(event(database.gameAt(1)), "Game 1");
        m_files.readsFail = true;
        const bool replaced = test.game >= 0 ? database.replaceAt(test.game, m_replacement)
                                             : database.deleteAt(-1 - test.game);
        m_files.readsFail = false;
        EXPECT_FALSE(replaced);
        EXPECT_EQ(error(database), test.error);
        EXPECT_EQ(database.current(), 1);
        expectIntact(database);
        EXPECT_FALSE(fs::exists(m_path + ".bak"));
        // The new file may stay behind only when it could not be renamed into place.
        if (test.fault != CFaultyFiles::RENAME_INTO_PLACE) {
            EXPECT_FALSE(fs::exists(temporary));
        }
    }
}

TEST_F(SafeReplacement, WithoutFaultsTheSameSeamReplaces) {
    CDatabase database(m_reader, m_files);
    ASSERT_TRUE(database.open(m_path.c_str()));
    ASSERT_TRUE(database.replaceAt(1, m_replacement));
    EXPECT_TRUE(fileText(m_path) == gameText(0) + m_replacement.toString().c_str() + gameText(2));
    EXPECT_FALSE(fs::exists(m_path + ".tmp"));
    EXPECT_FALSE(fs::exists(m_path + ".bak"));
}

// copyRange is reached through a database that exposes it.
class CCopyingDatabase : public CDatabase {
public:
    using CDatabase::CDatabase;
    using CDatabase::copyRange;
};

class CCountingOutput : public std::stringbuf {
protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        ++calls;
        return std::stringbuf::xsputn(text, count);
    }

public:
    int calls = 0;
};

TEST_F(SafeReplacement, CopyRangeCopiesInBlocks) {
    CCopyingDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));
    struct Case {
        int64_t from, to;
        bool copied;
        std::string text;
        int maxCalls;
    };
    const int64_t size = int64_t(m_original.size());
    const Case cases[] = {
        {0, 100, true, m_original.substr(0, 100), 1},
        {0, size, true, m_original, 4},
        {1000, 0, true, m_original.substr(1000), 4},
        {size, 0, true, "", 0},
        {size - 10, size + 10, false, m_original.substr(size_t(size - 10)), 1},
        {50, 20, false, "", 0},
    };
    for (const Case& test : cases) {
        CCountingOutput buffer;
        std::ostream out(&buffer);
        database.setError(0);
        EXPECT_EQ(database.copyRange(out, test.from, test.to), test.copied) << test.from;
        EXPECT_EQ(buffer.str(), test.text) << test.from;
        EXPECT_LE(buffer.calls, test.maxCalls) << test.from;
        EXPECT_EQ(database.errorCode(), test.copied ? 0 : DB_READ_ERROR) << test.from;
    }
}

// What the user set on the file outlives a replacement: its write protection,
// the symbolic link that names it and its mode. These use the machine's files.
class FileAttributes : public SafeReplacement {
protected:
    fs::perms modeOf(const fs::path& path) { return fs::status(path).permissions(); }

    // Every name in the folder, links and leftovers included.
    std::vector<std::string> namesIn(const fs::path& folder) {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
            names.push_back(entry.path().lexically_relative(m_folder).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string replaced() { return gameText(0) + m_replacement.toString().c_str() + gameText(2); }
};

TEST_F(FileAttributes, AWriteProtectedFileIsRefusedAndLeftAsItWas) {
    // Without any write bit the file is protected even from the administrator, who
    // could write it anyway: the tests pass whoever runs them.
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const fs::perms before = modeOf(m_path);
    const std::string refused = "2 Could not open for writing " + m_path;
    CDatabase database(m_reader);
    ASSERT_TRUE(database.open(m_path.c_str()));

    EXPECT_FALSE(database.replaceAt(1, m_replacement));
    EXPECT_EQ(error(database), refused);
    database.setError(0);
    EXPECT_FALSE(database.deleteAt(0));
    EXPECT_EQ(error(database), refused);
    EXPECT_FALSE(database.append(m_path.c_str(), m_replacement));
    EXPECT_EQ(error(database), "3 Could not open for appending " + m_path);
    expectIntact(database);
    EXPECT_EQ(modeOf(m_path), before);
    EXPECT_EQ(namesIn(m_folder), std::vector<std::string>{"games.pgn"});

    // A folder is no file to replace, nor is a circle of links.
    const std::string circle = (m_folder / "circle.pgn").string();
    fs::create_symlink("circle.pgn", circle);
    for (const std::string& path : {m_folder.string(), circle}) {
        CFileReplacement replacement(realFileSystem(), path.c_str());
        EXPECT_FALSE(replacement.begin()) << path;
        EXPECT_EQ(replacement.fault(), CFileReplacement::Fault::WRITE_PROTECTED) << path;
    }
    fs::permissions(m_path, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(FileAttributes, ASymbolicLinkStaysALinkAndItsFileIsReplaced) {
    const fs::path elsewhere = m_folder / "elsewhere";
    fs::create_directories(elsewhere);
    const fs::path target = elsewhere / "real.pgn";
    fs::rename(m_path, target);
    struct Case {
        const char* kind;
        std::vector<std::pair<std::string, fs::path>> links; // name, what it points to
    };
    const Case cases[] = {
        {"relative link", {{"games.pgn", "elsewhere/real.pgn"}}},
        {"absolute link", {{"games.pgn", target}}},
        {"link to a link", {{"games.pgn", "middle.pgn"}, {"middle.pgn", "elsewhere/real.pgn"}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.kind);
        std::ofstream(target, std::ios::binary) << m_original;
        std::vector<std::string> expectedNames = {"elsewhere", "elsewhere/real.pgn"};
        for (const auto& link : test.links) {
            fs::remove(m_folder / link.first);
            fs::create_symlink(link.second, m_folder / link.first);
            expectedNames.push_back(link.first);
        }
        std::sort(expectedNames.begin(), expectedNames.end());
        CDatabase database(m_reader);
        ASSERT_TRUE(database.open(m_path.c_str()));
        EXPECT_TRUE(database.replaceAt(1, m_replacement)) << error(database);
        for (const auto& link : test.links) {
            EXPECT_TRUE(fs::is_symlink(m_folder / link.first)) << link.first;
            EXPECT_EQ(fs::read_symlink(m_folder / link.first), link.second);
        }
        EXPECT_TRUE(fileText(target.string()) == replaced());
        EXPECT_EQ(namesIn(m_folder), expectedNames) << "no new file or backup left behind";
        EXPECT_EQ(event(database.gameAt(1)), "Replacement") << "the database reads the new file";
        for (const auto& link : test.links)
            fs::remove(m_folder / link.first);
    }

    // A link whose file is protected is refused; one whose file is missing makes it.
    fs::create_symlink("elsewhere/real.pgn", m_path);
    std::ofstream(target, std::ios::binary) << m_original;
    fs::permissions(target, fs::perms::owner_read);
    CFileReplacement protectedLink(realFileSystem(), m_path.c_str());
    EXPECT_FALSE(protectedLink.begin());
    EXPECT_TRUE(fileText(target.string()) == m_original);
    fs::permissions(target, fs::perms::owner_all);
    fs::remove(target);
    CFileReplacement dangling(realFileSystem(), m_path.c_str());
    ASSERT_TRUE(dangling.begin());
    dangling.out() << "new";
    EXPECT_TRUE(dangling.commit());
    EXPECT_TRUE(fs::is_symlink(m_path));
    EXPECT_EQ(fileText(target.string()), "new");
}

TEST_F(FileAttributes, TheFileKeepsItsMode) {
    using fs::perms;
    const perms modes[] = {
        perms::owner_read | perms::owner_write,
        perms::owner_read | perms::owner_write | perms::group_read,
        perms::owner_read | perms::owner_write | perms::group_read | perms::group_write |
            perms::others_read | perms::others_write,
        perms::owner_all | perms::group_read | perms::group_exec,
        perms::owner_write, // may be written but not read back by its owner
    };
    for (const perms mode : modes) {
        SCOPED_TRACE(int(mode));
        std::ofstream(m_path, std::ios::binary) << m_original;
        fs::permissions(m_path, mode);
        CDatabase database(m_reader);
        // The last mode leaves the file unreadable to anyone but the administrator.
        if (!database.open(m_path.c_str())) continue;
        EXPECT_TRUE(database.replaceAt(1, m_replacement)) << error(database);
        EXPECT_EQ(modeOf(m_path), mode);
        EXPECT_TRUE(fileText(m_path) == replaced());
        EXPECT_TRUE(database.deleteAt(1)) << error(database);
        EXPECT_EQ(modeOf(m_path), mode);
        EXPECT_TRUE(fileText(m_path) == gameText(0) + gameText(2));
    }
}
