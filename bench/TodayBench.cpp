// Speed of the Today item's refresh with 1000 notes in the folder, then with
// 10,000: the
// loaded KJotlings.dll answering the host's "reload your data" (list, sort,
// schedule, redraw), from the host's message to the repaint of the item
// with what it read off the host's thread, against the floor of reading the
// same note heads with bare file calls in the same run, run by run. The item
// knows a head it read before by its file's size and last write time, as
// the folder's listing gives them, and reads only the heads that changed.
#include "bench/BenchSupport.h"
#include "today/TestSeams.h"

#include <todaycmn.h>

#include <windows.h>

#include <stdio.h>
#include <wchar.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const int kNotes = 1000;
const int kManyNotes = 10000;
// A head read within a few seconds of its file's last write is read again
// at the next refresh (a file system keeping coarse times could not tell a
// later write); the notes a person has are older than that.
const DWORD kNotesSettleMs = 3500;
using bench::kRuns;
const DWORD kHeadSize = 527;
const wchar_t kSettings[] = L"SOFTWARE\\KORVA\\Jotlings";
// The item lists the program's own notes folder: the benchmark's stands in.
std::wstring g_folder;
bool BenchNotesFolder(wchar_t* out, size_t count)
{
    return swprintf(out, count, L"%ls", g_folder.c_str()) > 0;
}

// A note file of 535 bytes: an expiry (every fifth never expires), a title.
void WriteNote(const std::wstring& path, int n)
{
    BYTE bytes[535] = {};
    WORD time[8] = {2030, WORD(1 + n % 12), 0, WORD(1 + n % 28), WORD(n % 5 == 0 ? 25 : n % 24), WORD(n % 60), 0, 0};
    memcpy(bytes, time, sizeof time);
    wchar_t title[32];
    swprintf(title, 32, L"Note %d", n);
    memcpy(bytes + 16, title, (wcslen(title) + 1) * 2);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, bytes, sizeof bytes, &written, nullptr);
    CloseHandle(file);
}

void ReadHeadsFloor(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*.jot").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        HANDLE file = CreateFileW((folder + L"\\" + found.cFileName).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        BYTE head[kHeadSize];
        DWORD got;
        ReadFile(file, head, kHeadSize, &got, nullptr);
        CloseHandle(file);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// How many times the item asked the host for its colour: once when its
// view takes a reload, before it repaints.
int g_colourAsked = 0;

LRESULT CALLBACK Host(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TODAYM_GETCOLOR)
        ++g_colourAsked;
    if (message == TODAYM_GETCOLOR || message == TODAYM_DRAWWATERMARK)
        return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs this thread's messages until the item's view asked the colour more
// than asked times (its reload was taken, and repainted, as the handler
// returns); false after 30 s.
bool PumpUntilAsked(int asked)
{
    const double kTimeoutMs = 30000;
    double start = bench::Now();
    while (bench::Now() - start < kTimeoutMs) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (g_colourAsked > asked)
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return false;
}

// The host's "reload your data" to the item's repaint with the notes
// listed again: the notes are read off the host's thread, and the view
// takes them on the host's thread.
double Refresh(HWND window)
{
    int asked = g_colourAsked;
    double start = bench::Now();
    SendMessageW(window, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
    if (!PumpUntilAsked(asked))
        printf("warning: the item's view never took the reload\n");
    return bench::Now() - start;
}

void SetNumber(const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSettings, name, REG_DWORD, &value, sizeof(value));
}

void SetText(const wchar_t* name, const std::wstring& text)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSettings, name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * 2));
}

// The item's refresh with count notes in folder against the floor's read
// of their heads, after one of each uncounted.
void RefreshFigure(HWND window, const std::wstring& folder, int count)
{
    ReadHeadsFloor(folder);
    Refresh(window);
    std::vector<double> floors, projects;
    for (int run = 0; run < kRuns; ++run) {
        double start = bench::Now();
        ReadHeadsFloor(folder);
        floors.push_back(bench::Now() - start);
        projects.push_back(Refresh(window));
    }
    char name[80];
    snprintf(name, sizeof(name), "Today item refresh, %d notes", count);
    bench::ReportRange(name, projects, floors);
}

}  // namespace

int main()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"today-bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    for (int n = 0; n < kNotes; ++n)
        WriteNote(folder + L"\\Jotling" + std::to_wstring(n) + L".jot", n);
    SetText(L"Jotlings", folder);
    SetText(L"Path", L"C:\\TodayBench\\Jotlings.exe");
    // The item lists the next notes, whatever day they are due.
    SetNumber(L"TodayShowToday", 0);
    SetNumber(L"TodayExpired", 0);
    SetNumber(L"TodayCount", 4);

    // The library of the same build, beside the benchmark's folder.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring dll = self;
    dll = dll.substr(0, dll.find_last_of(L'\\'));
    dll = dll.substr(0, dll.find_last_of(L'\\')) + L"\\bin\\KJotlings.dll";
    HMODULE library = LoadLibraryW(dll.c_str());
    auto initialize = library != nullptr ? reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(reinterpret_cast<void*>(
                                               GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_INITIALIZEITEM))))
                                         : nullptr;
    if (initialize == nullptr) {
        printf("KJotlings.dll not found at %ls\n", dll.c_str());
        return 1;
    }
    auto setSeams = reinterpret_cast<SetTodayTestSeamsFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "SetTodayTestSeams")));
    g_folder = folder;
    TodayTestSeams seams = {nullptr, nullptr, BenchNotesFolder};
    if (setSeams != nullptr)
        setSeams(&seams);
    WNDCLASSW hostClass = {};
    hostClass.lpfnWndProc = Host;
    hostClass.lpszClassName = L"TodayBenchHost";
    RegisterClassW(&hostClass);
    HWND host = CreateWindowExW(0, L"TodayBenchHost", L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 300, nullptr, nullptr,
                                nullptr, nullptr);
    TODAYLISTITEM item = {};
    item.fEnabled = TRUE;
    item.hinstDLL = library;
    HWND window = initialize(&item, host);
    // Its first load (the colour it asked while being made is counted
    // already), then one more of each to warm both the same way; a reload
    // asked for while another runs would come after it and land on the
    // next figure.
    if (!PumpUntilAsked(g_colourAsked))
        printf("warning: the item's first load never came\n");
    Sleep(kNotesSettleMs);
    RefreshFigure(window, folder, kNotes);
    // Four lines and the one that shows all, not the empty item's 23 pixels.
    SendMessageW(window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, WPARAM(&item), 0);
    if (item.cyp <= 23)
        printf("warning: the item listed no note\n");

    for (int n = kNotes; n < kManyNotes; ++n)
        WriteNote(folder + L"\\Jotling" + std::to_wstring(n) + L".jot", n);
    Sleep(kNotesSettleMs);
    RefreshFigure(window, folder, kManyNotes);

    // Leaves no timed run and no notes behind.
    for (int n = 0; n < kManyNotes; ++n)
        DeleteFileW((folder + L"\\Jotling" + std::to_wstring(n) + L".jot").c_str());
    SendMessageW(window, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
    DestroyWindow(window);
    DestroyWindow(host);
    FreeLibrary(library);
    RemoveDirectoryW(folder.c_str());
    return 0;
}
