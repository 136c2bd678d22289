#pragma once

#include "platform/base/WinTypes.h"

// The private-profile functions the settings code is written against, reading and writing
// INI files the way the original platform does. Every call opens, uses and closes the file;
// nothing is cached between calls. Section and key names match without regard to case.
//
// The listing and deleting forms of the original (a null section, key or value) are not
// offered: a null section, key or file name reads as missing and makes a write fail.

// The key's value read as an integer (see ProfileInteger), or defaultValue when the file,
// the section or the key is missing or the value is empty.
UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                           const char* fileName);

// Copies the key's value, without enclosing quotes, or else defaultValue (less its trailing
// blanks), into buffer: at most size - 1 bytes, never part of a UTF-8 character, then a NUL.
// Returns the number of bytes copied, without the NUL.
DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* fileName);

// Sets the key to value, creating the file and the section when needed, and saves the file
// as ProfileFileWriter describes: a read-only file is refused, and a failed write leaves the
// old file intact wherever the file system allows it. A value is stored up
// to its first line break, since the rest would become lines of their own. A name that
// could not be read back as itself cannot be stored and fails: a section name holding a
// line break or a ']', a key name holding a line break or an '=', or starting (after its
// blanks) with ';' or '['.
BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName);
