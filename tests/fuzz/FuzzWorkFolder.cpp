#include "tests/fuzz/FuzzWorkFolder.h"

#include "tests/fuzz/FuzzFailure.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

FuzzWorkFolder::FuzzWorkFolder() {
    std::string pattern = std::filesystem::temp_directory_path() / "murmelo-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()))
        ReportFuzzFailure("cannot create the work folder", pattern);
    m_path = pattern;
}

FuzzWorkFolder::~FuzzWorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string FuzzWorkFolder::PathOf(std::string_view name) const {
    return m_path / name;
}

void FuzzWorkFolder::WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        ReportFuzzFailure("cannot write the input file", path);
}

std::string FuzzWorkFolder::ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
