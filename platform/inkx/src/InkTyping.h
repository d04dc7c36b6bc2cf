// Caret and selection over the typed text, and the edits made at them.
// Positions are character indices into the text.
#pragma once

#include <stddef.h>

#include <string>

class InkTyping {
public:
    size_t Caret() const { return caret_; }
    size_t SelStart() const { return caret_ < anchor_ ? caret_ : anchor_; }
    size_t SelEnd() const { return caret_ < anchor_ ? anchor_ : caret_; }
    bool HasSelection() const { return caret_ != anchor_; }

    // Moves the caret; extend keeps the selection's other end.
    void MoveTo(size_t index, const std::wstring& text, bool extend);
    void SelectAll(const std::wstring& text);
    // Selects the word the caret is in (or just after).
    void SelectWord(const std::wstring& text);
    // Keeps caret and anchor inside text after it changed under them.
    void Clamp(const std::wstring& text);

    // Edits; each returns true when the text changed.
    bool Replace(std::wstring& text, const std::wstring& with);
    bool Backspace(std::wstring& text);
    bool Delete(std::wstring& text);
    std::wstring Selected(const std::wstring& text) const;

    size_t PreviousWord(const std::wstring& text) const;
    size_t NextWord(const std::wstring& text) const;

private:
    size_t caret_ = 0;
    size_t anchor_ = 0;
};
