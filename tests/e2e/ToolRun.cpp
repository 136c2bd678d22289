#include "tests/e2e/ToolRun.h"

#include "tests/e2e/SpawnedProcess.h"

#include <array>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

class Pipe {
  public:
    Pipe() {
        if (pipe2(m_ends.data(), O_CLOEXEC) != 0)
            m_ends = {-1, -1};
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    ~Pipe() {
        CloseWriteEnd();
        if (m_ends[0] >= 0)
            close(m_ends[0]);
    }

    bool IsOpen() const { return m_ends[0] >= 0; }
    int ReadEnd() const { return m_ends[0]; }
    int WriteEnd() const { return m_ends[1]; }
    void CloseWriteEnd() {
        if (m_ends[1] >= 0)
            close(m_ends[1]);
        m_ends[1] = -1;
    }

  private:
    std::array<int, 2> m_ends{-1, -1};
};

} // namespace

std::optional<ToolResult> RunTool(const std::vector<std::string>& arguments,
                                  const Environment& environment, std::chrono::milliseconds limit) {
    Pipe output;
    if (!output.IsOpen())
        return std::nullopt;
    SpawnedProcess::Options options;
    options.environment = environment;
    options.outputDescriptor = output.WriteEnd();
    SpawnedProcess tool(arguments, options);
    output.CloseWriteEnd();
    if (!tool.Started())
        return std::nullopt;

    const auto deadline = std::chrono::steady_clock::now() + limit;
    ToolResult result;
    std::array<char, 4096> chunk{};
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd ready{output.ReadEnd(), POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            continue;
        const ssize_t got = read(output.ReadEnd(), chunk.data(), chunk.size());
        if (got <= 0)
            break;
        result.output.append(chunk.data(), static_cast<std::size_t>(got));
    }
    const std::optional<int> code =
        tool.WaitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now()));
    if (!code)
        return std::nullopt;
    result.exitCode = *code;
    return result;
}
