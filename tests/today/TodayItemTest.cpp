// KJotlings.dll as the Today screen meets it: loaded, asked for its window
// through ordinal 240 by a host window that answers the colour and
// watermark messages, asked for its height, tapped; a spy main window
// ("JOTLINGS") records what reaches the program. Timed runs are read from
// the device's run store.
#include "process/MainMessages.h"
#include "notes/NoteFile.h"
#include "shared/ProgramWindow.h"
#include "shared/Registry.h"
#include "shared/SharedNoteMap.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestNotes.h"
#include "tests/support/TestTimes.h"
#include "tests/support/TestWindow.h"
#include "platform/common/Text.h"
#include "today/TestSeams.h"
#include "today/TodayConstants.h"
#include "today/TodayNoteList.h"

#include <CeRunStore.h>
#include <todaycmn.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace {

const wchar_t kSettings[] = L"SOFTWARE\\KORVA\\Jotlings";
// The program the item starts: the one beside its library.
const std::wstring kProgramPath = BesideTestProgram(L"Jotlings.exe");
const wchar_t* const kProgram = kProgramPath.c_str();
const WORD kNever = 25;

// What the running program is sent when the item is tapped or wants a check.
bool ForTheProgram(UINT message)
{
    return message == kMsgOpenSharedNote || message == kMsgShowAllNotes || message == kMsgNewNote ||
           message == kMsgCheckExpired;
}

// The windows of this process that stand for the running program; every
// other window is asked of the system, as the item asks it.
// The item's watchers ask from their threads.
std::vector<HWND> g_programWindows;
std::mutex g_programWindowsLock;

void StandsForTheProgram(HWND window)
{
    std::lock_guard<std::mutex> hold(g_programWindowsLock);
    g_programWindows.push_back(window);
}
// The program's notes folder, as the program would find it.
std::wstring g_programNotes;
// What the item started, as "program arguments"; nothing is started.
std::vector<std::wstring> g_started;

void RecordStart(const wchar_t* program, const wchar_t* arguments, HINSTANCE)
{
    g_started.push_back(std::wstring(program) + L" " + arguments);
}

bool TestNotesFolder(wchar_t* out, size_t count)
{
    CopyText(out, count, g_programNotes.c_str());
    return true;
}

bool TraceLogHas(const wchar_t* text)
{
    FILE* log = _wfopen(L"\\Trace.log", L"r");
    if (log == nullptr)
        return false;
    wchar_t line[1024];
    bool found = false;
    while (!found && fgetws(line, 1024, log) != nullptr)
        found = wcsstr(line, text) != nullptr;
    fclose(log);
    return found;
}

bool TestWindowProgram(HWND window, wchar_t* path, size_t count)
{
    {
        std::lock_guard<std::mutex> hold(g_programWindowsLock);
        if (std::find(g_programWindows.begin(), g_programWindows.end(), window) != g_programWindows.end()) {
            CopyText(path, count, kProgram);
            return true;
        }
    }
    return ProgramOfWindowProcess(window, path, count);
}

// The program's runs, its path compared as Windows compares paths.
std::vector<CeTimedRun> OurRuns(const wchar_t* arguments = nullptr)
{
    std::vector<CeTimedRun> ours;
    for (const CeTimedRun& run : CeRunStore().List()) {
        if (CompareStringOrdinal(run.application.c_str(), -1, kProgram, -1, TRUE) == CSTR_EQUAL &&
            (arguments == nullptr || run.arguments == arguments))
            ours.push_back(run);
    }
    return ours;
}

class TodayItemTest : public ::testing::Test {
protected:
    // Pixels of the first line's text, right of the icon.
    int DarkPixelsOfFirstLine()
    {
        int dark = 0;
        HDC dc = GetDC(window);
        for (int y = 0; y < 20; ++y) {
            for (int x = 30; x < 230; ++x)
                dark += GetRValue(GetPixel(dc, x, y)) < 128 ? 1 : 0;
        }
        ReleaseDC(window, dc);
        return dark;
    }
    void SetUp() override
    {
        for (const CeTimedRun& run : OurRuns())
            CeRunStore().Remove(run.handle);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettings);
        g_programNotes = folder.Path();
        g_started.clear();
        RegWriteString(kSettings, L"Path", kProgram);
        RegWriteString(kSettings, L"Jotlings", folder.Path());
        RegWriteDword(kSettings, L"Notify", 1);
        RegWriteDword(kSettings, L"TurnOn", 1);
        RegWriteDword(kSettings, L"TodayCount", 4);
        RegWriteDword(kSettings, L"TodayFontSize", 9);
        RegWriteDword(kSettings, L"TodayExpired", 0);
        RegWriteDword(kSettings, L"TodayShowToday", 0);
        ClearHeard();

        // The Today screen: its colour is black, its watermark is drawn.
        host.answer = [](UINT message, WPARAM, LPARAM, LRESULT* result) {
            *result = message == TODAYM_GETCOLOR ? RGB(0, 0, 0) : 0;
            return message == TODAYM_GETCOLOR || message == TODAYM_DRAWWATERMARK;
        };
    }

    int ColourAsked() const { return int(hostMessages.Count(TODAYM_GETCOLOR)); }

    void TearDown() override
    {
        Unload();
        mainSpy.reset();
        {
            std::lock_guard<std::mutex> hold(g_programWindowsLock);
            g_programWindows.clear();
        }
        DestroyWindow(hostWindow);
        for (const CeTimedRun& run : OurRuns())
            CeRunStore().Remove(run.handle);
        for (DWORD handle : plantedRuns)
            CeRunStore().Remove(handle);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettings);
    }

    // The running program, as the item finds it.
    // The running program, as the item finds it: it records what the
    // program is sent, and the note path handed over with each message.
    void StartMainSpy()
    {
        mainHeard.Keep(ForTheProgram);
        mainSpy = std::make_unique<TestWindow>(mainHeard, "main", WS_POPUP, RECT{0, 0, 10, 10}, nullptr,
                                               L"KORVA Jotlings", L"JOTLINGS");
        StandsForTheProgram(mainSpy->Handle());
        mainSpy->answer = [this](UINT message, WPARAM, LPARAM, LRESULT* result) {
            if (!ForTheProgram(message))
                return false;
            wchar_t path[MAX_PATH] = L"";
            if (message == kMsgOpenSharedNote)
                ReadSharedNotePath(path, MAX_PATH);
            heardPaths.push_back(path);
            *result = 0;
            return true;
        };
    }
    void ClearHeard()
    {
        mainHeard.Clear();
        heardPaths.clear();
    }

    // awaitNotes: until the first load is in and scheduled.
    void Load(bool awaitNotes = true)
    {
        library = LoadLibraryW(L"KJotlings.dll");
        ASSERT_NE(library, nullptr);
        StandInForTheProgram();
        auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(
            reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_INITIALIZEITEM))));
        ASSERT_NE(initialize, nullptr);
        item = {};
        item.fEnabled = TRUE;
        item.hinstDLL = library;
        int asked = ColourAsked();
        window = initialize(&item, hostWindow);
        ASSERT_NE(window, nullptr);
        if (!awaitNotes)
            return;
        // The notes come in off the host's thread; their view asks the colour.
        ASSERT_TRUE(PumpUntil([&] { return ColourAsked() >= asked + 2; })) << "the item's notes never came in";
    }

    void StandInForTheProgram()
    {
        auto setSeams = reinterpret_cast<SetTodayTestSeamsFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "SetTodayTestSeams")));
        ASSERT_NE(setSeams, nullptr);
        TodayTestSeams seams = {TestWindowProgram, RecordStart, TestNotesFolder};
        setSeams(&seams);
    }

    void Unload()
    {
        if (window != nullptr)
            DestroyWindow(window);
        window = nullptr;
        if (library != nullptr)
            FreeLibrary(library);
        library = nullptr;
    }

    LRESULT Query() { return SendMessageW(window, WM_TODAYCUSTOM_QUERYREFRESHCACHE, WPARAM(&item), 0); }
    // The host's cache clearing, and the reload it brings.
    void ClearCache()
    {
        int asked = ColourAsked();
        SendMessageW(window, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
        EXPECT_TRUE(PumpUntil([&] { return ColourAsked() > asked; })) << "no reload";
    }

    int WindowHeight()
    {
        RECT rect;
        GetWindowRect(window, &rect);
        return rect.bottom - rect.top;
    }

    void Tap(int x, int y)
    {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        Pump();
    }

    // Writes a note file; the device's file system gives a file the time of
    // its last write as its creation time, so undated notes are written in
    // the order they were made.
    std::wstring AddNote(const std::wstring& name, const wchar_t* title, SYSTEMTIME expiry, BYTE expired = 0)
    {
        std::wstring path = folder.File(name);
        EXPECT_TRUE(WriteTestNote(path, title, expiry, expired));
        Sleep(20);
        return path;
    }

    // A run that another load of the item or another program left.
    DWORD PlantRun(const wchar_t* application, const wchar_t* arguments, SYSTEMTIME at)
    {
        CeTimedRun run{0, application, arguments, at};
        plantedRuns.push_back(CeRunStore().Add(run));
        return plantedRuns.back();
    }

    // The notes the lines open, line by line, by tapping each of them.
    std::vector<std::wstring> OpenedByLines(int lines, int lineHeight)
    {
        std::vector<std::wstring> opened;
        for (int line = 0; line < lines; ++line) {
            ClearHeard();
            Tap(100, line * lineHeight + lineHeight / 2);
            opened.push_back(mainHeard.size() == 1 && mainHeard[0].message == kMsgOpenSharedNote ? heardPaths[0]
                                                                                                  : L"?");
        }
        return opened;
    }

    TempFolder folder;
    MessageLog hostMessages;
    TestWindow host{hostMessages, "host", WS_POPUP | WS_VISIBLE, RECT{0, 0, 240, 300}};
    HWND hostWindow = host.Handle();
    MessageLog mainHeard{kMessageOnly, kMainMessages};
    std::vector<std::wstring> heardPaths;  // one a record of mainHeard
    std::unique_ptr<TestWindow> mainSpy;
    HMODULE library = nullptr;
    HWND window = nullptr;
    TODAYLISTITEM item = {};
    std::vector<DWORD> plantedRuns;
};

TEST_F(TodayItemTest, ListsDatedNotesByExpiryThenUndatedByCreation)
{
    SYSTEMTIME undated = DaysFromNow(0, kNever);
    std::wstring first = AddNote(L"Jotling0.jot", L"made first", undated);
    std::wstring ten = AddNote(L"Jotling1.jot", L"ten", DaysFromNow(1, 10));
    std::wstring nine = AddNote(L"Jotling2.jot", L"nine", DaysFromNow(1, 9));
    std::wstring second = AddNote(L"Jotling3.jot", L"made second", undated);
    std::wstring eleven = AddNote(L"Jotling4.jot", L"eleven", DaysFromNow(1, 11));
    RegWriteDword(kSettings, L"TodayCount", 10);
    Load();
    StartMainSpy();
    ASSERT_EQ(Query(), 1);
    int lineHeight = (int(item.cyp) - 3) / 5;
    ASSERT_GT(lineHeight, 0);
    EXPECT_EQ(int(item.cyp), 5 * lineHeight + 3);
    EXPECT_EQ(WindowHeight(), int(item.cyp) - 3);
    std::vector<std::wstring> expected = {nine, ten, eleven, first, second};
    EXPECT_EQ(OpenedByLines(5, lineHeight), expected);
}

TEST_F(TodayItemTest, EmptyItemIsTwentyThreePixelsAddsANoteAndDrawsTheFirstAtOnce)
{
    Load();
    StartMainSpy();
    EXPECT_EQ(Query(), 1);
    EXPECT_EQ(item.cyp, 23u);
    EXPECT_EQ(WindowHeight(), 20);
    EXPECT_EQ(Query(), 0) << "nothing changed since the last answer";
    ClearCache();
    EXPECT_EQ(Query(), 1) << "a refresh always brings a new answer";

    Tap(40, 10);
    ASSERT_EQ(mainHeard.size(), 1u);
    EXPECT_EQ(mainHeard[0].message, kMsgNewNote);
    ClearHeard();
    Tap(10, 10);
    ASSERT_EQ(mainHeard.size(), 1u);
    EXPECT_EQ(mainHeard[0].message, kMsgShowAllNotes) << "the icon shows all notes";

    // The first note listed is drawn, and taken by a tap, at once: before
    // the host asks the height again.
    std::wstring note = AddNote(L"Jotling0.jot", L"first", DaysFromNow(1, 8));
    ClearCache();
    int dark = DarkPixelsOfFirstLine();
    EXPECT_GT(dark, 20) << "the line's text";
    ClearHeard();
    Tap(100, 5);
    ASSERT_EQ(mainHeard.size(), 1u);
    EXPECT_EQ(mainHeard[0].message, kMsgOpenSharedNote);
    EXPECT_EQ(heardPaths[0], note);
}

// Until its first load is in, the item does not know its list is empty:
// it offers no "Tap here to add new jotling". When the host clears its cache
// after the options changed the font, the height it asks at once is the
// list's in the new font.
TEST_F(TodayItemTest, NoPlaceholderBeforeTheListIsInAndANewFontIsMeasuredAtOnce)
{
    std::wstring first = AddNote(L"Jotling0.jot", L"first", DaysFromNow(1, 8));
    HANDLE held = CreateFileW(first.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    int asked = ColourAsked();
    Load(false);
    StartMainSpy();
    ASSERT_EQ(Query(), 1);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    int dark = DarkPixelsOfFirstLine();
    EXPECT_EQ(dark, 0) << "the placeholder was drawn before the notes were in";
    Tap(100, 10);
    EXPECT_TRUE(mainHeard.empty()) << "a tap before the notes were in asked for a new note";
    CloseHandle(held);
    ASSERT_TRUE(PumpUntil([&] { return ColourAsked() >= asked + 2; })) << "the first load never came in";

    AddNote(L"Jotling1.jot", L"second", DaysFromNow(1, 9));
    AddNote(L"Jotling2.jot", L"third", DaysFromNow(1, 10));
    ClearCache();
    ASSERT_EQ(Query(), 1);
    int smallFont = int(item.cyp);
    EXPECT_EQ(smallFont, 3 * ((smallFont - 3) / 3) + 3) << "the three notes";
    RegWriteDword(kSettings, L"TodayFontSize", 12);
    SendMessageW(window, WM_TODAYCUSTOM_CLEARCACHE, 0, 0);
    ASSERT_EQ(Query(), 1) << "the height asked right after the cache was cleared";
    EXPECT_GT(int(item.cyp), smallFont);
    EXPECT_EQ(int(item.cyp), 3 * ((int(item.cyp) - 3) / 3) + 3) << "three lines of the new font";
    EXPECT_EQ(WindowHeight(), int(item.cyp) - 3);
}

// Any program can write "Path" and "Jotlings". The item starts only the
// program beside its library, and lists and schedules the notes of the
// program's own folder; the trace log says what the settings named instead.
TEST_F(TodayItemTest, AnotherProgramOrNotesFolderInTheSettingsIsNotTaken)
{
    TempFolder elsewhere;
    ASSERT_TRUE(WriteTestNote(elsewhere.File(L"Jotling0.jot"), L"elsewhere", DaysFromNow(1, 7)));
    std::wstring ours = AddNote(L"Jotling0.jot", L"ours", DaysFromNow(1, 9));
    const wchar_t kElsewhere[] = L"C:\\Elsewhere\\Other.exe";
    auto runsOfElsewhere = [&] {
        std::vector<DWORD> found;
        for (const CeTimedRun& run : CeRunStore().List()) {
            if (run.application == kElsewhere)
                found.push_back(run.handle);
        }
        return found;
    };
    for (DWORD handle : runsOfElsewhere())
        CeRunStore().Remove(handle);
    RegWriteString(kSettings, L"Path", kElsewhere);
    RegWriteString(kSettings, L"Jotlings", elsewhere.Path());
    Load();
    ASSERT_EQ(Query(), 1);
    Tap(100, 5);
    ASSERT_EQ(g_started.size(), 1u);
    EXPECT_EQ(g_started[0], kProgramPath + L" " + ours);
    std::vector<CeTimedRun> runs = OurRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].start.wHour, 9) << "the program's note is scheduled, not the other folder's";
    EXPECT_TRUE(runsOfElsewhere().empty()) << "the program \"Path\" named is scheduled";
    EXPECT_TRUE(TraceLogHas(L"\"Path\" names C:\\Elsewhere\\Other.exe, not the program beside the item"));
    EXPECT_TRUE(TraceLogHas(L"but the program keeps its notes in"));
}

TEST_F(TodayItemTest, CountOfFourWithSixNotesDrawsFiveLinesTheLastShowingAll)
{
    std::vector<std::wstring> notes;
    for (int i = 0; i < 6; ++i)
        notes.push_back(AddNote(L"Jotling" + std::to_wstring(i) + L".jot", L"note", DaysFromNow(1, WORD(8 + i))));
    Load();
    StartMainSpy();
    ASSERT_EQ(Query(), 1);
    int lineHeight = (int(item.cyp) - 3) / 5;
    EXPECT_EQ(int(item.cyp), 5 * lineHeight + 3);
    std::vector<std::wstring> firstFour(notes.begin(), notes.begin() + 4);
    EXPECT_EQ(OpenedByLines(4, lineHeight), firstFour);
    ClearHeard();
    Tap(100, 4 * lineHeight + 1);
    ASSERT_EQ(mainHeard.size(), 1u);
    EXPECT_EQ(mainHeard[0].message, kMsgShowAllNotes);

    // Three notes: three lines, no show-all line.
    for (int i = 3; i < 6; ++i)
        DeleteFileW(notes[i].c_str());
    ClearCache();
    ASSERT_EQ(Query(), 1);
    EXPECT_EQ(int(item.cyp), 3 * lineHeight + 3);
    EXPECT_EQ(WindowHeight(), 3 * lineHeight);
}

// Any program can write the item's registry values. A count or a font size
// beyond what the options offer is taken as the nearest one they offer.
TEST_F(TodayItemTest, OutOfRangeCountAndFontSizeAreTheNearestOffered)
{
    for (int i = 0; i < 3; ++i)
        AddNote(L"Jotling" + std::to_wstring(i) + L".jot", L"note", DaysFromNow(1, WORD(8 + i)));
    RegWriteDword(kSettings, L"TodayCount", DWORD(-3));
    RegWriteDword(kSettings, L"TodayFontSize", 0x80000000u);
    Load();
    StartMainSpy();
    ASSERT_EQ(Query(), 1);
    int lineHeight = (int(item.cyp) - 3) / 2;
    EXPECT_EQ(int(item.cyp), 2 * lineHeight + 3) << "one note line and the show-all line";
    EXPECT_GE(lineHeight, 8);
    EXPECT_LE(lineHeight, 20) << "the smallest font offered";
    Tap(100, lineHeight + 1);
    ASSERT_EQ(mainHeard.size(), 1u);
    EXPECT_EQ(mainHeard[0].message, kMsgShowAllNotes);
    Unload();

    RegWriteDword(kSettings, L"TodayCount", 1000000);
    RegWriteDword(kSettings, L"TodayFontSize", 0x7FFFFFFF);
    Load();
    ASSERT_EQ(Query(), 1);
    lineHeight = (int(item.cyp) - 3) / 3;
    EXPECT_EQ(int(item.cyp), 3 * lineHeight + 3) << "the three notes";
    EXPECT_LE(lineHeight, 20) << "the largest font offered";
}

TEST_F(TodayItemTest, HiddenExpiredNoteIsNeverPendingAndTomorrowsNoteStaysScheduled)
{
    AddNote(L"Jotling0.jot", L"done", DaysFromNow(1, 8), 1);
    SYSTEMTIME tomorrow = DaysFromNow(1, 12, 30);
    AddNote(L"Jotling1.jot", L"tomorrow", tomorrow);
    RegWriteDword(kSettings, L"TodayShowToday", 1);
    Load();
    ASSERT_EQ(Query(), 1);
    EXPECT_EQ(item.cyp, 23u) << "neither note is shown";
    std::vector<CeTimedRun> runs = OurRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].arguments, L"AppRunAtTime");
    EXPECT_EQ(runs[0].start.wDay, tomorrow.wDay);
    EXPECT_EQ(runs[0].start.wHour, 12) << "the expired note at 8:00 is not pending";
    EXPECT_EQ(runs[0].start.wMinute, 30);
}

// The system keeps whole seconds, a note's time keeps the clock's
// milliseconds: the run is at the whole second after it, never before.
TEST_F(TodayItemTest, ATimedRunNeverStartsBeforeItsNotesTime)
{
    SYSTEMTIME at = DaysFromNow(1, 23, 59);
    at.wSecond = 59;
    at.wMilliseconds = 400;
    AddNote(L"Jotling0.jot", L"soon", at);
    Load();
    std::vector<CeTimedRun> runs = OurRuns();
    ASSERT_EQ(runs.size(), 1u);
    SYSTEMTIME next = DaysFromNow(2, 0, 0);
    EXPECT_EQ(runs[0].start.wDay, next.wDay);
    EXPECT_EQ(runs[0].start.wHour, 0);
    EXPECT_EQ(runs[0].start.wMinute, 0);
    EXPECT_EQ(runs[0].start.wSecond, 0);
}

TEST_F(TodayItemTest, OneTimedRunIsMovedToAnEarlierNoteAndRemovedWhenNoneIsPending)
{
    std::wstring later = AddNote(L"Jotling0.jot", L"later", DaysFromNow(2, 15));
    Load();
    ASSERT_EQ(OurRuns().size(), 1u);
    DWORD handle = OurRuns()[0].handle;

    std::wstring earlier = AddNote(L"Jotling1.jot", L"earlier", DaysFromNow(1, 7));
    ClearCache();
    std::vector<CeTimedRun> runs = OurRuns();
    ASSERT_EQ(runs.size(), 1u) << "the run is replaced, not added to";
    EXPECT_EQ(runs[0].handle, handle);
    EXPECT_EQ(runs[0].start.wHour, 7);

    DeleteFileW(later.c_str());
    DeleteFileW(earlier.c_str());
    ClearCache();
    EXPECT_TRUE(OurRuns().empty());
    ClearCache();
    EXPECT_TRUE(OurRuns().empty());

    // Without "TurnOn" the item polls instead: a due note reaches the
    // running program as 1327, and no run is set.
    RegWriteDword(kSettings, L"TurnOn", 0);
    StartMainSpy();
    AddNote(L"Jotling2.jot", L"due", DaysFromNow(-1, 7));
    ClearCache();
    EXPECT_TRUE(OurRuns().empty());
    EXPECT_TRUE(PumpUntil([&] { return !mainHeard.empty(); }));
    ASSERT_FALSE(mainHeard.empty());
    EXPECT_EQ(mainHeard[0].message, kMsgCheckExpired);
}

TEST_F(TodayItemTest, EachLoadKeepsOneTimedRunOfTheProgramAndLeavesOtherRunsAlone)
{
    std::wstring path = AddNote(L"Jotling0.jot", L"soon", DaysFromNow(1, 9));
    Load();
    Unload();
    ASSERT_EQ(OurRuns(L"AppRunAtTime").size(), 1u) << "an unloaded item keeps the program scheduled";
    std::wstring otherCase = kProgramPath;
    CharUpperW(&otherCase[0]);
    PlantRun(otherCase.c_str(), L"AppRunAtTime", DaysFromNow(1, 6));
    std::vector<DWORD> others = {PlantRun(L"C:\\Other\\Other.exe", L"AppRunAtTime", DaysFromNow(1, 6)),
                                 PlantRun(kProgram, L"apprunattime", DaysFromNow(1, 6))};

    // The note moves on while the Today screen is down.
    SYSTEMTIME later = DaysFromNow(300, 15, 45);
    DeleteFileW(path.c_str());
    AddNote(L"Jotling0.jot", L"moved", later);
    Load();
    std::vector<CeTimedRun> runs = OurRuns(L"AppRunAtTime");
    ASSERT_EQ(runs.size(), 1u) << "the earlier loads' runs are gone";
    EXPECT_EQ(memcmp(&runs[0].start, &later, sizeof later), 0) << "at the note's new time";

    Unload();
    DeleteFileW(path.c_str());
    Load();
    EXPECT_TRUE(OurRuns(L"AppRunAtTime").empty()) << "nothing pending: no run is left";
    for (DWORD handle : others)
        EXPECT_TRUE(CeRunStore().Exists(handle)) << "run " << handle << " is not the item's";
}

TEST_F(TodayItemTest, ARunAnotherLoadedItemHoldsIsNeverCleanedUp)
{
    AddNote(L"Jotling0.jot", L"soon", DaysFromNow(1, 9));
    // Another shell's item, still loaded, holds its run of the program.
    DWORD others = PlantRun(kProgram, L"AppRunAtTime", DaysFromNow(1, 6));
    wchar_t name[64];
    FormatText(name, 64, kHeldRunEventFormat, static_cast<unsigned long>(others));
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, name);
    Load();
    EXPECT_TRUE(CeRunStore().Exists(others)) << "a loaded item's run was cleaned up as stale";
    Unload();

    // Once that item is gone its run is stale, and the next load takes its place.
    CloseHandle(held);
    Load();
    EXPECT_FALSE(CeRunStore().Exists(others));
    EXPECT_EQ(OurRuns(L"AppRunAtTime").size(), 1u);
}

// Neither a date that is none nor a note cut short (its head whole, its
// data not: the program never opens it, so never flags it expired) is what
// the program is scheduled for; both are listed.
TEST_F(TodayItemTest, NotesThatCannotAlarmAreListedButTheNextRealNoteIsScheduled)
{
    SYSTEMTIME impossible = DaysFromNow(1, 9);
    impossible.wMonth = 13;
    impossible.wDay = 0;
    std::wstring bad = AddNote(L"Jotling0.jot", L"impossible", impossible);
    std::wstring cut = folder.File(L"Jotling2.jot");
    ASSERT_TRUE(WriteTestNote(cut, L"cut", DaysFromNow(-1, 9), 0, std::string(100, 7)));
    CutFile(cut, kNoteFileHeaderSize + 40);
    SYSTEMTIME next = DaysFromNow(2, 10, 20);
    std::wstring real = AddNote(L"Jotling1.jot", L"real", next);
    Load();
    StartMainSpy();
    ASSERT_EQ(Query(), 1);
    EXPECT_EQ(OpenedByLines(3, (int(item.cyp) - 3) / 3), (std::vector<std::wstring>{bad, cut, real}));
    std::vector<CeTimedRun> runs = OurRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(memcmp(&runs[0].start, &next, sizeof next), 0);
}

TEST_F(TodayItemTest, WithoutSettingsTheItemMakesNoKeyThatWouldStopTheFirstRunSettingUp)
{
    const wchar_t kItemKey[] = L"SOFTWARE\\Microsoft\\Today\\Items\\KORVA Jotlings";
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettings);
    // Another test's or scenario's item key is left as it is.
    bool itemKeyBefore = RegKeyExists(kItemKey);
    Load();
    Query();
    ClearCache();
    Unload();
    EXPECT_FALSE(RegKeyExists(kSettings)) << "the item's reads made the settings key";
    if (!itemKeyBefore) {
        EXPECT_FALSE(RegKeyExists(kItemKey)) << "the item's reads made its own key";
    }
}

TEST_F(TodayItemTest, TheFirstLoadHoldsNotTheHostOnANoteTheProgramHasOpen)
{
    std::wstring path = AddNote(L"Jotling0.jot", L"being saved", DaysFromNow(1, 9));
    library = LoadLibraryW(L"KJotlings.dll");
    ASSERT_NE(library, nullptr);
    StandInForTheProgram();
    auto initialize = reinterpret_cast<PFNCUSTOMINITIALIZEITEM>(
        reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_INITIALIZEITEM))));
    item = {};
    item.fEnabled = TRUE;
    item.hinstDLL = library;
    // The program (a timed run just started) holds the note while the
    // Today screen loads the item: the item window comes at once, and the
    // note is listed once the program lets it go.
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    int asked = ColourAsked();
    window = initialize(&item, hostWindow);
    CloseHandle(held);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return ColourAsked() >= asked + 2; }));
    StartMainSpy();
    ASSERT_EQ(Query(), 1);
    Tap(100, 5);
    ASSERT_EQ(mainHeard.size(), 1u) << "the note held during the load is not listed";
    EXPECT_EQ(heardPaths[0], path);
}

// The running program's window on a thread that stops answering, as a
// program held by the debugger after a crash does, until released.
class HungMainWindow {
public:
    HungMainWindow()
    {
        made_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(made_, INFINITE);
    }
    ~HungMainWindow()
    {
        Release();
        WaitForSingleObject(thread_, INFINITE);
        for (HANDLE handle : {thread_, made_, release_})
            CloseHandle(handle);
    }
    void Release() { SetEvent(release_); }
    HANDLE Released() const { return release_; }

private:
    static DWORD WINAPI Run(void* self)
    {
        auto* hung = static_cast<HungMainWindow*>(self);
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"JOTLINGS";
        RegisterClassW(&windowClass);
        HWND main = CreateWindowExW(0, L"JOTLINGS", L"KORVA Jotlings", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
        StandsForTheProgram(main);
        SetEvent(hung->made_);
        WaitForSingleObject(hung->release_, INFINITE);
        DestroyWindow(main);
        UnregisterClassW(L"JOTLINGS", windowClass.hInstance);
        return 0;
    }

    HANDLE made_;
    HANDLE release_;
    HANDLE thread_;
};

TEST_F(TodayItemTest, ATapOnANoteWaitsForAProgramThatNeverAnswersOnlyAWhile)
{
    AddNote(L"Jotling0.jot", L"note", DaysFromNow(1, 9));
    Load();
    ASSERT_EQ(Query(), 1);
    HungMainWindow hung;
    // Frees the tap after a long time, should nothing else free it.
    HANDLE watchdog = CreateThread(nullptr, 0, [](void* hungMain) -> DWORD {
        auto* main = static_cast<HungMainWindow*>(hungMain);
        if (WaitForSingleObject(main->Released(), 30000) == WAIT_TIMEOUT)
            main->Release();
        return 0;
    }, &hung, 0, nullptr);
    Tap(100, 5);
    bool freedByWatchdog = WaitForSingleObject(hung.Released(), 0) == WAIT_OBJECT_0;
    hung.Release();
    WaitForSingleObject(watchdog, INFINITE);
    CloseHandle(watchdog);
    EXPECT_FALSE(freedByWatchdog) << "the tap waited on the hung program until it was let go";
    // The Today screen still answers.
    EXPECT_EQ(Query(), 0);
}

// Another program can make the change event's name first as a mutex, and
// send or post WM_DESTROY to the item's window. The item still learns of a
// save (from the notes folder), keeps the note's alarm scheduled and takes
// taps, until the host itself destroys the window.
TEST_F(TodayItemTest, AForeignMutexOrWmDestroySilencesNothing)
{
    HANDLE squatter = CreateMutexW(nullptr, FALSE, L"KORVA Jotlings Event");
    ASSERT_NE(squatter, nullptr);
    Load();
    ASSERT_EQ(Query(), 1);
    FromAnotherThread([&] { SendMessageW(window, WM_DESTROY, 0, 0); });
    PostMessageW(window, WM_DESTROY, 0, 0);
    PostMessageW(window, WM_NCDESTROY, 0, 0);
    Pump();

    int asked = ColourAsked();
    std::wstring path = AddNote(L"Jotling0.jot", L"saved", DaysFromNow(1, 9));
    EXPECT_TRUE(PumpUntil([&] { return ColourAsked() > asked; })) << "the save was never noticed";
    std::vector<CeTimedRun> runs = OurRuns();
    ASSERT_EQ(runs.size(), 1u) << "the saved note has no alarm";
    EXPECT_EQ(runs[0].start.wHour, 9);
    StartMainSpy();
    EXPECT_EQ(Query(), 1);
    Tap(100, 5);
    ASSERT_EQ(mainHeard.size(), 1u);
    EXPECT_EQ(heardPaths[0], path);

    Unload();
    EXPECT_EQ(GetModuleHandleW(L"KJotlings.dll"), nullptr) << "the host's own end stops the watchers";
    CloseHandle(squatter);
}

// Another program's window under the main window's class and title, made
// after the program's own (so found first by name), is handed neither a
// tapped note nor a due note's check; with the program gone it still gets
// nothing.
TEST_F(TodayItemTest, AForeignWindowUnderTheProgramsNamesIsHandedNothing)
{
    RegWriteDword(kSettings, L"TurnOn", 0);
    std::wstring path = AddNote(L"Jotling0.jot", L"due", DaysFromNow(-1, 7));
    Load();
    StartMainSpy();
    MessageLog foreignHeard{kMessageOnly, kMainMessages};
    foreignHeard.Keep(ForTheProgram);
    TestWindow foreign{foreignHeard, "foreign", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, L"KORVA Jotlings",
                       L"JOTLINGS"};
    foreign.answer = [](UINT message, WPARAM, LPARAM, LRESULT* result) {
        *result = 0;
        return ForTheProgram(message);
    };
    ASSERT_EQ(FindWindowW(L"JOTLINGS", L"KORVA Jotlings"), foreign.Handle()) << "the foreign one is found first";
    ASSERT_EQ(Query(), 1);

    Tap(100, 5);
    ASSERT_FALSE(mainHeard.empty()) << "the program's own window was hidden by the foreign one";
    EXPECT_EQ(mainHeard[0].message, kMsgOpenSharedNote);
    EXPECT_EQ(heardPaths[0], path);
    EXPECT_TRUE(PumpUntil([&] { return mainHeard.Count(kMsgCheckExpired) > 0; })) << "the due note's check";

    mainSpy.reset();
    Tap(100, 5);
    PumpFor(5500);
    EXPECT_TRUE(foreignHeard.empty()) << "the foreign window was handed the program's messages";
    EXPECT_NE(std::find(g_started.begin(), g_started.end(), kProgramPath + L" " + path), g_started.end())
        << "with the program gone, it is started for the tap instead";
}

// Closes the item's message boxes (caption "Jotlings") as a user would, and
// counts them.
class BoxCloser {
public:
    BoxCloser() { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
    ~BoxCloser()
    {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    LONG Closed() const { return closed_; }

private:
    static DWORD WINAPI Run(void* self)
    {
        auto* closer = static_cast<BoxCloser*>(self);
        while (WaitForSingleObject(closer->stop_, 20) == WAIT_TIMEOUT) {
            HWND box = FindWindowW(L"#32770", L"Jotlings");
            if (box != nullptr && IsWindowVisible(box)) {
                SendMessageW(box, WM_COMMAND, IDOK, 0);
                InterlockedIncrement(&closer->closed_);
            }
        }
        return 0;
    }

    HANDLE stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread_;
    volatile LONG closed_ = 0;
};


// Another program keeps the device's timed runs locked. Unloading the item
// (on the host's thread) is not held up by its watcher's wait for the lock;
// a loaded item that cannot set the note's run polls for it instead, so the
// alarm still comes, and the trace log and the user are told.
TEST_F(TodayItemTest, ALockKeptByAnotherProgramHoldsNotTheHostAndTheAlarmStillComes)
{
    HANDLE lock = CreateMutexW(nullptr, TRUE, L"CeRunStoreLock");
    ASSERT_NE(lock, nullptr);
    AddNote(L"Jotling0.jot", L"tomorrow", DaysFromNow(1, 9));
    Load(false);
    Sleep(100);
    ULONGLONG before = GetTickCount64();
    Unload();
    EXPECT_LT(GetTickCount64() - before, 500u) << "the host waited on the watcher's wait for the lock";

    BoxCloser closer;
    AddNote(L"Jotling1.jot", L"due", DaysFromNow(-1, 7));
    Load(false);
    StartMainSpy();
    EXPECT_TRUE(PumpUntil([&] { return mainHeard.Count(kMsgCheckExpired) > 0; }, 30000))
        << "the due note's alarm never came";
    EXPECT_TRUE(PumpUntil([&] { return closer.Closed() > 0; }, 15000)) << "the user was not told";
    EXPECT_TRUE(TraceLogHas(L"timed runs could not be written"));

    ReleaseMutex(lock);
    CloseHandle(lock);
    ClearCache();
    EXPECT_TRUE(PumpUntil([&] { return OurRuns().size() == 1; })) << "the run is set once the lock is let go";
}

TEST_F(TodayItemTest, ChangeEventRefreshesOnceAndNoteHeldOpenIsKept)
{
    HANDLE change = CreateEventW(nullptr, TRUE, FALSE, L"KORVA Jotlings Event");
    Load();
    ASSERT_EQ(Query(), 1);
    EXPECT_EQ(item.cyp, 23u);
    int asked = ColourAsked();

    // The program holds the new note open for a moment while the item
    // reloads: the note is listed all the same.
    std::wstring path = AddNote(L"Jotling0.jot", L"saved", DaysFromNow(1, 9));
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    SetEvent(change);
    Sleep(100);
    CloseHandle(held);

    EXPECT_TRUE(PumpUntil([&] { return ColourAsked() > asked; })) << "no refresh on the change event";
    EXPECT_EQ(WaitForSingleObject(change, 0), DWORD(WAIT_TIMEOUT)) << "the item resets the event";
    PumpFor(5000);
    EXPECT_EQ(ColourAsked(), asked + 1) << "one save, one refresh";
    StartMainSpy();
    EXPECT_EQ(Query(), 1);
    Tap(100, 5);
    ASSERT_EQ(mainHeard.size(), 1u) << "the held note is listed";
    EXPECT_EQ(heardPaths[0], path);

    // The window's end stops the watchers, so the library really unloads.
    Unload();
    EXPECT_EQ(GetModuleHandleW(L"KJotlings.dll"), nullptr);
    CloseHandle(change);
}

}  // namespace

// The library defines the note extension beside its entry points; linked on
// its own, the item's list takes it from here.
extern const wchar_t kNoteExtension[] = L".jot";

// The item's list of notes on its own: it loads again at each change of the
// notes folder, and reads a head again only when its file changed.
TEST(TodayNoteListTest, AReloadReadsOnlyTheHeadsWhoseFilesChanged)
{
    TempFolder folder;
    auto write = [&](const wchar_t* name, const wchar_t* title) {
        EXPECT_TRUE(WriteTestNote(folder.File(name), title, Time(2026, 12, 1, kNever, 0)));
        return folder.File(name);
    };
    auto titles = [](TodayNoteList& list) {
        std::vector<std::wstring> shown;
        list.Lock();
        for (const TodayEntry& entry : list.Entries())
            shown.push_back(entry.title);
        list.Unlock();
        std::sort(shown.begin(), shown.end());
        return shown;
    };
    std::wstring kept = write(L"Jotling0.jot", L"kept");
    std::wstring edited = write(L"Jotling1.jot", L"edited");
    Backdate(kept);
    Backdate(edited);
    TodayNoteList list;
    ASSERT_TRUE(list.Load(folder.Path(), TodayFilter()));
    EXPECT_EQ(list.headsRead, 2);
    ASSERT_TRUE(list.Load(folder.Path(), TodayFilter()));
    EXPECT_EQ(list.headsRead, 0) << "nothing changed";

    // The program saves one note and makes another while the item runs.
    write(L"Jotling1.jot", L"edited again");
    std::wstring fresh = write(L"Jotling2.jot", L"fresh");
    ASSERT_TRUE(list.Load(folder.Path(), TodayFilter()));
    EXPECT_EQ(list.headsRead, 2);
    EXPECT_EQ(titles(list), (std::vector<std::wstring>{L"edited again", L"fresh", L"kept"}));

    // Saved again within the same tick of a coarse clock, and of the same
    // size, the fresh note keeps its stamp: read moments after its write,
    // its head is read again all the same.
    FILETIME written = WrittenTime(fresh);
    write(L"Jotling2.jot", L"fresh, saved again");
    SetWrittenTime(fresh, written);
    ASSERT_TRUE(list.Load(folder.Path(), TodayFilter()));
    EXPECT_EQ(titles(list), (std::vector<std::wstring>{L"edited again", L"fresh, saved again", L"kept"}));
    // A note gone is gone.
    DeleteFileW(kept.c_str());
    ASSERT_TRUE(list.Load(folder.Path(), TodayFilter()));
    EXPECT_EQ(titles(list), (std::vector<std::wstring>{L"edited again", L"fresh, saved again"}));
}
