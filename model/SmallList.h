#pragma once
// A list that keeps its first N items inside itself and moves them to the
// heap only when it grows beyond them. Most layout elements have one or two
// positions and one decoration, and a sheet may hold a million elements: a
// heap block per list would be most of their memory and of the time spent
// reading them.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

template <class T, std::size_t N>
class CSmallList {
public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;
    using size_type = std::size_t;

    CSmallList() = default;
    ~CSmallList()
    {
        clear();
        ReleaseHeap();
    }
    CSmallList(const CSmallList&) = delete;
    CSmallList& operator=(const CSmallList&) = delete;

    std::size_t size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }

    T* data() { return IsOnHeap() ? m_pHeap : std::launder(reinterpret_cast<T*>(m_arInline)); }
    const T* data() const { return IsOnHeap() ? m_pHeap : std::launder(reinterpret_cast<const T*>(m_arInline)); }
    T* begin() { return data(); }
    T* end() { return data() + m_nSize; }
    const T* begin() const { return data(); }
    const T* end() const { return data() + m_nSize; }
    T& operator[](std::size_t i) { return data()[i]; }
    const T& operator[](std::size_t i) const { return data()[i]; }

    /// Appends an item; throws std::bad_alloc when the memory is exhausted,
    /// as std::vector does.
    void push_back(T item)
    {
        if (m_nSize == m_nCapacity)
            Grow();
        ::new (static_cast<void*>(data() + m_nSize)) T(std::move(item));
        ++m_nSize;
    }

    /// Removes the items [first, last); the later ones move up.
    void erase(T* first, T* last)
    {
        T* const pEnd = end();
        T* pTo = first;
        for (T* pFrom = last; pFrom != pEnd; ++pFrom, ++pTo)
            *pTo = std::move(*pFrom);
        for (T* p = pTo; p != pEnd; ++p)
            p->~T();
        m_nSize -= static_cast<std::uint32_t>(last - first);
    }

    void clear() { erase(begin(), end()); }

    /// Gives back the heap block when the list is empty.
    void shrink_to_fit()
    {
        if (m_nSize == 0)
            ReleaseHeap();
    }

private:
    bool IsOnHeap() const { return m_nCapacity > N; }

    void Grow()
    {
        if (m_nCapacity > UINT32_MAX / 2)
            throw std::length_error("CSmallList");
        const std::uint32_t nCapacity = m_nCapacity * 2;
        T* const pNew = std::allocator<T>().allocate(nCapacity);
        T* const pOld = data();
        for (std::uint32_t i = 0; i < m_nSize; ++i) {
            ::new (static_cast<void*>(pNew + i)) T(std::move(pOld[i]));
            pOld[i].~T();
        }
        ReleaseHeap();
        m_pHeap = pNew;
        m_nCapacity = nCapacity;
    }

    void ReleaseHeap()
    {
        if (IsOnHeap())
            std::allocator<T>().deallocate(m_pHeap, m_nCapacity);
        m_nCapacity = N;
    }

    union {
        alignas(T) unsigned char m_arInline[N * sizeof(T)];
        T* m_pHeap;
    };
    std::uint32_t m_nSize = 0;
    std::uint32_t m_nCapacity = N;
};
