// The control's clipboard: text as CF_UNICODETEXT with CR LF line breaks,
// ink as the content format under a format of its own ("InkX Ink").
#pragma once

#include "InkDocument.h"

#include <windows.h>

#include <string>
#include <vector>

class InkClipboard {
public:
    static bool PutText(HWND owner, const std::wstring& text);
    static bool PutInk(HWND owner, const std::vector<InkStroke>& strokes);
    // Reads what the clipboard offers: ink only when asked for (pen mode),
    // text otherwise or when there is no ink. False when neither is there.
    static bool Get(HWND owner, bool wantInk, InkDocument& ink, std::wstring& text);

private:
    static bool Put(HWND owner, UINT format, const void* data, size_t size);
};
