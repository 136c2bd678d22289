#pragma once

#include "platform/profile/FileDescriptor.h"

#include <string>
#include <string_view>

// Replaces a file as a whole: the new content goes to a temporary file in the same folder,
// which is renamed over the old file only once it is completely written and on disk. A
// crash, a full disk or a folder we may not write leaves the old file as it was, never
// half-written or empty. A writer that is not committed removes its temporary file.
class AtomicFileWriter {
  public:
    explicit AtomicFileWriter(std::string path);
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();

    // False when the temporary file could not be created.
    bool IsOpen() const { return m_temporary.IsOpen(); }

    bool Write(std::string_view bytes);

    // Puts the written content in place of the file; false, with the old file untouched,
    // when any step failed.
    bool Commit();

  private:
    void CreateTemporary();

    std::string m_path;
    std::string m_temporaryPath;
    FileDescriptor m_temporary;
    bool m_failed = false;
};
