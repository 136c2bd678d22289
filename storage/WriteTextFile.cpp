#include "storage/WriteTextFile.h"

#include "platform/text/CString.h"
#include "storage/TextFileWriter.h"

#include <string_view>

int WriteTextFile(const CString& text, const char* path) {
    // Converting through const char* stops at the first NUL, as the stored text must.
    return TextFileWriter::Write(std::string_view(static_cast<const char*>(text)), path);
}
