#include "InkTextLayout.h"

// One GDI call measures at most this many characters: its extents stay far
// from overflowing, and its scratch array stays small.
static const size_t kMeasureBlock = 4096;

// Widths add up (GDI lays text out without kerning), so the paragraph is
// measured once, character by character, and every line is found by
// summing: measuring the rest of the paragraph for each line made a long
// paragraph cost its length squared.
void InkTextLayout::MeasureParagraph(HDC dc, const std::wstring& text, size_t start, size_t end)
{
    advances_.resize(end - start);
    extents_.resize(end - start < kMeasureBlock ? end - start : kMeasureBlock);
    for (size_t block = start; block < end; block += kMeasureBlock) {
        int count = static_cast<int>(end - block < kMeasureBlock ? end - block : kMeasureBlock);
        int fit = 0;
        SIZE size;
        int* widths = advances_.data() + (block - start);
        // A font that cannot measure puts the rest on one line, as no wrap.
        if (!GetTextExtentExPointW(dc, text.c_str() + block, count, 1 << 30, &fit,
                                   extents_.data(), &size)) {
            for (int i = 0; i < count; ++i)
                widths[i] = 0;
            continue;
        }
        int previous = 0;
        for (int i = 0; i < count; ++i) {
            widths[i] = extents_[i] - previous;
            previous = extents_[i];
        }
    }
}

void InkTextLayout::WrapParagraph(HDC dc, const std::wstring& text, size_t start, size_t end,
                                  int wrap)
{
    if (start < end)
        MeasureParagraph(dc, text, start, end);
    spans_.clear();
    formats::BreakParagraph(text.c_str(), start, end, advances_.data(), wrap, &spans_);
    for (const formats::LineSpan& span : spans_)
        AddLine(span.start, span.length);
}

void InkTextLayout::AddLine(size_t start, size_t length)
{
    lines_.push_back({start, length, rows_.Next()});
}

void InkTextLayout::Build(HDC dc, const std::wstring& text, int wrap,
                          const formats::TextRows& rows)
{
    lines_.clear();
    rows_ = rows;
    if (wrap < 8)
        wrap = 8;
    size_t start = 0;
    while (true) {
        size_t nl = text.find(L'\n', start);
        size_t end = nl == std::wstring::npos ? text.size() : nl;
        WrapParagraph(dc, text, start, end, wrap);
        if (nl == std::wstring::npos)
            break;
        start = nl + 1;
    }
}

size_t InkTextLayout::LineAtRow(size_t row) const
{
    size_t lo = 0, hi = lines_.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (lines_[mid].row < row)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

size_t InkTextLayout::LineOf(size_t index) const
{
    size_t lo = 0, hi = lines_.size();
    while (hi - lo > 1) {
        size_t mid = (lo + hi) / 2;
        if (lines_[mid].start <= index)
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

int InkTextLayout::XOf(HDC dc, const std::wstring& text, size_t index) const
{
    if (lines_.empty())
        return 0;
    return XOnLine(dc, text, LineOf(index), index);
}

int InkTextLayout::XOnLine(HDC dc, const std::wstring& text, size_t lineIndex, size_t index) const
{
    if (lineIndex >= lines_.size())
        return 0;
    const Line& line = lines_[lineIndex];
    size_t count = index > line.start ? index - line.start : 0;
    if (count > line.length)
        count = line.length;
    SIZE size = {0, 0};
    if (count > 0)
        GetTextExtentPoint32W(dc, text.c_str() + line.start, static_cast<int>(count), &size);
    return size.cx;
}

size_t InkTextLayout::LineEnd(const std::wstring& text, size_t lineIndex) const
{
    if (lineIndex >= lines_.size())
        return text.size();
    const Line& line = lines_[lineIndex];
    size_t end = line.start + line.length;
    bool wrapped = lineIndex + 1 < lines_.size() && lines_[lineIndex + 1].start == end;
    if (wrapped && line.length > 0 && end <= text.size() && text[end - 1] == L' ')
        --end;
    return end;
}

size_t InkTextLayout::IndexAt(HDC dc, const std::wstring& text, size_t lineIndex, int x) const
{
    if (lines_.empty())
        return 0;
    if (lineIndex >= lines_.size())
        lineIndex = lines_.size() - 1;
    const Line& line = lines_[lineIndex];
    size_t usable = LineEnd(text, lineIndex) - line.start;
    if (x <= 0 || usable == 0)
        return line.start;
    std::vector<int> extents(usable);
    int fit = 0;
    SIZE size;
    GetTextExtentExPointW(dc, text.c_str() + line.start, static_cast<int>(usable), 1 << 30,
                          &fit, extents.data(), &size);
    int previous = 0;
    for (size_t i = 0; i < usable; ++i) {
        if (x < (previous + extents[i]) / 2)
            return line.start + i;
        previous = extents[i];
    }
    return line.start + usable;
}
