// The note window's work on other threads: the alarm's wave file and
// recording, heard through a fake sound call that records every call (and
// can hold one, as a long sound would), and push-to-talk with the record
// button pressed and let go through the device's real key input.
#include "InkSpy.h"

#include "app/Application.h"
#include "app/Registry.h"
#include "notewindow/AlarmSound.h"
#include "notewindow/InkControlMessages.h"
#include "notewindow/NoteWindow.h"
#include "notewindow/NoteWindowMessages.h"
#include "tests/support/TempFolder.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <mmsystem.h>

#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

// One call of the sound seam: a file, a recording (the tag after "WAVE" in
// its block), or a cut (no sound).
struct SoundCall {
    enum Kind { kFile, kRecording, kCut } kind;
    std::wstring file;
    std::string tag;
};

// The fake PlaySoundW. Held calls wait, like a long sound, until released:
// files by Release(), recordings by a cut (as a real cut ends any sound).
class FakeSound {
public:
    static void Install()
    {
        InitializeCriticalSection(&lock);
        released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        cut = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        calls.clear();
        holdFiles = holdRecordings = false;
        lingerMs = 0;
        filesEntered = filesReturned = recordingsEntered = recordingsReturned = 0;
        InkControl::playSound = Play;
    }
    static void Uninstall()
    {
        // Nothing held may outlive the test.
        SetEvent(released);
        SetEvent(cut);
        for (int i = 0; i < 500 && (AlarmSound::FilesPlaying() > 0); ++i)
            Sleep(10);
        InkControl::playSound = PlaySoundW;
        CloseHandle(released);
        CloseHandle(cut);
        DeleteCriticalSection(&lock);
    }
    static std::vector<SoundCall> Calls()
    {
        EnterCriticalSection(&lock);
        std::vector<SoundCall> copy = calls;
        LeaveCriticalSection(&lock);
        return copy;
    }
    static int Count(SoundCall::Kind kind)
    {
        int n = 0;
        for (const SoundCall& call : Calls())
            n += call.kind == kind ? 1 : 0;
        return n;
    }
    static void Release() { SetEvent(released); }

    static bool holdFiles, holdRecordings;
    static DWORD lingerMs;  // a cut recording takes this long to return
    static volatile LONG filesEntered, filesReturned, recordingsEntered, recordingsReturned;

private:
    static BOOL WINAPI Play(LPCWSTR sound, HMODULE, DWORD flags)
    {
        SoundCall call = {SoundCall::kCut, L"", ""};
        if (sound != nullptr && (flags & SND_MEMORY) != 0) {
            call.kind = SoundCall::kRecording;
            call.tag.assign(reinterpret_cast<const char*>(sound) + 8, 9);
        } else if (sound != nullptr) {
            call.kind = SoundCall::kFile;
            call.file = sound;
        }
        EnterCriticalSection(&lock);
        calls.push_back(call);
        LeaveCriticalSection(&lock);

        // Bounded, so that a fault shows as a failed expectation, not a hang.
        const DWORD kHeldAtMost = 10000;
        switch (call.kind) {
        case SoundCall::kCut:
            SetEvent(cut);
            break;
        case SoundCall::kFile:
            InterlockedIncrement(&filesEntered);
            if (holdFiles)
                WaitForSingleObject(released, kHeldAtMost);
            InterlockedIncrement(&filesReturned);
            break;
        case SoundCall::kRecording:
            InterlockedIncrement(&recordingsEntered);
            if (holdRecordings) {
                WaitForSingleObject(cut, kHeldAtMost);
                Sleep(lingerMs);
            }
            InterlockedIncrement(&recordingsReturned);
            break;
        }
        return TRUE;
    }

    static CRITICAL_SECTION lock;
    static HANDLE released, cut;
    static std::vector<SoundCall> calls;
};
CRITICAL_SECTION FakeSound::lock;
HANDLE FakeSound::released = nullptr;
HANDLE FakeSound::cut = nullptr;
std::vector<SoundCall> FakeSound::calls;
bool FakeSound::holdFiles = false;
bool FakeSound::holdRecordings = false;
DWORD FakeSound::lingerMs = 0;
volatile LONG FakeSound::filesEntered = 0;
volatile LONG FakeSound::filesReturned = 0;
volatile LONG FakeSound::recordingsEntered = 0;
volatile LONG FakeSound::recordingsReturned = 0;

LONG Read(volatile LONG& value) { return InterlockedCompareExchange(&value, 0, 0); }

// A note window closed as the file-bound one closes it: the alarm's sound
// is stopped first. It opens up what the tests look at.
class AlarmNoteWindow : public NoteWindow {
public:
    void OnClose(bool save) override
    {
        StopAlarmSound();
        closes.push_back(save);
    }
    bool RecordingPlaying() const { return alarmSound.RecordingPlaying(); }
    bool WatcherRunning() const { return recordWatcher.Running(); }
    std::vector<bool> closes;
};

// Which program messages each window received, in order.
std::map<HWND, std::vector<UINT>> g_received;
std::map<HWND, WNDPROC> g_originalProcs;
LRESULT CALLBACK RecordMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER)
        g_received[window].push_back(message);
    return CallWindowProcW(g_originalProcs[window], window, message, wParam, lParam);
}

void Pump()
{
    InkSpy::Pump();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps until done() holds, for at most ten seconds.
template <class Condition>
bool PumpUntil(Condition done)
{
    for (int i = 0; i < 1000; ++i) {
        Pump();
        if (done())
            return true;
        Sleep(10);
    }
    return false;
}

// A note whose content holds two recordings; only the first may be heard.
std::vector<uint8_t> TwoRecordings()
{
    std::string bytes = "ink strokes...";
    bytes += std::string("RIFF") + std::string(4, '\x20') + "WAVEfirst-----";
    bytes += "more strokes";
    bytes += std::string("RIFF") + std::string(4, '\x20') + "WAVEsecond----";
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

const wchar_t kChime[] = L"C:\\Sounds\\chime.wav";

class AlarmSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        MakeApplication();
        InkSpy::Register();
        InkSpy::Reset();
        FakeSound::Install();
        g_received.clear();
    }
    void TearDown() override
    {
        for (AlarmNoteWindow* window : windows)
            delete window;
        Pump();
        FakeSound::Uninstall();
        delete g_application;
        g_application = nullptr;
    }

    void MakeApplication()
    {
        g_application = new Application(documents.Path());
        g_application->SetInstance(GetModuleHandleW(nullptr));
        g_application->SetMode(0);
        g_application->SetPage(0);
        g_application->SetZoom(3);
        g_application->SetSoundPath(kChime);
        g_application->SetRecBtn(0);
    }

    void Settings(bool playSnd, bool playRec, int count)
    {
        g_application->SetPlaySnd(playSnd);
        g_application->SetPlayRec(playRec);
        g_application->SetSndCount(count);
    }

    // Opens a note window (kept by the test), its messages recorded.
    AlarmNoteWindow* Open(bool alarm, void* place = nullptr)
    {
        AlarmNoteWindow* window = place != nullptr ? new (place) AlarmNoteWindow() : new AlarmNoteWindow();
        if (place == nullptr)
            windows.push_back(window);
        HWND hwnd = window->Create(nullptr, alarm, alarm);
        EXPECT_NE(nullptr, hwnd);
        if (hwnd != nullptr)
            g_originalProcs[hwnd] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordMessages)));
        Pump();
        return window;
    }

    void Done(NoteWindow* window)
    {
        SendMessageW(window->Window(), WM_COMMAND, IDOK, 0);
        Pump();
    }

    TempFolder documents;
    std::vector<AlarmNoteWindow*> windows;
};

TEST_F(AlarmSoundTest, RecordingPlaysTheFirstRecordingSndCountTimesAndEndsByItself)
{
    Settings(false, true, 3);
    InkSpy::config.content = TwoRecordings();
    AlarmNoteWindow* note = Open(true);
    note->StartAlarmSound();
    ASSERT_TRUE(PumpUntil([&] { return !note->RecordingPlaying(); }));

    std::vector<SoundCall> calls = FakeSound::Calls();
    ASSERT_EQ(3u, calls.size());
    for (const SoundCall& call : calls) {
        EXPECT_EQ(SoundCall::kRecording, call.kind);
        EXPECT_EQ("WAVEfirst", call.tag);
    }
    // Over by itself: closing has nothing to cut (a cut would end any wave
    // file still playing).
    Done(note);
    EXPECT_EQ(std::vector<bool>{true}, note->closes);
    EXPECT_EQ(3u, FakeSound::Calls().size());
}

TEST_F(AlarmSoundTest, ClosingCutsTheRecordingAtOnceAndWaitsForItsThread)
{
    Settings(false, true, 3);
    InkSpy::config.content = TwoRecordings();
    FakeSound::holdRecordings = true;
    FakeSound::lingerMs = 150;
    AlarmNoteWindow* note = Open(true);
    note->StartAlarmSound();
    ASSERT_TRUE(PumpUntil([] { return Read(FakeSound::recordingsEntered) == 1; }));

    Done(note);
    ASSERT_EQ(std::vector<bool>{true}, note->closes);
    // The close returned only after the cut sound came back and the thread
    // ended, without a second repetition.
    EXPECT_EQ(1, Read(FakeSound::recordingsReturned));
    EXPECT_FALSE(note->RecordingPlaying());
    std::vector<SoundCall> calls = FakeSound::Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(SoundCall::kRecording, calls[0].kind);
    EXPECT_EQ(SoundCall::kCut, calls[1].kind);
    EXPECT_EQ(1, FakeSound::Count(SoundCall::kRecording));
}

TEST_F(AlarmSoundTest, WaveFilePlaysSndCountTimesAndACountBelowOneNothing)
{
    Settings(true, false, 2);
    AlarmNoteWindow* note = Open(true);
    note->StartAlarmSound();
    ASSERT_TRUE(PumpUntil([] { return AlarmSound::FilesPlaying() == 0; }));
    std::vector<SoundCall> calls = FakeSound::Calls();
    ASSERT_EQ(2u, calls.size());
    for (const SoundCall& call : calls) {
        EXPECT_EQ(SoundCall::kFile, call.kind);
        EXPECT_EQ(kChime, call.file);
    }

    for (int count : {0, -3}) {
        Settings(true, true, count);
        InkSpy::config.content = TwoRecordings();
        note->StartAlarmSound();
        EXPECT_EQ(0, AlarmSound::FilesPlaying()) << count;
        EXPECT_FALSE(note->RecordingPlaying()) << count;
    }
    // Nor does a setting without a path.
    Settings(true, false, 1);
    g_application->SetSoundPath(L"");
    note->StartAlarmSound();
    EXPECT_EQ(0, AlarmSound::FilesPlaying());
    EXPECT_EQ(2u, FakeSound::Calls().size());
}

TEST_F(AlarmSoundTest, WaveFileOutlivesItsWindowWithoutTouchingIt)
{
    Settings(true, false, 2);
    FakeSound::holdFiles = true;
    // The window lives in pages of its own, made unreadable once it is gone:
    // any touch of the object by the sound thread after that faults.
    SIZE_T size = (sizeof(AlarmNoteWindow) + 4095) & ~SIZE_T(4095);
    void* place = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(nullptr, place);
    AlarmNoteWindow* note = Open(true, place);
    note->StartAlarmSound();
    ASSERT_TRUE(PumpUntil([] { return Read(FakeSound::filesEntered) == 1; }));

    // Closing neither waits for the file nor cuts it.
    Done(note);
    EXPECT_EQ(std::vector<bool>{true}, note->closes);
    EXPECT_EQ(0, Read(FakeSound::filesReturned));
    EXPECT_EQ(0, FakeSound::Count(SoundCall::kCut));
    note->~AlarmNoteWindow();
    DWORD previous = 0;
    ASSERT_TRUE(VirtualProtect(place, size, PAGE_NOACCESS, &previous));

    // The settings change and the program's object goes too.
    g_application->SetSoundPath(L"C:\\Sounds\\other.wav");
    g_application->SetSndCount(5);
    delete g_application;
    g_application = nullptr;

    FakeSound::Release();
    ASSERT_TRUE(PumpUntil([] { return AlarmSound::FilesPlaying() == 0; }));
    std::vector<SoundCall> calls = FakeSound::Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(kChime, calls[0].file);
    EXPECT_EQ(kChime, calls[1].file);

    VirtualFree(place, 0, MEM_RELEASE);
    MakeApplication();
}

// Push-to-talk. The button table names "Button 5", so the program's record
// key is a real key that SendInput can hold down.
class RecordButtonTest : public AlarmSoundTest {
protected:
    void SetUp() override
    {
        AlarmSoundTest::SetUp();
        RegWriteString(kTable, L"Name", L"Button 5");
        key = g_application->RecordButtonKey();
    }
    void TearDown() override
    {
        if (held)
            Press(false);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTable);
        AlarmSoundTest::TearDown();
    }
    void Press(bool down)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = WORD(key);
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        ASSERT_EQ(1u, SendInput(1, &input, sizeof input));
        held = down;
    }
    static std::vector<UINT> StopsAndStarts(const std::vector<InkSpyMessage>& log)
    {
        std::vector<UINT> result;
        for (const InkSpyMessage& m : log) {
            if (m.window == 'C' && (m.msg == kInkStopRecording || m.msg == kInkStartRecording))
                result.push_back(m.msg);
        }
        return result;
    }
    static int Count(HWND window, UINT message)
    {
        int n = 0;
        for (UINT m : g_received[window])
            n += m == message ? 1 : 0;
        return n;
    }

    static constexpr const wchar_t* kTable = L"SOFTWARE\\Microsoft\\Shell\\Keys\\JotlingsSoundTest";
    int key = 0;
    bool held = false;
};

TEST_F(RecordButtonTest, RecordsWhileTheButtonIsHeldAndStopsEveryWindowOnRelease)
{
    ASSERT_NE(0, key);
    AlarmNoteWindow* other = Open(false);
    AlarmNoteWindow* note = Open(false);
    HWND otherWindow = other->Window(), noteWindow = note->Window();
    g_received.clear();
    InkSpy::ClearLog();

    Press(true);
    note->StartRecordButtonRecording();
    // Every window stopped first, then this one to the front with its
    // recorder, then the recording: stop, start.
    EXPECT_EQ(std::vector<UINT>{kMsgNoteStopRecording}, g_received[otherWindow]);
    EXPECT_EQ((std::vector<UINT>{kMsgNoteStopRecording, kMsgNoteRecordButton}), g_received[noteWindow]);
    std::vector<UINT> recording = StopsAndStarts(InkSpy::Protocol());
    ASSERT_GE(recording.size(), 2u);
    EXPECT_EQ(kInkStopRecording, recording[recording.size() - 2]);
    EXPECT_EQ(kInkStartRecording, recording.back());

    // Held through several looks at the button: nothing stops.
    for (int i = 0; i < 40; ++i) {
        Pump();
        Sleep(10);
    }
    EXPECT_TRUE(note->WatcherRunning());
    EXPECT_EQ(1, Count(otherWindow, kMsgNoteStopRecording));

    Press(false);
    ASSERT_TRUE(PumpUntil([&] {
        return Count(otherWindow, kMsgNoteStopRecording) == 2 && Count(noteWindow, kMsgNoteStopRecording) == 2;
    }));
    ASSERT_TRUE(PumpUntil([&] { return !note->WatcherRunning(); }));
    EXPECT_EQ(kInkStopRecording, StopsAndStarts(InkSpy::Protocol()).back());
}

TEST_F(RecordButtonTest, ClosingTheWindowWhileTheButtonIsHeldEndsTheWatcher)
{
    ASSERT_NE(0, key);
    AlarmNoteWindow* other = Open(false);
    AlarmNoteWindow* note = Open(false);
    HWND otherWindow = other->Window();
    Press(true);
    note->StartRecordButtonRecording();
    g_received.clear();

    // The watcher's last step sends to the windows of the thread that is
    // waiting for it in the close.
    Done(note);
    EXPECT_EQ(1u, note->closes.size());
    EXPECT_FALSE(note->WatcherRunning());
    EXPECT_EQ(1, Count(otherWindow, kMsgNoteStopRecording));
}

}  // namespace
