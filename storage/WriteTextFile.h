#pragma once

class CString;

// Writes the text, up to its first NUL, into the file at path (see TextFileWriter).
// Returns 1 when the file could be opened for writing, else 0.
int WriteTextFile(const CString& text, const char* path);
