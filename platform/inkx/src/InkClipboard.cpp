#include "InkClipboard.h"

#include "InkStreamFormat.h"

#include <string.h>

static const wchar_t kInkClipboardFormat[] = L"InkX Ink";

bool InkClipboard::Put(HWND owner, UINT format, const void* data, size_t size)
{
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (mem == nullptr)
        return false;
    void* p = GlobalLock(mem);
    if (p == nullptr) {
        GlobalFree(mem);
        return false;
    }
    memcpy(p, data, size);
    GlobalUnlock(mem);
    if (!OpenClipboard(owner)) {
        GlobalFree(mem);
        return false;
    }
    EmptyClipboard();
    bool ok = SetClipboardData(format, mem) != nullptr;
    CloseClipboard();
    if (!ok)
        GlobalFree(mem);
    return ok;
}

bool InkClipboard::PutText(HWND owner, const std::wstring& text)
{
    std::wstring crlf;
    crlf.reserve(text.size() + 16);
    for (wchar_t c : text) {
        if (c == L'\n')
            crlf += L'\r';
        crlf += c;
    }
    return Put(owner, CF_UNICODETEXT, crlf.c_str(), (crlf.size() + 1) * sizeof(wchar_t));
}

bool InkClipboard::PutInk(HWND owner, const std::vector<InkStroke>& strokes)
{
    InkDocument ink;
    ink.Strokes() = strokes;
    std::vector<uint8_t> bytes;
    InkStreamFormat::Write(ink, bytes);
    return Put(owner, RegisterClipboardFormatW(kInkClipboardFormat), bytes.data(), bytes.size());
}

bool InkClipboard::Get(HWND owner, bool wantInk, InkDocument& ink, std::wstring& text)
{
    ink.Clear();
    text.clear();
    if (!OpenClipboard(owner))
        return false;
    bool haveInk = false;
    HANDLE data = wantInk ? GetClipboardData(RegisterClipboardFormatW(kInkClipboardFormat)) : nullptr;
    if (data != nullptr) {
        const uint8_t* p = static_cast<const uint8_t*>(GlobalLock(data));
        if (p != nullptr) {
            haveInk = InkStreamFormat::Read(p, GlobalSize(data), ink) && !ink.Strokes().empty();
            GlobalUnlock(data);
        }
    }
    if (!haveInk && (data = GetClipboardData(CF_UNICODETEXT)) != nullptr) {
        const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(data));
        if (p != nullptr) {
            // Bounded by the block: a text without its terminator stops there.
            size_t limit = GlobalSize(data) / sizeof(wchar_t);
            for (size_t i = 0; i < limit && p[i] != L'\0'; ++i) {
                if (p[i] != L'\r')
                    text += p[i];
            }
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return haveInk || !text.empty();
}
