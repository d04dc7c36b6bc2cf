// Speed of opening a note, against floors measured in the same run:
//  - open to first paint, for a 2.7 MB note (10,000 strokes, a 60-second
//    recording) and a note of one stroke: the real FileNoteWindow::Open in
//    Open mode over the real InkX.dll control, until the ink control's inner
//    window has painted (UpdateWindow of it has returned with nothing left
//    to paint), against the bare note window (BareNoteWindow) opened and
//    painted the same way on a thread without the program's send watch. The
//    big note is also measured against reading its file whole, the floor it
//    had before, with two parts of its open against that read;
//  - where the time goes: every step of the note window's creation, copied
//    on a bare window (NoteWindowSteps), with its median on this thread,
//    which the program's main window watches as the program's does, and on
//    a thread without that watch up to the menu bar.
// Prints one line per figure: name, project ms, floor ms, ratio; the steps
// as lines of their own.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "bench/BareNoteWindow.h"
#include "bench/BenchSupport.h"
#include "bench/BenchThread.h"
#include "bench/NoteWindowSteps.h"
#include "bench/ProgramBench.h"
#include "dialogs/TitleList.h"
#include "notes/FileNoteWindow.h"
#include "notes/NoteFile.h"

#include <windows.h>
#include <commctrl.h>
#include <inkx.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

namespace {

using bench::kRuns;
using bench::MakeMainWindow;
using bench::Now;
using bench::Pump;
using bench::Report;

const wchar_t* const kTitles[] = {L"Shopping", L"Call the garage", L"Ideas", L"Meeting notes",
                                  L"Birthday presents", L"Books to read", L"Train times", L"Recipes"};

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

// Reports the open of note against the bare window and returns the bare
// window's median. withParts adds the open against the file-read floor,
// with its parts.
double OpenFigures(bench::BenchThread& floorThread, const BenchNote& note, bool withParts)
{
    // The first open of each warms the classes and caches; not counted.
    OpenToFirstPaint(note.path);
    BareOpen(floorThread, note.path);
    std::vector<double> openTimes, openParts, paintParts, bareTimes, fileTimes, readTimes, inkTimes, closingTimes;
    // One after the other, run by run, so that all of them see the same machine.
    for (int run = 0; run < kRuns; ++run) {
        if (withParts) {
            double start = Now();
            size_t read = bench::ReadWholeFileFloor(note.path.c_str());
            fileTimes.push_back(Now() - start);
            if (read != note.size)
                printf("warning: the floor read %zu of %zu bytes\n", read, note.size);
        }

        double openPart = 0;
        double open = OpenToFirstPaint(note.path, &openPart);
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
    return floor;
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
        failed = !copy.Run(record, true, watched[run].data()) || failed;
        Pump();
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

}  // namespace

int wmain()
{
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
    g_mainWindow = MakeMainWindow();
    WriteTitles();

    std::wstring folder = g_application->NotesFolder();
    BenchNote big = {folder + L"\\Jotling0.jot", 0, ""};
    BenchNote small = {folder + L"\\Jotling1.jot", 0, "1-stroke note"};
    if (!WriteNote(big.path, L"A long note", bench::BigInkContent(), &big.size) ||
        !WriteNote(small.path, L"A short note", bench::InkContent(1, 0), &small.size)) {
        printf("the notes could not be written\n");
        return 1;
    }
    snprintf(big.label, sizeof(big.label), "%.1f MB note", big.size / 1048576.0);

    bench::BenchThread floorThread;
    OpenFigures(floorThread, big, true);
    OpenFigures(floorThread, small, false);

    StepFigures(big);
    StepFigures(small);

    DestroyWindow(g_mainWindow);
    g_mainWindow = nullptr;
    Pump();
    DeleteFileW(big.path.c_str());
    DeleteFileW(small.path.c_str());
    RemoveDirectoryW(g_application->NotesFolder());
    delete g_application;
    g_application = nullptr;
    RemoveDirectoryW(documents);
    bench::EndProcess(0);
}
