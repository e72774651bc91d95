#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <type_traits>
#include <vector>

// A list that keeps up to N items inside itself and only longer lists in a
// heap block. Most tag values have one to four components: a heap block for
// each would cost more than the rest of the entry.
template <typename T, size_t N> class InlineList {
public:
    InlineList() = default;
    InlineList(std::initializer_list<T> items) { assign(items.begin(), items.end()); }
    InlineList(const InlineList& other) { assign(other.begin(), other.end()); }
    InlineList(InlineList&& other) noexcept { Take(other); }
    InlineList& operator=(const InlineList& other) {
        if (this != &other)
            assign(other.begin(), other.end());
        return *this;
    }
    InlineList& operator=(InlineList&& other) noexcept {
        if (this != &other)
            Take(other);
        return *this;
    }

    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    const T* data() const { return m_size <= N ? m_inline : m_heap.data(); }
    T* data() { return m_size <= N ? m_inline : m_heap.data(); }
    const T* begin() const { return data(); }
    const T* end() const { return data() + m_size; }
    T* begin() { return data(); }
    T* end() { return data() + m_size; }
    const T& operator[](size_t i) const { return data()[i]; }
    T& operator[](size_t i) { return data()[i]; }
    const T& front() const { return data()[0]; }
    const T& back() const { return data()[m_size - 1]; }

    void clear() {
        m_size = 0;
        m_heap.clear();
    }
    void reserve(size_t count) {
        if (count > N)
            m_heap.reserve(count);
    }
    void push_back(const T& item) {
        if (m_size < N) {
            m_inline[m_size++] = item;
            return;
        }
        if (m_size == N)
            m_heap.assign(m_inline, m_inline + N);
        m_heap.push_back(item);
        ++m_size;
    }
    template <typename Iterator> void assign(Iterator first, Iterator last) {
        clear();
        for (; first != last; ++first)
            push_back(*first);
    }

    bool operator==(const InlineList& other) const {
        return std::equal(begin(), end(), other.begin(), other.end());
    }

private:
    void Take(InlineList& other) {
        // The inline room whole, in a few fixed moves (its unused items are
        // never read): entries are moved in and out of lists all the time.
        static_assert(std::is_trivially_copyable_v<T>);
        std::memcpy(m_inline, other.m_inline, sizeof m_inline);
        m_heap = std::move(other.m_heap);
        m_size = other.m_size;
        other.m_heap.clear();
        other.m_size = 0;
    }

    // Only the first m_size items are ever read: the rest are left
    // unset, which saves zeroing them for every entry made.
    T m_inline[N];
    size_t m_size = 0;
    std::vector<T> m_heap; // every item, once there are more than N
};
