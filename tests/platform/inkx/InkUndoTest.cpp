// The undo history on its own: a long text edited word by word costs little
// more than the text, and every step still puts back exactly what was.
#include "InkDocument.h"
#include "InkUndo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(InkUndoTest, ALongTextEditedWordByWordIsHeldByItsChangesAndUndoneExactly)
{
    InkDocument doc;
    std::wstring& text = doc.Text();
    while (text.size() < 500000)
        text += L"words ";
    InkUndo undo;
    std::vector<std::wstring> seen = {text};
    for (int i = 0; i < 150; ++i) {
        std::wstring before = text;
        // Typing replaces a word, deletes one, or adds one; a stroke now
        // and then comes between.
        size_t at = (text.size() / 150) * static_cast<size_t>(i) / 6 * 6;
        if (i % 3 == 0)
            text.replace(at, 5, L"WORDS");
        else if (i % 3 == 1)
            text.erase(at, 6);
        else
            text.insert(at, L"new ");
        undo.TextChanging(before, at, false);
        seen.push_back(text);
        if (i % 10 == 0) {
            doc.Strokes().push_back(InkStroke(0, 2));
            undo.StrokesAdded(1);
        }
    }
    EXPECT_LT(undo.Bytes(), 2 * text.size() * sizeof(wchar_t)) << "a copy of the text kept at each step";

    size_t caret = 0;
    bool textChanged = false;
    for (size_t i = seen.size() - 1; i > 0; --i) {
        while (undo.CanUndo() && !textChanged)
            ASSERT_TRUE(undo.Undo(doc, caret, textChanged));
        textChanged = false;
        ASSERT_EQ(seen[i - 1], doc.Text()) << "step " << i;
    }
    EXPECT_TRUE(doc.Strokes().empty());
}

}  // namespace
