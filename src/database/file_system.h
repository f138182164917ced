#pragma once
// CFileSystem: every file operation the game database performs, behind one
// seam, so that tests can make each step of a safe replacement fail.

#include <iosfwd>
#include <memory>

class CFileSystem {
public:
    virtual ~CFileSystem() = default;
    // A seekable binary input stream, or null when the file cannot be opened.
    virtual std::unique_ptr<std::istream> openForReading(const char* path);
    // A binary output stream, emptying the file or appending to it; null when
    // the file cannot be opened. Destroying the stream closes the file.
    virtual std::unique_ptr<std::ostream> openForWriting(const char* path, bool append);
    virtual bool removeFile(const char* path);
    virtual bool renameFile(const char* from, const char* to);
};

// The files of the machine.
CFileSystem& realFileSystem();
