// Undo history of one document. Each step keeps just enough to put the
// document back: the strokes that were added or erased, the text as it was
// before a burst of typing, the recording that was added. Only the latest
// text step keeps the whole text; older ones keep what differs from the
// text after them, so a long text edited word by word holds little more
// than itself. Past a few megabytes the oldest steps go.
#pragma once

#include "InkDocument.h"

#include <stddef.h>

#include <string>
#include <vector>

class InkUndo {
public:
    void StrokesAdded(size_t count);
    // After erasing: each stroke's index at the moment it was removed, in the
    // order of removal, and copies of the strokes.
    void StrokesErased(const std::vector<size_t>& indices, const std::vector<InkStroke>& strokes);
    // Before a text change. Consecutive typing with coalesce set stays one step.
    void TextChanging(const std::wstring& before, size_t caretBefore, bool coalesce);
    void RecordingAdded(size_t index);
    // Ends a typing burst so the next keystroke starts a new step.
    void CloseTyping();

    bool CanUndo() const { return !steps_.empty(); }
    // Reverts the latest step. caret receives the text caret to restore when
    // the step was a text change. Returns false when there was nothing.
    bool Undo(InkDocument& doc, size_t& caret, bool& textChanged);
    void Clear() { steps_.clear(); }
    // What the steps hold, in bytes.
    size_t Bytes() const;

private:
    enum class Kind { StrokesAdded, StrokesErased, Text, RecordingAdded };
    struct Step {
        Kind kind;
        size_t count = 0;
        std::vector<size_t> indices;
        std::vector<InkStroke> strokes;
        // Text: the whole text before, or with shortened set only the part
        // of it between prefix and suffix characters of the text after
        // it, which was afterLength long.
        std::wstring text;
        bool shortened = false;
        size_t prefix = 0;
        size_t suffix = 0;
        size_t afterLength = 0;
        size_t caret = 0;
        bool open = false;
    };
    void Push(Step&& step);
    // The latest text step, now that the text after it is known: it keeps
    // only the part that differs.
    void ShortenLatestText(const std::wstring& after);
    // The text before step, from the text after it; false when that text
    // is not the one the step was made against.
    static bool TextBefore(Step& step, const std::wstring& after);
    static size_t StepBytes(const Step& step);

    std::vector<Step> steps_;
};
