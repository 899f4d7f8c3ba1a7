#pragma once

namespace tagwarden {

// Asks for the cache line at `address` to be brought in ahead of its use; a hint only.
inline void prefetch(const void* address)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

}  // namespace tagwarden
