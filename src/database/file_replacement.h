#pragma once
// CFileReplacement: a new version of a file, written beside it and renamed over
// it only once it is all on the disk, so that every failure leaves the old file
// as it was. A symbolic link stays a link: the file it points to is replaced. The
// new file keeps the old one's permission bits.

#include <iosfwd>
#include <memory>
#include <string>

class CFileSystem;

class CFileReplacement {
public:
    enum class Fault {
        NONE,
        WRITE_PROTECTED, // the file may not be written: it is refused, never replaced
        CANNOT_CREATE,   // no new file can be made beside it
        WRITE_FAILED,    // writing or flushing the new file failed (a full disk)
        RENAME_FAILED,   // the new file could not be put in the old one's place
    };

    CFileReplacement(CFileSystem& files, const char* path);
    // An unfinished replacement is abandoned: the new file goes, the old stays.
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // Opens the new file; false, with the fault set, when the file is refused.
    bool begin();
    // Where the new contents go, between begin and commit.
    std::ostream& out();
    // Puts the new file in the old one's place; false, with the fault set and the
    // old file untouched, when anything fails.
    bool commit();
    // Gives up the new file; the old one stays as it was.
    void abandon();

    Fault fault() const { return m_fault; }
    // The file that is replaced (the link's target) and the new file beside it.
    const std::string& target() const { return m_target; }
    const std::string& temporary() const { return m_temporary; }

private:
    bool fail(Fault fault);

    CFileSystem& m_files;
    std::string m_path;
    std::string m_target;
    std::string m_temporary;
    std::unique_ptr<std::ostream> m_out;
    bool m_made = false; // the new file exists and is ours to remove
    Fault m_fault = Fault::NONE;
};
