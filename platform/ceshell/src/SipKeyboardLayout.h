// The keys of the on-screen keyboard: five rows on a grid of 30 units a row,
// scaled to the panel's size (8 x 16 pixels a unit on the 240 x 80 panel).
#pragma once

#include <windows.h>

namespace ceshell {

enum class SipKeyKind {
    Character,   // types its character (or the shifted one)
    VirtualKey,  // presses and releases a key: Backspace, Tab, Enter, arrows
    Shift,       // the next character is shifted
    CapsLock,    // letters stay capitals until pressed again
};

struct SipKey {
    int row;
    int units;
    SipKeyKind kind;
    wchar_t character;
    wchar_t shifted;
    UINT virtualKey;
    const wchar_t* label;  // for keys whose label is not their character
};

class SipKeyboardLayout {
public:
    static constexpr int kRows = 5;
    static constexpr int kUnitsPerRow = 30;

    static int KeyCount();
    static const SipKey& Key(int index);

    // The key's rectangle on a panel of width x height pixels.
    static RECT KeyRect(int index, int width, int height);

    // The key under a point of the panel, or -1.
    static int KeyAt(POINT point, int width, int height);

    // The key that types character (plain or shifted), or -1; for tests and
    // for the demo's help line.
    static int KeyFor(wchar_t character, bool* needsShift);
};

}  // namespace ceshell
