// Speed of opening a big note, against reading the same note file with
// CreateFileW and one ReadFile of the whole file, in the same run:
//  - open to first paint: the real FileNoteWindow::Open in Open mode over
//    the real InkX.dll control, until the ink control's inner window has
//    painted (UpdateWindow of it has returned with nothing left to paint);
//  - its parts: reading the note file whole (ReadWholeNoteFile), and
//    handing its ink to a control (SetInkData, the stream in).
// The note holds 10,000 strokes and a 60-second recording (about 2.7 MB).
// Prints one line per figure: name, project ms, floor ms, ratio.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "bench/BenchSupport.h"
#include "bench/ProgramBench.h"
#include "notes/FileNoteWindow.h"
#include "notes/NoteFile.h"

#include <windows.h>
#include <commctrl.h>
#include <inkx.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

const int kRuns = 5;

using bench::MakeMainWindow;
using bench::Now;
using bench::Pump;
using bench::Report;

bool WriteBigNote(const wchar_t* path, size_t* size)
{
    std::vector<uint8_t> ink = bench::BigInkContent();
    NoteRecord record;
    wcscpy(record.title, L"A long note");
    record.expiry.wHour = 25;
    record.zoom = 100;
    BYTE* data = AllocateNoteData(DWORD(ink.size()));
    if (data == nullptr)
        return false;
    memcpy(data, ink.data(), ink.size());
    record.TakeData(data, DWORD(ink.size()));
    *size = kNoteFileHeaderSize + ink.size();
    return WriteNoteFile(path, record);
}

// Open to first paint; false when the window did not open or its ink
// control still had something to paint.
bool OpenToFirstPaint(const wchar_t* path, double* elapsed)
{
    FileNoteWindow* note = new FileNoteWindow();
    double start = Now();
    note->Open(nullptr, path, OpenMode::Open, g_mainWindow);
    HWND inner = note->Ink().InnerWindow();
    if (inner != nullptr)
        UpdateWindow(inner);
    *elapsed = Now() - start;
    bool painted = note->Window() != nullptr && inner != nullptr && IsWindowVisible(inner) &&
                   !GetUpdateRect(inner, nullptr, FALSE);
    // Closing writes the note back, as the program does; not timed.
    note->RequestClose();
    Pump();
    delete note;
    Pump();
    return painted;
}

}  // namespace

int wmain()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES};
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

    std::wstring path = std::wstring(g_application->NotesFolder()) + L"\\Jotling0.jot";
    size_t size = 0;
    if (!WriteBigNote(path.c_str(), &size)) {
        printf("the note could not be written\n");
        return 1;
    }

    // The first open warms the classes and caches; not counted.
    double first = 0;
    OpenToFirstPaint(path.c_str(), &first);
    std::vector<double> openTimes, readTimes, floorTimes, inkTimes;
    for (int run = 0; run < kRuns; ++run) {
        double start = Now();
        size_t read = bench::ReadWholeFileFloor(path.c_str());
        floorTimes.push_back(Now() - start);
        if (read != size)
            printf("warning: the floor read %zu of %zu bytes\n", read, size);

        double open = 0;
        if (!OpenToFirstPaint(path.c_str(), &open))
            printf("warning: the note window did not paint its ink\n");
        openTimes.push_back(open);

        NoteRecord record;
        start = Now();
        bool whole = ReadWholeNoteFile(path.c_str(), &record);
        readTimes.push_back(Now() - start);
        if (!whole)
            printf("warning: the note was not read whole\n");

        InkControl ink;
        ink.Create(g_mainWindow, 1, 0, 0, 240, 200, true);
        start = Now();
        ink.SetInkData(record.data, record.dataLength);
        inkTimes.push_back(Now() - start);
        ink.Destroy();
        Pump();
    }
    double floor = bench::MedianOf(floorTimes);
    char name[80];
    snprintf(name, sizeof(name), "open %.1f MB note to first paint", size / 1048576.0);
    Report(name, bench::MedianOf(openTimes), floor);
    Report("  of it: ReadWholeNoteFile", bench::MedianOf(readTimes), floor);
    Report("  of it: SetInkData (stream in)", bench::MedianOf(inkTimes), floor);

    DestroyWindow(g_mainWindow);
    g_mainWindow = nullptr;
    Pump();
    DeleteFileW(path.c_str());
    RemoveDirectoryW(g_application->NotesFolder());
    delete g_application;
    g_application = nullptr;
    RemoveDirectoryW(documents);
    bench::EndProcess(0);
}
