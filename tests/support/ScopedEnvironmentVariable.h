#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets an environment variable (or removes it, for no value) until the end of the scope,
// then puts the old value back.
class ScopedEnvironmentVariable {
  public:
    ScopedEnvironmentVariable(const char* name, const std::optional<std::string>& value)
        : m_name(name), m_old(std::getenv(name) ? std::optional(std::getenv(name)) : std::nullopt) {
        Set(value);
    }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;
    ~ScopedEnvironmentVariable() { Set(m_old); }

  private:
    void Set(const std::optional<std::string>& value) const {
        value ? setenv(m_name.c_str(), value->c_str(), 1) : unsetenv(m_name.c_str());
    }

    std::string m_name;
    std::optional<std::string> m_old;
};
