#pragma once
// CSettings: named values of a few types, kept between runs.
//
// A concrete store supplies the eight storage primitives (the four readers and the
// four writers of int, double, string and binary); booleans and the lists are built
// here on the int and string primitives, so every store shares their text forms:
//
//   bool list    one character per item, "1" or "0"               true,false,true -> 101
//   int list     decimal numbers separated by ","                  12,34,-5
//   string list  each item in double quotes, items separated by "," "a","b"
//   double list  shortest round-trip decimals separated by ","    0.5,-2,1e+300
//
// Negative numbers in an int list carry a "-" right before their digits; a "-" that
// follows a digit, like every other character, only separates. A double quote inside
// a string-list item is written twice. The double list is stored like the int list,
// with the same "." and sign in every locale.
//
// Readers return false when the value is missing or unreadable and then leave *out
// (and a list's *count) unchanged, so that callers keep their defaults. A list reader
// takes the capacity of out in *count and returns the number of items stored there.

#include <cstdint>

class CText;

class CSettings {
public:
    CSettings() = default;
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;
    virtual ~CSettings();

    virtual bool getBool(const CText& name, bool* out);
    virtual bool getInt(const CText& name, int32_t* out) = 0;
    virtual bool getDouble(const CText& name, double* out) = 0;
    virtual bool getString(const CText& name, CText* out) = 0;
    // *size: the capacity of data on entry, the number of bytes read on return.
    virtual bool getBinary(const CText& name, void* data, int32_t* size) = 0;
    virtual bool getBoolList(const CText& name, int32_t* count, bool* out);
    virtual bool getIntList(const CText& name, int32_t* count, int32_t* out);
    virtual bool getDoubleList(const CText& name, int32_t* count, double* out);
    virtual bool getStringList(const CText& name, int32_t* count, CText* out);

    virtual void setBool(const CText& name, bool value);
    virtual void setInt(const CText& name, int32_t value) = 0;
    virtual void setDouble(const CText& name, double value) = 0;
    virtual void setString(const CText& name, const CText& value) = 0;
    virtual void setBinary(const CText& name, const void* data, int32_t size) = 0;
    virtual void setBoolList(const CText& name, int32_t count, const bool* values);
    virtual void setIntList(const CText& name, int32_t count, const int32_t* values);
    virtual void setDoubleList(const CText& name, int32_t count, const double* values);
    virtual void setStringList(const CText& name, int32_t count, const CText* values);
};
