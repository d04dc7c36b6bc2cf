#include "today/TodaySettings.h"

#include "platform/common/Text.h"
#include "shared/Registry.h"
#include "shared/SharedNames.h"

#include <aygshell.h>

TodaySettings g_todaySettings;

namespace {

const int kFontList = 1005;
const int kCountList = 1006;
const int kExpiredBox = 1002;
const int kTodayBox = 1003;

const int kLargestFont = 12;
const int kSmallestFont = 8;
const int kMostNotes = 10;

const wchar_t kHelpViewer[] = L"PegHelp.exe";
const wchar_t kHelpTopic[] = L"file:\\Windows\\Jotlings.htm#SToday";

// Read without making the settings key, which the program's first run
// fills only where it is missing.
LONG ReadOr(const wchar_t* name, LONG missing)
{
    int value = RegPeekDword(kSettingsKey, name);
    return value == kRegMissing ? missing : value;
}

// A selection from a list: none (a stored value outside the lists' range)
// keeps the value as it was.
LONG FromSelection(HWND list, LONG top, LONG old)
{
    LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? old : top - LONG(index);
}

void ShowHelp()
{
    wchar_t commandLine[MAX_PATH];
    FormatText(commandLine, MAX_PATH, L"%s %s", kHelpViewer, kHelpTopic);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

}  // namespace

void TodaySettings::Read()
{
    count = ReadOr(L"TodayCount", 5);
    fontSize = ReadOr(L"TodayFontSize", 9);
    expired = ReadOr(L"TodayExpired", 0);
    showToday = ReadOr(L"TodayShowToday", 0);
}

namespace {

LONG Clamped(LONG value, LONG least, LONG most)
{
    return value < least ? least : value > most ? most : value;
}

}  // namespace

LONG TodaySettings::ShownCount() const
{
    return Clamped(count, 1, kMostNotes);
}

LONG TodaySettings::FontSize() const
{
    return Clamped(fontSize, kSmallestFont, kLargestFont);
}

void TodaySettings::Write() const
{
    RegWriteDword(kSettingsKey, L"TodayCount", DWORD(count));
    RegWriteDword(kSettingsKey, L"TodayFontSize", DWORD(fontSize));
    RegWriteDword(kSettingsKey, L"TodayExpired", DWORD(expired));
    RegWriteDword(kSettingsKey, L"TodayShowToday", DWORD(showToday));
}

BOOL TodaySettings::DialogMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_HELP:
        ShowHelp();
        break;
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            OnDone(dialog);
        else if (LOWORD(wParam) == IDCANCEL)
            OnCancel(dialog);
        break;
    default:
        break;
    }
    return FALSE;
}

void TodaySettings::OnInitDialog(HWND dialog)
{
    SHINITDLGINFO info = {};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG;
    SHInitDialog(&info);

    Read();
    countList_ = GetDlgItem(dialog, kCountList);
    fontList_ = GetDlgItem(dialog, kFontList);
    expiredBox_ = GetDlgItem(dialog, kExpiredBox);
    todayBox_ = GetDlgItem(dialog, kTodayBox);

    wchar_t text[32];
    for (int size = kLargestFont; size >= kSmallestFont; --size) {
        FormatText(text, 32, L"%d pts.", size);
        SendMessageW(fontList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    for (int notes = kMostNotes; notes >= 2; --notes) {
        FormatText(text, 32, L"%d jotlings", notes);
        SendMessageW(countList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageW(countList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"1 jotling"));

    // Posted: they take effect once the dialog has finished its set-up.
    PostMessageW(fontList_, CB_SETCURSEL, WPARAM(kLargestFont - fontSize), 0);
    PostMessageW(countList_, CB_SETCURSEL, WPARAM(kMostNotes - count), 0);
    PostMessageW(expiredBox_, BM_SETCHECK, expired != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    PostMessageW(todayBox_, BM_SETCHECK, showToday != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TodaySettings::OnDone(HWND dialog)
{
    fontSize = FromSelection(fontList_, kLargestFont, fontSize);
    count = FromSelection(countList_, kMostNotes, count);
    expired = SendMessageW(expiredBox_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    showToday = SendMessageW(todayBox_, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
    Write();
    countList_ = fontList_ = expiredBox_ = todayBox_ = nullptr;
    EndDialog(dialog, 0);
}

// Escape, or whoever closes the dialog without Done: the choice is dropped.
// The values were read again when the dialog opened and nothing has been
// written since, so the running item keeps what is stored.
void TodaySettings::OnCancel(HWND dialog)
{
    countList_ = fontList_ = expiredBox_ = todayBox_ = nullptr;
    EndDialog(dialog, IDCANCEL);
}
