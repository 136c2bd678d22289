#pragma once

#include "platform/process/CapturedOutput.h"
#include "platform/process/Launch.h"
#include "platform/process/StartResult.h"

#include <string>
#include <vector>

// Starts arguments[0] with exactly these arguments; no shell ever splits or interprets
// them. A name without a slash is looked up in PATH. The program inherits the environment,
// the current directory and the standard streams, but no other open file, and starts with
// default signal handling. A program that cannot be run fails the start itself, with the
// errno in the result. Given errors, the program's standard error goes there instead.
StartResult CreateProcessA(const std::vector<std::string>& arguments, Launch launch,
                           const CapturedOutput* errors = nullptr);
