#pragma once
// CText: the 8-bit, zero-terminated text every subsystem passes around.
//
// Texts of up to 15 characters live in the inline buffer and never touch the
// heap. The owner field names the object that may free the heap block: an image
// of a CText copied byte for byte names another object and so never frees the
// block it shares. No operation reports failure; when memory runs out the text
// is left exactly as it was.

#include <cstdint>

class CText {
public:
    static constexpr uint32_t INLINE_CAPACITY = 16;

    CText();
    explicit CText(char c);
    CText(const char* text);
    CText(const CText& other);
    ~CText();

    CText& operator=(const char* text);
    CText& operator=(const CText& other);

    CText& append(const CText& other);
    CText& append(const char* text);
    CText& append(char c);
    CText& operator+=(const CText& other) { return append(other); }
    CText& operator+=(const char* text) { return append(text); }
    CText& operator+=(char c) { return append(c); }

    const char* data() const { return m_data; }
    const char* c_str() const { return m_data; }
    uint32_t length() const { return m_length; }
    uint32_t capacity() const { return m_capacity; }
    bool isEmpty() const { return m_length == 0; }
    bool isInline() const { return m_data == m_inline; }
    char operator[](uint32_t index) const { return m_data[index]; }

    // 1 when needle occurs in the text, both folded to lower case; an empty needle is always found.
    int containsNoCase(const CText& needle) const;

    static char lowerCase(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

    friend bool operator==(const CText& a, const CText& b);
    friend bool operator!=(const CText& a, const CText& b) { return !(a == b); }
    friend bool operator==(const CText& a, const char* b);
    friend bool operator!=(const CText& a, const char* b) { return !(a == b); }

private:
    // Grows the storage so that it holds at least `needed` bytes; false when memory ran out.
    bool reserveBytes(uint32_t needed, uint32_t newCapacity);
    CText& appendBytes(const char* text, uint32_t count);

    char m_inline[INLINE_CAPACITY];
    char* m_data;
    uint32_t m_length;
    uint32_t m_capacity;
    const CText* m_owner;
};
// Inline buffer, data pointer, length, capacity, owner: in that order, nothing else.
static_assert(sizeof(CText) == CText::INLINE_CAPACITY + 2 * sizeof(void*) + 2 * sizeof(uint32_t),
              "CText is its inline buffer, two pointers and two counts");
