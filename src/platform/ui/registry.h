#pragma once
// Registry values under HKEY_CURRENT_USER, kept in an INI file in the
// configuration folder (under the root folder when one is set).
//
// Values are 32-bit integers or blocks of bytes (strings are byte blocks
// too). A read copies the value into the caller's buffer and fails when the
// key or value is missing or the value is larger than the buffer.

#include <cstdint>
#include <string>

namespace platform {

enum class RegistryType { dword, binary };

bool registryKeyExists(const char* key);
bool registryRead(const char* key, const char* name, void* data, uint32_t* size);
// False when the value could not be stored on disk.
bool registryWrite(const char* key, const char* name, RegistryType type, const void* data,
                   uint32_t size);
bool registryDeleteValue(const char* key, const char* name);
// The file the values live in.
std::string registryFilePath();
// Forgets the open file, so that the next access reads the file of the current root again.
void registryReopen();

} // namespace platform
