#include "dialogs/TitleList.h"

#include "platform/common/Text.h"
#include "shared/Registry.h"
#include "shared/SharedNames.h"

#include <new>
#include <string>

#include <wchar.h>

const wchar_t kNoTitle[] = L"---no title---";

namespace {

const wchar_t kCountValue[] = L"TitlesCount";
const wchar_t kTitleValue[] = L"Title%d";
// A stored title is read into this many characters, terminator included.
const size_t kStoredTitleChars = 260;

bool IsKeptText(const wchar_t* text)
{
    return text != nullptr && text[0] != L'\0' && wcscmp(text, kNoTitle) != 0;
}

// How many titles to read: "TitlesCount", but never more than the values
// the key holds, so a damaged count cannot send Load round a huge loop.
DWORD StoredTitleCount()
{
    int count = RegPeekDword(kSettingsKey, kCountValue);
    if (count < 0)
        return 0;
    DWORD values = RegValueCount(kSettingsKey);
    return DWORD(count) < values ? DWORD(count) : values;
}

}  // namespace

struct TitleList::Node {
    std::wstring text;
    Node* next;
};

TitleList::TitleList()
{
    Load();
}

TitleList::~TitleList()
{
    Clear();
}

void TitleList::Clear()
{
    Node* node = first;
    while (node != nullptr) {
        Node* next = node->next;
        delete node;
        node = next;
    }
    first = last = nullptr;
    count = 0;
}

void TitleList::Append(const wchar_t* text)
{
    if (text == nullptr)
        return;
    // Without the memory for it the title is dropped.
    Node* node = new (std::nothrow) Node{text, nullptr};
    if (node == nullptr)
        return;
    if (last != nullptr)
        last->next = node;
    else
        first = node;
    last = node;
    ++count;
}

void TitleList::AddUnique(const wchar_t* text)
{
    if (!IsKeptText(text))
        return;
    for (Node* node = first; node != nullptr; node = node->next) {
        if (node->text == text)
            return;
    }
    Append(text);
}

void TitleList::MoveToFront(const wchar_t* text)
{
    if (!IsKeptText(text))
        return;
    Node* previous = nullptr;
    for (Node* node = first; node != nullptr; previous = node, node = node->next) {
        if (node->text != text)
            continue;
        if (previous == nullptr)
            return;
        previous->next = node->next;
        if (last == node)
            last = previous;
        node->next = first;
        first = node;
        return;
    }
    Node* node = new (std::nothrow) Node{text, first};
    if (node == nullptr)
        return;
    first = node;
    if (last == nullptr)
        last = node;
    ++count;
}

void TitleList::GetAt(int index, wchar_t* out, size_t size) const
{
    if (out == nullptr || index < 0)
        return;
    Node* node = first;
    for (int i = 0; node != nullptr && i < index; ++i)
        node = node->next;
    if (node != nullptr)
        CopyText(out, size, node->text.c_str());
}

void TitleList::Load()
{
    Clear();
    // A first start finds no key: it is made, and there is nothing to read.
    if (!RegKeyExists(kSettingsKey)) {
        RegCreateKey(kSettingsKey);
        return;
    }
    DWORD stored = StoredTitleCount();
    wchar_t title[kStoredTitleChars + 1];
    wchar_t name[32];
    for (DWORD i = 0; i < stored; ++i) {
        FormatText(name, 32, kTitleValue, int(i));
        RegStringRead result = RegPeekString(kSettingsKey, name, title, kStoredTitleChars + 1);
        // Save writes the titles without gaps: a missing one means the
        // count outlived its titles, and nothing beyond it belongs here.
        if (result == RegStringRead::Missing)
            break;
        // A value of another type, longer than a stored title may be, or
        // empty is passed over.
        if (result == RegStringRead::Read && title[0] != L'\0' && wcslen(title) < kStoredTitleChars)
            Append(title);
    }
}

void TitleList::Save() const
{
    RegWriteDword(kSettingsKey, kCountValue, DWORD(count));
    int index = 0;
    for (Node* node = first; node != nullptr; node = node->next, ++index) {
        wchar_t name[32];
        FormatText(name, 32, kTitleValue, index);
        RegWriteString(kSettingsKey, name, node->text.c_str());
    }
}
