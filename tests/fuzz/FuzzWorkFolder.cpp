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
    std::error_code error;
    std::filesystem::current_path(m_path, error);
    if (error)
        ReportFuzzFailure("cannot enter the work folder", pattern);
}

FuzzWorkFolder::~FuzzWorkFolder() {
    std::error_code ignored;
    std::filesystem::current_path(m_path.parent_path(), ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void FuzzWorkFolder::WriteFile(const char* name, std::string_view bytes) {
    std::ofstream file(name, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        ReportFuzzFailure("cannot write the input file", name);
}

std::string FuzzWorkFolder::ReadFile(const char* name) {
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
