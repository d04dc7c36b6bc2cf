// Word-wrapped lines of the typed text for one font and width, and the
// mapping between character positions and points on those lines.
#pragma once

#include <windows.h>

#include <stddef.h>

#include <string>
#include <vector>

class InkTextLayout {
public:
    struct Line {
        size_t start;
        size_t length;  // without the line break
    };

    // dc has the text's font selected; wrap is the line width in pixels.
    void Build(HDC dc, const std::wstring& text, int wrap);
    size_t LineCount() const { return lines_.size(); }
    const Line& At(size_t line) const { return lines_[line]; }
    // The line a caret at index stands on (at a wrap, the following line).
    size_t LineOf(size_t index) const;
    int XOf(HDC dc, const std::wstring& text, size_t index) const;
    // The same on a given line, for a position that ends a wrapped line.
    int XOnLine(HDC dc, const std::wstring& text, size_t line, size_t index) const;
    // The caret position nearest to x on the line.
    size_t IndexAt(HDC dc, const std::wstring& text, size_t line, int x) const;

private:
    void WrapParagraph(HDC dc, const std::wstring& text, size_t start, size_t end, int wrap);

    std::vector<Line> lines_;
};
