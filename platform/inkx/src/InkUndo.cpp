#include "InkUndo.h"

// Old steps are dropped beyond these, so a long session's memory stays
// bounded; the latest step is always kept.
static const size_t kMaxUndoSteps = 200;
static const size_t kMaxUndoBytes = 8u << 20;

void InkUndo::Push(Step&& step)
{
    CloseTyping();
    if (steps_.size() >= kMaxUndoSteps)
        steps_.erase(steps_.begin());
    steps_.push_back(static_cast<Step&&>(step));
    size_t bytes = Bytes();
    while (bytes > kMaxUndoBytes && steps_.size() > 1) {
        bytes -= StepBytes(steps_.front());
        steps_.erase(steps_.begin());
    }
}

size_t InkUndo::StepBytes(const Step& step)
{
    size_t bytes = sizeof(Step) + step.text.capacity() * sizeof(wchar_t) + step.indices.capacity() * sizeof(size_t);
    for (const InkStroke& stroke : step.strokes)
        bytes += sizeof(InkStroke) + stroke.Points().capacity() * sizeof(POINT);
    return bytes;
}

size_t InkUndo::Bytes() const
{
    size_t bytes = 0;
    for (const Step& step : steps_)
        bytes += StepBytes(step);
    return bytes;
}

void InkUndo::ShortenLatestText(const std::wstring& after)
{
    for (size_t i = steps_.size(); i-- > 0;) {
        Step& step = steps_[i];
        if (step.kind != Kind::Text)
            continue;
        if (step.shortened)
            return;
        const std::wstring& before = step.text;
        size_t shorter = before.size() < after.size() ? before.size() : after.size();
        size_t prefix = 0;
        while (prefix < shorter && before[prefix] == after[prefix])
            ++prefix;
        size_t suffix = 0;
        while (suffix < shorter - prefix && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
            ++suffix;
        std::wstring middle = before.substr(prefix, before.size() - prefix - suffix);
        step.text.swap(middle);
        step.shortened = true;
        step.prefix = prefix;
        step.suffix = suffix;
        step.afterLength = after.size();
        return;
    }
}

bool InkUndo::TextBefore(Step& step, const std::wstring& after)
{
    if (!step.shortened)
        return true;
    if (after.size() != step.afterLength || step.prefix + step.suffix > after.size())
        return false;
    std::wstring before;
    before.reserve(step.prefix + step.text.size() + step.suffix);
    before.append(after, 0, step.prefix);
    before.append(step.text);
    before.append(after, after.size() - step.suffix, step.suffix);
    step.text.swap(before);
    step.shortened = false;
    return true;
}

void InkUndo::CloseTyping()
{
    if (!steps_.empty())
        steps_.back().open = false;
}

void InkUndo::StrokesAdded(size_t count)
{
    Step s{Kind::StrokesAdded};
    s.count = count;
    Push(static_cast<Step&&>(s));
}

void InkUndo::StrokesErased(const std::vector<size_t>& indices,
                            const std::vector<InkStroke>& strokes)
{
    Step s{Kind::StrokesErased};
    s.indices = indices;
    s.strokes = strokes;
    Push(static_cast<Step&&>(s));
}

void InkUndo::TextChanging(const std::wstring& before, size_t caretBefore, bool coalesce)
{
    if (coalesce && !steps_.empty() && steps_.back().kind == Kind::Text && steps_.back().open)
        return;
    // The text before this change is the text after the previous one.
    ShortenLatestText(before);
    Step s{Kind::Text};
    s.text = before;
    s.caret = caretBefore;
    Push(static_cast<Step&&>(s));
    steps_.back().open = coalesce;
}

void InkUndo::RecordingAdded(size_t index)
{
    Step s{Kind::RecordingAdded};
    s.count = index;
    Push(static_cast<Step&&>(s));
}

bool InkUndo::Undo(InkDocument& doc, size_t& caret, bool& textChanged)
{
    textChanged = false;
    if (steps_.empty())
        return false;
    Step step = static_cast<Step&&>(steps_.back());
    steps_.pop_back();
    switch (step.kind) {
    case Kind::StrokesAdded: {
        std::vector<InkStroke>& strokes = doc.Strokes();
        size_t n = step.count < strokes.size() ? step.count : strokes.size();
        strokes.resize(strokes.size() - n);
        break;
    }
    case Kind::StrokesErased: {
        std::vector<InkStroke>& strokes = doc.Strokes();
        // Put back in reverse order of removal: each index was taken at its
        // removal, so every reinsertion finds the list as it was then.
        size_t n = step.indices.size() < step.strokes.size() ? step.indices.size()
                                                              : step.strokes.size();
        for (size_t i = n; i-- > 0;) {
            size_t at = step.indices[i] <= strokes.size() ? step.indices[i] : strokes.size();
            strokes.insert(strokes.begin() + at, step.strokes[i]);
        }
        break;
    }
    case Kind::Text:
        // A text other than the one the step knows (nothing should change
        // it but the steps) cannot be put back: the history is let go
        // rather than a wrong text made.
        if (!TextBefore(step, doc.Text())) {
            steps_.clear();
            return false;
        }
        doc.Text().swap(step.text);
        caret = step.caret <= doc.Text().size() ? step.caret : doc.Text().size();
        textChanged = true;
        break;
    case Kind::RecordingAdded:
        if (step.count < doc.Recordings().size())
            doc.Recordings().erase(doc.Recordings().begin() + step.count);
        textChanged = true;
        break;
    }
    doc.SetModified(true);
    return true;
}
