#include "InkUndo.h"

// Old steps are dropped beyond this, so a long session's memory stays bounded.
static const size_t kMaxUndoSteps = 200;

void InkUndo::Push(Step&& step)
{
    CloseTyping();
    if (steps_.size() >= kMaxUndoSteps)
        steps_.erase(steps_.begin());
    steps_.push_back(static_cast<Step&&>(step));
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
