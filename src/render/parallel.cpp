// Threads of their own rather than a shared pool: a pool busy with work that waits for these
// pieces could never start them.
#include "render/parallel.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace vlr {

int32_t ParallelWorkers() {
    return int32_t(std::clamp(std::thread::hardware_concurrency(), 1u, 64u));
}

void ForEachInParallel(int32_t count, const std::function<void(int32_t)>& work) {
    std::atomic<int32_t> next{0};
    auto takeAndDo = [&] {
        for (int32_t piece = next++; piece < count; piece = next++) {
            work(piece);
        }
    };
    std::vector<std::thread> helpers;
    const int32_t wanted = std::min(ParallelWorkers(), count) - 1;
    for (int32_t i = 0; i < wanted; ++i) {
        try {
            helpers.emplace_back(takeAndDo);
        } catch (const std::system_error&) {
            break; // the pieces left are done by the threads there are
        }
    }
    takeAndDo();
    for (std::thread& helper : helpers) {
        helper.join();
    }
}

} // namespace vlr
