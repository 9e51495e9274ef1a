#pragma once

#include <algorithm>
#include <cstddef>
#include <exception>
#include <thread>

namespace xom {

// Runs work(begin, end) over 0 .. count split in two halves, the second on a
// thread of its own, when count is large enough to pay for the thread; the
// halves must touch disjoint memory. An exception from either half is
// thrown here once both have ended.
template <typename Work> void inTwoHalves(const std::size_t count, const Work& work)
{
    constexpr std::size_t WorthAThread = 1 << 16;
    if (count < WorthAThread || std::thread::hardware_concurrency() < 2) {
        work(std::size_t{0}, count);
        return;
    }
    const std::size_t middle = count / 2;
    std::exception_ptr failed;
    std::thread second([&] {
        try {
            work(middle, count);
        } catch (...) {
            failed = std::current_exception();
        }
    });
    try {
        work(std::size_t{0}, middle);
    } catch (...) {
        second.join();
        throw;
    }
    second.join();
    if (failed)
        std::rethrow_exception(failed);
}

} // namespace xom
