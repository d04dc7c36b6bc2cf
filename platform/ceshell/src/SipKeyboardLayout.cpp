#include "SipKeyboardLayout.h"

namespace ceshell {

namespace {

constexpr SipKey C(int row, wchar_t plain, wchar_t shifted, int units = 2)
{
    return SipKey{row, units, SipKeyKind::Character, plain, shifted, 0, nullptr};
}

constexpr SipKey V(int row, UINT key, const wchar_t* label, int units)
{
    return SipKey{row, units, SipKeyKind::VirtualKey, 0, 0, key, label};
}

// Each row adds up to kUnitsPerRow units.
constexpr SipKey kKeys[] = {
    C(0, L'`', L'~'), C(0, L'1', L'!'), C(0, L'2', L'@'), C(0, L'3', L'#'), C(0, L'4', L'$'),
    C(0, L'5', L'%'), C(0, L'6', L'^'), C(0, L'7', L'&'), C(0, L'8', L'*'), C(0, L'9', L'('),
    C(0, L'0', L')'), C(0, L'-', L'_'), C(0, L'=', L'+'), V(0, VK_BACK, L"Bksp", 4),

    V(1, VK_TAB, L"Tab", 3), C(1, L'q', L'Q'), C(1, L'w', L'W'), C(1, L'e', L'E'), C(1, L'r', L'R'),
    C(1, L't', L'T'), C(1, L'y', L'Y'), C(1, L'u', L'U'), C(1, L'i', L'I'), C(1, L'o', L'O'),
    C(1, L'p', L'P'), C(1, L'[', L'{'), C(1, L']', L'}'), C(1, L'\\', L'|', 3),

    SipKey{2, 4, SipKeyKind::CapsLock, 0, 0, VK_CAPITAL, L"CAP"}, C(2, L'a', L'A'), C(2, L's', L'S'),
    C(2, L'd', L'D'), C(2, L'f', L'F'), C(2, L'g', L'G'), C(2, L'h', L'H'), C(2, L'j', L'J'),
    C(2, L'k', L'K'), C(2, L'l', L'L'), C(2, L';', L':'), C(2, L'\'', L'"'), V(2, VK_RETURN, L"Enter", 4),

    SipKey{3, 5, SipKeyKind::Shift, 0, 0, VK_SHIFT, L"Shift"}, C(3, L'z', L'Z'), C(3, L'x', L'X'),
    C(3, L'c', L'C'), C(3, L'v', L'V'), C(3, L'b', L'B'), C(3, L'n', L'N'), C(3, L'm', L'M'),
    C(3, L',', L'<'), C(3, L'.', L'>'), C(3, L'/', L'?'), SipKey{3, 5, SipKeyKind::Shift, 0, 0, VK_SHIFT, L"Shift"},

    V(4, VK_LEFT, L"<", 3), V(4, VK_RIGHT, L">", 3), C(4, L' ', L' ', 18), V(4, VK_UP, L"^", 3),
    V(4, VK_DOWN, L"v", 3),
};

constexpr int kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

}  // namespace

int SipKeyboardLayout::KeyCount()
{
    return kKeyCount;
}

const SipKey& SipKeyboardLayout::Key(int index)
{
    if (index < 0 || index >= kKeyCount)
        index = 0;
    return kKeys[index];
}

RECT SipKeyboardLayout::KeyRect(int index, int width, int height)
{
    RECT rect = {0, 0, 0, 0};
    if (index < 0 || index >= kKeyCount)
        return rect;
    int row = kKeys[index].row;
    int startUnit = 0;
    for (int i = 0; i < index; ++i) {
        if (kKeys[i].row == row)
            startUnit += kKeys[i].units;
    }
    rect.left = startUnit * width / kUnitsPerRow;
    rect.right = (startUnit + kKeys[index].units) * width / kUnitsPerRow;
    rect.top = row * height / kRows;
    rect.bottom = (row + 1) * height / kRows;
    return rect;
}

int SipKeyboardLayout::KeyAt(POINT point, int width, int height)
{
    for (int i = 0; i < kKeyCount; ++i) {
        RECT rect = KeyRect(i, width, height);
        if (PtInRect(&rect, point))
            return i;
    }
    return -1;
}

int SipKeyboardLayout::KeyFor(wchar_t character, bool* needsShift)
{
    for (int i = 0; i < kKeyCount; ++i) {
        if (kKeys[i].kind != SipKeyKind::Character)
            continue;
        if (kKeys[i].character == character || kKeys[i].shifted == character) {
            if (needsShift != nullptr)
                *needsShift = kKeys[i].character != character;
            return i;
        }
    }
    return -1;
}

}  // namespace ceshell
