#include "settings/registry_settings.h"

#include <cassert>

#include "platform/ui/registry.h"

using platform::RegistryType;

CRegistrySettings::CRegistrySettings(const char* key) : m_key(key) {}

bool CRegistrySettings::getInt(const CText& name, int32_t* out) {
    int32_t value = 0;
    uint32_t size = sizeof value;
    if (!platform::registryRead(m_key.c_str(), name.c_str(), &value, &size) ||
        size != sizeof value) {
        return false;
    }
    *out = value;
    return true;
}

bool CRegistrySettings::getDouble(const CText& name, double* out) {
    double value = 0;
    uint32_t size = sizeof value;
    if (!platform::registryRead(m_key.c_str(), name.c_str(), &value, &size) ||
        size != sizeof value) {
        return false;
    }
    *out = value;
    return true;
}

bool CRegistrySettings::getString(const CText& name, CText* out) {
    char buffer[MAX_STRING_BYTES + 1];
    uint32_t size = MAX_STRING_BYTES;
    if (!platform::registryRead(m_key.c_str(), name.c_str(), buffer, &size)) {
        return false;
    }
    buffer[size] = 0;
    *out = buffer;
    return true;
}

bool CRegistrySettings::getBinary(const CText& name, void* data, int32_t* size) {
    assert(size);
    uint32_t capacity = *size > 0 ? uint32_t(*size) : 0;
    if (!platform::registryRead(m_key.c_str(), name.c_str(), data, &capacity)) {
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
