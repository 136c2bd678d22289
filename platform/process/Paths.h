#pragma once

#include <string>

// The process's current directory, without a trailing slash except at the root "/". Empty
// when it cannot be read (for example when the directory has been removed).
std::string GetCurrentDirectoryA();

// The running program's full file name. Empty when it cannot be read.
std::string GetModuleFileNameA();

// Whether path names a regular file, directly or through symbolic links. A folder of that
// name does not count: the callers ask whether a file they expect was written.
bool FileExists(const std::string& path);
