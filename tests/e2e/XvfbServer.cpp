#include "tests/e2e/XvfbServer.h"

#include <array>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr auto kStartLimit = std::chrono::seconds(15);

// A descriptor closed on destruction.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    int Get() const { return m_fd; }
    void Close() {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
    }

  private:
    int m_fd;
};

} // namespace

XvfbServer::XvfbServer(const std::filesystem::path& log) {
    std::array<int, 2> ends{-1, -1};
    if (pipe2(ends.data(), O_CLOEXEC) != 0) {
        m_problem = "no pipe for Xvfb's display number";
        return;
    }
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);

    // -displayfd lets the server choose a free display number and report it once it accepts
    // connections, so the tests neither guess a number nor race the server's start.
    // -noreset keeps the server up when the last client leaves.
    SpawnedProcess::Options options;
    options.log = log;
    options.handedDescriptor = writeEnd.Get();
    m_server = std::make_unique<SpawnedProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp",
                                 "-screen", "0", "1024x768x24"},
        options);
    writeEnd.Close();
    if (!m_server->Started()) {
        m_problem = "Xvfb could not be started (is the xvfb package installed?)";
        return;
    }

    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (number.empty() || number.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{readEnd.Get(), POLLIN, 0};
        if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            m_problem = "Xvfb did not report a display within 15 s";
            return;
        }
        char digit = 0;
        if (read(readEnd.Get(), &digit, 1) != 1) {
            m_problem = "Xvfb ended without a display";
            return;
        }
        number += digit;
    }
    number.pop_back();
    m_display = ":" + number;
}
