#include "tests/e2e/Environment.h"

#include <algorithm>
#include <unistd.h>

Environment Environment::Inherited() {
    Environment environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.m_entries.emplace_back(*entry);
    return environment;
}

Environment& Environment::Set(const std::string& name, const std::string& value) {
    Remove(name);
    m_entries.push_back(name + "=" + value);
    return *this;
}

Environment& Environment::Remove(const std::string& name) {
    const std::string prefix = name + "=";
    std::erase_if(m_entries, [&](const std::string& entry) { return entry.starts_with(prefix); });
    return *this;
}
