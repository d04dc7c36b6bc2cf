// The registry calls of the program and its Today item, under
// HKEY_LOCAL_MACHINE: the handheld's primitives, which open a key by creating
// it, and reads that leave a missing key missing. A DWORD that cannot be read
// is -1, so a stored -1 cannot be told from a missing value. A key name may
// start with a backslash, as the handheld allows.
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

// Reads that do not create their key: an empty key made by a read can mean
// something (the first run enters the Today item only where its key is
// missing).
bool RegKeyExists(const wchar_t* key);
// Creates the key; false when the registry refuses.
bool RegCreateKey(const wchar_t* key);
int RegPeekDword(const wchar_t* key, const wchar_t* name);
enum class RegStringRead {
    Read,      // the buffer holds it
    Missing,   // no such key or value
    Unusable,  // another type, longer than the buffer, or unreadable
};
// The buffer holds the string, terminated; it is empty unless Read.
RegStringRead RegPeekString(const wchar_t* key, const wchar_t* name, wchar_t* buffer, size_t count);
// How many values the key holds; 0 when it is missing.
DWORD RegValueCount(const wchar_t* key);
// The name of subkey number index of key (empty when it cannot be read);
// false at the end of the subkeys, or when the key is missing.
bool RegSubkeyName(const wchar_t* key, DWORD index, wchar_t* name, size_t count);
