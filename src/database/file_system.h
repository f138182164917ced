#pragma once
// CFileSystem: every file operation the game database performs, behind one
// seam, so that tests can make each step of a safe replacement fail.

#include <iosfwd>
#include <memory>
#include <string>

class CFileSystem {
public:
    virtual ~CFileSystem() = default;
    // A seekable binary input stream, or null when the file cannot be opened.
    virtual std::unique_ptr<std::istream> openForReading(const char* path);
    // A binary output stream, emptying the file or appending to it; null when
    // the file cannot be opened. Flushing the stream puts what it holds on the
    // disk, so a full disk shows there; destroying it closes the file.
    virtual std::unique_ptr<std::ostream> openForWriting(const char* path, bool append);
    virtual bool removeFile(const char* path);
    virtual bool renameFile(const char* from, const char* to);

    // False for an existing file that must not be written: one without any write
    // permission bit, one this user may not write, or no plain file at all. The
    // bits are asked as well because the administrator may write any file, and a
    // file its owner made read-only must stay so for every user. A path where no
    // file is yet may be written.
    virtual bool mayWrite(const char* path);
    // The file a path names once symbolic links are followed (the path itself
    // when it is none); empty when the links go round in a circle.
    virtual std::string linkTarget(const char* path);
    // Gives `to` the permission bits (and, where allowed, the owner and group) of
    // `from`; false when they cannot be set.
    virtual bool copyAttributes(const char* from, const char* to);
};

// The files of the machine.
CFileSystem& realFileSystem();
