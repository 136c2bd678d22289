#pragma once

#include <string>
#include <vector>

// The environment a started program gets: this process's own, with some variables removed
// and others set, so that nothing of the caller's desktop (its display, its sound server,
// its session bus) leaks into a test.
class Environment {
  public:
    // This process's environment.
    static Environment Inherited();

    Environment& Set(const std::string& name, const std::string& value);
    Environment& Remove(const std::string& name);

    // "NAME=value" entries, as execve takes them.
    const std::vector<std::string>& Entries() const { return m_entries; }

  private:
    std::vector<std::string> m_entries;
};
