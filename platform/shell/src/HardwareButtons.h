// The device's hardware buttons: the table "SOFTWARE\Microsoft\Shell\Keys"
// (a subkey "40XX" per button, XX its virtual key; "Name"; the default value
// the program the button starts; "HostKey" the key of the computer's
// keyboard that stands for it). A held host key holds the button's virtual
// key down for every program of the device; any press of the button's key,
// from the host key or from the device driver, starts its program.
#pragma once

#include "platform/shell/src/ProcessStarter.h"

#include <windows.h>

#include <string>
#include <vector>

namespace shell {

struct HardwareButton {
    std::wstring name;
    std::wstring program;
    BYTE virtualKey = 0;
    BYTE hostKey = 0;
    bool hostHeld = false;
    bool keyHeld = false;
};

class HardwareButtons {
public:
    using KeyReader = SHORT(WINAPI*)(int key);
    using KeySender = void (*)(BYTE key, bool down);

    static const wchar_t kDefaultKey[];
    static constexpr BYTE kRecordKey = 0xCF;
    static constexpr BYTE kRecordHostKey = VK_F9;
    static constexpr UINT kPollMs = 50;

    explicit HardwareButtons(const wchar_t* tableKey = kDefaultKey,
                             ProgramStarter starter = StartProgram,
                             KeyReader reader = GetAsyncKeyState, KeySender sender = SendKey);
    virtual ~HardwareButtons();

    // Writes the device's button table unless there is one already.
    void WriteDefaultTable() const;
    // Reads the table; buttons whose subkey name is not "40XX" are left out.
    void Load();
    // Follows the host keys and the buttons' keys: after each event of a
    // key that Watches, and every kPollMs while AnyHeld.
    void Poll();
    bool Watches(UINT key) const;
    bool AnyHeld() const;
    const std::vector<HardwareButton>& Buttons() const { return buttons_; }

    // SendInput of one key, seen by every program of the device.
    static void SendKey(BYTE key, bool down);

private:
    std::wstring tableKey_;
    ProgramStarter starter_;
    KeyReader reader_;
    KeySender sender_;
    std::vector<HardwareButton> buttons_;
};

}  // namespace shell
