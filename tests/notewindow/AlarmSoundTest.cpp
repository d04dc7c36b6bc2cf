// The note window's work on other threads: the alarm's wave file and
// recording, heard through a fake sound call that records every call (and
// can hold one, as a long sound would), and push-to-talk with the record
// button pressed and let go through the device's real key input.
#include "notewindow/AlarmSound.h"
#include "notewindow/InkControlMessages.h"
#include "notewindow/NoteWindow.h"
#include "notewindow/NoteWindowMessages.h"
#include "process/Application.h"
#include "shared/Registry.h"
#include "tests/support/ApplicationTest.h"
#include "tests/support/DeviceInput.h"
#include "tests/support/InkSpy.h"
#include "tests/support/MessageLog.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <mmsystem.h>

#include <algorithm>
#include <new>
#include <string>
#include <vector>

namespace {

// The fake sound call records each call: "file:PATH", "rec:TAG" (the tag
// after "WAVE" in the recording's block) or "cut". Held calls wait, as a
// long sound would, until a cut or Release (ten seconds at most, so that a
// fault fails instead of hanging).
CRITICAL_SECTION g_soundLock;
std::vector<std::string> g_sounds;
HANDLE g_soundEnd = nullptr;
bool g_holdSounds = false;
DWORD g_cutTakesMs = 0;
volatile LONG g_entered = 0, g_returned = 0;

BOOL WINAPI FakePlaySound(LPCWSTR sound, HMODULE, DWORD flags)
{
    std::string call = "cut";
    if (sound != nullptr && (flags & SND_MEMORY) != 0)
        call = "rec:" + std::string(reinterpret_cast<const char*>(sound) + 12, 5);
    else if (sound != nullptr)
        call = "file:" + std::string(sound, sound + wcslen(sound));
    EnterCriticalSection(&g_soundLock);
    g_sounds.push_back(call);
    LeaveCriticalSection(&g_soundLock);
    if (sound == nullptr) {
        SetEvent(g_soundEnd);
        return TRUE;
    }
    InterlockedIncrement(&g_entered);
    if (g_holdSounds) {
        WaitForSingleObject(g_soundEnd, 10000);
        Sleep(g_cutTakesMs);
    }
    InterlockedIncrement(&g_returned);
    return TRUE;
}

std::vector<std::string> Sounds()
{
    EnterCriticalSection(&g_soundLock);
    std::vector<std::string> copy = g_sounds;
    LeaveCriticalSection(&g_soundLock);
    return copy;
}
LONG Read(volatile LONG& value) { return InterlockedCompareExchange(&value, 0, 0); }

// Closed as the file-bound note window closes: the alarm's sound first.
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

// Pumps until done() holds; sounds take their time, so for ten seconds at most.
bool WaitFor(const std::function<bool()>& done)
{
    return PumpUntil(done, 10000);
}

const wchar_t kChime[] = L"C:\\Sounds\\chime.wav";

class AlarmSoundTest : public ApplicationTest {
protected:
    void SetUp() override
    {
        ApplicationTest::SetUp();
        g_application->SetSoundPath(kChime);
        InkSpy::Register();
        InkSpy::Reset();
        // A note holding two recordings; only the first may be heard.
        const char content[] = "strokes RIFF\x09\0\0\0WAVEfirst strokes RIFF\x0a\0\0\0WAVEsecond";
        InkSpy::config.content.assign(content, content + sizeof content - 1);
        InitializeCriticalSection(&g_soundLock);
        g_soundEnd = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        g_sounds.clear();
        g_holdSounds = false;
        g_entered = g_returned = 0;
        InkControl::playSound = FakePlaySound;
    }
    void TearDown() override
    {
        for (AlarmNoteWindow* window : windows)
            delete window;
        SetEvent(g_soundEnd);
        WaitFor([] { return AlarmSound::FilesPlaying() == 0; });
        InkControl::playSound = PlaySoundW;
        CloseHandle(g_soundEnd);
        DeleteCriticalSection(&g_soundLock);
        ApplicationTest::TearDown();
    }
    void Settings(bool playSnd, bool playRec, int count)
    {
        g_application->SetPlaySnd(playSnd);
        g_application->SetPlayRec(playRec);
        g_application->SetSndCount(count);
    }
    // An alarm note window, or a new one; place: memory to build it in.
    AlarmNoteWindow* Open(bool alarm, void* place = nullptr)
    {
        AlarmNoteWindow* note = place != nullptr ? new (place) AlarmNoteWindow() : new AlarmNoteWindow();
        if (place == nullptr)
            windows.push_back(note);
        HWND window = note->Create(nullptr, alarm, alarm);
        EXPECT_NE(nullptr, window);
        if (window != nullptr)
            windowMessages.Watch(window, "note");
        Pump();
        return note;
    }
    // How many 1127 the window received.
    size_t Stops(HWND window) const
    {
        return windowMessages.Count(
            [window](const MessageRecord& m) { return m.hwnd == window && m.message == kMsgNoteStopRecording; });
    }
    void Done(NoteWindow* note)
    {
        SendMessageW(note->Window(), WM_COMMAND, IDOK, 0);
        Pump();
    }

    std::vector<AlarmNoteWindow*> windows;
    MessageLog windowMessages;
};

TEST_F(AlarmSoundTest, RecordingPlaysSndCountTimesAndTheCloseCutsItAtOnceAndWaitsForIt)
{
    Settings(false, true, 3);
    AlarmNoteWindow* note = Open(true);
    note->StartAlarmSound();
    ASSERT_TRUE(WaitFor([&] { return !note->RecordingPlaying(); }));
    std::vector<std::string> three(3, "rec:first");
    EXPECT_EQ(three, Sounds());
    // Over by itself, it is not cut: a cut ends a wave file playing too.
    Done(note);
    EXPECT_EQ(three, Sounds());

    g_holdSounds = true;
    g_cutTakesMs = 150;
    g_sounds.clear();
    note = Open(true);
    note->StartAlarmSound();
    ASSERT_TRUE(WaitFor([] { return Read(g_entered) == 4; }));
    Done(note);
    ASSERT_EQ(std::vector<bool>{true}, note->closes);
    // Back only once the cut sound returned and the thread ended, with no
    // second repetition.
    EXPECT_EQ(4, Read(g_returned));
    EXPECT_FALSE(note->RecordingPlaying());
    std::vector<std::string> sounds = Sounds();
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ("rec:first", sounds[0]);
    sounds.erase(sounds.begin());
    EXPECT_EQ(std::vector<std::string>(sounds.size(), "cut"), sounds);
}

TEST_F(AlarmSoundTest, WaveFilePlaysSndCountTimesOutlivingItsWindowWithoutTouchingIt)
{
    AlarmNoteWindow* plain = Open(true);
    for (int count : {0, -3}) {
        Settings(true, true, count);
        plain->StartAlarmSound();
        EXPECT_EQ(0, AlarmSound::FilesPlaying()) << count;
        EXPECT_FALSE(plain->RecordingPlaying()) << count;
    }

    Settings(true, false, 2);
    g_holdSounds = true;
    // In pages of its own, made unreadable once the window is gone: a touch
    // of the object by the sound thread after that faults.
    SIZE_T size = (sizeof(AlarmNoteWindow) + 4095) & ~SIZE_T(4095);
    void* place = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    AlarmNoteWindow* note = Open(true, place);
    note->StartAlarmSound();
    ASSERT_TRUE(WaitFor([] { return Read(g_entered) == 1; }));
    // Closing neither waits for the file nor cuts it.
    Done(note);
    EXPECT_EQ(std::vector<bool>{true}, note->closes);
    EXPECT_EQ(0, Read(g_returned));
    note->~AlarmNoteWindow();
    DWORD previous = 0;
    ASSERT_TRUE(VirtualProtect(place, size, PAGE_NOACCESS, &previous));
    g_application->SetSoundPath(L"C:\\other.wav");
    g_application->SetSndCount(5);
    EndApplication();

    SetEvent(g_soundEnd);
    ASSERT_TRUE(WaitFor([] { return AlarmSound::FilesPlaying() == 0; }));
    EXPECT_EQ(std::vector<std::string>(2, "file:C:\\Sounds\\chime.wav"), Sounds());
    VirtualFree(place, 0, MEM_RELEASE);
    StartApplication();
}

// The first alarm's file still plays its repetitions when the user closes
// it and the next alarm comes: that one's recording is heard whole, the
// file is not heard again.
TEST_F(AlarmSoundTest, TheNextAlarmEndsTheFileAnEarlierOneLeftPlaying)
{
    Settings(true, false, 3);
    g_holdSounds = true;
    AlarmNoteWindow* first = Open(true);
    first->StartAlarmSound();
    ASSERT_TRUE(WaitFor([] { return Read(g_entered) == 1; }));
    Done(first);

    g_holdSounds = false;
    Settings(false, true, 2);
    AlarmNoteWindow* second = Open(true);
    second->StartAlarmSound();
    EXPECT_EQ(0, AlarmSound::FilesPlaying()) << "the earlier alarm's file plays on";
    ASSERT_TRUE(WaitFor([&] { return !second->RecordingPlaying(); }));
    std::vector<std::string> heard = Sounds();
    heard.erase(std::remove(heard.begin(), heard.end(), "cut"), heard.end());
    EXPECT_EQ((std::vector<std::string>{"file:C:\\Sounds\\chime.wav", "rec:first", "rec:first"}), heard);
}

TEST_F(AlarmSoundTest, NoteWithoutAWholeRecordingSoundsTheFileUnlessTheUserChoseSilence)
{
    // No recording at all, and blocks that only look like one: a size that
    // runs past the end of the data (the player would read beyond it), and
    // a RIFF block of another form.
    const std::string contents[] = {"strokes only", std::string("strokes RIFF\xf0\xff\xff\x7fWAVEfirst", 25),
                                    std::string("strokes RIFF\x09\0\0\0AVI first", 25)};
    for (const std::string& content : contents) {
        SCOPED_TRACE(content);
        InkSpy::config.content.assign(content.begin(), content.end());
        g_sounds.clear();
        Settings(false, true, 2);
        Open(true)->StartAlarmSound();
        WaitFor([] { return AlarmSound::FilesPlaying() == 0 && Sounds().size() >= 2; });
        EXPECT_EQ(std::vector<std::string>(2, "file:C:\\Sounds\\chime.wav"), Sounds());
    }

    g_sounds.clear();
    g_application->SetDontPlay(true);
    Settings(false, true, 2);
    Open(true)->StartAlarmSound();
    WaitFor([] { return AlarmSound::FilesPlaying() == 0; });
    EXPECT_TRUE(Sounds().empty());
}

// Push-to-talk with the program's record key held through the real input:
// the button table names "Button 5".
class RecordButtonTest : public AlarmSoundTest {
protected:
    void SetUp() override
    {
        AlarmSoundTest::SetUp();
        RegWriteString(kTable, L"Name", L"Button 5");
        key = WORD(g_application->RecordButtonKey());
        other = Open(false)->Window();
        note = Open(false);
        InkSpy::ClearLog();
        windowMessages.Clear();
        SendKey(key, true);
    }
    void TearDown() override
    {
        SendKey(key, false);
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, kTable);
        AlarmSoundTest::TearDown();
    }
    const wchar_t* kTable = L"SOFTWARE\\Microsoft\\Shell\\Keys\\JotlingsSoundTest";
    WORD key = 0;
    HWND other = nullptr;
    AlarmNoteWindow* note = nullptr;
};

TEST_F(RecordButtonTest, RecordsWhileTheButtonIsHeldAndStopsEveryWindowOnRelease)
{
    ASSERT_NE(0, key);
    note->StartRecordButtonRecording();
    EXPECT_EQ(1u, Stops(other));
    MessageSequence recorder = InkSpy::Protocol().Where([](const MessageRecord& m) {
        return m.message == kInkStopRecording || m.message == kInkStartRecording || m.message == kInkShowRecorder;
    });
    // Every recording stopped, then this window's recorder shown, then a
    // recording started.
    std::vector<MessageRecord> expected = {{"C", kInkStopRecording}, {"C", kInkStopRecording},
                                           {"C", kInkShowRecorder},  {"C", kInkStopRecording},
                                           {"C", kInkStartRecording}};
    EXPECT_MESSAGES(expected, recorder.Compared(kMessageOnly));

    // Held through several looks at the button: nothing stops.
    Sleep(4 * RecordButtonWatcher::kPollMs);
    Pump();
    EXPECT_TRUE(note->WatcherRunning());
    EXPECT_EQ(1u, Stops(other));

    SendKey(key, false);
    EXPECT_TRUE(WaitFor([&] { return !note->WatcherRunning() && Stops(other) == 2; }));
    EXPECT_EQ(2u, Stops(note->Window()));
}

TEST_F(RecordButtonTest, ClosingTheWindowWhileTheButtonIsHeldEndsTheWatcher)
{
    ASSERT_NE(0, key);
    note->StartRecordButtonRecording();
    // The watcher's last step sends to the windows of the very thread that
    // waits for it in the close.
    Done(note);
    // The note was opened for its recording: it is kept.
    EXPECT_EQ(std::vector<bool>{true}, note->closes);
    EXPECT_FALSE(note->WatcherRunning());
    EXPECT_EQ(2u, Stops(other));
}

}  // namespace

// Through the device's real sound: the built chime is a wave the sound
// call accepts, and the program may end while the wave thread plays it.
TEST(AlarmSoundOnTheDevice, ChimePlaysAndTheProgramEndsCleanlyWhileItDoes)
{
    if (waveOutGetNumDevs() == 0)
        GTEST_SKIP() << "the device has no sound output";
    // The chime the build makes lies beside the test program.
    std::wstring chime = BesideTestProgram(L"notify.wav");
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(chime.c_str()));
    EXPECT_TRUE(PlaySoundW(chime.c_str(), nullptr, SND_FILENAME | SND_NODEFAULT));

    EXPECT_EXIT(
        {
            AlarmSound::PlayFile(chime.c_str(), 20);
            Sleep(300);
            if (AlarmSound::FilesPlaying() != 1)
                ExitProcess(3);
            exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
