#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

#include "core/io/native_file.h"

namespace tagwarden {

// Memory for the big arrays of a million-entry directory and its list: one block
// of the system's (large pages once it is large), whose values are left as they
// come (not zeroed) until written. Fresh small pages cost a fault every 4 KiB,
// which is most of the time such arrays take to fill.
template <class T>
struct LargePageAllocator {
    using value_type = T;

    LargePageAllocator() = default;
    template <class U>
    LargePageAllocator(const LargePageAllocator<U>& /*other*/) noexcept
    {
    }

    [[nodiscard]] T* allocate(std::size_t count) { return static_cast<T*>(native::allocateBlock(count * sizeof(T))); }
    void deallocate(T* values, std::size_t /*count*/) noexcept { native::releaseBlock(values); }

    // Growing by resize() leaves plain values unset: they are about to be written.
    template <class U>
    void construct(U* place) noexcept(noexcept(U()))
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <class U, class... Args>
    void construct(U* place, Args&&... args)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const LargePageAllocator<U>& /*other*/) const noexcept
    {
        return true;
    }
};

template <class T>
using LargePageVector = std::vector<T, LargePageAllocator<T>>;

}  // namespace tagwarden
