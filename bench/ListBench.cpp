// Speed of the all-notes list with 1000 notes in the device's notes folder,
// then again with 10,000, against floors measured in the same run:
//  - start to full list: from CreateProcessW of "Jotlings.exe showall" to
//    its all-notes window answering that its list holds 1000 rows, against
//    the same start of a bare program (this one, with "floor") that lists
//    the folder, reads the 1000 heads with CreateFileW/ReadFile and fills a
//    visible report list view with redraw held off. Both are processes and
//    are timed the same way, so the process start that Jotlings pays is in
//    the floor too. The program's starts find the head cache its first
//    start wrote (heads known by their files' size and last write time);
//    with 10,000 notes, starts without it (the cache file deleted before
//    each) are timed against the same floor too;
//  - where that time goes inside one process: loading the heads into the
//    real note store, and its first showing (the window made and shown,
//    sorted and filled), each against its bare part, and the first
//    showing's steps beside the bare list's. The first showing has two
//    floors: a bare window holding the same controls (the list view, an
//    InkX preview) with its menu bar a top-level band of its own holding a
//    toolbar, and a bare list view alone;
//  - one save with 1000 notes listed: the real store's OnNoteSaved of one
//    path with the list window shown (read again, sorted, list refilled),
//    against reading one head and refilling a bare list of 1000 rows;
//  - memory: the private bytes and the peak working set of Jotlings.exe
//    with the 1000 notes listed and a 2.7 MB note (10,000 strokes and a
//    60-second recording, handed over as the Today item does) open, against
//    a bare program (this one, with "memoryfloor") holding the same heads in
//    a list view and the same note in the bare note window's InkX control.
// Prints one line per figure: name, project ms, floor ms, ratio.
#include "app/MainWindow.h"
#include "bench/BareList.h"
#include "bench/BareNoteWindow.h"
#include "bench/BenchSupport.h"
#include "bench/ProgramBench.h"
#include "notes/NoteFile.h"
#include "notestore/NoteStore.h"
#include "notewindow/InkControlMessages.h"
#include "process/Application.h"
#include "shared/SharedNames.h"
#include "shared/SharedNoteMap.h"

#include <windows.h>
#include <commctrl.h>
#include <inkx.h>
#include <psapi.h>
#include <shlobj.h>

#include <stdio.h>
#include <wchar.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The notes of the current round: 1000, then 10,000.
int kNotes = 1000;
const int kManyNotes = 10000;
// A head read within a few seconds of its file's last write is read again
// at the next start (a file system keeping coarse times could not tell a
// later write); the notes a person has are older than that.
const DWORD kNotesSettleMs = 3500;
using bench::kRuns;
const DWORD kStartTimeoutMs = 60000;
const wchar_t kProgram[] = L"C:\\Program Files\\Jotlings\\Jotlings.exe";
const wchar_t kProgramListClass[] = L"AllJotlingsWnd";
const wchar_t kFloorWindowClass[] = L"ListBenchFloorWnd";
const wchar_t kFloorWord[] = L"floor";
const wchar_t kMemoryFloorWord[] = L"memoryfloor";
const wchar_t kNoteWindowClass[] = L"JotlingWndClass";
const wchar_t kBareNoteClass[] = L"BenchBareNoteWnd";
// What a program sets off after its windows are up (its first paints, the
// shell's panels looking again) has ended by then.
const DWORD kMemorySettleMs = 1000;
const int kListLeft = 5, kListTop = 5, kListWidth = 230, kListHeight = 170;

using bench::MakeBareList;
using bench::MakeMainWindow;
using bench::Now;
using bench::Pump;
using bench::Report;

// The folder Jotlings.exe reads: "My Jotlings" in the documents folder.
std::wstring NotesFolder()
{
    wchar_t documents[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, TRUE);
    return std::wstring(documents) + L"\\My Jotlings";
}

std::vector<std::wstring> ListNotes(const std::wstring& folder)
{
    std::vector<std::wstring> paths;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*.jot").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return paths;
    do {
        paths.push_back(folder + L"\\" + found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return paths;
}

// kNotes notes the way the program writes them: a quarter never expire, the
// rest expire over the years ahead (none is due, so no alarm opens), some
// share an expiry, a few carry the expired flag.
bool WriteNotes(const std::wstring& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const std::wstring& old : ListNotes(folder))
        DeleteFileW(old.c_str());
    for (int n = 0; n < kNotes; ++n) {
        NoteRecord record;
        _snwprintf(record.title, kTitleLength - 1, L"Note %d: %s", n,
                   n % 3 == 0 ? L"call the garage about the tyres" : n % 3 == 1 ? L"milk, bread" : L"ideas");
        if (n % 4 == 0) {
            record.expiry.wHour = 25;
        } else {
            record.expiry.wYear = WORD(2090 + n % 7);
            record.expiry.wMonth = WORD(1 + n % 12);
            record.expiry.wDay = WORD(1 + (n * 7) % 28);
            record.expiry.wHour = WORD((n * 5) % 24);
            record.expiry.wMinute = WORD((n * 13) % 60);
        }
        record.expired = n % 50 == 1 ? 1 : 0;
        wchar_t path[MAX_PATH];
        _snwprintf(path, MAX_PATH, L"%s\\Jotling%d.jot", folder.c_str(), n);
        if (!WriteNoteFile(path, record))
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// The floor program: the plainest way to the same list on the screen.
// ---------------------------------------------------------------------------

bool ReadHead(const wchar_t* path, BYTE* head)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    BOOL read = ReadFile(file, head, kNoteHeadSize, &got, nullptr);
    CloseHandle(file);
    return read && got == kNoteHeadSize;
}

// The rows from 527-byte heads: expiry as text in the first column, the
// title in the second.
void FillBareList(HWND list, const std::vector<std::vector<BYTE>>& heads)
{
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_SETITEMCOUNT, heads.size(), 0);
    int row = 0;
    for (const std::vector<BYTE>& head : heads) {
        const WORD* expiry = reinterpret_cast<const WORD*>(head.data());
        wchar_t time[40];
        if (expiry[4] == 25)
            wcscpy(time, L"Never expire");
        else
            _snwprintf(time, 40, L"%02u.%02u.%02u, %02u:%02u", expiry[1], expiry[3], expiry[0] % 100, expiry[4],
                       expiry[5]);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = time;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        wchar_t title[kTitleLength];
        memcpy(title, head.data() + 16, sizeof(title));
        title[kTitleLength - 1] = L'\0';
        LVITEMW text = {};
        text.iSubItem = 1;
        text.pszText = title;
        SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&text));
        ++row;
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::vector<std::vector<BYTE>> ReadHeads(const std::vector<std::wstring>& paths)
{
    std::vector<std::vector<BYTE>> heads;
    heads.reserve(paths.size());
    for (const std::wstring& path : paths) {
        std::vector<BYTE> head(kNoteHeadSize);
        if (ReadHead(path.c_str(), head.data()))
            heads.push_back(std::move(head));
    }
    return heads;
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeFloorWindow(DWORD visible = WS_VISIBLE)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kFloorWindowClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kFloorWindowClass, L"Floor", WS_POPUP, 0, 0, 240, 320, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    // Shown once marked, so that no panel button is made for it.
    bench::LeaveWithoutPanelButton(window);
    if (visible)
        ShowWindow(window, SW_SHOW);
    return window;
}

// The all-notes window's floor made the plainest way: a hidden full-screen
// pop-up holding what that window holds (the list view and an empty InkX
// preview with the list's border and style), shown once they are in it,
// with its menu bar a band of its own holding a two-button toolbar. Its list is returned in *list.
HWND MakeFloorWindowWithControls(HWND* list)
{
    HWND window = MakeFloorWindow(0);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND toolbar = bench::MakeBareBand(window);
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    TBBUTTON buttons[2] = {};
    const wchar_t* texts[2] = {L"New", L"Tools"};
    for (int i = 0; i < 2; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        buttons[i].iString = reinterpret_cast<INT_PTR>(texts[i]);
    }
    SendMessageW(toolbar, TB_ADDBUTTONSW, 2, reinterpret_cast<LPARAM>(buttons));
    *list = MakeBareList(window);
    CreateWindowExW(0, INKX_CLASS_NAME, L"", kInkStyleBordered, 5, 180, 230, 84, window, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
    return window;
}

int RunFloorProgram()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    HWND window = MakeFloorWindow();
    HWND list = MakeBareList(window);
    FillBareList(list, ReadHeads(ListNotes(NotesFolder())));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// The same list, and the note in the bare note window over it.
int RunMemoryFloorProgram(const wchar_t* notePath)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    InitInkX();
    HWND window = MakeFloorWindow();
    HWND list = MakeBareList(window);
    FillBareList(list, ReadHeads(ListNotes(NotesFolder())));
    bench::BareNoteWindow note;
    note.Open(notePath);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Process starts, timed from CreateProcessW to a list of kNotes rows.
// ---------------------------------------------------------------------------

// Closes a started program through its window (when it has one), waits for
// it to end, ending it by force after 15 s, and lets its handles go.
void EndProgram(PROCESS_INFORMATION& process, HWND window, const std::wstring& commandLine)
{
    if (window != nullptr)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (!bench::WaitAnswering(process.hProcess, 15000)) {
        printf("warning: %ls did not end; ended by force\n", commandLine.c_str());
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Starts commandLine and returns the milliseconds until a top-level window
// of windowClass has a list view child holding kNotes rows; the process is
// then closed and waited for. A negative time when that never happened.
double TimeStartToFullList(const std::wstring& commandLine, const wchar_t* windowClass)
{
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    double start = Now();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    double elapsed = -1;
    HWND window = nullptr;
    while (Now() - start < kStartTimeoutMs) {
        window = FindWindowW(windowClass, nullptr);
        HWND list = window != nullptr ? FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
        DWORD_PTR rows = 0;
        // Answered when the program is back in its message loop.
        if (list != nullptr &&
            SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kStartTimeoutMs, &rows) &&
            rows >= DWORD_PTR(kNotes)) {
            elapsed = Now() - start;
            break;
        }
        // Messages sent to this process's windows are answered while it
        // waits: the program tells every top-level window of changes to
        // the input panel and would wait for a silent one.
        if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1, QS_SENDMESSAGE) == WAIT_OBJECT_0)
            break;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    EndProgram(process, window, commandLine);
    return elapsed;
}

// The name of a figure with the round's count in it ("%d" in format).
std::string Named(const char* format)
{
    char name[100];
    snprintf(name, sizeof(name), format, kNotes);
    return name;
}

// Starts of the program, each after withoutCache deleted its head cache
// file (when it is given), against the floor's.
void StartFigure(const char* figure, const wchar_t* withoutCache = nullptr)
{
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring project = std::wstring(L"\"") + kProgram + L"\" showall";
    std::wstring floor = std::wstring(L"\"") + self + L"\" " + kFloorWord;
    // The first start of each warms the caches and the registry; it is
    // measured but not counted.
    TimeStartToFullList(project, kProgramListClass);
    TimeStartToFullList(floor, kFloorWindowClass);
    std::vector<double> projectTimes, floorTimes;
    for (int run = 0; run < kRuns; ++run) {
        if (withoutCache != nullptr)
            DeleteFileW(withoutCache);
        double p = TimeStartToFullList(project, kProgramListClass);
        double f = TimeStartToFullList(floor, kFloorWindowClass);
        if (p < 0 || f < 0) {
            printf("warning: a list never showed %d rows (project %.0f, floor %.0f)\n", kNotes, p, f);
            continue;
        }
        printf("  start run %d: project %.1f ms, floor %.1f ms\n", run + 1, p, f);
        projectTimes.push_back(p);
        floorTimes.push_back(f);
    }
    bench::ReportRange(Named(figure).c_str(), projectTimes, floorTimes);
}

// ---------------------------------------------------------------------------
// Memory of a process with the notes listed and the big note open.
// ---------------------------------------------------------------------------

struct Memory {
    double privateBytes = -1;
    double peakWorkingSet = -1;
};

// Waits for up to timeoutMs until ready() holds, answering meanwhile what
// is sent to this thread (the program tells every top-level window of
// changes to the input panel and waits for each). False on timeout.
bool AwaitAnswering(const std::function<bool()>& ready, DWORD timeoutMs)
{
    double start = Now();
    while (!ready()) {
        if (Now() - start > timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    return true;
}

HWND VisibleWindowOf(const wchar_t* windowClass, DWORD process)
{
    for (HWND window = FindWindowExW(nullptr, nullptr, windowClass, nullptr); window != nullptr;
         window = FindWindowExW(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

bool ListHolds(const wchar_t* windowClass, DWORD process, int rows)
{
    HWND window = VisibleWindowOf(windowClass, process);
    HWND list = window != nullptr ? FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr) : nullptr;
    DWORD_PTR count = 0;
    return list != nullptr && SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, kStartTimeoutMs, &count) &&
           count >= DWORD_PTR(rows);
}

// The committed private memory of process, region by region. Wine answers
// GetProcessMemoryInfo's PrivateUsage for another process with 0.
double PrivateBytes(HANDLE process)
{
    double total = 0;
    MEMORY_BASIC_INFORMATION region = {};
    for (BYTE* at = nullptr; VirtualQueryEx(process, at, &region, sizeof(region)) == sizeof(region);) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += double(region.RegionSize);
        BYTE* next = static_cast<BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total > 0 ? total : -1;
}

// Starts commandLine, lets bringUp(process id) put up what is measured,
// gives it kMemorySettleMs and reads its counters; then closes the window
// of closeClass and waits for the process to end.
Memory MemoryOf(const std::wstring& commandLine, const std::function<bool(DWORD)>& bringUp,
                const wchar_t* closeClass)
{
    Memory memory;
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return memory;
    if (bringUp(process.dwProcessId)) {
        double start = Now();
        AwaitAnswering([&] { return Now() - start >= kMemorySettleMs; }, kMemorySettleMs * 2);
        memory.privateBytes = PrivateBytes(process.hProcess);
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof(counters)))
            memory.peakWorkingSet = double(counters.PeakWorkingSetSize);
    }
    EndProgram(process, VisibleWindowOf(closeClass, process.dwProcessId), commandLine);
    return memory;
}

void MemoryFigures(const std::wstring& folder)
{
    // The big note beside the others, under the next name.
    std::wstring big = folder + L"\\Jotling" + std::to_wstring(kNotes) + L".jot";
    std::vector<uint8_t> ink = bench::BigInkContent();
    NoteRecord record;
    wcscpy(record.title, L"A long note");
    record.expiry.wHour = 25;
    record.zoom = 100;
    BYTE* data = AllocateNoteData(DWORD(ink.size()));
    if (data == nullptr)
        return;
    memcpy(data, ink.data(), ink.size());
    record.TakeData(data, DWORD(ink.size()));
    if (!WriteNoteFile(big.c_str(), record)) {
        printf("warning: the big note could not be written\n");
        return;
    }
    const int rows = kNotes + 1;

    // The program shows all notes, and the Today item hands the note over.
    std::wstring project = std::wstring(L"\"") + kProgram + L"\" showall";
    auto projectUp = [&](DWORD process) {
        if (!AwaitAnswering([&] { return ListHolds(kProgramListClass, process, rows); }, kStartTimeoutMs))
            return false;
        HWND main = FindWindowW(kMainWindowClass, kMainWindowTitle);
        return main != nullptr && HandOverNotePath(main, big.c_str(), kStartTimeoutMs) &&
               AwaitAnswering([&] { return VisibleWindowOf(kNoteWindowClass, process) != nullptr; },
                              kStartTimeoutMs);
    };
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring floor = std::wstring(L"\"") + self + L"\" " + kMemoryFloorWord + L" \"" + big + L"\"";
    auto floorUp = [&](DWORD process) {
        return AwaitAnswering(
            [&] {
                return ListHolds(kFloorWindowClass, process, rows) && VisibleWindowOf(kBareNoteClass, process) != nullptr;
            },
            kStartTimeoutMs);
    };

    std::vector<double> projectPrivate, floorPrivate, projectPeak, floorPeak;
    for (int run = 0; run < kRuns; ++run) {
        Memory p = MemoryOf(project, projectUp, kProgramListClass);
        Memory f = MemoryOf(floor, floorUp, kFloorWindowClass);
        if (p.privateBytes < 0 || f.privateBytes < 0) {
            printf("warning: a program's memory could not be read (project %.0f, floor %.0f)\n", p.privateBytes,
                   f.privateBytes);
            continue;
        }
        projectPrivate.push_back(p.privateBytes);
        floorPrivate.push_back(f.privateBytes);
        projectPeak.push_back(p.peakWorkingSet);
        floorPeak.push_back(f.peakWorkingSet);
    }
    bench::ReportBytes(Named("private bytes, %d listed and 2.7 MB note open").c_str(), bench::MedianOf(projectPrivate),
                       bench::MedianOf(floorPrivate));
    bench::ReportBytes("peak working set, the same", bench::MedianOf(projectPeak), bench::MedianOf(floorPeak));
    DeleteFileW(big.c_str());
}

// ---------------------------------------------------------------------------
// Inside one process: the real store and main window, as the program makes
// them.
// ---------------------------------------------------------------------------

// The store with the first showing of its window made step by step, in the
// order NoteListWindow::Show makes it.
class SteppedStore : public NoteStore {
public:
    using NoteStore::NoteStore;

    static const int kSteps = 3;
    static const char* StepName(int step)
    {
        static const char* const kNames[kSteps] = {
            "the window, menu bar, list and preview, shown",
            "sort by time",
            "fill the rows (shown; the list asks for the rows it paints)",
        };
        return kNames[step];
    }
    void ShowInSteps(double* times)
    {
        double start = Now();
        CreateListWindow();
        times[0] = Now() - start;
        start = Now();
        SortByColumn(-1);
        times[1] = Now() - start;
        start = Now();
        FillList();
        times[2] = Now() - start;
    }
};

// Where the first showing's time goes, against the bare list's two parts.
void ShowStepFigures(const std::vector<std::vector<BYTE>>& heads)
{
    std::vector<std::vector<double>> steps(SteppedStore::kSteps + 2);
    for (int run = 0; run <= kRuns; ++run) {
        SteppedStore* notes = new SteppedStore(g_application->NotesFolder(), g_application->NoteExtension(),
                                               g_application->HeadCachePath());
        MainWindow* mainWindow = MakeMainWindow(*notes);
        double times[SteppedStore::kSteps + 2];
        notes->ShowInSteps(times);
        Pump();
        double start = Now();
        HWND bareWindow = MakeFloorWindow();
        HWND bareList = MakeBareList(bareWindow);
        times[SteppedStore::kSteps] = Now() - start;
        start = Now();
        FillBareList(bareList, heads);
        times[SteppedStore::kSteps + 1] = Now() - start;
        Pump();
        delete mainWindow;
        delete notes;
        DestroyWindow(bareWindow);
        Pump();
        for (int step = 0; run > 0 && step < SteppedStore::kSteps + 2; ++step)
            steps[step].push_back(times[step]);
    }
    for (int step = 0; step < SteppedStore::kSteps + 2; ++step) {
        double median = bench::MedianOf(steps[step]);
        const char* name = step < SteppedStore::kSteps          ? SteppedStore::StepName(step)
                           : step == SteppedStore::kSteps ? "bare: window and list view"
                                                          : "bare: fill the rows (shown, redraw held off)";
        bench::ReportStep(name, &median, 1);
    }
}
// ---------------------------------------------------------------------------

void InProcessFigures(const std::wstring& folder)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    InitInkX();
    g_application = new Application();
    g_application->SetInstance(GetModuleHandleW(nullptr));

    // Loading: the store's heads against reading the same heads.
    std::vector<double> loadTimes, readTimes;
    for (int run = 0; run < kRuns; ++run) {
        double start = Now();
        NoteStore* store = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension(),
                                         g_application->HeadCachePath());
        loadTimes.push_back(Now() - start);
        if (store->EntryCount() != kNotes)
            printf("warning: the store listed %d notes\n", store->EntryCount());
        delete store;
        start = Now();
        std::vector<std::vector<BYTE>> heads = ReadHeads(ListNotes(folder));
        readTimes.push_back(Now() - start);
    }
    bench::ReportRange(Named("load %d heads into the store (cache kept)").c_str(), loadTimes, readTimes);

    // The first showing of a store's window: the window, the sort by time
    // and the fill; a new store each run, after one uncounted run of each.
    std::vector<std::vector<BYTE>> heads = ReadHeads(ListNotes(folder));
    NoteStore* notes = nullptr;
    MainWindow* mainWindow = nullptr;
    std::vector<double> showTimes, bareShowTimes, controlsShowTimes;
    HWND bareWindow = nullptr, bareList = nullptr;
    for (int run = 0; run <= kRuns; ++run) {
        if (notes != nullptr) {
            // The main window goes first: it asks the store while the
            // list window goes.
            delete mainWindow;
            delete notes;
            DestroyWindow(bareWindow);
            Pump();
        }
        notes = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension(),
                              g_application->HeadCachePath());
        mainWindow = MakeMainWindow(*notes);
        double start = Now();
        notes->Show();
        double show = Now() - start;
        Pump();
        start = Now();
        bareWindow = MakeFloorWindow();
        bareList = MakeBareList(bareWindow);
        FillBareList(bareList, heads);
        double bareShow = Now() - start;
        Pump();
        start = Now();
        HWND controlsList = nullptr;
        HWND controlsWindow = MakeFloorWindowWithControls(&controlsList);
        FillBareList(controlsList, heads);
        double controlsShow = Now() - start;
        Pump();
        // Gone before the save below, which is measured as before with the
        // bare list's window in front.
        DestroyWindow(controlsWindow);
        Pump();
        if (run > 0) {
            showTimes.push_back(show);
            bareShowTimes.push_back(bareShow);
            controlsShowTimes.push_back(controlsShow);
        }
    }
    bench::ReportRange(Named("first show of %d, same controls floor").c_str(), showTimes, controlsShowTimes);
    bench::ReportRange(Named("first show of %d, bare list floor").c_str(), showTimes, bareShowTimes);
    if (notes->List().ItemCount() != kNotes)
        printf("warning: the list shows %d rows\n", notes->List().ItemCount());

    // One save: the saved note's entry read again, the list sorted and
    // filled again, against one head read and a bare refill.
    NoteEntry* saved = notes->EntryAt(kNotes / 2);
    std::wstring path = saved != nullptr ? saved->path : L"";
    NoteRecord record;
    ReadNoteFile(path.c_str(), &record);
    std::vector<double> saveTimes, refillTimes;
    for (int run = 0; run < kRuns; ++run) {
        record.title[0] = static_cast<wchar_t>(L'A' + run);
        WriteNoteFile(path.c_str(), record);
        double start = Now();
        notes->OnNoteSaved(path.c_str(), false);
        saveTimes.push_back(Now() - start);
        Pump();
        start = Now();
        BYTE head[kNoteHeadSize];
        ReadHead(path.c_str(), head);
        SendMessageW(bareList, LVM_DELETEALLITEMS, 0, 0);
        FillBareList(bareList, heads);
        refillTimes.push_back(Now() - start);
        Pump();
    }
    if (notes->List().ItemCount() != kNotes)
        printf("warning: after the save the list shows %d rows\n", notes->List().ItemCount());
    bench::ReportRange(Named("one save with %d listed (OnNoteSaved)").c_str(), saveTimes, refillTimes);

    DestroyWindow(bareWindow);
    delete mainWindow;
    Pump();
    delete notes;
    Pump();
    ShowStepFigures(heads);
    delete g_application;
    g_application = nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[1], kFloorWord) == 0)
        return RunFloorProgram();
    if (argc > 2 && wcscmp(argv[1], kMemoryFloorWord) == 0)
        return RunMemoryFloorProgram(argv[2]);
    std::wstring folder = NotesFolder();
    // "inprocess": only the figures inside this process, for a quick look.
    bool inProcessOnly = argc > 1 && wcscmp(argv[1], L"inprocess") == 0;
    // The head cache the program keeps beside its settings.
    std::wstring cache = Application().HeadCachePath();
    for (int round : {1000, kManyNotes}) {
        kNotes = round;
        printf("-- %d notes\n", kNotes);
        fflush(stdout);
        if (!WriteNotes(folder)) {
            printf("the %d notes could not be written into %ls\n", kNotes, folder.c_str());
            bench::EndProcess(1);
        }
        Sleep(kNotesSettleMs);
        if (!inProcessOnly) {
            StartFigure("start to %d-row list (process each)");
            if (kNotes == kManyNotes)
                StartFigure("start to %d-row list, no head cache", cache.c_str());
            MemoryFigures(folder);
        }
        InProcessFigures(folder);
    }
    bench::EndProcess(0);
}
