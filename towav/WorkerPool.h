#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

// Runs numbered jobs in child processes of the converter, a few at a time, and hands their
// samples back in the jobs' order. Each job gets a child of its own, forked from the
// converter as it was before any job ran, so a job's result does not depend on which
// jobs ran before it. A child dies with the converter.
class WorkerPool {
  public:
    // Runs in the child: the job's samples, or nothing when it failed.
    using Job = std::function<std::optional<std::vector<std::int16_t>>(std::size_t index)>;
    // Runs in the converter, once per job in order; returning false stops the pool.
    using Delivery = std::function<bool(std::size_t index, std::span<const std::int16_t>)>;

    // False when a job failed, a child could not be started, or a delivery returned
    // false; every child is ended and reaped before it returns.
    static bool Run(std::size_t jobs, std::size_t processes, const Job& job,
                    const Delivery& delivery);
};
