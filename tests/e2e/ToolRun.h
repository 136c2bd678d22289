#pragma once

#include "tests/e2e/Environment.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// What a short-lived command-line tool printed and how it ended.
struct ToolResult {
    int exitCode = -1;
    std::string output;
};

// Runs a tool to its end and collects its standard output. Nothing when it could not be
// started or did not end within limit (it is then killed).
std::optional<ToolResult> RunTool(const std::vector<std::string>& arguments,
                                  const Environment& environment,
                                  std::chrono::milliseconds limit = std::chrono::seconds(10));
