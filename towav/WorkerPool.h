#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

// Runs numbered jobs in child processes of the converter, a few at a time, and hands their
// samples back in the jobs' order. Each job gets a child of its own, forked from the
// converter as it was before any job ran, so a job's result does not depend on which
// jobs ran before it. A child dies with the converter. The job whose turn it is streams
// its samples straight through; only the jobs ahead of it are held in memory.
class WorkerPool {
  public:
    // Takes a job's samples in the child, in order; false when they could not be sent.
    using Output = std::function<bool(std::span<const std::int16_t>)>;
    // Runs in the child: passes the job's samples to output, false when the job failed.
    // Few large pieces cost less to send than many small ones.
    using Job = std::function<bool(std::size_t index, const Output& output)>;
    // Runs in the converter with the jobs' samples, piece by piece, in the jobs' order;
    // returning false stops the pool.
    using Delivery = std::function<bool(std::size_t index, std::span<const std::int16_t>)>;

    // False when a job failed, a child could not be started, or a delivery returned
    // false; every child is ended and reaped before it returns.
    static bool Run(std::size_t jobs, std::size_t processes, const Job& job,
                    const Delivery& delivery);
};
