#pragma once
// The text forms of the lists a settings store keeps as one string value (the forms
// are described in settings.h). Each reader stores at most capacity items in out and
// returns how many it stored; text that is no item is skipped, never an error.

#include <cstdint>

class CText;

CText boolListText(int32_t count, const bool* values);
int32_t readBoolList(const CText& text, int32_t capacity, bool* out);

CText intListText(int32_t count, const int32_t* values);
int32_t readIntList(const CText& text, int32_t capacity, int32_t* out);

CText doubleListText(int32_t count, const double* values);
int32_t readDoubleList(const CText& text, int32_t capacity, double* out);

CText stringListText(int32_t count, const CText* values);
int32_t readStringList(const CText& text, int32_t capacity, CText* out);
