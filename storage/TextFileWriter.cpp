#include "storage/TextFileWriter.h"

#include "platform/profile/FileDescriptor.h"

int TextFileWriter::Write(std::string_view text, const char* path) {
    FileDescriptor file = FileDescriptor::OpenForWriting(path);
    if (!file.IsOpen())
        return 0;
    file.WriteAll(text);
    return 1;
}
