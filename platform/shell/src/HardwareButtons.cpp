#include "platform/shell/src/HardwareButtons.h"

#include <cwchar>

namespace shell {

const wchar_t HardwareButtons::kDefaultKey[] = L"SOFTWARE\\Microsoft\\Shell\\Keys";

namespace {

struct DefaultButton {
    const wchar_t* subkey;
    const wchar_t* name;
    const wchar_t* program;
    DWORD hostKey;
};

// The handheld's four application buttons and its record button. Only the
// record button has a program and a host key: the program that records is
// the one this device is for.
const DefaultButton kDefaultButtons[] = {
    {L"40C1", L"Button 1", L"", 0},
    {L"40C2", L"Button 2", L"", 0},
    {L"40C3", L"Button 3", L"", 0},
    {L"40C4", L"Button 4", L"", 0},
    {L"40CF", L"Record", L"C:\\Program Files\\Jotlings\\Jotlings.exe", VK_F9},
};

void WriteString(HKEY key, const wchar_t* name, const wchar_t* value)
{
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

std::wstring ReadString(HKEY key, const wchar_t* name)
{
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::wstring();
    }
    buffer[MAX_PATH - 1] = L'\0';
    return buffer;
}

// "40CF" -> 0xCF; anything else -> 0.
BYTE KeyOfSubkey(const wchar_t* name)
{
    if (wcslen(name) != 4 || name[0] != L'4' || name[1] != L'0') {
        return 0;
    }
    wchar_t* end = nullptr;
    unsigned long key = wcstoul(name + 2, &end, 16);
    return (end != name + 2 && *end == L'\0' && key > 0 && key < 0xFF)
               ? static_cast<BYTE>(key)
               : 0;
}

}  // namespace

HardwareButtons::HardwareButtons(const wchar_t* tableKey, ProgramStarter starter,
                                 KeyReader reader, KeySender sender)
    : tableKey_(tableKey != nullptr ? tableKey : kDefaultKey),
      starter_(starter),
      reader_(reader),
      sender_(sender)
{
}

HardwareButtons::~HardwareButtons()
{
    // A host key still held when the shell ends must not leave its button
    // held for every program.
    for (const HardwareButton& button : buttons_) {
        if (button.hostHeld) {
            sender_(button.virtualKey, false);
        }
    }
}

void HardwareButtons::WriteDefaultTable() const
{
    HKEY table = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, tableKey_.c_str(), 0, KEY_READ, &table) ==
        ERROR_SUCCESS) {
        RegCloseKey(table);
        return;
    }
    for (const DefaultButton& button : kDefaultButtons) {
        std::wstring path = tableKey_ + L"\\" + button.subkey;
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            continue;
        }
        WriteString(key, L"Name", button.name);
        WriteString(key, nullptr, button.program);
        if (button.hostKey != 0) {
            RegSetValueExW(key, L"HostKey", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&button.hostKey), sizeof(DWORD));
        }
        RegCloseKey(key);
    }
}

void HardwareButtons::Load()
{
    buttons_.clear();
    HKEY table = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, tableKey_.c_str(), 0, KEY_READ, &table) !=
        ERROR_SUCCESS) {
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[64];
        DWORD length = 64;
        LONG status = RegEnumKeyExW(table, index, name, &length, nullptr, nullptr, nullptr,
                                    nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            break;
        }
        BYTE virtualKey = status == ERROR_SUCCESS ? KeyOfSubkey(name) : 0;
        HKEY key = nullptr;
        if (virtualKey == 0 || RegOpenKeyExW(table, name, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            continue;
        }
        HardwareButton button;
        button.virtualKey = virtualKey;
        button.name = ReadString(key, L"Name");
        button.program = ReadString(key, nullptr);
        DWORD hostKey = 0;
        DWORD size = sizeof(hostKey);
        DWORD type = 0;
        if (RegQueryValueExW(key, L"HostKey", nullptr, &type, reinterpret_cast<BYTE*>(&hostKey),
                             &size) == ERROR_SUCCESS &&
            type == REG_DWORD && hostKey > 0 && hostKey < 0xFF) {
            button.hostKey = static_cast<BYTE>(hostKey);
        }
        RegCloseKey(key);
        buttons_.push_back(button);
    }
    RegCloseKey(table);
}

void HardwareButtons::Poll()
{
    for (HardwareButton& button : buttons_) {
        if (button.hostKey != 0) {
            bool hostHeld = (reader_(button.hostKey) & 0x8000) != 0;
            if (hostHeld != button.hostHeld) {
                button.hostHeld = hostHeld;
                sender_(button.virtualKey, hostHeld);
            }
        }
        bool keyHeld = (reader_(button.virtualKey) & 0x8000) != 0;
        if (keyHeld && !button.keyHeld && !button.program.empty()) {
            starter_(button.program, L"");
        }
        button.keyHeld = keyHeld;
    }
}

bool HardwareButtons::Watches(UINT key) const
{
    for (const HardwareButton& button : buttons_) {
        if (key == button.virtualKey || (button.hostKey != 0 && key == button.hostKey))
            return true;
    }
    return false;
}

bool HardwareButtons::AnyHeld() const
{
    for (const HardwareButton& button : buttons_) {
        if (button.hostHeld || button.keyHeld)
            return true;
    }
    return false;
}

void HardwareButtons::SendKey(BYTE key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(input));
}

}  // namespace shell
