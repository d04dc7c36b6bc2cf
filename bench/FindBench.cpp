// Speed of the all-notes window's find with 1000 notes, each with typed text,
// a few strokes and a 60-second recording (11025 Hz, 16-bit, as the
// recorder makes them: 1.3 MB a note), then with 10,000 notes of a
// 1-second recording each (22 KB a note), against floors measured in the
// same run:
//  - the first find: a key typed into the box of a store just made, until
//    the list shows the notes found and is drawn. It reads every note's
//    text. Floor: the same files' text read the plainest way: for each,
//    open it, read the whole file, walk its chunks and take the text.
//  - every key after that, typing "dentist tuesday" and taking it back
//    again: the list narrowed or widened and drawn, the count beside the
//    box, the box itself. Floor: a bare list view, in the same process, of
//    the same size, emptied and filled with the very rows the key left
//    (time and title) and drawn. Printed as the median key and the slowest;
//    one key must take less than a frame (16 ms).
// Prints one line per figure: name, project ms, floor ms, ratio.
#include "app/MainWindow.h"
#include "bench/BareList.h"
#include "bench/BenchSupport.h"
#include "bench/ProgramBench.h"
#include "formats/InkContent.h"
#include "formats/NoteLayout.h"
#include "formats/WaveBlock.h"
#include "notes/NoteFile.h"
#include "notestore/NoteStore.h"
#include "process/Application.h"
#include "resources/resource.h"

#include <windows.h>
#include <commctrl.h>
#include <inkx.h>

#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// The round's notes: 1000 of a minute's recording, then 10,000 of a second's.
int kNotes = 1000;
int kRecordingSeconds = 60;
const unsigned kRate = 11025;
using bench::kRuns;
using bench::Now;
using bench::Pump;
using bench::Report;
typedef std::vector<std::pair<std::wstring, std::wstring>> Rows;

// Bumped when the notes written change: a folder from an earlier run is
// used again only when it holds these (and as many).
const char kNotesVersion[] = "find-notes 2";

std::string NotesVersion()
{
    return std::string(kNotesVersion) + " " + std::to_string(kNotes) + "x" + std::to_string(kRecordingSeconds);
}

std::wstring NotesFolder()
{
    wchar_t path[MAX_PATH];
    bench::TempFilePath(kNotes == 1000 ? L"FindBenchNotes" : L"FindBenchManyNotes", path, MAX_PATH);
    return path;
}

std::wstring NotePath(const std::wstring& folder, int n)
{
    return folder + L"\\Jotling" + std::to_wstring(n) + L".jot";
}

const wchar_t* const kTitles[] = {L"Call", L"Shopping", L"Garage", L"Ideas", L"Meeting", L"Zahnarzt", L"Birthday",
                                  L"Holiday", L"Books", L"Plants"};
const wchar_t* const kWords[] = {
    L"milk",   L"bread",   L"call",   L"back",   L"about", L"the",     L"tyres", L"garage",  L"appointment",
    L"dentist", L"Tuesday", L"Friday", L"caf\u00e9", L"notes", L"pick",  L"up",    L"parcel",  L"post",
    L"office", L"meeting", L"project", L"plan",  L"Zahn\u00e4rzte", L"r\u00e9sum\u00e9", L"ideas", L"for",
    L"garden", L"water",  L"plants", L"book",    L"tickets", L"train", L"at",     L"ten",     L"o'clock",
    L"remember", L"send", L"letter", L"to",     L"Anna",    L"and",   L"Bob",    L"buy",     L"gift"};

// Words of the notes: the ones above and some hundreds more made of
// syllables, so that a word like "dentist" stands in a few notes in a
// hundred, as in a person's notes. Chosen by a fixed sequence: every run
// writes the same notes.
std::vector<std::wstring> Vocabulary()
{
    std::vector<std::wstring> words(std::begin(kWords), std::end(kWords));
    const wchar_t* const syllables[] = {L"ka", L"lo", L"mi", L"ne", L"ru", L"ta", L"si", L"po",
                                        L"de", L"va", L"zu", L"fe", L"bo", L"gri", L"sel"};
    const size_t count = sizeof(syllables) / sizeof(syllables[0]);
    for (size_t a = 0; a < count; ++a) {
        for (size_t b = 0; b < count; ++b)
            words.push_back(std::wstring(syllables[a]) + syllables[b] + syllables[(a + b) % count]);
    }
    return words;
}

std::wstring NoteText(int n, const std::vector<std::wstring>& vocabulary)
{
    unsigned seed = 2654435761u * unsigned(n + 1);
    std::wstring text;
    int words = 14 + int(seed % 14);
    for (int i = 0; i < words; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += vocabulary[(seed >> 8) % vocabulary.size()];
        text += i % 9 == 8 ? L"\n" : L" ";
    }
    return text;
}

std::vector<uint8_t> NoteContent(const std::vector<uint8_t>& wave, const std::wstring& text)
{
    std::vector<uint8_t> content;
    formats::LeWriter out(content);
    formats::WriteInkHeader(out);
    formats::WriteInkRecording(out, 40, 40, wave.data(), wave.size());
    std::vector<formats::InkPoint> points(12);
    for (int s = 0; s < 20; ++s) {
        for (int p = 0; p < 12; ++p)
            points[p] = {40 + (s * 37 + p * 13) % 800, 300 + (s * 11 + p * 5) % 600};
        formats::WriteInkStroke(out, RGB(0, 0, 0), 8, points);
    }
    formats::WriteInkText(out, text);
    formats::WriteInkEnd(out);
    return content;
}

bool NotesAreThere(const std::wstring& folder)
{
    std::string marker;
    HANDLE file = CreateFileW((folder + L"\\version.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[64] = {};
    DWORD got = 0;
    ReadFile(file, buffer, sizeof(buffer) - 1, &got, nullptr);
    CloseHandle(file);
    return std::string(buffer, got) == NotesVersion();
}

bool WriteNotes(const std::wstring& folder)
{
    if (NotesAreThere(folder))
        return true;
    CreateDirectoryW(folder.c_str(), nullptr);
    std::vector<uint8_t> pcm(size_t(kRate) * 2 * kRecordingSeconds);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = uint8_t(i * 31);
    std::vector<uint8_t> wave = formats::BuildWave(pcm.data(), pcm.size(), kRate, 1, 16);
    std::vector<std::wstring> vocabulary = Vocabulary();
    for (int n = 0; n < kNotes; ++n) {
        std::vector<uint8_t> content = NoteContent(wave, NoteText(n, vocabulary));
        NoteRecord record;
        _snwprintf(record.title, kTitleLength - 1, L"%ls %d", kTitles[n % 10], n);
        record.expiry.wHour = 25;   // none due: no alarm comes up
        BYTE* data = AllocateNoteData(DWORD(content.size()));
        if (data == nullptr)
            return false;
        memcpy(data, content.data(), content.size());
        record.TakeData(data, DWORD(content.size()));
        if (!WriteNoteFile(NotePath(folder, n).c_str(), record))
            return false;
    }
    std::string version = NotesVersion();
    return bench::WriteBytes((folder + L"\\version.txt").c_str(), version.data(), version.size());
}

// The floor of the first find: each file read whole, its chunks walked.
size_t ReadTextsPlainly(const std::wstring& folder)
{
    size_t units = 0;
    for (int n = 0; n < kNotes; ++n) {
        HANDLE file = CreateFileW(NotePath(folder, n).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        LARGE_INTEGER size = {};
        GetFileSizeEx(file, &size);
        std::vector<uint8_t> bytes(size_t(size.QuadPart));
        DWORD got = 0;
        ReadFile(file, bytes.data(), DWORD(bytes.size()), &got, nullptr);
        CloseHandle(file);
        formats::NoteFields fields;
        formats::ReadNoteFields(bytes.data(), got, &fields);
        formats::InkChunkReader chunks(fields.data, fields.dataLength);
        formats::InkChunk chunk;
        std::u16string text;
        while (chunks.Next(&chunk)) {
            if (strcmp(chunk.tag, "TEXT") == 0)
                formats::ReadInkText(chunk.payload, chunk.length, &text);
        }
        units += text.size();
    }
    return units;
}

Rows ListedRows(HWND list)
{
    Rows rows;
    int count = ListView_GetItemCount(list);
    for (int row = 0; row < count; ++row) {
        wchar_t time[100] = L"", title[256] = L"";
        ListView_GetItemText(list, row, 0, time, 100);
        ListView_GetItemText(list, row, 1, title, 256);
        rows.push_back({time, title});
    }
    return rows;
}

// The store's window with its find box open, as the user has it before the
// first key.
struct ShownStore {
    NoteStore* notes = nullptr;
    MainWindow* mainWindow = nullptr;

    explicit ShownStore(const std::wstring& folder)
    {
        notes = new NoteStore(folder.c_str(), L".jot");
        mainWindow = bench::MakeMainWindow(*notes);
        notes->Show();
        SendMessageW(notes->Window(), WM_COMMAND, IDM_LIST_FIND, 0);
        bench::Settle();
    }
    ~ShownStore()
    {
        delete mainWindow;
        delete notes;
        bench::Settle();
    }
    // A key as the box gets it, and everything it leaves to draw drawn.
    void Key(wchar_t key)
    {
        SendMessageW(notes->Find().Edit(), WM_CHAR, key, 0);
        RedrawWindow(notes->Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
};

void FirstFind(const std::wstring& folder)
{
    std::vector<double> project, floor;
    int found = -1;
    for (int run = 0; run < kRuns; ++run) {
        ShownStore store(folder);
        double start = Now();
        store.Key(L'd');
        project.push_back(Now() - start);
        found = store.notes->List().ItemCount();
        start = Now();
        size_t units = ReadTextsPlainly(folder);
        floor.push_back(Now() - start);
        if (units == 0)
            printf("warning: the floor read no text\n");
    }
    printf("  first find: %d of %d notes hold \"d\"\n", found, kNotes);
    char name[80];
    snprintf(name, sizeof(name), "first find over %d notes (texts read)", kNotes);
    bench::ReportRange(name, project, floor);
}

void Keystrokes(const std::wstring& folder)
{
    const std::wstring typed = L"dentist tuesday";
    ShownStore store(folder);
    store.Key(L'd');   // the first find, read above
    store.Key(L'\b');
    HWND bareWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    HWND bareList = bench::MakeBareList(bareWindow);
    bench::Settle();
    // Each key's times over the runs: typed in, then taken back.
    size_t keys = 2 * typed.size();
    std::vector<std::vector<double>> project(keys), floor(keys);
    std::vector<size_t> rows(keys);
    for (int run = 0; run < kRuns; ++run) {
        for (size_t k = 0; k < keys; ++k) {
            wchar_t key = k < typed.size() ? typed[k] : L'\b';
            double start = Now();
            store.Key(key);
            project[k].push_back(Now() - start);
            Rows shown = ListedRows(store.notes->List().Window());
            rows[k] = shown.size();
            Pump();
            start = Now();
            bench::RefillBareList(bareList, shown);
            floor[k].push_back(Now() - start);
            Pump();
        }
    }
    std::vector<double> projectKeys, floorKeys;
    double slowest = 0, slowestFloor = 0;
    for (size_t k = 0; k < keys; ++k) {
        double p = bench::MedianOf(project[k]), f = bench::MedianOf(floor[k]);
        printf("  key %2zu '%lc': %4zu rows, project %6.2f ms, floor %6.2f ms\n", k + 1,
               k < typed.size() ? typed[k] : L'<', rows[k], p, f);
        projectKeys.push_back(p);
        floorKeys.push_back(f);
        if (p > slowest) {
            slowest = p;
            slowestFloor = f;
        }
    }
    char name[80];
    snprintf(name, sizeof(name), "a key after the first, %d notes, median (< 16 ms)", kNotes);
    Report(name, bench::MedianOf(projectKeys), bench::MedianOf(floorKeys));
    snprintf(name, sizeof(name), "a key after the first, %d notes, slowest (< 16 ms)", kNotes);
    Report(name, slowest, slowestFloor);
    DestroyWindow(bareWindow);
}

}  // namespace

int wmain()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    InitInkX();
    g_application = new Application();
    g_application->SetInstance(GetModuleHandleW(nullptr));
    const std::pair<int, int> rounds[] = {{1000, 60}, {10000, 1}};
    for (const auto& round : rounds) {
        kNotes = round.first;
        kRecordingSeconds = round.second;
        std::wstring folder = NotesFolder();
        printf("writing or checking %d notes of %d s in %ls\n", kNotes, kRecordingSeconds, folder.c_str());
        fflush(stdout);
        if (!WriteNotes(folder)) {
            printf("the %d notes could not be written into %ls\n", kNotes, folder.c_str());
            bench::EndProcess(1);
        }
        // Read once, uncounted, so that every run finds the files as warm.
        ReadTextsPlainly(folder);
        FirstFind(folder);
        Keystrokes(folder);
    }
    delete g_application;
    g_application = nullptr;
    bench::EndProcess(0);
}
