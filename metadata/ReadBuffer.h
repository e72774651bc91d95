#pragma once

#include <memory>
#include <new>
#include <utility>
#include <vector>

// An allocator that leaves the elements a resize adds unset: a buffer grown
// to be filled by a read or an inflate at once need not be zeroed first
// (half a megabyte for a depth map's XMP; for the directories, chunks and
// boxes of the other formats, a fifteenth of all their reading).
template <class T> class UnsetAllocator : public std::allocator<T> {
public:
    template <class U> struct rebind { using other = UnsetAllocator<U>; };
    UnsetAllocator() = default;
    template <class U> UnsetAllocator(const UnsetAllocator<U>&) noexcept {}

    template <class U> void construct(U* at) noexcept { ::new (static_cast<void*>(at)) U; }
    template <class U, class... Args> void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};

// Bytes read or inflated straight into place.
using ReadBuffer = std::vector<unsigned char, UnsetAllocator<unsigned char>>;
