// Bounded wide-text formatting with the handheld's meaning of "%s" (a wide
// string in a wide format). MinGW's swprintf follows ISO C, where "%s" in a
// wide format is a narrow string, so it is never used for that.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <wchar.h>

// Formats into out (count characters, terminator included); a text too long
// is cut and still terminated. Returns the characters written, or -1 when cut.
inline int FormatTextV(wchar_t* out, size_t count, const wchar_t* format, va_list args)
{
    if (out == nullptr || count == 0)
        return -1;
    int written = _vsnwprintf(out, count, format, args);
    if (written < 0 || static_cast<size_t>(written) >= count) {
        out[count - 1] = L'\0';
        return -1;
    }
    return written;
}

inline int FormatText(wchar_t* out, size_t count, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    int written = FormatTextV(out, count, format, args);
    va_end(args);
    return written;
}

// Copies src into out (count characters); cuts a longer text, always terminates.
inline void CopyText(wchar_t* out, size_t count, const wchar_t* src)
{
    if (out == nullptr || count == 0)
        return;
    size_t i = 0;
    if (src != nullptr) {
        for (; i + 1 < count && src[i] != L'\0'; ++i)
            out[i] = src[i];
    }
    out[i] = L'\0';
}
