// Word-wrapped lines of the typed text for one font and width, and the
// mapping between character positions and points on those lines. Lines
// stand on rows of the page; rows taken by something else (a recording's
// icon) are stepped over, so text never runs under it.
#pragma once

#include "formats/LineBreaks.h"
#include "formats/TextRows.h"

#include <windows.h>

#include <stddef.h>

#include <string>
#include <vector>

class InkTextLayout {
public:
    struct Line {
        size_t start;
        size_t length;  // without the line break
        size_t row;     // rows before it, the stepped-over ones included
    };

    // dc has the text's font selected; wrap is the line width in pixels;
    // rows gives each line its row, the exporter's rule as well.
    void Build(HDC dc, const std::wstring& text, int wrap, const formats::TextRows& rows);
    size_t LineCount() const { return lines_.size(); }
    const Line& At(size_t line) const { return lines_[line]; }
    // Rows down to the end of the last line.
    size_t RowCount() const { return lines_.empty() ? 0 : lines_.back().row + 1; }
    // The first line on or below row; LineCount() when none is.
    size_t LineAtRow(size_t row) const;
    // The line a caret at index stands on (at a wrap, the following line).
    size_t LineOf(size_t index) const;
    int XOf(HDC dc, const std::wstring& text, size_t index) const;
    // The same on a given line, for a position that ends a wrapped line.
    int XOnLine(HDC dc, const std::wstring& text, size_t line, size_t index) const;
    // The last caret position that stands on the line: a line broken at a
    // space ends before that space (after it, the caret is the next line's).
    size_t LineEnd(const std::wstring& text, size_t line) const;
    // The caret position nearest to x on the line.
    size_t IndexAt(HDC dc, const std::wstring& text, size_t line, int x) const;

private:
    void MeasureParagraph(HDC dc, const std::wstring& text, size_t start, size_t end);
    void WrapParagraph(HDC dc, const std::wstring& text, size_t start, size_t end, int wrap);
    void AddLine(size_t start, size_t length);

    std::vector<Line> lines_;
    formats::TextRows rows_;
    // Scratch of the paragraph being wrapped: each character's width.
    std::vector<int> advances_;
    std::vector<int> extents_;
    std::vector<formats::LineSpan> spans_;
};
