// Registry primitives under HKEY_LOCAL_MACHINE. A DWORD that cannot be read
// is -1, so a stored -1 cannot be told from a missing value.
#pragma once

#include <windows.h>

#include <stddef.h>

const int kRegMissing = -1;

// Opens the key, creating it when absent (a read creates its key too).
int RegReadDword(const wchar_t* key, const wchar_t* name);
void RegWriteDword(const wchar_t* key, const wchar_t* name, DWORD value);
// The buffer holds the string, or is empty; a value longer than the buffer
// reads as empty. Untouched when the key cannot be opened or created.
void RegReadString(const wchar_t* key, const wchar_t* name, wchar_t* buffer, size_t count);
void RegWriteString(const wchar_t* key, const wchar_t* name, const wchar_t* text);
