#pragma once

// The hints the code gives the compiler and the processor, each written once
// for GCC, Clang and MSVC, so that no other file names a compiler's own
// built-in. A hint never changes a result: where a compiler has no way to
// give it, it compiles to nothing and the code only runs a little slower.

#if !defined(__GNUC__) && defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
#include <xmmintrin.h>
#endif

namespace text {

// Asks for the cache line that holds address, to be read soon, so that the
// wait for memory overlaps the work before the read. Never faults, even for
// an address that is not readable.
inline void prefetchForRead(const void* const address) noexcept
{
#if defined(__GNUC__)
    // GCC, and Clang, which defines __GNUC__ too (clang-cl included): read,
    // kept in every cache level.
    __builtin_prefetch(address, 0, 3);
#elif defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
    // MSVC on x86 and x64: the SSE instruction every such processor has,
    // into every cache level, as above.
    _mm_prefetch(static_cast<const char*>(address), _MM_HINT_T0);
#else
    // MSVC on ARM, or another compiler: no hint this header can rely on.
    static_cast<void>(address);
#endif
}

// Asks for the cache line that holds address, to be written soon. As
// prefetchForRead otherwise.
inline void prefetchForWrite(const void* const address) noexcept
{
#if defined(__GNUC__)
    // GCC and Clang: write, kept in every cache level; the line arrives
    // ready to be written where the processor can say so.
    __builtin_prefetch(address, 1, 3);
#elif defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
    // MSVC on x86 and x64: a write prefetch needs an instruction not every
    // such processor has; fetching the line to read still saves the wait.
    _mm_prefetch(static_cast<const char*>(address), _MM_HINT_T0);
#else
    // MSVC on ARM, or another compiler: no hint this header can rely on.
    static_cast<void>(address);
#endif
}

} // namespace text
