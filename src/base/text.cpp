#include "base/text.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

CText::CText() : m_data(m_inline), m_length(0), m_capacity(INLINE_CAPACITY), m_owner(this) {
    m_inline[0] = 0;
}

CText::CText(char c) : CText() {
    append(c);
}

CText::CText(const char* text) : CText() {
    append(text);
}

CText::CText(const CText& other) : CText() {
    append(other);
}

CText::~CText() {
    if (m_data != m_inline && m_owner == this) std::free(m_data);
}

bool CText::reserveBytes(uint32_t needed, uint32_t newCapacity) {
    if (needed <= m_capacity) return true;
    if (m_data == m_inline) {
        char* block = static_cast<char*>(std::malloc(newCapacity));
        if (!block) return false;
        std::memcpy(block, m_inline, m_length + 1);
        m_data = block;
    } else {
        char* block = static_cast<char*>(std::realloc(m_data, newCapacity));
        if (!block) return false;
        m_data = block;
    }
    m_capacity = newCapacity;
    return true;
}

CText& CText::operator=(const char* text) {
    if (text == m_data) return *this;
    const size_t size = std::strlen(text);
    if (size >= UINT32_MAX / 2 - 2) return *this;
    const auto newLength = static_cast<uint32_t>(size);
    if (!reserveBytes(newLength + 1, (newLength + 1) * 2)) return *this;
    std::memmove(m_data, text, newLength + 1);
    m_length = newLength;
    return *this;
}

CText& CText::operator=(const CText& other) {
    if (&other == this) return *this;
    return *this = other.m_data;
}

CText& CText::appendBytes(const char* text, uint32_t count) {
    if (count >= UINT32_MAX / 2 - 2 - m_length) return *this;
    const uint32_t newLength = m_length + count;
    // A text taken from this very object would move with it when the block grows.
    const bool ownText = text >= m_data && text <= m_data + m_length;
    const ptrdiff_t ownOffset = ownText ? text - m_data : 0;
    if (!reserveBytes(newLength + 1, (newLength + 2) * 2)) return *this;
    if (ownText) text = m_data + ownOffset;
    std::memmove(m_data + m_length, text, count);
    m_length = newLength;
    m_data[m_length] = 0;
    return *this;
}

CText& CText::append(const CText& other) {
    return appendBytes(other.m_data, other.m_length);
}

CText& CText::append(const char* text) {
    const size_t size = std::strlen(text);
    if (size >= UINT32_MAX / 2) return *this;
    return appendBytes(text, static_cast<uint32_t>(size));
}

CText& CText::append(char c) {
    if (c == 0 || m_length >= UINT32_MAX / 2 - 2) return *this;
    const uint32_t newLength = m_length + 1;
    if (!reserveBytes(newLength + 1, (newLength + 1) * 2)) return *this;
    m_data[m_length] = c;
    m_length = newLength;
    m_data[m_length] = 0;
    return *this;
}

int CText::containsNoCase(const CText& needle) const {
    if (needle.m_length == 0) return 1;
    if (needle.m_length > m_length) return 0;
    for (uint32_t start = 0; start + needle.m_length <= m_length; ++start) {
        uint32_t i = 0;
        while (i < needle.m_length && lowerCase(m_data[start + i]) == lowerCase(needle.m_data[i]))
            ++i;
        if (i == needle.m_length) return 1;
    }
    return 0;
}

bool operator==(const CText& a, const CText& b) {
    return a.m_length == b.m_length && std::memcmp(a.m_data, b.m_data, a.m_length) == 0;
}

bool operator==(const CText& a, const char* b) {
    return std::strcmp(a.m_data, b) == 0;
}
