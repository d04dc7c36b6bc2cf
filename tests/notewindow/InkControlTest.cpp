// InkControl against a spy control: each operation is asserted as the
// message sequence the control receives.
#include "InkSpy.h"

#include "notewindow/InkControl.h"
#include "notewindow/InkControlMessages.h"

#include <gtest/gtest.h>

#include <mmsystem.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// "C 1314 0 200" / "I 1311 16 0 posted": window, message, wParam, lParam.
std::string Describe(const InkSpyMessage& m)
{
    char text[96];
    snprintf(text, sizeof(text), "%c %u %lld %lld%s", m.window, m.msg,
             static_cast<long long>(m.wParam),
             m.msg == kInkViewSetup || m.msg == kInkStreamIn || m.msg == kInkStreamOut
                 ? 0LL
                 : static_cast<long long>(m.lParam),
             m.posted ? " posted" : "");
    return text;
}

std::vector<std::string> Sequence(bool withFocusAndPaint = false)
{
    std::vector<std::string> out;
    for (const InkSpyMessage& m : InkSpy::Protocol()) {
        if (!withFocusAndPaint && (m.msg == WM_SETFOCUS || m.msg == WM_ERASEBKGND ||
                                   m.msg == WM_TIMER || m.msg == WM_KEYUP))
            continue;
        out.push_back(Describe(m));
    }
    return out;
}

struct PlayCall {
    bool called = false;
    std::vector<uint8_t> head;
    DWORD flags = 0;
    bool nullSound = false;
};
PlayCall lastPlay;

BOOL WINAPI FakePlaySound(LPCWSTR sound, HMODULE, DWORD flags)
{
    lastPlay.called = true;
    lastPlay.flags = flags;
    lastPlay.nullSound = sound == nullptr;
    if (sound != nullptr) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(sound);
        lastPlay.head.assign(p, p + 12);
    }
    return TRUE;
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class InkControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InkSpy::Register();
        InkSpy::Reset();
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"InkControlTestParent";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        lastPlay = PlayCall();
        InkControl::playSound = FakePlaySound;
    }
    void TearDown() override
    {
        ink.Destroy();
        DestroyWindow(parent);
        InkControl::playSound = PlaySoundW;
    }
    void CreateAndClear()
    {
        ASSERT_TRUE(ink.Create(parent, 105, -1, 44, 242, 226, true));
        InkSpy::Pump();
        InkSpy::ClearLog();
    }

    HWND parent = nullptr;
    InkControl ink;
};

TEST_F(InkControlTest, CreateSetsUpTheControlInOrder)
{
    ASSERT_TRUE(ink.Create(parent, 105, -1, 44, 242, 226, true));
    std::vector<std::string> expected = {"C 1556 0 0", "I 1356 0 0", "I 1353 0 0", "I 1314 0 200",
                                         "I 205 0 0"};
    EXPECT_EQ(expected, Sequence());
    const InkSpyMessage* setup = nullptr;
    for (const InkSpyMessage& m : InkSpy::Protocol()) {
        if (m.msg == kInkViewSetup)
            setup = &m;
    }
    ASSERT_NE(setup, nullptr);
    INT32 block[6] = {15, 2, 200, 16, 0, 0};
    EXPECT_EQ(0, memcmp(block, setup->block, sizeof(block)));
    EXPECT_EQ(200, ink.GetZoom());
    EXPECT_EQ(InkSpy::lastControl, ink.Window());
    EXPECT_EQ(InkSpy::lastInner, ink.InnerWindow());
}

TEST_F(InkControlTest, CreateUsesStyleIdAndPlaceAsked)
{
    ASSERT_TRUE(ink.Create(parent, 105, -1, 44, 242, 226, true));
    EXPECT_EQ(static_cast<LONG>(kInkStyleBordered),
              GetWindowLongW(ink.Window(), GWL_STYLE) | WS_VISIBLE);
    EXPECT_EQ(105, GetDlgCtrlID(ink.Window()));
    EXPECT_EQ(parent, GetParent(ink.Window()));
    RECT r;
    GetWindowRect(ink.Window(), &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(-1, r.left);
    EXPECT_EQ(44, r.top);
    EXPECT_EQ(242, r.right - r.left);
    EXPECT_EQ(226, r.bottom - r.top);
    ink.Destroy();
    ASSERT_TRUE(ink.Create(parent, 7, 0, 0, 100, 100, false));
    EXPECT_EQ(static_cast<LONG>(kInkStylePlain), GetWindowLongW(ink.Window(), GWL_STYLE) | WS_VISIBLE);
}

TEST_F(InkControlTest, CreateWithoutParentFailsAndLeavesNoWindow)
{
    EXPECT_FALSE(ink.Create(nullptr, 105, 0, 0, 10, 10, true));
    EXPECT_EQ(nullptr, ink.Window());
    EXPECT_TRUE(Sequence().empty());
}

TEST_F(InkControlTest, DestroyRemovesTheWindow)
{
    CreateAndClear();
    HWND control = ink.Window();
    ink.Destroy();
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(nullptr, ink.Window());
    EXPECT_EQ(nullptr, ink.InnerWindow());
}

TEST_F(InkControlTest, SetZoomClampsToTheLadderEnds)
{
    CreateAndClear();
    ink.SetZoom(400);
    ink.SetZoom(10);
    ink.SetZoom(120);
    std::vector<std::string> expected = {"I 1314 0 300", "I 1314 0 25", "I 1314 0 120"};
    EXPECT_EQ(expected, Sequence());
    EXPECT_EQ(120, ink.GetZoom());
}

TEST_F(InkControlTest, SetZoomIndexMapsSettingToPercent)
{
    CreateAndClear();
    const int expected[] = {25, 50, 75, 100, 150, 200, 300};
    for (int i = 0; i < 7; ++i) {
        ink.SetZoomIndex(i);
        EXPECT_EQ(expected[i], ink.GetZoom()) << "index " << i;
    }
    ink.SetZoomIndex(7);
    EXPECT_EQ(100, ink.GetZoom());
    ink.SetZoomIndex(-1);
    EXPECT_EQ(100, ink.GetZoom());
    EXPECT_EQ(9u, Sequence().size());
}

TEST_F(InkControlTest, ZoomStepsWalkTheLadderAndStopAtItsEnds)
{
    CreateAndClear();
    ink.SetZoom(25);
    std::vector<bool> more;
    for (int i = 0; i < 7; ++i)
        more.push_back(ink.ZoomIn());
    EXPECT_EQ((std::vector<bool>{true, true, true, true, true, false, false}), more);
    EXPECT_EQ(300, ink.GetZoom());
    InkSpy::ClearLog();
    EXPECT_FALSE(ink.ZoomIn());
    EXPECT_EQ(std::vector<std::string>{"I 1314 0 300"}, Sequence());

    more.clear();
    for (int i = 0; i < 7; ++i)
        more.push_back(ink.ZoomOut());
    EXPECT_EQ((std::vector<bool>{true, true, true, true, true, false, false}), more);
    EXPECT_EQ(25, ink.GetZoom());
    InkSpy::ClearLog();
    EXPECT_FALSE(ink.ZoomOut());
    EXPECT_EQ(std::vector<std::string>{"I 1314 0 25"}, Sequence());
}

TEST_F(InkControlTest, ZoomOffTheLadderIsLeftAlone)
{
    CreateAndClear();
    ink.SetZoom(120);
    InkSpy::ClearLog();
    EXPECT_TRUE(ink.ZoomIn());
    EXPECT_EQ(120, ink.GetZoom());
    EXPECT_TRUE(ink.ZoomOut());
    EXPECT_EQ(120, ink.GetZoom());
    EXPECT_EQ((std::vector<std::string>{"I 1314 0 120", "I 1314 0 120"}), Sequence());
}

TEST_F(InkControlTest, UndoOnlyWhenTheControlCanAndReadsZoomBack)
{
    CreateAndClear();
    InkSpy::config.canUndo = 0;
    ink.Undo();
    EXPECT_EQ(std::vector<std::string>{"I 198 0 0"}, Sequence());
    EXPECT_FALSE(ink.CanUndo());

    InkSpy::ClearLog();
    InkSpy::config.canUndo = 1;
    InkSpy::config.zoomAnswer = 75;
    ink.Undo();
    EXPECT_EQ((std::vector<std::string>{"I 198 0 0", "I 1258 0 0", "I 1313 0 0"}), Sequence());
    EXPECT_EQ(75, ink.GetZoom());
    EXPECT_TRUE(ink.CanUndo());
}

TEST_F(InkControlTest, InputModeSendsWritingOrTyping)
{
    CreateAndClear();
    ink.SetInputMode(1);
    ink.SetInputMode(0);
    EXPECT_EQ((std::vector<std::string>{"I 1353 1 0", "I 1353 0 0"}), Sequence());
}

TEST_F(InkControlTest, PageStyleIsPostedWithTheTableValue)
{
    CreateAndClear();
    const int values[] = {16, 4, 2, 32, 0, 1, 8};
    for (int i = 0; i < 7; ++i) {
        InkSpy::ClearLog();
        ink.SetPageStyle(true, i);
        EXPECT_TRUE(Sequence().empty()) << "the page style must be posted, not sent";
        InkSpy::Pump();
        EXPECT_EQ(std::vector<std::string>{"C 1311 " + std::to_string(values[i]) + " 0 posted"},
                  Sequence());
    }
    InkSpy::ClearLog();
    ink.SetPageStyle(false, 3);
    ink.SetPageStyle(true, 9);
    InkSpy::Pump();
    EXPECT_EQ((std::vector<std::string>{"C 1311 16 0 posted", "C 1311 16 0 posted"}), Sequence());
}

TEST_F(InkControlTest, CompactChangesHeightAndKeepsPosition)
{
    CreateAndClear();
    ink.SetCompact(true);
    RECT r;
    GetWindowRect(ink.Window(), &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(-1, r.left);
    EXPECT_EQ(44, r.top);
    EXPECT_EQ(242, r.right - r.left);
    EXPECT_EQ(145, r.bottom - r.top);
    ink.SetCompact(false);
    GetWindowRect(ink.Window(), &r);
    EXPECT_EQ(226, r.bottom - r.top);
}

TEST_F(InkControlTest, UnmodifiedFollowsTheControlAnswer)
{
    CreateAndClear();
    InkSpy::config.modified = 0;
    EXPECT_TRUE(ink.IsUnmodified());
    InkSpy::config.modified = 3;
    EXPECT_FALSE(ink.IsUnmodified());
    EXPECT_EQ((std::vector<std::string>{"C 1538 0 0", "C 1538 0 0"}), Sequence());
}

std::vector<uint8_t> Bytes(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(i * 7 + 3);
    return v;
}

TEST_F(InkControlTest, GetInkDataStreamsOutTwiceInAnyChunks)
{
    CreateAndClear();
    InkSpy::config.content = Bytes(10000);
    InkSpy::config.outChunk = 333;
    BYTE* data = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(ink.GetInkData(&data, &size));
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(10000u, size);
    EXPECT_EQ(0, memcmp(data, InkSpy::config.content.data(), size));
    free(data);
    EXPECT_EQ((std::vector<std::string>{"C 1098 67586 0", "C 1098 67586 0"}), Sequence());
}

TEST_F(InkControlTest, GetInkDataNeverWritesPastTheFirstCount)
{
    CreateAndClear();
    InkSpy::config.content = Bytes(100);
    InkSpy::config.outChunk = 64;
    InkSpy::config.extraOnSecondOut = 5000;
    BYTE* data = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(ink.GetInkData(&data, &size));
    EXPECT_EQ(100u, size);
    EXPECT_EQ(0, memcmp(data, InkSpy::config.content.data(), 100));
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
    free(data);
}

TEST_F(InkControlTest, GetInkDataWithoutControlGivesNothing)
{
    BYTE* data = reinterpret_cast<BYTE*>(1);
    DWORD size = 5;
    EXPECT_FALSE(ink.GetInkData(&data, &size));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(0u, size);
}

TEST_F(InkControlTest, SetInkDataHandsOutTheWholeBlock)
{
    CreateAndClear();
    std::vector<uint8_t> block = Bytes(5000);
    InkSpy::config.inChunk = 777;
    ink.SetInkData(block.data(), static_cast<DWORD>(block.size()));
    EXPECT_EQ(block, InkSpy::streamedIn);
    EXPECT_EQ(std::vector<std::string>{"C 1097 67586 0"}, Sequence());

    ink.SetInkData(nullptr, 0);
    EXPECT_TRUE(InkSpy::streamedIn.empty());
}

TEST_F(InkControlTest, RecorderMessages)
{
    CreateAndClear();
    ink.ToggleRecorder();
    ink.ToggleRecorder();
    ink.StartVoiceRecording();
    ink.StopVoiceRecording();
    std::vector<std::string> expected = {"C 1554 1 0", "C 1554 0 0", "C 1561 0 0", "C 1565 0 0",
                                         "C 1561 0 0"};
    EXPECT_EQ(expected, Sequence());
}

TEST_F(InkControlTest, PlayFirstRecordingPlaysFromTheFirstRiff)
{
    CreateAndClear();
    std::vector<uint8_t> content = {'I', 'N', 'K', 'X', 'R', 'I', 'F'};
    const char wave[] = "RIFF\x0c\0\0\0WAVEfmt RIFF";   // whole: its size covers what follows
    content.insert(content.end(), wave, wave + sizeof(wave) - 1);
    InkSpy::config.content = content;
    InkSpy::config.outChunk = 5;  // "RIFF" split across callbacks
    ink.PlayFirstRecording();
    ASSERT_TRUE(lastPlay.called);
    EXPECT_EQ(static_cast<DWORD>(SND_MEMORY), lastPlay.flags);
    EXPECT_EQ(0, memcmp(lastPlay.head.data(), "RIFF\x0c\0\0\0WAVE", 12));
}

TEST_F(InkControlTest, PlayFirstRecordingWithoutWavePlaysNothing)
{
    CreateAndClear();
    InkSpy::config.content = {'I', 'N', 'K', 'X', 'R', 'I', 'F'};
    ink.PlayFirstRecording();
    EXPECT_FALSE(lastPlay.called);
    InkSpy::config.content.clear();
    ink.PlayFirstRecording();
    EXPECT_FALSE(lastPlay.called);
}

TEST_F(InkControlTest, StopSoundPlaysNoSound)
{
    ink.StopSound();
    EXPECT_TRUE(lastPlay.called);
    EXPECT_TRUE(lastPlay.nullSound);
}

TEST_F(InkControlTest, ClipboardAndPreviewMessages)
{
    CreateAndClear();
    ink.Cut();
    ink.Copy();
    ink.Paste();
    ink.SetPreviewView();
    std::vector<std::string> expected = {"C 768 0 0", "C 769 0 0", "C 770 0 0", "I 1356 0 0"};
    EXPECT_EQ(expected, Sequence());
    INT32 block[6] = {14, 2, 0, 16, 0, 0};
    EXPECT_EQ(0, memcmp(block, InkSpy::Protocol().back().block, sizeof(block)));
}

TEST_F(InkControlTest, InnerWindowIsPaintedYellow)
{
    CreateAndClear();
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 50, 50);
    HGDIOBJ old = SelectObject(mem, bitmap);
    EXPECT_EQ(1, SendMessageW(ink.InnerWindow(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0));
    EXPECT_EQ(RGB(255, 255, 0), GetPixel(mem, 10, 10));
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(Sequence(true).empty()) << "the erase must not reach the control";
}

TEST_F(InkControlTest, KeyUpArmsTheRepaintTimerAndTimersStopAtTheWrapper)
{
    CreateAndClear();
    SendMessageW(ink.InnerWindow(), WM_KEYUP, 'A', 0);
    EXPECT_EQ(std::vector<std::string>{"I 257 65 0"}, Sequence(true));
    InkSpy::ClearLog();
    SendMessageW(ink.InnerWindow(), WM_TIMER, 12, 0);
    SendMessageW(ink.InnerWindow(), WM_TIMER, kInkRepaintTimerId, 0);
    EXPECT_TRUE(Sequence(true).empty()) << "timer messages are not passed on";
    // The repaint timer was killed by its own tick.
    EXPECT_FALSE(KillTimer(ink.InnerWindow(), kInkRepaintTimerId));
}

struct Streamer {
    InkControl* ink;
    std::vector<uint8_t> expected;
    int rounds;
    volatile LONG good;
    volatile LONG finished;
};

DWORD WINAPI StreamOutLoop(LPVOID param)
{
    Streamer* s = static_cast<Streamer*>(param);
    for (int i = 0; i < s->rounds; ++i) {
        BYTE* data = nullptr;
        DWORD size = 0;
        if (s->ink->GetInkData(&data, &size) && size == s->expected.size() &&
            memcmp(data, s->expected.data(), size) == 0)
            InterlockedIncrement(&s->good);
        free(data);
    }
    InterlockedExchange(&s->finished, 1);
    return 0;
}

// The alarm's thread streams the content out while the user interface
// re-creates the control: neither may wait for the other for ever.
TEST_F(InkControlTest, StreamingFromAnotherThreadWhileRecreating)
{
    CreateAndClear();
    InkSpy::config.content = Bytes(20000);
    InkSpy::config.outChunk = 999;
    Streamer s = {&ink, InkSpy::config.content, 40, 0, 0};
    HANDLE thread = CreateThread(nullptr, 0, StreamOutLoop, &s, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    ULONGLONG limit = GetTickCount64() + 30000;
    int recreated = 0;
    while (!s.finished && GetTickCount64() < limit) {
        ink.Recreate(true);
        ++recreated;
        InkSpy::Pump();
        MsgWaitForMultipleObjects(1, &thread, FALSE, 1, QS_ALLINPUT);
    }
    while (!s.finished && GetTickCount64() < limit) {
        InkSpy::Pump();
        MsgWaitForMultipleObjects(1, &thread, FALSE, 10, QS_ALLINPUT);
    }
    ASSERT_TRUE(s.finished) << "the streaming thread did not finish";
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    EXPECT_EQ(40, s.good);
    EXPECT_GT(recreated, 0);
}

TEST_F(InkControlTest, RecreateKeepsSettingsButStartsAt200)
{
    CreateAndClear();
    ink.SetCompact(true);
    ink.SetPageStyle(true, 2);
    ink.SetInputMode(1);
    ink.SetZoom(75);
    InkSpy::Pump();
    HWND before = ink.Window();
    InkSpy::ClearLog();
    ink.Recreate(true);
    InkSpy::Pump();
    EXPECT_FALSE(IsWindow(before));
    ASSERT_TRUE(IsWindow(ink.Window()));
    std::vector<std::string> expected = {"C 1556 0 0", "I 1356 0 0", "I 1353 0 0", "I 1314 0 200",
                                         "I 205 0 0", "I 1353 1 0", "C 1311 2 0 posted"};
    EXPECT_EQ(expected, Sequence());
    EXPECT_EQ(200, ink.GetZoom());
    RECT r;
    GetWindowRect(ink.Window(), &r);
    EXPECT_EQ(145, r.bottom - r.top);
}

TEST_F(InkControlTest, RecreateWithoutSettingsStartsClean)
{
    CreateAndClear();
    ink.SetCompact(true);
    ink.SetPageStyle(true, 2);
    ink.SetInputMode(1);
    InkSpy::Pump();
    InkSpy::ClearLog();
    ink.Recreate(false);
    InkSpy::Pump();
    std::vector<std::string> expected = {"C 1556 0 0", "I 1356 0 0", "I 1353 0 0", "I 1314 0 200",
                                         "I 205 0 0"};
    EXPECT_EQ(expected, Sequence());
    RECT r;
    GetWindowRect(ink.Window(), &r);
    EXPECT_EQ(226, r.bottom - r.top);
}

}  // namespace
