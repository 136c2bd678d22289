#pragma once

#include <filesystem>
#include <string>

// A file that appears at its path whole or not at all. It is written in the target's
// folder without a name (or, where the file system cannot do that, under a hidden
// temporary name) and takes the target's place only in Commit, by one rename. Destroying
// an uncommitted file discards it, and a process killed while writing leaves nothing
// behind where the file system supports unnamed files.
class AtomicFile {
  public:
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // False when the file could not be created; Error() says why.
    bool IsOpen() const { return m_descriptor >= 0; }
    // Open for reading and writing, for a library that writes the file itself.
    int Descriptor() const { return m_descriptor; }
    // The file that Commit replaces (where a link at the path points).
    const std::filesystem::path& Target() const { return m_target; }
    // Starts writing what the file holds so far to the disk and returns without waiting,
    // so that the commit, which waits for the disk, finds little left to write.
    void StartWriteback();
    // Makes the written bytes durable and puts them at the target path.
    bool Commit();

    // Why the last failed step failed, as a user can read it.
    const std::string& Error() const { return m_error; }

  private:
    bool OpenUnnamed();
    bool OpenNamed();
    bool GiveTemporaryName();
    bool Fail(const std::string& what);
    void Discard();

    std::filesystem::path m_target;
    // Beside the target, hidden, unique to this process.
    std::filesystem::path m_temporary;
    int m_descriptor = -1;
    bool m_named = false;
    std::string m_error;
};
