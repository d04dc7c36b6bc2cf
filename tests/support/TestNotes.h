// Note files for tests, written by the program's own writer, and cut short
// as a card pulled during a copy leaves them.
#pragma once

#include <windows.h>

#include <string>

// A note with its title, expiry, expired flag and, when given, ink data;
// true when written.
bool WriteTestNote(const std::wstring& path, const wchar_t* title, const SYSTEMTIME& expiry, BYTE expired = 0,
                   const std::string& ink = "");

// Ink content as the control streams it: a recording of recordingBytes
// samples first (none for 0), a stroke, then the typed text.
std::string InkWithText(const std::wstring& text, size_t recordingBytes = 0);

// Ends the file after its first size bytes.
void CutFile(const std::wstring& path, DWORD size);

// A file's last write time, and setting it: a note written again with the
// time it had looks unchanged to the folder's listing.
FILETIME WrittenTime(const std::wstring& path);
void SetWrittenTime(const std::wstring& path, const FILETIME& time);
// Dates the file's last write back by seconds from now: a note written
// long before, as most of a person's notes are.
void Backdate(const std::wstring& path, int seconds = 86400);
