#pragma once

#include "platform/profile/FileStamp.h"
#include "platform/text/CString.h"

#include <optional>

// The input file's text as a Read last read it, with the file's stamp at that moment.
struct SpokenFile {
    std::optional<FileStamp> stamp;
    CString text;
};
