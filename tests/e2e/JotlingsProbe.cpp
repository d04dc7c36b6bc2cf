// JotlingsProbe.exe: what the program's device scenarios look at inside the
// device.
//   window CLASS        exit 0 when a visible window of CLASS exists
//   front               prints the class of the window in front
//   windows             prints the visible top-level windows, front to back
//   await front|window CLASS MS
//                       exit 0 once a window of CLASS is in front (front) or
//                       visible (window), 1 when MS milliseconds pass first;
//                       one process that polls, cheaper than many probes
//   rows                prints the number of rows of the all-notes list
//   head PATH           prints "title|expired|never" of a note file's head
//   write PATH TITLE MIN [expired]
//                       writes a note expiring MIN minutes from now ("20s":
//                       20 seconds; "never": no expiry, today's date),
//                       marked expired if asked
//   tone PATH TITLE MIN HZ SECONDS STROKES
//                       writes a note as write does, whose content is a
//                       recording of a loud sine tone of HZ lasting SECONDS
//                       (11025 Hz, 16-bit mono) and STROKES pen strokes
//   survey FOLDER       prints "rows N" (the all-notes list, -1 without
//                       one), then "NAME|TITLE|EXPIRED|WHOLE" for every
//                       note file of FOLDER, set-aside ones too; WHOLE is 1
//                       when the file is exactly as long as its data says.
//                       Waits up to 10 s for the list to hold as many rows
//                       as there are notes, as a list just filled at start
//                       does
//   paragraph PATH TITLE CHARS
//                       writes a never-expiring note whose content is one
//                       paragraph of typed words, CHARS characters long
//   typed PATH          prints the typed text of a note file
//   text PATH TITLE MIN SECONDS TEXT
//                       writes a note as write does, whose content is a
//                       recording of SECONDS (none for 0), a stroke and TEXT
//                       typed ("\n" in TEXT is a line break)
//   listed              prints the title of every row of the all-notes list,
//                       one a line, the selected ones marked "* ", the
//                       focused one "> " (both: "*>")
//   find                prints "OPEN|TEXT|COUNT" of the list's find box
//   rowboxes            prints "list LEFT TOP RIGHT BOTTOM", the screen's
//                       rectangle where the all-notes list shows rows (under
//                       its headings), then "row N LEFT TOP RIGHT BOTTOM"
//                       for each row the list holds there, for
//                       tests/support/screen.py to look at
//   recorded PATH       exit 0 when the note holds a voice recording
//   handover PATH       hands PATH to the running program as the Today item does
//   item                prints "TOP HEIGHT" of the Jotlings Today item on the
//                       screen; exit 1 when the Today screen shows none
//   title               prints the title of the note window on the screen
//   boxes               prints "COUNT LEFT TOP RIGHT BOTTOM": how many message
//                       boxes are on the screen, and where the first one is
//   holdruns SECONDS    holds the timed runs' lock ("CeRunStoreLock") for
//                       SECONDS, as another program could
#include "formats/InkContent.h"
#include "formats/WaveBlock.h"
#include "notes/ExpiryRules.h"
#include "notes/NoteFile.h"
#include "notewindow/InkControl.h"
#include "resources/resource.h"
#include "shared/SharedNoteMap.h"

#include <aygshell.h>
#include <commctrl.h>
#include <math.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>

#include <string>
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

BOOL CALLBACK PrintWindowLine(HWND window, LPARAM)
{
    if (!IsWindowVisible(window))
        return TRUE;
    wchar_t className[64] = L"", title[64] = L"";
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, title, 64);
    RECT rect = {};
    GetWindowRect(window, &rect);
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    wprintf(L"%ls%ls|%ls|%ld,%ld,%ld,%ld|pid %lu%ls%ls%ls%ls\n", window == GetForegroundWindow() ? L"* " : L"",
            className, title, rect.left, rect.top, rect.right, rect.bottom,
            [&] { DWORD pid = 0; GetWindowThreadProcessId(window, &pid); return pid; }(),
            (exStyle & WS_EX_TOPMOST) ? L" topmost" : L"", IsWindowEnabled(window) ? L"" : L" disabled",
            GetPropW(window, L"CeShell.DoneButton") != nullptr ? L" done" : L"",
            GetPropW(window, L"CeShell.FullScreen") != nullptr ? L" fullscreen-bits" : L"");
    return TRUE;
}

// The visible top-level windows, front to back; "* " marks the foreground.
int PrintWindows()
{
    EnumWindows(PrintWindowLine, 0);
    return 0;
}

int ListedRows()
{
    HWND list = FindWindowExW(VisibleWindow(L"AllJotlingsWnd"), nullptr, L"SysListView32", nullptr);
    return list != nullptr ? int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : -1;
}

int PrintRows()
{
    int rows = ListedRows();
    if (rows < 0)
        return 1;
    wprintf(L"%d\n", rows);
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

int WriteNote(const wchar_t* path, const wchar_t* title, const wchar_t* when, bool expired,
              const std::vector<uint8_t>& content = {})
{
    NoteRecord record;
    wcsncpy(record.title, title, kTitleLength - 1);
    record.expired = expired ? 1 : 0;
    if (!content.empty()) {
        BYTE* data = AllocateNoteData(DWORD(content.size()));
        if (data == nullptr)
            return 1;
        memcpy(data, content.data(), content.size());
        record.TakeData(data, DWORD(content.size()));
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    if (wcscmp(when, L"never") == 0) {
        record.expiry = now;
        record.expiry.wHour = 25;
    } else {
        FILETIME file;
        SystemTimeToFileTime(&now, &file);
        ULARGE_INTEGER ticks = {{file.dwLowDateTime, file.dwHighDateTime}};
        // "20s" is seconds; a bare number is minutes.
        LONGLONG seconds = _wtoi(when);
        size_t length = wcslen(when);
        if (length == 0 || when[length - 1] != L's')
            seconds *= 60;
        ticks.QuadPart += seconds * 10000000;
        file = {ticks.LowPart, ticks.HighPart};
        FileTimeToSystemTime(&file, &record.expiry);
    }
    int result = WriteNoteFile(path, record) ? 0 : 1;
    record.ClearData();
    return result;
}

struct InkPoint {
    int x, y;
};

// Ink content whose first recording is a tone a listener can pick out, and
// strokes enough to make the note as heavy as a long one written by hand.
std::vector<uint8_t> ToneContent(int hertz, int seconds, int strokes)
{
    const unsigned rate = 11025;
    std::vector<uint8_t> pcm;
    pcm.reserve(size_t(rate) * seconds * 2);
    for (size_t i = 0; i < size_t(rate) * seconds; ++i) {
        int16_t sample = int16_t(20000 * sin(2 * M_PI * hertz * double(i) / rate));
        pcm.push_back(uint8_t(sample & 0xFF));
        pcm.push_back(uint8_t((sample >> 8) & 0xFF));
    }
    std::vector<uint8_t> wave = formats::BuildWave(pcm.data(), pcm.size(), rate, 1, 16);
    std::vector<uint8_t> content;
    formats::LeWriter out(content);
    formats::WriteInkHeader(out);
    formats::WriteInkRecording(out, 40, 40, wave.data(), wave.size());
    std::vector<InkPoint> points(10);
    for (int s = 0; s < strokes; ++s) {
        for (int p = 0; p < 10; ++p)
            points[p] = {40 + (s * 7 + p * 13) % 800, 200 + (s * 11 + p * 5) % 900};
        formats::WriteInkStroke(out, RGB(0, 0, 0), 4, points);
    }
    formats::WriteInkEnd(out);
    return content;
}

bool AwaitWindow(const wchar_t* how, const wchar_t* className, DWORD limitMs)
{
    bool front = wcscmp(how, L"front") == 0;
    for (DWORD start = GetTickCount();; Sleep(20)) {
        wchar_t inFront[128] = L"";
        GetClassNameW(GetForegroundWindow(), inFront, 128);
        if (front ? wcscmp(inFront, className) == 0 : VisibleWindow(className) != nullptr)
            return true;
        if (GetTickCount() - start >= limitMs)
            return false;
    }
}

bool EndsWith(const wchar_t* name, const wchar_t* end)
{
    size_t length = wcslen(name), endLength = wcslen(end);
    return length > endLength && wcscmp(name + length - endLength, end) == 0;
}

std::vector<std::wstring> NoteFiles(const wchar_t* folder)
{
    std::vector<std::wstring> names;
    wchar_t pattern[MAX_PATH];
    _snwprintf(pattern, MAX_PATH, L"%ls\\*.jot*", folder);
    pattern[MAX_PATH - 1] = L'\0';
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(pattern, &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (EndsWith(found.cFileName, L".jot") || EndsWith(found.cFileName, L".jot.alarm"))
            names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

int PrintSurvey(const wchar_t* folder)
{
    std::vector<std::wstring> names;
    int rows = -1;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        names = NoteFiles(folder);
        rows = ListedRows();
        int listable = 0;
        for (const std::wstring& name : names)
            listable += EndsWith(name.c_str(), L".jot") ? 1 : 0;
        if (rows == listable)
            break;
    }
    wprintf(L"rows %d\n", rows);
    for (const std::wstring& name : names) {
        WIN32_FILE_ATTRIBUTE_DATA found;
        if (!GetFileAttributesExW((std::wstring(folder) + L"\\" + name).c_str(), GetFileExInfoStandard, &found))
            continue;
        std::wstring path = std::wstring(folder) + L"\\" + name;
        NoteRecord record;
        ULONGLONG size = (ULONGLONG(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        bool whole = ReadWholeNoteFile(path.c_str(), &record) && size == kNoteFileHeaderSize + record.dataLength;
        if (!whole)
            ReadNoteFile(path.c_str(), &record);   // still named by the title it holds
        wprintf(L"%ls|%ls|%d|%d\n", name.c_str(), record.title, record.expired, whole ? 1 : 0);
        record.ClearData();
    }
    return 0;
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

// Ink content holding only typed text: one paragraph of words, chars long.
std::vector<uint8_t> ParagraphContent(int chars)
{
    static const char16_t kWords[] = u"the quick brown fox jumps over a lazy dog ";
    std::u16string text;
    text.reserve(size_t(chars));
    for (int i = 0; i < chars; ++i)
        text.push_back(kWords[size_t(i) % (sizeof(kWords) / sizeof(kWords[0]) - 1)]);
    std::vector<uint8_t> content;
    formats::LeWriter out(content);
    formats::WriteInkHeader(out);
    formats::WriteInkText(out, text);
    formats::WriteInkEnd(out);
    return content;
}

// The typed text of a note file, as its reader finds it.
int PrintText(const wchar_t* path)
{
    NoteRecord record;
    if (!ReadNoteFile(path, &record))
        return 1;
    formats::InkContent content;
    formats::ReadInkContent(record.data, record.dataLength, &content);
    record.ClearData();
    std::wstring text(content.text.begin(), content.text.end());
    wprintf(L"%ls\n", text.c_str());
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

std::vector<uint8_t> TextContent(int seconds, const wchar_t* typed)
{
    std::vector<uint8_t> content;
    formats::LeWriter out(content);
    formats::WriteInkHeader(out);
    if (seconds > 0) {
        std::vector<uint8_t> pcm(size_t(11025) * 2 * seconds, 0);
        std::vector<uint8_t> wave = formats::BuildWave(pcm.data(), pcm.size(), 11025, 1, 16);
        formats::WriteInkRecording(out, 40, 40, wave.data(), wave.size());
    }
    std::vector<InkPoint> points = {{60, 300}, {400, 340}, {700, 300}};
    formats::WriteInkStroke(out, RGB(0, 0, 160), 8, points);
    std::wstring text;
    for (const wchar_t* c = typed; *c != L'\0'; ++c) {
        if (c[0] == L'\\' && c[1] == L'n') {
            text += L'\n';
            ++c;
        } else {
            text += *c;
        }
    }
    formats::WriteInkText(out, text);
    formats::WriteInkEnd(out);
    return content;
}

// Titles in any script, as the scenario's shell compares them.
void PrintUtf8(const std::wstring& text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), &bytes[0], size, nullptr, nullptr);
    fflush(stdout);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

// The list lives in another process: its rows' texts are read through a
// block of that process's memory.
int PrintListed()
{
    HWND list = FindWindowExW(VisibleWindow(L"AllJotlingsWnd"), nullptr, L"SysListView32", nullptr);
    DWORD pid = 0;
    if (list == nullptr || GetWindowThreadProcessId(list, &pid) == 0)
        return 1;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process == nullptr)
        return 1;
    const int kTextUnits = 256;
    BYTE* remote = static_cast<BYTE*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    int rows = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote != nullptr && row < rows; ++row) {
        LVITEMW item = {};
        item.iSubItem = 1;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        item.cchTextMax = kTextUnits;
        wchar_t title[kTextUnits] = L"";
        SIZE_T moved = 0;
        WriteProcessMemory(process, remote, &item, sizeof(item), &moved);
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote + sizeof(LVITEMW), title, sizeof(title), &moved);
        title[kTextUnits - 1] = L'\0';
        UINT state = UINT(SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED | LVIS_FOCUSED));
        std::wstring line;
        line += (state & LVIS_SELECTED) ? L'*' : L' ';
        line += (state & LVIS_FOCUSED) ? L'>' : L' ';
        PrintUtf8(line + title + L"\n");
    }
    if (remote != nullptr)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return remote != nullptr ? 0 : 1;
}

// Where the list's rows stand on the screen: the rectangles are asked for
// through a block of the list's process, as the titles are.
int PrintRowBoxes()
{
    HWND list = FindWindowExW(VisibleWindow(L"AllJotlingsWnd"), nullptr, L"SysListView32", nullptr);
    DWORD pid = 0;
    if (list == nullptr || GetWindowThreadProcessId(list, &pid) == 0)
        return 1;
    RECT area;
    GetClientRect(list, &area);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT headings = {};
    if (header != nullptr && IsWindowVisible(header) && GetWindowRect(header, &headings)) {
        MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&headings), 2);
        area.top = headings.bottom;
    }
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&area), 2);
    wprintf(L"list %ld %ld %ld %ld\n", area.left, area.top, area.right, area.bottom);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    RECT* remote = process != nullptr ? static_cast<RECT*>(VirtualAllocEx(process, nullptr, sizeof(RECT),
                                                                          MEM_COMMIT, PAGE_READWRITE))
                                      : nullptr;
    int rows = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; remote != nullptr && row < rows; ++row) {
        RECT box = {LVIR_BOUNDS, 0, 0, 0};
        SIZE_T moved = 0;
        WriteProcessMemory(process, remote, &box, sizeof(box), &moved);
        if (!SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote)))
            continue;
        ReadProcessMemory(process, remote, &box, sizeof(box), &moved);
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&box), 2);
        if (box.bottom <= area.top || box.top >= area.bottom)
            continue;
        wprintf(L"row %d %ld %ld %ld %ld\n", row, box.left, box.top, box.right, box.bottom);
    }
    if (remote != nullptr)
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    if (process != nullptr)
        CloseHandle(process);
    return remote != nullptr ? 0 : 1;
}

int PrintFind()
{
    HWND window = VisibleWindow(L"AllJotlingsWnd");
    if (window == nullptr)
        return 1;
    HWND edit = GetDlgItem(window, IDC_LIST_FIND_EDIT);
    wchar_t text[256] = L"", count[64] = L"";
    // An edit keeps its text itself: asked, not read from the window.
    SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    GetWindowTextW(GetDlgItem(window, IDC_LIST_FIND_COUNT), count, 64);
    PrintUtf8(std::to_wstring(edit != nullptr && IsWindowVisible(edit) ? 1 : 0) + L"|" + text + L"|" + count + L"\n");
    return 0;
}

}  // namespace

// Another program keeping the device's list of timed runs to itself.
int HoldRunsLock(DWORD seconds)
{
    HANDLE lock = CreateMutexW(nullptr, FALSE, L"CeRunStoreLock");
    if (lock == nullptr || WaitForSingleObject(lock, 5000) != WAIT_OBJECT_0)
        return 1;
    Sleep(seconds * 1000);
    ReleaseMutex(lock);
    CloseHandle(lock);
    return 0;
}

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && wcscmp(argv[1], L"window") == 0)
        return VisibleWindow(argv[2]) != nullptr ? 0 : 1;
    if (argc == 2 && wcscmp(argv[1], L"front") == 0)
        return PrintFront();
    if (argc == 2 && wcscmp(argv[1], L"windows") == 0)
        return PrintWindows();
    if (argc == 5 && wcscmp(argv[1], L"await") == 0)
        return AwaitWindow(argv[2], argv[3], DWORD(_wtoi(argv[4]))) ? 0 : 1;
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
    if (argc == 3 && wcscmp(argv[1], L"holdruns") == 0)
        return HoldRunsLock(DWORD(_wtoi(argv[2])));
    if (argc == 8 && wcscmp(argv[1], L"tone") == 0)
        return WriteNote(argv[2], argv[3], argv[4], false, ToneContent(_wtoi(argv[5]), _wtoi(argv[6]), _wtoi(argv[7])));
    if (argc == 3 && wcscmp(argv[1], L"survey") == 0)
        return PrintSurvey(argv[2]);
    if (argc == 2 && wcscmp(argv[1], L"keyboard") == 0)
        return PrintKeyboard();
    if (argc == 5 && wcscmp(argv[1], L"paragraph") == 0)
        return WriteNote(argv[2], argv[3], L"never", false, ParagraphContent(_wtoi(argv[4])));
    if (argc == 3 && wcscmp(argv[1], L"typed") == 0)
        return PrintText(argv[2]);
    if (argc == 7 && wcscmp(argv[1], L"text") == 0)
        return WriteNote(argv[2], argv[3], argv[4], false, TextContent(_wtoi(argv[5]), argv[6]));
    if (argc == 2 && wcscmp(argv[1], L"listed") == 0)
        return PrintListed();
    if (argc == 2 && wcscmp(argv[1], L"find") == 0)
        return PrintFind();
    if (argc == 2 && wcscmp(argv[1], L"rowboxes") == 0)
        return PrintRowBoxes();
    if (argc == 3 && wcscmp(argv[1], L"recorded") == 0)
        return HoldsRecording(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"handover") == 0) {
        HWND main = FindWindowW(L"JOTLINGS", L"KORVA Jotlings");
        return main != nullptr && HandOverNotePath(main, argv[2]) ? 0 : 1;
    }
    return 2;
}
