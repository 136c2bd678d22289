#pragma once

#include <string>

// The file:// URI of an absolute path. Every byte but the unreserved characters and the
// slash is percent-encoded, so blanks, quotes, '#', '%' and non-ASCII names survive intact.
std::string FileUri(const std::string& absolutePath);
