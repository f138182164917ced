#pragma once
// Registry values under HKEY_CURRENT_USER, kept in an INI file in the
// configuration folder (under the root folder when one is set).
//
// Values are 32-bit integers or blocks of bytes (strings are byte blocks
// too). A read copies the value into the caller's buffer and fails when the
// key or value is missing or the value is larger than the buffer.
//
// The file keeps each value's type in its form: an integer is a plain decimal
// number ("IDC_CBSOUND=1"), a byte block is "@ByteArray(...)". A plain value
// that is not a decimal 32-bit integer can only have been typed into the file
// by hand: it reads as text, its UTF-8 bytes.

#include <cstdint>
#include <string>

namespace platform {

// text is never written, only found in the file.
enum class RegistryType { dword, binary, text };

bool registryKeyExists(const char* key);
// *type, when given, receives the stored type of the value read.
bool registryRead(const char* key, const char* name, void* data, uint32_t* size,
                  RegistryType* type = nullptr);
// False when the value could not be stored on disk, or type is text.
bool registryWrite(const char* key, const char* name, RegistryType type, const void* data,
                   uint32_t size);
bool registryDeleteValue(const char* key, const char* name);
// The file the values live in.
std::string registryFilePath();
// Forgets the open file, so that the next access reads the file of the current root again.
void registryReopen();

} // namespace platform
