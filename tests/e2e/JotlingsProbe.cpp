// JotlingsProbe.exe: what the program's device scenarios look at inside the
// device.
//   window CLASS        exit 0 when a visible window of CLASS exists
//   front               prints the class of the window in front
//   rows                prints the number of rows of the all-notes list
//   head PATH           prints "title|expired|never" of a note file's head
//   write PATH TITLE MIN [expired]
//                       writes a note expiring MIN minutes from now ("never":
//                       no expiry, today's date), marked expired if asked
//   recorded PATH       exit 0 when the note holds a voice recording
//   handover PATH       hands PATH to the running program as the Today item does
//   item                prints "TOP HEIGHT" of the Jotlings Today item on the
//                       screen; exit 1 when the Today screen shows none
//   title               prints the title of the note window on the screen
//   boxes               prints "COUNT LEFT TOP RIGHT BOTTOM": how many message
//                       boxes are on the screen, and where the first one is
#include "notes/ExpiryRules.h"
#include "notes/NoteFile.h"
#include "notewindow/InkControl.h"
#include "resources/resource.h"
#include "shared/SharedNoteMap.h"

#include <aygshell.h>
#include <commctrl.h>
#include <stdio.h>
#include <wchar.h>

#include <vector>

namespace {

HWND VisibleWindow(const wchar_t* className)
{
    HWND window = FindWindowW(className, nullptr);
    return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

int PrintFront()
{
    wchar_t className[128] = L"";
    GetClassNameW(GetForegroundWindow(), className, 128);
    wprintf(L"%ls\n", className);
    return 0;
}

int PrintRows()
{
    HWND list = FindWindowExW(VisibleWindow(L"AllJotlingsWnd"), nullptr, L"SysListView32", nullptr);
    if (list == nullptr)
        return 1;
    wprintf(L"%d\n", int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    return 0;
}

int PrintHead(const wchar_t* path)
{
    NoteHead head;
    if (!ReadNoteHead(path, &head))
        return 1;
    wprintf(L"%ls|%d|%d\n", head.title, head.expired, NeverExpires(head.expiry) ? 1 : 0);
    return 0;
}

int WriteNote(const wchar_t* path, const wchar_t* title, const wchar_t* when, bool expired)
{
    NoteRecord record;
    wcsncpy(record.title, title, kTitleLength - 1);
    record.expired = expired ? 1 : 0;
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (wcscmp(when, L"never") == 0) {
        record.expiry = now;
        record.expiry.wHour = 25;
        return WriteNoteFile(path, record) ? 0 : 1;
    }
    int minutes = _wtoi(when);
    FILETIME file;
    SystemTimeToFileTime(&now, &file);
    ULARGE_INTEGER ticks = {{file.dwLowDateTime, file.dwHighDateTime}};
    ticks.QuadPart += LONGLONG(minutes) * 60 * 10000000;
    file = {ticks.LowPart, ticks.HighPart};
    FileTimeToSystemTime(&file, &record.expiry);
    return WriteNoteFile(path, record) ? 0 : 1;
}

// The item is a child of the Today screen, named by its window title.
int PrintItem()
{
    HWND today = FindWindowW(L"DesktopExplorerWindow", nullptr);
    HWND item = today != nullptr ? FindWindowExW(today, nullptr, L"TodayClass", L"KORVA Jotlings") : nullptr;
    if (item == nullptr || !IsWindowVisible(item))
        return 1;
    RECT rect;
    GetWindowRect(item, &rect);
    wprintf(L"%ld %ld\n", rect.top, rect.bottom - rect.top);
    return 0;
}

int PrintNoteTitle()
{
    HWND note = VisibleWindow(L"JotlingWndClass");
    if (note == nullptr)
        return 1;
    // Read with WM_GETTEXT: GetWindowTextW gives only the caption the system
    // keeps for a window of another process, never what a control holds.
    wchar_t title[kTitleLength] = L"";
    SendMessageW(GetDlgItem(note, IDC_NOTE_TITLE), WM_GETTEXT, kTitleLength, reinterpret_cast<LPARAM>(title));
    wprintf(L"%ls\n", title);
    return 0;
}

BOOL CALLBACK CountBox(HWND window, LPARAM found)
{
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (IsWindowVisible(window) && wcscmp(className, L"#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr) {
        auto* boxes = reinterpret_cast<std::vector<HWND>*>(found);
        boxes->push_back(window);
    }
    return TRUE;
}

// A message box is a dialog with the static text 0xFFFF.
int PrintMessageBoxes()
{
    std::vector<HWND> boxes;
    EnumWindows(CountBox, reinterpret_cast<LPARAM>(&boxes));
    RECT rect = {};
    if (!boxes.empty())
        GetWindowRect(boxes.front(), &rect);
    wprintf(L"%d %ld %ld %ld %ld\n", int(boxes.size()), rect.left, rect.top, rect.right, rect.bottom);
    return 0;
}

int HoldsRecording(const wchar_t* path)
{
    NoteRecord record;
    if (!ReadNoteFile(path, &record))
        return 1;
    int result = InkControl::FirstRecording(record.data, record.dataLength) != nullptr ? 0 : 1;
    record.ClearData();
    return result;
}

// 1 when the input panel is up, as the note window reads it.
int PrintKeyboard()
{
    SIPINFO info = {};
    info.cbSize = sizeof(info);
    wprintf(L"%d\n", SHSipInfo(SPI_GETSIPINFO, 0, &info, 0) && (info.fdwFlags & SIPF_ON) != 0 ? 1 : 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && wcscmp(argv[1], L"window") == 0)
        return VisibleWindow(argv[2]) != nullptr ? 0 : 1;
    if (argc == 2 && wcscmp(argv[1], L"front") == 0)
        return PrintFront();
    if (argc == 2 && wcscmp(argv[1], L"rows") == 0)
        return PrintRows();
    if (argc == 3 && wcscmp(argv[1], L"head") == 0)
        return PrintHead(argv[2]);
    if ((argc == 5 || argc == 6) && wcscmp(argv[1], L"write") == 0)
        return WriteNote(argv[2], argv[3], argv[4], argc == 6 && wcscmp(argv[5], L"expired") == 0);
    if (argc == 2 && wcscmp(argv[1], L"item") == 0)
        return PrintItem();
    if (argc == 2 && wcscmp(argv[1], L"title") == 0)
        return PrintNoteTitle();
    if (argc == 2 && wcscmp(argv[1], L"boxes") == 0)
        return PrintMessageBoxes();
    if (argc == 2 && wcscmp(argv[1], L"keyboard") == 0)
        return PrintKeyboard();
    if (argc == 3 && wcscmp(argv[1], L"recorded") == 0)
        return HoldsRecording(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"handover") == 0) {
        HWND main = FindWindowW(L"JOTLINGS", L"KORVA Jotlings");
        return main != nullptr && HandOverNotePath(main, argv[2]) ? 0 : 1;
    }
    return 2;
}
