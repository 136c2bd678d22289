#pragma once

#include <chrono>
#include <thread>

// Polls condition every step until it holds or limit has passed; true when it held. For what
// another process or the event loop brings about at a time the test cannot know.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(5),
                std::chrono::milliseconds step = std::chrono::milliseconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
    return true;
}
