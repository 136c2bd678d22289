#include "ui/CMurmeloDlg.h"

#include "storage/TextFileReader.h"

bool CMurmeloDlg::ReadTextFile(const char* path, std::optional<std::u16string>& wideText) {
    return TextFileReader::Read(path, wideText);
}
