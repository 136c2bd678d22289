#include "towav/WorkerPool.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <vector>

namespace {

// Job i sends 1000 (i + 1) copies of i in two pieces, the early jobs slowest, so that later
// jobs are done while an earlier one still runs.
bool Job(std::size_t index, const WorkerPool::Output& output) {
    usleep(static_cast<useconds_t>((12 - index) * 2000));
    const std::vector<std::int16_t> half(500 * (index + 1), static_cast<std::int16_t>(index));
    return output(half) && output(half);
}

} // namespace

TEST(WorkerPool, DeliversEveryJobWholeAndInOrderAndFailsWithAFailedJob) {
    std::vector<std::int16_t> expected;
    for (std::size_t index = 0; index < 12; ++index)
        expected.insert(expected.end(), 1000 * (index + 1), static_cast<std::int16_t>(index));
    std::vector<std::int16_t> delivered;
    EXPECT_TRUE(WorkerPool::Run(12, 3, Job, [&](std::size_t, std::span<const std::int16_t> part) {
        delivered.insert(delivered.end(), part.begin(), part.end());
        return true;
    }));
    EXPECT_EQ(delivered, expected);

    const auto failingFifth = [](std::size_t index, const WorkerPool::Output& output) {
        return index != 5 && Job(index, output);
    };
    EXPECT_FALSE(WorkerPool::Run(12, 3, failingFifth,
                                 [](std::size_t, std::span<const std::int16_t>) { return true; }));
}
