// Work split over two threads: the one place where the tabulation and the
// results' layout start a second thread for the second half of their work.
#pragma once

#include <thread>
#include <utility>

namespace parallel {

// Runs `second` on a thread of its own while `first` runs on the caller's,
// and returns once both have ended (also when `first` throws).
template <typename First, typename Second>
void InTwoThreads(First&& first, Second&& second) {
    const std::jthread other(std::forward<Second>(second));
    std::forward<First>(first)();
}

}  // namespace parallel
