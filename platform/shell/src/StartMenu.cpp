#include "platform/shell/src/StartMenu.h"

#include "platform/shell/src/ScreenRequests.h"
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
const UINT kHelpWaitMs = 2000;

bool IsOnDevice(const wchar_t* path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

StartMenu::StartMenu(HWND today, ProgramStarter starter) : today_(today), starter_(starter) {}

std::vector<StartMenuEntry> StartMenu::Entries(HWND front) const
{
    std::vector<StartMenuEntry> entries;
    entries.push_back({L"Today", L"", kMsgShowToday});
    for (const Program& program : kPrograms) {
        if (IsOnDevice(program.path)) {
            entries.push_back({program.label, program.path, 0});
        }
    }
    if (front != nullptr && front != today_ && IsWindow(front)) {
        StartMenuEntry help = {L"Help", L"", 0};
        help.help = true;
        entries.push_back(help);
    }
    entries.push_back({L"Settings", L"", kMsgShowTodaySettings});
    return entries;
}

bool StartMenu::Choose(size_t index, HWND front)
{
    std::vector<StartMenuEntry> entries = Entries(front);
    if (index >= entries.size()) {
        return false;
    }
    const StartMenuEntry& entry = entries[index];
    if (entry.help) {
        return OpenHelp(front);
    }
    if (entry.program.empty()) {
        return ScreenRequests::Post(today_, entry.shellMessage, 0);
    }
    return starter_(entry.program, L"");
}

// As on the handheld, Start > Help asks the program in front for the help of
// what it shows: WM_HELP, which a program answers with its own topic.
bool StartMenu::OpenHelp(HWND front)
{
    if (front == nullptr || !IsWindow(front)) {
        return false;
    }
    HELPINFO info = {};
    info.cbSize = sizeof(info);
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = front;
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(front, WM_HELP, 0, reinterpret_cast<LPARAM>(&info), SMTO_ABORTIFHUNG,
                               kHelpWaitMs, &result) != 0;
}

bool StartMenu::Show(HWND owner, HWND front)
{
    std::vector<StartMenuEntry> entries = Entries(front);
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
    // The Today screen kept its strip under the menu. A pick, or another
    // program that came forward and closed the menu, takes the front from it:
    // it gives the strip up now, before the new window's menu bar is to
    // stand there.
    if (picked >= kFirstCommand || GetForegroundWindow() != owner) {
        ScreenRequests::Send(today_, kMsgStartMenuClosed, 0);
    }
    if (picked < kFirstCommand) {
        return false;
    }
    return Choose(picked - kFirstCommand, front);
}

}  // namespace shell
