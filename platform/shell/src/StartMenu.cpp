#include "platform/shell/src/StartMenu.h"

#include "platform/shell/src/ShellConstants.h"

namespace shell {

namespace {

struct Program {
    const wchar_t* label;
    const wchar_t* path;
};

const Program kPrograms[] = {
    {L"Jotlings", L"C:\\Program Files\\Jotlings\\Jotlings.exe"},
    {L"Notepad", L"C:\\windows\\notepad.exe"},
    // Try-out programs of the platform's pieces: the rich-ink control, and
    // the menu bar with the input panel.
    {L"Ink Pad", L"C:\\windows\\InkPad.exe"},
    {L"Menu Bar Demo", L"C:\\windows\\MenuBarDemo.exe"},
};

const UINT kFirstCommand = 1;

bool IsOnDevice(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

StartMenu::StartMenu(HWND today, ProgramStarter starter) : today_(today), starter_(starter) {}

std::vector<StartMenuEntry> StartMenu::Entries() const
{
    std::vector<StartMenuEntry> entries;
    entries.push_back({L"Today", L"", kMsgShowToday});
    for (const Program& program : kPrograms) {
        if (IsOnDevice(program.path)) {
            entries.push_back({program.label, program.path, 0});
        }
    }
    entries.push_back({L"Settings", L"", kMsgShowTodaySettings});
    return entries;
}

bool StartMenu::Choose(size_t index)
{
    std::vector<StartMenuEntry> entries = Entries();
    if (index >= entries.size()) {
        return false;
    }
    const StartMenuEntry& entry = entries[index];
    if (entry.program.empty()) {
        return PostMessageW(today_, entry.shellMessage, 0, 0) != FALSE;
    }
    return starter_(entry.program, L"");
}

bool StartMenu::Show(HWND owner)
{
    std::vector<StartMenuEntry> entries = Entries();
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) {
        return false;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i + 1 == entries.size()) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        }
        AppendMenuW(menu, MF_STRING, kFirstCommand + i, entries[i].label.c_str());
    }
    // A menu closes again at once unless its owner is in front.
    SetForegroundWindow(owner);
    UINT picked = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                           TPM_NONOTIFY | TPM_LEFTBUTTON,
                                 0, kNavBarHeight, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (picked < kFirstCommand) {
        return false;
    }
    return Choose(picked - kFirstCommand);
}

}  // namespace shell
