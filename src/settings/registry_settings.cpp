#include "settings/registry_settings.h"

#include <algorithm>
#include <cassert>
#include <initializer_list>

#include "platform/ui/registry.h"

using platform::RegistryType;

CRegistrySettings::CRegistrySettings(const char* key) : m_key(key) {}

namespace {

// Reads a value of one of the stored types wanted; any other reads as missing.
bool readAs(const CText& key, const CText& name, void* data, uint32_t* size,
            std::initializer_list<RegistryType> wanted) {
    RegistryType stored = RegistryType::binary;
    return platform::registryRead(key.c_str(), name.c_str(), data, size, &stored) &&
           std::find(wanted.begin(), wanted.end(), stored) != wanted.end();
}

} // namespace

bool CRegistrySettings::getInt(const CText& name, int32_t* out) {
    int32_t value = 0;
    uint32_t size = sizeof value;
    if (!readAs(m_key, name, &value, &size, {RegistryType::dword}) || size != sizeof value) {
        return false;
    }
    *out = value;
    return true;
}

bool CRegistrySettings::getDouble(const CText& name, double* out) {
    double value = 0;
    uint32_t size = sizeof value;
    if (!readAs(m_key, name, &value, &size, {RegistryType::binary}) || size != sizeof value) {
        return false;
    }
    *out = value;
    return true;
}

bool CRegistrySettings::getString(const CText& name, CText* out) {
    char buffer[MAX_STRING_BYTES + 1];
    uint32_t size = MAX_STRING_BYTES;
    // Text typed into the file by hand is a string too; a number is not.
    if (!readAs(m_key, name, buffer, &size, {RegistryType::binary, RegistryType::text})) {
        return false;
    }
    buffer[size] = 0;
    *out = buffer;
    return true;
}

bool CRegistrySettings::getBinary(const CText& name, void* data, int32_t* size) {
    assert(size);
    uint32_t capacity = *size > 0 ? uint32_t(*size) : 0;
    if (!readAs(m_key, name, data, &capacity, {RegistryType::binary})) {
        return false;
    }
    *size = int32_t(capacity);
    return true;
}

void CRegistrySettings::setInt(const CText& name, int32_t value) {
    platform::registryWrite(m_key.c_str(), name.c_str(), RegistryType::dword, &value, sizeof value);
}

void CRegistrySettings::setDouble(const CText& name, double value) {
    static_assert(sizeof(double) == 8, "a double is stored as its eight bytes");
    platform::registryWrite(m_key.c_str(), name.c_str(), RegistryType::binary, &value,
                            sizeof value);
}

void CRegistrySettings::setString(const CText& name, const CText& value) {
    platform::registryWrite(m_key.c_str(), name.c_str(), RegistryType::binary, value.data(),
                            value.length());
}

void CRegistrySettings::setBinary(const CText& name, const void* data, int32_t size) {
    assert(size <= 0 || data);
    platform::registryWrite(m_key.c_str(), name.c_str(), RegistryType::binary, data,
                            size > 0 ? uint32_t(size) : 0);
}
