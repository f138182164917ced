#pragma once
// CArray: the growable array behind the children of a move-tree node (pointers)
// and lines of moves (CMove values).
//
// Growth never fails loudly: when a larger block cannot be had the array keeps
// what it holds and the pushed value is dropped. Fresh blocks are filled with
// the element type's "empty" value (EMPTY_MOVE for moves, null for pointers).

#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

template <typename T> struct CArrayEmpty {
    static T value() { return T(); }
};

template <typename T> class CArray {
    static_assert(std::is_trivially_copyable_v<T>, "CArray holds plain values");

public:
    static constexpr uint32_t MIN_RESERVE = 8;

    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    CArray(CArray&& other) noexcept
        : m_items(other.m_items), m_count(other.m_count), m_capacity(other.m_capacity) {
        other.m_items = nullptr;
        other.m_count = other.m_capacity = 0;
    }
    CArray& operator=(CArray&& other) noexcept {
        if (this != &other) {
            delete[] m_items;
            m_items = other.m_items;
            m_count = other.m_count;
            m_capacity = other.m_capacity;
            other.m_items = nullptr;
            other.m_count = other.m_capacity = 0;
        }
        return *this;
    }
    ~CArray() { delete[] m_items; }

    // Below the current capacity nothing happens; otherwise the block becomes max(n, 8) x 2.
    void reserve(uint32_t n) {
        if (n < m_capacity) return;
        const uint32_t wanted = n < MIN_RESERVE ? MIN_RESERVE : n;
        if (wanted > UINT32_MAX / 2 / sizeof(T)) return;
        const uint32_t newCapacity = wanted * 2;
        T* block = new (std::nothrow) T[newCapacity];
        if (!block) return;
        for (uint32_t i = 0; i < newCapacity; ++i)
            block[i] = CArrayEmpty<T>::value();
        if (m_items) std::memcpy(static_cast<void*>(block), m_items, m_capacity * sizeof(T));
        delete[] m_items;
        m_items = block;
        m_capacity = newCapacity;
    }

    void push(const T& value) {
        if (m_count >= m_capacity) reserve(m_capacity);
        if (m_count < m_capacity) m_items[m_count++] = value;
    }

    // Removes [first, last) keeping the order of what follows; returns first.
    uint32_t erase(uint32_t first, uint32_t last) {
        if (last > m_count) last = m_count;
        if (first >= last) return first;
        std::memmove(static_cast<void*>(m_items + first), m_items + last,
                     (m_count - last) * sizeof(T));
        m_count -= last - first;
        return first;
    }

    void clear() { m_count = 0; }

    T* items() { return m_items; }
    const T* items() const { return m_items; }
    uint32_t count() const { return m_count; }
    uint32_t capacity() const { return m_capacity; }
    bool isEmpty() const { return m_count == 0; }
    T& operator[](uint32_t index) { return m_items[index]; }
    const T& operator[](uint32_t index) const { return m_items[index]; }
    T* begin() { return m_items; }
    T* end() { return m_items + m_count; }
    const T* begin() const { return m_items; }
    const T* end() const { return m_items + m_count; }

private:
    T* m_items = nullptr;
    uint32_t m_count = 0;
    uint32_t m_capacity = 0;
};
static_assert(sizeof(CArray<void*>) == sizeof(void*) + 2 * sizeof(uint32_t),
              "CArray is its block pointer, count and capacity");
