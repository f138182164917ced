#pragma once
// CRegistrySettings: the settings store over one registry key under HKEY_CURRENT_USER.
//
// How each type is stored:
//   int, bool  a 32-bit integer value (bool as 1 or 0, any non-zero reads as true)
//   double     a binary value of the double's 8 bytes
//   string     a binary value of the 8-bit characters, without a terminating zero
//   binary     a binary value of the given bytes
//   lists      as strings, in the text forms of settings.h
//
// A string is read into a buffer of MAX_STRING_BYTES: a value of up to that many bytes
// reads whole (the text keeps its own length, so no byte is given up to a terminator);
// a longer one is written as given but reads as missing. A zero byte ends the text.
// A value stored as another type than the reader's reads as missing, so that the
// caller keeps its default: a number where a string, a double or binary is read, text or
// bytes where an int is read. Text typed into the file by hand reads as a string. An
// int or double whose stored size is not its own (a damaged file) reads as missing too.

#include "base/text.h"
#include "settings/settings.h"

class CRegistrySettings : public CSettings {
public:
    static constexpr uint32_t MAX_STRING_BYTES = 1024;

    // key: the registry path under HKEY_CURRENT_USER, with backslashes.
    explicit CRegistrySettings(const char* key);

    bool getInt(const CText& name, int32_t* out) override;
    bool getDouble(const CText& name, double* out) override;
    bool getString(const CText& name, CText* out) override;
    bool getBinary(const CText& name, void* data, int32_t* size) override;

    // A writer that cannot store its value leaves the store as it was, without a message.
    void setInt(const CText& name, int32_t value) override;
    void setDouble(const CText& name, double value) override;
    void setString(const CText& name, const CText& value) override;
    void setBinary(const CText& name, const void* data, int32_t size) override;

    const CText& key() const { return m_key; }

private:
    CText m_key;
};
