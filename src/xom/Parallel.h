#pragma once

#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>

namespace xom {

// Runs first here and second on a thread of its own, at once; they must
// touch disjoint memory. An exception from either is thrown here once both
// have ended, the first's before the second's. When no thread can be
// started, they run one after the other.
template <typename First, typename Second> void bothAtOnce(const First& first, const Second& second)
{
    std::exception_ptr failed;
    std::thread other;
    try {
        other = std::thread([&] {
            try {
                second();
            } catch (...) {
                failed = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        first();
        second();
        return;
    }
    try {
        first();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (failed)
        std::rethrow_exception(failed);
}

// bothAtOnce when together holds, otherwise first and then second here: for
// work that pays for a second thread only when it is large.
template <typename First, typename Second>
void bothAtOnceIf(const bool together, const First& first, const Second& second)
{
    if (together) {
        bothAtOnce(first, second);
    } else {
        first();
        second();
    }
}

// Whether work over count items pays for a second thread.
[[nodiscard]] inline bool worthTwoThreads(const std::size_t count) noexcept
{
    constexpr std::size_t WorthAThread = 1 << 16;
    return count >= WorthAThread && std::thread::hardware_concurrency() >= 2;
}

// Runs work(begin, end) over 0 .. count split in two halves, the second on a
// thread of its own, when count is large enough to pay for the thread; the
// halves must touch disjoint memory.
template <typename Work> void inTwoHalves(const std::size_t count, const Work& work)
{
    if (!worthTwoThreads(count)) {
        work(std::size_t{0}, count);
        return;
    }
    const std::size_t middle = count / 2;
    bothAtOnce([&] { work(std::size_t{0}, middle); }, [&] { work(middle, count); });
}

} // namespace xom
