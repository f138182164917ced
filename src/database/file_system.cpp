#include "database/file_system.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <istream>
#include <streambuf>
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
    auto mode = std::ios_base::out | std::ios_base::binary;
    mode |= append ? std::ios_base::app : std::ios_base::trunc;
    auto stream = std::make_unique<std::ofstream>(path, mode);
    if (!stream->is_open()) return nullptr;
    return stream;
}

bool CFileSystem::removeFile(const char* path) {
    return std::remove(path) == 0;
}

bool CFileSystem::renameFile(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

CFileSystem& realFileSystem() {
    static CFileSystem files;
    return files;
}
