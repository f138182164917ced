#include "database/file_replacement.h"

#include <filesystem>
#include <ostream>

#include "database/file_system.h"

CFileReplacement::CFileReplacement(CFileSystem& files, const char* path)
    : m_files(files), m_path(path) {}

CFileReplacement::~CFileReplacement() {
    abandon();
}

bool CFileReplacement::fail(Fault fault) {
    m_fault = fault;
    abandon();
    return false;
}

bool CFileReplacement::begin() {
    m_fault = Fault::NONE;
    m_target = m_files.linkTarget(m_path.c_str());
    // Renaming over a file replaces it even where writing it is not allowed:
    // that has to be asked first.
    if (m_target.empty() || !m_files.mayWrite(m_target.c_str()))
        return fail(Fault::WRITE_PROTECTED);
    // Beside the target, not the link: a rename cannot cross file systems.
    m_temporary = m_target + ".tmp";
    m_out = m_files.openForWriting(m_temporary.c_str(), false);
    if (!m_out) return fail(Fault::CANNOT_CREATE);
    m_made = true;
    return true;
}

std::ostream& CFileReplacement::out() {
    return *m_out;
}

bool CFileReplacement::commit() {
    if (!m_out) return fail(Fault::CANNOT_CREATE);
    m_out->flush();
    const bool written = m_out->good();
    m_out.reset();
    if (!written) return fail(Fault::WRITE_FAILED);
    const char* target = m_target.c_str();
    const char* temporary = m_temporary.c_str();
    std::error_code error;
    const bool existed = std::filesystem::exists(target, error);
    if (existed && !m_files.copyAttributes(target, temporary)) return fail(Fault::WRITE_FAILED);

    // The old file waits under the backup name until the new one is in place,
    // and comes back if it cannot be.
    const std::string backup = m_target + ".bak";
    if (existed) {
        m_files.removeFile(backup.c_str());
        if (!m_files.renameFile(target, backup.c_str())) return fail(Fault::RENAME_FAILED);
    }
    if (!m_files.renameFile(temporary, target)) {
        if (existed) m_files.renameFile(backup.c_str(), target);
        return fail(Fault::RENAME_FAILED);
    }
    m_made = false;
    if (existed) m_files.removeFile(backup.c_str());
    return true;
}

void CFileReplacement::abandon() {
    m_out.reset();
    if (m_made) m_files.removeFile(m_temporary.c_str());
    m_made = false;
}
