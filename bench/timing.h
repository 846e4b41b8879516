// Wall-clock timing for the benchmark's lines.
#pragma once

#include <chrono>

namespace bench {

template <typename Work>
double Millis(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace bench
