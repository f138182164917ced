#include "database/file_system.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <ostream>
#include <streambuf>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A read buffer over a C file that seeks inside its block without touching
// the file: the reader steps back one character after every game, and the
// database seeks to each game it reads.
class CFileReadBuffer : public std::streambuf {
public:
    explicit CFileReadBuffer(std::FILE* file) : m_file(file), m_block(BLOCK_SIZE) {
        setg(m_block.data(), m_block.data(), m_block.data());
    }
    ~CFileReadBuffer() override { std::fclose(m_file); }
    CFileReadBuffer(const CFileReadBuffer&) = delete;
    CFileReadBuffer& operator=(const CFileReadBuffer&) = delete;

protected:
    int_type underflow() override {
        if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
        m_blockStart += egptr() - eback();
        const size_t count = std::fread(m_block.data(), 1, m_block.size(), m_file);
        setg(m_block.data(), m_block.data(), m_block.data() + count);
        return count == 0 ? traits_type::eof() : traits_type::to_int_type(*gptr());
    }

    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode) override {
        if (direction == std::ios_base::cur)
            return seekpos(pos_type(m_blockStart + (gptr() - eback()) + offset), std::ios_base::in);
        if (direction == std::ios_base::beg) return seekpos(pos_type(offset), std::ios_base::in);
        if (fseeko(m_file, offset, SEEK_END) != 0) return pos_type(off_type(-1));
        const off_type reached = ftello(m_file);
        if (reached < 0) return pos_type(off_type(-1));
        m_blockStart = reached;
        setg(m_block.data(), m_block.data(), m_block.data());
        return pos_type(reached);
    }

    pos_type seekpos(pos_type position, std::ios_base::openmode) override {
        const off_type target = off_type(position);
        if (target < 0) return pos_type(off_type(-1));
        if (target >= m_blockStart && target <= m_blockStart + (egptr() - eback())) {
            setg(eback(), eback() + (target - m_blockStart), egptr());
            return position;
        }
        if (fseeko(m_file, target, SEEK_SET) != 0) return pos_type(off_type(-1));
        m_blockStart = target;
        setg(m_block.data(), m_block.data(), m_block.data());
        return position;
    }

    std::streamsize xsgetn(char* out, std::streamsize count) override {
        std::streamsize copied = 0;
        while (copied < count) {
            if (gptr() == egptr() && underflow() == traits_type::eof()) break;
            const std::streamsize chunk =
                std::min<std::streamsize>(count - copied, egptr() - gptr());
            std::copy(gptr(), gptr() + chunk, out + copied);
            gbump(int(chunk));
            copied += chunk;
        }
        return copied;
    }

private:
    static constexpr size_t BLOCK_SIZE = 1 << 16;
    std::FILE* m_file;
    std::vector<char> m_block;
    off_type m_blockStart = 0; // file offset of the block's first byte
};

// A write buffer over a C file whose flush waits until the bytes are on the
// disk: a replacement renames the new file over the old one only then, and a
// full disk or a failing device must show before that, not at closing.
class CFileWriteBuffer : public std::streambuf {
public:
    explicit CFileWriteBuffer(std::FILE* file) : m_file(file) {}
    ~CFileWriteBuffer() override { std::fclose(m_file); }
    CFileWriteBuffer(const CFileWriteBuffer&) = delete;
    CFileWriteBuffer& operator=(const CFileWriteBuffer&) = delete;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        return std::fputc(c, m_file) == EOF ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        return std::streamsize(std::fwrite(text, 1, size_t(count), m_file));
    }
    int sync() override { return std::fflush(m_file) == 0 && fsync(fileno(m_file)) == 0 ? 0 : -1; }

private:
    std::FILE* m_file;
};

class CFileOutput : public std::ostream {
public:
    explicit CFileOutput(std::FILE* file) : std::ostream(nullptr), m_buffer(file) {
        rdbuf(&m_buffer);
    }

private:
    CFileWriteBuffer m_buffer;
};

class CFileInput : public std::istream {
public:
    explicit CFileInput(std::FILE* file) : std::istream(nullptr), m_buffer(file) {
        rdbuf(&m_buffer);
    }

private:
    CFileReadBuffer m_buffer;
};

} // namespace

std::unique_ptr<std::istream> CFileSystem::openForReading(const char* path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return nullptr;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    return std::make_unique<CFileInput>(file);
}

std::unique_ptr<std::ostream> CFileSystem::openForWriting(const char* path, bool append) {
    std::FILE* file = std::fopen(path, append ? "ab" : "wb");
    if (!file) return nullptr;
    return std::make_unique<CFileOutput>(file);
}

bool CFileSystem::removeFile(const char* path) {
    return std::remove(path) == 0;
}

bool CFileSystem::renameFile(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

bool CFileSystem::mayWrite(const char* path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (!fs::exists(status)) return true;
    if (!fs::is_regular_file(status)) return false;
    constexpr fs::perms WRITE_BITS =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & WRITE_BITS) == fs::perms::none) return false;
    return access(path, W_OK) == 0;
}

std::string CFileSystem::linkTarget(const char* path) {
    namespace fs = std::filesystem;
    // As many links as the system itself follows before it gives up.
    constexpr int MOST_LINKS = 40;
    fs::path target(path);
    for (int links = 0; links <= MOST_LINKS; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(target, error))) return target.string();
        const fs::path next = fs::read_symlink(target, error);
        if (error) return std::string();
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return std::string();
}

bool CFileSystem::copyAttributes(const char* from, const char* to) {
    struct stat original {};
    struct stat copy {};
    if (stat(from, &original) != 0 || stat(to, &copy) != 0) return false;
    // Only the administrator may give a file away, and some file systems have no
    // owners: the owner is kept where it can be. It goes first, as changing it
    // may clear mode bits.
    if (original.st_uid != copy.st_uid || original.st_gid != copy.st_gid) {
        if (chown(to, original.st_uid, original.st_gid) != 0) {
            // A group of the user's own is still worth keeping.
            (void)chown(to, uid_t(-1), original.st_gid);
        }
        if (stat(to, &copy) != 0) return false;
    }
    // File systems that give every file the same mode refuse to set one: a mode
    // that is already right is left alone.
    constexpr mode_t MODE_BITS = 07777;
    if ((original.st_mode & MODE_BITS) == (copy.st_mode & MODE_BITS)) return true;
    return chmod(to, original.st_mode & MODE_BITS) == 0;
}

CFileSystem& realFileSystem() {
    static CFileSystem files;
    return files;
}
