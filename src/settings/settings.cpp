#include "settings/settings.h"

#include <cassert>

#include "base/text.h"
#include "settings/list_text.h"

namespace {

// A negative capacity holds nothing.
int32_t capacityOf(const int32_t* count) {
    assert(count);
    return *count > 0 ? *count : 0;
}

} // namespace

CSettings::~CSettings() = default;

bool CSettings::getBool(const CText& name, bool* out) {
    int32_t value = 0;
    if (!getInt(name, &value)) {
        return false;
    }
    *out = value != 0;
    return true;
}

void CSettings::setBool(const CText& name, bool value) {
    setInt(name, value ? 1 : 0);
}

bool CSettings::getBoolList(const CText& name, int32_t* count, bool* out) {
    const int32_t capacity = capacityOf(count);
    CText text;
    if (!getString(name, &text)) {
        return false;
    }
    *count = readBoolList(text, capacity, out);
    return true;
}

bool CSettings::getIntList(const CText& name, int32_t* count, int32_t* out) {
    const int32_t capacity = capacityOf(count);
    CText text;
    if (!getString(name, &text)) {
        return false;
    }
    *count = readIntList(text, capacity, out);
    return true;
}

bool CSettings::getDoubleList(const CText& name, int32_t* count, double* out) {
    const int32_t capacity = capacityOf(count);
    CText text;
    if (!getString(name, &text)) {
        return false;
    }
    *count = readDoubleList(text, capacity, out);
    return true;
}

bool CSettings::getStringList(const CText& name, int32_t* count, CText* out) {
    const int32_t capacity = capacityOf(count);
    CText text;
    if (!getString(name, &text)) {
        return false;
    }
    *count = readStringList(text, capacity, out);
    return true;
}

void CSettings::setBoolList(const CText& name, int32_t count, const bool* values) {
    setString(name, boolListText(count, values));
}

void CSettings::setIntList(const CText& name, int32_t count, const int32_t* values) {
    setString(name, intListText(count, values));
}

void CSettings::setDoubleList(const CText& name, int32_t count, const double* values) {
    setString(name, doubleListText(count, values));
}

void CSettings::setStringList(const CText& name, int32_t count, const CText* values) {
    setString(name, stringListText(count, values));
}
