// Work split over the cores: every piece done once, whatever the count.
#include "render/parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace vlr {
namespace {

TEST(ForEachInParallel, DoesEveryPieceExactlyOnce) {
    for (const int32_t count : {0, 1, 2, 3, 1000}) {
        const auto done = std::make_unique<std::atomic<int>[]>(size_t(count) + 1);
        ForEachInParallel(count, [&](int32_t piece) { ++done[size_t(piece)]; });
        for (int32_t piece = 0; piece < count; ++piece) {
            EXPECT_EQ(done[size_t(piece)], 1) << "piece " << piece << " of " << count;
        }
    }
    EXPECT_GE(ParallelWorkers(), 1);
}

} // namespace
} // namespace vlr
