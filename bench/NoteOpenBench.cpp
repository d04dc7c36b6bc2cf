// Speed of opening a note, against floors measured in the same run:
//  - open to first paint, for a 2.7 MB note (10,000 strokes, a 60-second
//    recording) and a note of one stroke: the real FileNoteWindow::Open in
//    Open mode over the real InkX.dll control, until the ink control's inner
//    window has painted (UpdateWindow of it has returned with nothing left
//    to paint), against the bare note window (BareNoteWindow) opened and
//    painted the same way on a thread without the program's send watch. The
//    big note is also measured against reading its file whole, the floor it
//    had before, with two parts of its open against that read;
//  - tap to note: the real note store with its all-notes window shown, from
//    "Edit ..." on the note's selected row (WM_COMMAND IDM_LIST_EDIT to the
//    list window), and from the Today item's hand-over (1125 with the shared
//    note map, HandOverNotePath) sent from another thread and from another
//    process (this program again, with "handover", started once and
//    handing over when told, as the long-running Today screen does), to
//    the note window's first paint; each against the bare note window's
//    open of that note with nothing else on screen (the list hidden), run
//    by run beside them ("tap" runs these figures alone);
//  - where the time goes: every step of the note window's creation, copied
//    on a bare window (NoteWindowSteps), with its median on this thread,
//    which the program's main window watches as the program's does, and on
//    a thread without that watch up to the menu bar.
// Every timed open, the project's and the floor's alike, starts on a device
// that has settled after the last one's close (bench::Settle).
// Prints one line per figure: name, project ms, floor ms, ratio; the steps
// as lines of their own.
#include "app/MainWindow.h"
#include "bench/BareNoteWindow.h"
#include "bench/BenchSupport.h"
#include "bench/BenchThread.h"
#include "bench/NoteWindowSteps.h"
#include "bench/ProgramBench.h"
#include "dialogs/TitleList.h"
#include "notes/NoteFile.h"
#include "notestore/FileNoteWindow.h"
#include "notestore/NoteStore.h"
#include "process/Application.h"
#include "resources/resource.h"
#include "shared/SharedNoteMap.h"

#include <windows.h>
#include <commctrl.h>
#include <inkx.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using bench::kRuns;
// An open takes tens of milliseconds, and a busy machine's stalls are of that
// size: the open figures take more runs than the others for a steady median.
const int kOpenRuns = 2 * kRuns - 1;
using bench::MakeMainWindow;
using bench::Now;
using bench::Pump;
using bench::Report;

// What the notes report to: a sink while notes are opened on their own,
// the program's main window once the store runs.
HWND g_mainWindow = nullptr;
NoteStore* g_notes = nullptr;

const wchar_t kHandOverWord[] = L"handover";
const wchar_t kTapWord[] = L"tap";
// Posted to the bench's thread by a hand-over's sender once its send came
// back: wParam is the time it began the hand-over, in microseconds of Now().
const UINT kMsgHandOverStarted = WM_APP + 1;
const DWORD kHandOverTimeoutMs = 30000;
// To the hand-over process: are you there (wParam, the thread to answer;
// it answers with the same), and hand the note over now.
const UINT kMsgSenderReady = WM_APP + 2;
const UINT kMsgHandOverNow = WM_APP + 3;
const wchar_t* const kTitles[] = {L"Shopping", L"Call the garage", L"Ideas", L"Meeting notes",
                                  L"Birthday presents", L"Books to read", L"Train times", L"Recipes"};
const int kPlainNotes = 3;

struct BenchNote {
    std::wstring path;
    size_t size;
    char label[32];   // "2.7 MB note"
};

bool WriteNote(const std::wstring& path, const wchar_t* title, const std::vector<uint8_t>& ink, size_t* size)
{
    NoteRecord record;
    wcscpy(record.title, title);
    record.expiry.wHour = 25;
    record.zoom = 100;
    if (!ink.empty()) {
        BYTE* data = AllocateNoteData(DWORD(ink.size()));
        if (data == nullptr)
            return false;
        memcpy(data, ink.data(), ink.size());
        record.TakeData(data, DWORD(ink.size()));
    }
    *size = kNoteFileHeaderSize + ink.size();
    return WriteNoteFile(path.c_str(), record);
}

// The user's ready-made titles, which every note window lists in its title box.
void WriteTitles()
{
    TitleList titles;
    titles.Clear();
    for (const wchar_t* title : kTitles)
        titles.Append(title);
    titles.Save();
}

bool Painted(HWND inner)
{
    return inner != nullptr && IsWindowVisible(inner) && !GetUpdateRect(inner, nullptr, FALSE);
}

// ---------------------------------------------------------------------------
// The floor: the bare note window, on a thread of its own.
// ---------------------------------------------------------------------------

// The open of the bare window to its ink's first paint; negative when it
// did not paint.
double BareOpen(bench::BenchThread& thread, const std::wstring& path)
{
    double elapsed = -1;
    thread.Run([&] {
        bench::BareNoteWindow bare;
        double start = Now();
        if (bare.Open(path.c_str())) {
            UpdateWindow(bare.InkInner());
            elapsed = Now() - start;
            if (!Painted(bare.InkInner()))
                elapsed = -1;
        }
        bare.Close();
        Pump();
    });
    return elapsed;
}

// ---------------------------------------------------------------------------
// Open to first paint.
// ---------------------------------------------------------------------------

// Open to first paint through FileNoteWindow::Open; negative when the window
// did not open or its ink control still had something to paint. openPart,
// when given, gets the time Open itself took.
double OpenToFirstPaint(const std::wstring& path, double* openPart = nullptr)
{
    FileNoteWindow* note = new FileNoteWindow();
    double start = Now();
    note->Open(nullptr, path.c_str(), OpenMode::Open, g_mainWindow);
    double opened = Now();
    HWND inner = note->Ink().InnerWindow();
    if (inner != nullptr)
        UpdateWindow(inner);
    double elapsed = Now() - start;
    if (openPart != nullptr)
        *openPart = opened - start;
    bool painted = note->Window() != nullptr && Painted(inner);
    // Closing writes the note back, as the program does; not timed.
    note->RequestClose();
    Pump();
    delete note;
    Pump();
    return painted ? elapsed : -1;
}

// Reports the open of note against the bare window. withParts adds the
// open against the file-read floor, with its parts.
void OpenFigures(bench::BenchThread& floorThread, const BenchNote& note, bool withParts)
{
    // The first open of each warms the classes and caches; not counted.
    OpenToFirstPaint(note.path);
    BareOpen(floorThread, note.path);
    std::vector<double> openTimes, openParts, paintParts, bareTimes, fileTimes, readTimes, inkTimes, closingTimes;
    // One after the other, run by run, so that all of them see the same machine.
    for (int run = 0; run < kOpenRuns; ++run) {
        if (withParts) {
            double start = Now();
            size_t read = bench::ReadWholeFileFloor(note.path.c_str());
            fileTimes.push_back(Now() - start);
            if (read != note.size)
                printf("warning: the floor read %zu of %zu bytes\n", read, note.size);
        }

        double openPart = 0;
        bench::Settle();
        double open = OpenToFirstPaint(note.path, &openPart);
        bench::Settle();
        double bare = BareOpen(floorThread, note.path);
        if (open < 0 || bare < 0) {
            printf("warning: a note window did not paint its ink (project %.1f, floor %.1f)\n", open, bare);
        } else {
            openTimes.push_back(open);
            openParts.push_back(openPart);
            paintParts.push_back(open - openPart);
            bareTimes.push_back(bare);
        }
        // What Open does first: every note window showing the file is asked
        // to close, found among all top-level windows by title and class.
        double start = Now();
        NoteWindow::CloseWindowsShowingFile(note.path.c_str());
        closingTimes.push_back(Now() - start);
        if (!withParts)
            continue;

        NoteRecord record;
        start = Now();
        bool whole = ReadWholeNoteFile(note.path.c_str(), &record);
        readTimes.push_back(Now() - start);
        if (!whole)
            printf("warning: the note was not read whole\n");

        InkControl ink;
        ink.Create(g_mainWindow, 1, 0, 0, 240, 200, true);
        start = Now();
        ink.SetInkData(record.data, record.dataLength);
        inkTimes.push_back(Now() - start);
        ink.Destroy();
        record.ClearData();
        Pump();
    }
    char name[80];
    snprintf(name, sizeof(name), "open %s to first paint", note.label);
    double open = bench::MedianOf(openTimes);
    double floor = bench::MedianOf(bareTimes);
    Report(name, open, floor);
    if (withParts) {
        double fileFloor = bench::MedianOf(fileTimes);
        snprintf(name, sizeof(name), "open %s to first paint (file-read floor)", note.label);
        Report(name, open, fileFloor);
        Report("  of it: ReadWholeNoteFile", bench::MedianOf(readTimes), fileFloor);
        Report("  of it: SetInkData (stream in)", bench::MedianOf(inkTimes), fileFloor);
    }
    // The open's own halves, beside the copied steps further down.
    double parts[3] = {bench::MedianOf(openParts), bench::MedianOf(closingTimes), bench::MedianOf(paintParts)};
    bench::ReportStep("of the open: FileNoteWindow::Open", &parts[0], 1);
    bench::ReportStep("  of it: CloseWindowsShowingFile (none shows it)", &parts[1], 1);
    bench::ReportStep("of the open: first paint of the ink after it", &parts[2], 1);
}

// ---------------------------------------------------------------------------
// Where the time goes.
// ---------------------------------------------------------------------------

void StepFigures(const BenchNote& note)
{
    NoteRecord record;
    if (!ReadWholeNoteFile(note.path.c_str(), &record)) {
        printf("warning: %s could not be read for its steps\n", note.label);
        return;
    }
    const int steps = bench::NoteWindowSteps::kStepCount;
    // [run][step]; the first pass of each warms classes and caches.
    std::vector<std::vector<double>> watched(kRuns, std::vector<double>(steps)),
        unwatched(kRuns, std::vector<double>(steps));
    std::vector<double> scratch(steps);
    bench::NoteWindowSteps copy;
    copy.Run(record, true, scratch.data());
    Pump();
    bench::BenchThread plainThread;
    plainThread.Run([&] { copy.Run(record, false, scratch.data()); });
    bool failed = false;
    for (int run = 0; run < kRuns; ++run) {
        bench::Settle();
        failed = !copy.Run(record, true, watched[run].data()) || failed;
        bench::Settle();
        plainThread.Run([&] { failed = !copy.Run(record, false, unwatched[run].data()) || failed; });
    }
    if (failed)
        printf("warning: a pass of the steps could not make its window or its ink control\n");

    printf("  steps of opening the %s, median ms: on the program's thread (send watch on), "
           "on a thread without the watch (until the menu bar's own)\n",
           note.label);
    std::vector<double> watchedTotals(kRuns, 0), unwatchedTotals(kRuns, 0);
    for (int step = 0; step < steps; ++step) {
        std::vector<double> w, u;
        for (int run = 0; run < kRuns; ++run) {
            w.push_back(watched[run][step]);
            watchedTotals[run] += watched[run][step] >= 0 ? watched[run][step] : 0;
            if (unwatched[run][step] >= 0) {
                u.push_back(unwatched[run][step]);
                unwatchedTotals[run] += unwatched[run][step];
            }
        }
        double medians[2] = {bench::MedianOf(w), u.empty() ? -1 : bench::MedianOf(u)};
        bench::ReportStep(bench::NoteWindowSteps::StepName(step), medians, 2);
    }
    std::vector<double> before(kRuns, 0);
    for (int run = 0; run < kRuns; ++run) {
        for (int step = 0; step < bench::NoteWindowSteps::kFirstMenuBarStep; ++step)
            before[run] += watched[run][step];
    }
    double upToBar[2] = {bench::MedianOf(before), bench::MedianOf(unwatchedTotals)};
    bench::ReportStep("all steps before the menu bar", upToBar, 2);
    double all[2] = {bench::MedianOf(watchedTotals), -1};
    bench::ReportStep("all steps", all, 2);
    record.ClearData();
}

// ---------------------------------------------------------------------------
// Tap to note: the real store, its list shown.
// ---------------------------------------------------------------------------

// After the store's note window is on screen: its ink's first paint, and
// whether there was anything to paint into.
bool PaintStoreNote(double* at)
{
    FileNoteWindow* note = g_notes->CurrentNoteWindow();
    if (note == nullptr || note->Window() == nullptr)
        return false;
    HWND inner = note->Ink().InnerWindow();
    if (inner != nullptr)
        UpdateWindow(inner);
    *at = Now();
    return Painted(inner);
}

// Done, as the user taps ok: the note is written back and the list shows it
// again; not timed.
void CloseStoreNote()
{
    g_notes->CloseCurrentNote();
    Pump();
}

int RowOf(const std::wstring& path)
{
    for (int row = 0; NoteEntry* entry = g_notes->EntryAt(row); ++row) {
        if (path == entry->path)
            return row;
    }
    return -1;
}

// The user's "Edit ..." on the note's row, selected first (which previews
// it): from the command to the first paint.
double EditToFirstPaint(const std::wstring& path)
{
    int row = RowOf(path);
    HWND list = g_notes->List().Window();
    if (row < 0 || list == nullptr)
        return -1;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, row);
    Pump();
    double start = Now();
    SendMessageW(g_notes->Window(), WM_COMMAND, MAKEWPARAM(IDM_LIST_EDIT, 0), 0);
    double painted = 0;
    bool ok = PaintStoreNote(&painted);
    CloseStoreNote();
    return ok ? painted - start : -1;
}

// Runs this thread's messages, as the program's loop does, while sender
// hands a note over: from the moment the store shows the note window, its
// ink is painted; then the sender's start (kMsgHandOverStarted) is awaited.
// Returns the time from that start to the paint, negative when the sender
// ended without either or the hand-over took too long.
double PumpHandOver(HANDLE sender)
{
    double deadline = Now() + kHandOverTimeoutMs;
    double painted = -1, started = -1;
    bool paintedOk = false, senderEnded = false;
    while (Now() < deadline && (painted < 0 || started < 0)) {
        // The send is answered inside PeekMessageW; the paint comes before
        // whatever message it returned is dispatched.
        MSG message;
        bool got = PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
        if (painted < 0 && g_notes->CurrentNoteWindow() != nullptr &&
            g_notes->CurrentNoteWindow()->Window() != nullptr)
            paintedOk = PaintStoreNote(&painted);
        if (got) {
            if (message.hwnd == nullptr && message.message == kMsgHandOverStarted) {
                started = double(message.wParam) / 1000.0;
            } else {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            continue;
        }
        if (senderEnded)
            break;
        if (MsgWaitForMultipleObjects(1, &sender, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0)
            senderEnded = true;   // one more look at the queue, then done
    }
    CloseStoreNote();
    return painted >= 0 && started >= 0 && paintedOk ? painted - started : -1;
}

// The Today item's side, in whichever thread or process runs it: the
// hand-over, then its start told to the bench's thread.
void HandOver(HWND mainWindow, const wchar_t* path)
{
    double start = Now();
    HandOverNotePath(mainWindow, path);
    PostThreadMessageW(GetWindowThreadProcessId(mainWindow, nullptr), kMsgHandOverStarted,
                       WPARAM(llround(start * 1000.0)), 0);
}

struct HandOverJob {
    HWND mainWindow;
    const wchar_t* path;
};

DWORD WINAPI HandOverThread(void* parameter)
{
    const HandOverJob* job = static_cast<const HandOverJob*>(parameter);
    HandOver(job->mainWindow, job->path);
    return 0;
}

double HandOverFromThread(const std::wstring& path)
{
    HandOverJob job = {g_mainWindow, path.c_str()};
    HANDLE thread = CreateThread(nullptr, 0, HandOverThread, &job, 0, nullptr);
    if (thread == nullptr)
        return -1;
    double elapsed = PumpHandOver(thread);
    bench::WaitAnswering(thread, INFINITE);
    CloseHandle(thread);
    return elapsed;
}

// The Today screen's process, long running as the shell is: this program
// again, with "handover", which hands path over each time it is told to
// (kMsgHandOverNow posted to its thread) until it is told to quit.
class SenderProcess {
public:
    explicit SenderProcess(const std::wstring& path)
    {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        wchar_t line[3 * MAX_PATH];
        _snwprintf(line, 3 * MAX_PATH, L"\"%s\" %s %llu \"%s\"", self, kHandOverWord,
                   static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(g_mainWindow)), path.c_str());
        line[3 * MAX_PATH - 1] = L'\0';
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            process = {};
        // Its queue exists once it answers; then the device settles from
        // the start of a process.
        MSG message;
        double deadline = Now() + kHandOverTimeoutMs;
        while (process.hProcess != nullptr && Now() < deadline &&
               !PeekMessageW(&message, nullptr, kMsgSenderReady, kMsgSenderReady, PM_REMOVE)) {
            PostThreadMessageW(process.dwThreadId, kMsgSenderReady, GetCurrentThreadId(), 0);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
        }
        bench::Settle();
    }
    ~SenderProcess()
    {
        if (process.hProcess == nullptr)
            return;
        PostThreadMessageW(process.dwThreadId, WM_QUIT, 0, 0);
        if (!bench::WaitAnswering(process.hProcess, kHandOverTimeoutMs)) {
            printf("warning: the hand-over process did not end; ended by force\n");
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    SenderProcess(const SenderProcess&) = delete;
    SenderProcess& operator=(const SenderProcess&) = delete;

    double HandOver()
    {
        if (process.hProcess == nullptr || !PostThreadMessageW(process.dwThreadId, kMsgHandOverNow, 0, 0))
            return -1;
        return PumpHandOver(process.hProcess);
    }

private:
    PROCESS_INFORMATION process = {};
};

// The floor of a tap: the bare window's open of the note with nothing else
// on screen. With the all-notes window up, the bare window would also pay
// for that window's answer to losing the front: it is hidden meanwhile.
double BareOpenListHidden(bench::BenchThread& floorThread, const std::wstring& path)
{
    HWND list = g_notes->Window();
    ShowWindow(list, SW_HIDE);
    bench::Settle();
    double elapsed = BareOpen(floorThread, path);
    ShowWindow(list, SW_SHOW);
    g_notes->Show();
    return elapsed;
}

// Each way to the note against the open's floor, run by run one after the
// other, so that every figure and its floor see the same machine.
void TapFigures(bench::BenchThread& floorThread, const BenchNote& note)
{
    SenderProcess sender(note.path);
    const char* kWays[] = {"list's Edit", "Today hand-over, thread", "Today hand-over, process"};
    std::function<double()> ways[] = {[&] { return EditToFirstPaint(note.path); },
                                      [&] { return HandOverFromThread(note.path); },
                                      [&] { return sender.HandOver(); }};
    // The first of each warms classes and caches; not counted.
    BareOpenListHidden(floorThread, note.path);
    for (auto& way : ways)
        way();
    std::vector<double> floors, times[3];
    for (int run = 0; run < kOpenRuns; ++run) {
        double floor = BareOpenListHidden(floorThread, note.path);
        if (floor < 0) {
            printf("warning: the bare window did not paint its ink\n");
            continue;
        }
        floors.push_back(floor);
        for (int way = 0; way < 3; ++way) {
            bench::Settle();
            double t = ways[way]();
            if (t < 0)
                printf("warning: tap to note: %s: a run did not reach its first paint\n", kWays[way]);
            else
                times[way].push_back(t);
        }
    }
    double floor = bench::MedianOf(floors);
    for (int way = 0; way < 3; ++way) {
        char name[80];
        snprintf(name, sizeof(name), "tap to note: %s, %s", kWays[way], note.label);
        Report(name, bench::MedianOf(times[way]), floor);
    }
}

int RunHandOverProgram(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 2;
    HWND mainWindow = reinterpret_cast<HWND>(static_cast<UINT_PTR>(wcstoull(argv[2], nullptr, 10)));
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == kMsgSenderReady)
            PostThreadMessageW(DWORD(message.wParam), kMsgSenderReady, 0, 0);
        else if (message.message == kMsgHandOverNow)
            HandOver(mainWindow, argv[3]);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[1], kHandOverWord) == 0)
        return RunHandOverProgram(argc, argv);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    if (!InitInkX()) {
        printf("InkX.dll did not initialise\n");
        return 1;
    }
    wchar_t documents[MAX_PATH];
    if (!bench::TempFilePath(L"NoteOpenBench", documents, MAX_PATH)) {
        printf("no temporary folder\n");
        return 1;
    }
    g_application = new Application(documents);
    g_application->SetInstance(GetModuleHandleW(nullptr));
    g_mainWindow = bench::MakeReportSink();
    WriteTitles();

    std::wstring folder = g_application->NotesFolder();
    BenchNote big = {folder + L"\\Jotling0.jot", 0, ""};
    BenchNote small = {folder + L"\\Jotling1.jot", 0, "1-stroke note"};
    std::vector<std::wstring> plain;
    bool written = WriteNote(big.path, L"A long note", bench::BigInkContent(), &big.size) &&
                   WriteNote(small.path, L"A short note", bench::InkContent(1, 0), &small.size);
    for (int n = 0; n < kPlainNotes && written; ++n) {
        plain.push_back(folder + L"\\Jotling" + std::to_wstring(2 + n) + L".jot");
        size_t size = 0;
        written = WriteNote(plain.back(), kTitles[n], {}, &size);
    }
    if (!written) {
        printf("the notes could not be written\n");
        return 1;
    }
    snprintf(big.label, sizeof(big.label), "%.1f MB note", big.size / 1048576.0);

    bench::BenchThread floorThread;
    // "tap" runs the tap figures alone, for a quick look.
    bool tapOnly = argc > 1 && wcscmp(argv[1], kTapWord) == 0;
    if (!tapOnly) {
        OpenFigures(floorThread, big, true);
        OpenFigures(floorThread, small, false);
        StepFigures(big);
        StepFigures(small);
    }

    g_notes = new NoteStore(g_application->NotesFolder(), g_application->NoteExtension());
    MainWindow* mainWindow = MakeMainWindow(*g_notes);
    DestroyWindow(g_mainWindow);
    g_mainWindow = mainWindow->Window();
    g_notes->Show();
    Pump();
    TapFigures(floorThread, big);
    TapFigures(floorThread, small);

    // The main window goes first: it asks the store while the list window
    // goes.
    delete mainWindow;
    g_mainWindow = nullptr;
    delete g_notes;
    g_notes = nullptr;
    Pump();
    for (const std::wstring& path : plain)
        DeleteFileW(path.c_str());
    DeleteFileW(big.path.c_str());
    DeleteFileW(small.path.c_str());
    RemoveDirectoryW(g_application->NotesFolder());
    delete g_application;
    g_application = nullptr;
    RemoveDirectoryW(documents);
    bench::EndProcess(0);
}
