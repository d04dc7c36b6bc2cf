#include "InkTyping.h"

static bool IsWordChar(wchar_t c)
{
    return c != L' ' && c != L'\n' && c != L'\t';
}

void InkTyping::MoveTo(size_t index, const std::wstring& text, bool extend)
{
    caret_ = index <= text.size() ? index : text.size();
    if (!extend)
        anchor_ = caret_;
}

void InkTyping::SelectAll(const std::wstring& text)
{
    anchor_ = 0;
    caret_ = text.size();
}

void InkTyping::Clamp(const std::wstring& text)
{
    if (caret_ > text.size())
        caret_ = text.size();
    if (anchor_ > text.size())
        anchor_ = text.size();
}

bool InkTyping::Replace(std::wstring& text, const std::wstring& with)
{
    Clamp(text);
    size_t start = SelStart();
    size_t end = SelEnd();
    if (start == end && with.empty())
        return false;
    text.replace(start, end - start, with);
    caret_ = anchor_ = start + with.size();
    return true;
}

bool InkTyping::Backspace(std::wstring& text)
{
    Clamp(text);
    if (HasSelection())
        return Replace(text, std::wstring());
    if (caret_ == 0)
        return false;
    text.erase(caret_ - 1, 1);
    caret_ = anchor_ = caret_ - 1;
    return true;
}

bool InkTyping::Delete(std::wstring& text)
{
    Clamp(text);
    if (HasSelection())
        return Replace(text, std::wstring());
    if (caret_ >= text.size())
        return false;
    text.erase(caret_, 1);
    return true;
}

std::wstring InkTyping::Selected(const std::wstring& text) const
{
    size_t start = SelStart() <= text.size() ? SelStart() : text.size();
    size_t end = SelEnd() <= text.size() ? SelEnd() : text.size();
    return text.substr(start, end - start);
}

void InkTyping::SelectWord(const std::wstring& text)
{
    Clamp(text);
    size_t start = caret_, end = caret_;
    while (start > 0 && IsWordChar(text[start - 1]))
        --start;
    while (end < text.size() && IsWordChar(text[end]))
        ++end;
    anchor_ = start;
    caret_ = end;
}

size_t InkTyping::PreviousWord(const std::wstring& text) const
{
    size_t i = caret_ <= text.size() ? caret_ : text.size();
    while (i > 0 && !IsWordChar(text[i - 1]))
        --i;
    while (i > 0 && IsWordChar(text[i - 1]))
        --i;
    return i;
}

size_t InkTyping::NextWord(const std::wstring& text) const
{
    size_t i = caret_;
    while (i < text.size() && IsWordChar(text[i]))
        ++i;
    while (i < text.size() && !IsWordChar(text[i]))
        ++i;
    return i;
}
