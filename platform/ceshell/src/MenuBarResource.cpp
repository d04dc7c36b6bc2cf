#include "MenuBarResource.h"

#include <commctrl.h>

#include "aygshell.h"

namespace ceshell {

namespace {

constexpr size_t kHeaderWords = 2;
constexpr size_t kWordsPerButton = 7;

unsigned ReadWord(const BYTE* data, size_t wordIndex)
{
    const BYTE* p = data + wordIndex * 2;
    return static_cast<unsigned>(p[0]) | (static_cast<unsigned>(p[1]) << 8);
}

int SignedWord(unsigned word)
{
    return word >= 0x8000 ? static_cast<int>(word) - 0x10000 : static_cast<int>(word);
}

}  // namespace

bool ParseMenuBarResource(const BYTE* data, size_t size, MenuBarResource* out)
{
    if (data == nullptr || out == nullptr)
        return false;
    size_t words = size / 2;
    if (words < kHeaderWords)
        return false;
    out->menuId = ReadWord(data, 0);
    size_t declared = ReadWord(data, 1);
    size_t present = (words - kHeaderWords) / kWordsPerButton;
    size_t count = declared < present ? declared : present;
    out->buttons.clear();
    out->buttons.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        size_t at = kHeaderWords + i * kWordsPerButton;
        MenuBarButton button;
        button.image = SignedWord(ReadWord(data, at));
        button.command = static_cast<int>(ReadWord(data, at + 1));
        button.state = static_cast<BYTE>(ReadWord(data, at + 2));
        button.style = static_cast<BYTE>(ReadWord(data, at + 3));
        button.labelId = ReadWord(data, at + 4);
        unsigned subMenu = ReadWord(data, at + 6);
        button.subMenu = subMenu == NOMENU ? -1 : static_cast<int>(subMenu);
        out->buttons.push_back(button);
    }
    return true;
}

bool LoadMenuBarResource(HINSTANCE instance, UINT id, MenuBarResource* out)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (found == nullptr)
        return false;
    HGLOBAL loaded = LoadResource(instance, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return false;
    return ParseMenuBarResource(static_cast<const BYTE*>(bytes), SizeofResource(instance, found), out);
}

}  // namespace ceshell
