// devicekey down|up VK
// Sends one virtual key into the device's input, as the handheld's button
// driver does for its hardware buttons. VK is decimal or 0x-hexadecimal.
// Exit code: 0 sent, 1 the input was refused, 2 bad arguments.
#include <windows.h>

#include <cwchar>

namespace {

bool ParseKey(const wchar_t* text, WORD& key)
{
    wchar_t* end = nullptr;
    unsigned long value = wcstoul(text, &end, 0);
    if (end == text || *end != L'\0' || value == 0 || value > 0xFE) {
        return false;
    }
    key = static_cast<WORD>(value);
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    WORD key = 0;
    if (argc != 3 || !ParseKey(argv[2], key)) {
        fwprintf(stderr, L"usage: devicekey down|up VK\n");
        return 2;
    }
    bool down = wcscmp(argv[1], L"down") == 0;
    if (!down && wcscmp(argv[1], L"up") != 0) {
        fwprintf(stderr, L"usage: devicekey down|up VK\n");
        return 2;
    }
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    return SendInput(1, &input, sizeof(input)) == 1 ? 0 : 1;
}
