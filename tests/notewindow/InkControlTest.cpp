// InkControl against a spy control: each operation is asserted as the
// message sequence the control receives.
#include "notewindow/InkControl.h"
#include "notewindow/InkControlMessages.h"
#include "tests/support/InkSpy.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <mmsystem.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace {

// The protocol without the pointers of 1356, 1097 and 1098, and, unless
// asked for, without focus, paint, timer and key messages.
MessageSequence Sequence(bool withFocusAndPaint = false)
{
    MessageSequence out;
    for (MessageRecord m : InkSpy::Protocol()) {
        if (!withFocusAndPaint && (m.message == WM_SETFOCUS || m.message == WM_ERASEBKGND ||
                                   m.message == WM_TIMER || m.message == WM_KEYUP))
            continue;
        if (m.message == kInkViewSetup || m.message == kInkStreamIn || m.message == kInkStreamOut)
            m.lParam = 0;
        out.Add(m);
    }
    return out;
}

// The control's answer to Create: its inner window, the view set-up, the
// writing mode, 200 %, no undo.
const std::vector<MessageRecord> kCreation = {Sent("C", kInkGetInnerWindow), Sent("I", kInkViewSetup),
                                              Sent("I", kInkSetInputMode, 0), Sent("I", kInkSetZoom, 0, 200),
                                              Sent("I", kInkEmptyUndoBuffer)};

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

class InkControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InkSpy::Register();
        InkSpy::Reset();
        lastPlay = PlayCall();
        InkControl::playSound = FakePlaySound;
    }
    void TearDown() override
    {
        ink.Destroy();
        InkControl::playSound = PlaySoundW;
    }
    void CreateAndClear()
    {
        ASSERT_TRUE(ink.Create(parent, 105, -1, 44, 242, 226, true));
        Pump();
        InkSpy::ClearLog();
    }

    TestWindow parentWindow{nullptr, WS_POPUP | WS_VISIBLE};
    HWND parent = parentWindow.Handle();
    InkControl ink;
};

TEST_F(InkControlTest, CreateSetsUpTheControlInOrder)
{
    ASSERT_TRUE(ink.Create(parent, 105, -1, 44, 242, 226, true));
    EXPECT_MESSAGES(kCreation, Sequence());
    ASSERT_NE(0u, InkSpy::Protocol().Count(kInkViewSetup));
    INT32 block[6] = {15, 2, 200, 16, 0, 0};
    EXPECT_EQ(0, memcmp(block, InkSpy::lastViewSetup, sizeof(block)));
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
    std::vector<MessageRecord> expected = {Sent("I", kInkSetZoom, 0, 300), Sent("I", kInkSetZoom, 0, 25),
                                           Sent("I", kInkSetZoom, 0, 120)};
    EXPECT_MESSAGES(expected, Sequence());
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
    EXPECT_MESSAGES({Sent("I", kInkSetZoom, 0, 300)}, Sequence());

    more.clear();
    for (int i = 0; i < 7; ++i)
        more.push_back(ink.ZoomOut());
    EXPECT_EQ((std::vector<bool>{true, true, true, true, true, false, false}), more);
    EXPECT_EQ(25, ink.GetZoom());
    InkSpy::ClearLog();
    EXPECT_FALSE(ink.ZoomOut());
    EXPECT_MESSAGES({Sent("I", kInkSetZoom, 0, 25)}, Sequence());
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
    EXPECT_MESSAGES(std::vector<MessageRecord>(2, Sent("I", kInkSetZoom, 0, 120)), Sequence());
}

TEST_F(InkControlTest, UndoOnlyWhenTheControlCanAndReadsZoomBack)
{
    CreateAndClear();
    InkSpy::config.canUndo = 0;
    ink.Undo();
    EXPECT_MESSAGES({Sent("I", kInkCanUndo)}, Sequence());
    EXPECT_FALSE(ink.CanUndo());

    InkSpy::ClearLog();
    InkSpy::config.canUndo = 1;
    InkSpy::config.zoomAnswer = 75;
    ink.Undo();
    std::vector<MessageRecord> expected = {Sent("I", kInkCanUndo), Sent("I", kInkUndo), Sent("I", kInkGetZoom)};
    EXPECT_MESSAGES(expected, Sequence());
    EXPECT_EQ(75, ink.GetZoom());
    EXPECT_TRUE(ink.CanUndo());
}

TEST_F(InkControlTest, InputModeSendsWritingOrTyping)
{
    CreateAndClear();
    ink.SetInputMode(1);
    ink.SetInputMode(0);
    std::vector<MessageRecord> expected = {Sent("I", kInkSetInputMode, 1), Sent("I", kInkSetInputMode, 0)};
    EXPECT_MESSAGES(expected, Sequence());
}

TEST_F(InkControlTest, PageStyleIsPostedWithTheTableValue)
{
    CreateAndClear();
    const int values[] = {16, 4, 2, 32, 0, 1, 8};
    for (int i = 0; i < 7; ++i) {
        InkSpy::ClearLog();
        ink.SetPageStyle(true, i);
        EXPECT_TRUE(Sequence().empty()) << "the page style must be posted, not sent";
        Pump();
        EXPECT_MESSAGES({Posted("C", kInkSetPageStyle, values[i])}, Sequence());
    }
    InkSpy::ClearLog();
    ink.SetPageStyle(false, 3);
    ink.SetPageStyle(true, 9);
    Pump();
    EXPECT_MESSAGES(std::vector<MessageRecord>(2, Posted("C", kInkSetPageStyle, 16)), Sequence());
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
    EXPECT_MESSAGES(std::vector<MessageRecord>(2, Sent("C", kInkGetModified)), Sequence());
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
    EXPECT_MESSAGES(std::vector<MessageRecord>(2, Sent("C", kInkStreamOut, kInkStreamFormat)), Sequence());
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
    EXPECT_MESSAGES({Sent("C", kInkStreamIn, kInkStreamFormat)}, Sequence());

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
    std::vector<MessageRecord> expected = {Sent("C", kInkShowRecorder, 1), Sent("C", kInkShowRecorder, 0),
                                           Sent("C", kInkStopRecording), Sent("C", kInkStartRecording),
                                           Sent("C", kInkStopRecording)};
    EXPECT_MESSAGES(expected, Sequence());
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
    std::vector<MessageRecord> expected = {Sent("C", WM_CUT), Sent("C", WM_COPY), Sent("C", WM_PASTE),
                                           Sent("I", kInkViewSetup)};
    EXPECT_MESSAGES(expected, Sequence());
    INT32 block[6] = {14, 2, 0, 16, 0, 0};
    EXPECT_EQ(0, memcmp(block, InkSpy::lastViewSetup, sizeof(block)));
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
    EXPECT_MESSAGES({Sent("I", WM_KEYUP, 'A')}, Sequence(true));
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
        Pump();
        MsgWaitForMultipleObjects(1, &thread, FALSE, 1, QS_ALLINPUT);
    }
    while (!s.finished && GetTickCount64() < limit) {
        Pump();
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
    Pump();
    HWND before = ink.Window();
    InkSpy::ClearLog();
    ink.Recreate(true);
    Pump();
    EXPECT_FALSE(IsWindow(before));
    ASSERT_TRUE(IsWindow(ink.Window()));
    std::vector<MessageRecord> expected = kCreation;
    expected.push_back(Sent("I", kInkSetInputMode, 1));
    expected.push_back(Posted("C", kInkSetPageStyle, 2));
    EXPECT_MESSAGES(expected, Sequence());
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
    Pump();
    InkSpy::ClearLog();
    ink.Recreate(false);
    Pump();
    EXPECT_MESSAGES(kCreation, Sequence());
    RECT r;
    GetWindowRect(ink.Window(), &r);
    EXPECT_EQ(226, r.bottom - r.top);
}

}  // namespace
