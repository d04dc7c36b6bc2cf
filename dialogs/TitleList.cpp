#include "dialogs/TitleList.h"

#include "app/Settings.h"
#include "platform/common/Text.h"

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

// The settings key, created when absent; null when the registry refuses.
HKEY OpenSettingsKey(bool* created)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    if (created != nullptr)
        *created = disposition == REG_CREATED_NEW_KEY;
    return key;
}

// How many titles to read: "TitlesCount", but never more than the values
// the key holds, so a damaged count cannot send Load round a huge loop.
DWORD StoredTitleCount(HKEY key)
{
    DWORD count = 0, type = 0, size = sizeof count;
    if (RegQueryValueExW(key, kCountValue, nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof count || int(count) < 0)
        return 0;
    DWORD values = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return 0;
    return count < values ? count : values;
}

enum class ReadResult { kTitle, kMissing, kUnusable };

// Reads "Title<index>" into out (kStoredTitleChars + 1 characters). A value
// of another type, longer than a stored title may be, or empty is unusable.
ReadResult ReadStoredTitle(HKEY key, DWORD index, wchar_t* out)
{
    wchar_t name[32];
    FormatText(name, 32, kTitleValue, int(index));
    DWORD type = 0, size = DWORD(kStoredTitleChars * sizeof(wchar_t));
    LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &size);
    if (status == ERROR_FILE_NOT_FOUND)
        return ReadResult::kMissing;
    if (status != ERROR_SUCCESS || type != REG_SZ)
        return ReadResult::kUnusable;
    // The value need not carry its terminator; out has room for one more.
    out[size / sizeof(wchar_t)] = L'\0';
    return out[0] == L'\0' ? ReadResult::kUnusable : ReadResult::kTitle;
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
    bool created = false;
    HKEY key = OpenSettingsKey(&created);
    if (key == nullptr)
        return;
    if (!created) {
        DWORD stored = StoredTitleCount(key);
        wchar_t title[kStoredTitleChars + 1];
        for (DWORD i = 0; i < stored; ++i) {
            ReadResult result = ReadStoredTitle(key, i, title);
            // Save writes the titles without gaps: a missing one means the
            // count outlived its titles, and nothing beyond it belongs here.
            if (result == ReadResult::kMissing)
                break;
            if (result == ReadResult::kTitle)
                Append(title);
        }
    }
    RegCloseKey(key);
}

void TitleList::Save() const
{
    HKEY key = OpenSettingsKey(nullptr);
    if (key == nullptr)
        return;
    DWORD stored = DWORD(count);
    RegSetValueExW(key, kCountValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
    int index = 0;
    for (Node* node = first; node != nullptr; node = node->next, ++index) {
        wchar_t name[32];
        FormatText(name, 32, kTitleValue, index);
        DWORD bytes = DWORD((node->text.size() + 1) * sizeof(wchar_t));
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(node->text.c_str()), bytes);
    }
    RegCloseKey(key);
}
