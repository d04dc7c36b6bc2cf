// Voice recordings end to end: recorded through the control (from the
// sound input, or as silence where there is none), streamed out as a
// standard wave, and found by the program's wrapper for playback.
#include "InkHost.h"
#include "InkRecording.h"
#include "LeReader.h"

#include "notewindow/AlarmSound.h"
#include "notewindow/InkControl.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <mmsystem.h>
#include <string.h>
#include <wchar.h>

#include <algorithm>

namespace {

size_t FindRiff(const std::vector<uint8_t>& bytes)
{
    for (size_t i = 0; i + 4 <= bytes.size(); ++i) {
        if (memcmp(&bytes[i], "RIFF", 4) == 0)
            return i;
    }
    return bytes.size();
}

struct Wave {
    bool valid = false;
    unsigned rate = 0;
    unsigned bits = 0;
    unsigned dataBytes = 0;
    bool silent = true;
    unsigned DurationMs() const { return rate ? dataBytes * 1000u / (rate * bits / 8) : 0; }
};

// Reads a canonical wave the way a player would: header fields and data.
Wave ParseWave(const uint8_t* p, size_t size)
{
    Wave w;
    LeReader r(p, size);
    if (!r.TagIs("RIFF"))
        return w;
    uint32_t riffSize = r.U32();
    if (!r.TagIs("WAVE") || !r.TagIs("fmt ") || r.U32() != 16 || r.U16() != 1 || r.U16() != 1)
        return w;
    w.rate = r.U32();
    uint32_t perSecond = r.U32();
    r.U16();
    w.bits = r.U16();
    if (!r.TagIs("data"))
        return w;
    w.dataBytes = r.U32();
    const uint8_t* data = r.Take(w.dataBytes);
    if (data == nullptr || riffSize != 36 + w.dataBytes || perSecond != w.rate * w.bits / 8)
        return w;
    for (unsigned i = 0; i < w.dataBytes; ++i)
        w.silent = w.silent && data[i] == 0;
    w.valid = true;
    return w;
}

class SilentInput {
public:
    SilentInput() { SetEnvironmentVariableW(L"INKX_NO_SOUND_INPUT", L"1"); }
    ~SilentInput() { SetEnvironmentVariableW(L"INKX_NO_SOUND_INPUT", nullptr); }
};

TEST(InkRecordingTest, WithoutSoundInputRecordsSilenceOfTheRealDuration)
{
    SilentInput silent;
    InkHost host;
    SendMessageW(host.Control(), kInkMsgShowRecorder, 1, 0);
    host.commands.Clear();
    SendMessageW(host.Control(), kInkMsgStartRecording, 0, 0);
    PumpFor(600);
    SendMessageW(host.Control(), kInkMsgStopRecording, 0, 0);
    std::vector<uint8_t> out = host.StreamOut();
    size_t at = FindRiff(out);
    ASSERT_LT(at, out.size());
    Wave w = ParseWave(&out[at], out.size() - at);
    ASSERT_TRUE(w.valid);
    EXPECT_TRUE(w.silent);
    EXPECT_GE(w.DurationMs(), 550u);
    EXPECT_LT(w.DurationMs(), 5000u);
    EXPECT_NE(0u, host.CountCommands(kInkNotifyTextChanged));
    EXPECT_NE(0, SendMessageW(host.Control(), kInkMsgGetModified, 0, 0));
}

// The longest recording (ten minutes; here made short) stops by itself,
// keeps what was recorded, and the bar says so rather than "Ready".
TEST(InkRecordingTest, TheLongestRecordingStopsItselfKeepsWhatWasRecordedAndSaysSo)
{
    SilentInput silent;
    SetEnvironmentVariableW(L"INKX_LONGEST_RECORDING_MS", L"400");
    InkHost host;
    SendMessageW(host.Control(), kInkMsgShowRecorder, 1, 0);
    SendMessageW(host.Control(), kInkMsgStartRecording, 0, 0);
    PumpFor(1200);
    SetEnvironmentVariableW(L"INKX_LONGEST_RECORDING_MS", nullptr);
    std::vector<uint8_t> out = host.StreamOut();
    size_t at = FindRiff(out);
    ASSERT_LT(at, out.size()) << "nothing kept";
    Wave w = ParseWave(&out[at], out.size() - at);
    ASSERT_TRUE(w.valid);
    EXPECT_GE(w.DurationMs(), 350u);
    EXPECT_LT(w.DurationMs(), 1000u) << "it went on past the longest";
    HWND bar = FindWindowExW(host.Control(), nullptr, L"InkXRecorderBar", nullptr);
    ASSERT_NE(nullptr, bar);
    wchar_t status[64] = L"";
    GetWindowTextW(bar, status, 64);
    EXPECT_NE(nullptr, wcsstr(status, L"Longest")) << status;
}

TEST(InkRecordingTest, RecordsFromTheSoundInputWhenThereIsOne)
{
    if (waveInGetNumDevs() == 0)
        GTEST_SKIP() << "no wave-in device on this machine";
    InkHost host;
    SendMessageW(host.Control(), kInkMsgStartRecording, 0, 0);
    PumpFor(700);
    SendMessageW(host.Control(), kInkMsgStopRecording, 0, 0);
    std::vector<uint8_t> out = host.StreamOut();
    size_t at = FindRiff(out);
    ASSERT_LT(at, out.size());
    Wave w = ParseWave(&out[at], out.size() - at);
    ASSERT_TRUE(w.valid);
    EXPECT_EQ(11025u, w.rate);
    EXPECT_EQ(16u, w.bits);
    EXPECT_GE(w.DurationMs(), 450u);
}

TEST(InkRecordingTest, StopWithoutStartAddsNothingAndUndoRemovesARecording)
{
    SilentInput silent;
    InkHost host;
    std::vector<uint8_t> empty = host.StreamOut();
    SendMessageW(host.Control(), kInkMsgStopRecording, 0, 0);
    EXPECT_EQ(empty, host.StreamOut());
    SendMessageW(host.Control(), kInkMsgStartRecording, 0, 0);
    PumpFor(100);
    SendMessageW(host.Control(), kInkMsgStopRecording, 0, 0);
    EXPECT_LT(FindRiff(host.StreamOut()), host.StreamOut().size());
    SendMessageW(host.Inner(), kInkMsgUndo, 0, 0);
    EXPECT_EQ(empty, host.StreamOut());
}

TEST(InkRecordingTest, RecordingSurvivesStreamingOutAndIn)
{
    SilentInput silent;
    InkHost host;
    host.Stroke({{10, 10}, {40, 30}});
    SendMessageW(host.Control(), kInkMsgStartRecording, 0, 0);
    PumpFor(200);
    SendMessageW(host.Control(), kInkMsgStopRecording, 0, 0);
    std::vector<uint8_t> out = host.StreamOut();
    InkHost other;
    other.StreamIn(out, 1000);
    EXPECT_EQ(out, other.StreamOut());
}

TEST(InkRecordingTest, RecorderBarButtonsRecordAndTappingTheIconDrawsNothing)
{
    SilentInput silent;
    InkHost host;
    SendMessageW(host.Control(), kInkMsgShowRecorder, 1, 0);
    HWND bar = FindWindowExW(host.Control(), nullptr, L"InkXRecorderBar", nullptr);
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(IsWindowVisible(bar));
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));  // Rec
    PumpFor(150);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));  // Stop
    std::vector<uint8_t> out = host.StreamOut();
    ASSERT_LT(FindRiff(out), out.size());

    // The icon sits at the top left of an otherwise empty page; a tap there
    // plays the recording instead of drawing a dot.
    host.commands.Clear();
    host.Stroke({{8, 10}});
    EXPECT_EQ(out, host.StreamOut());
    for (const MessageRecord& c : host.commands)
        EXPECT_NE(kInkNotifyInkChanged, LOWORD(c.wParam));
    host.Stroke({{150, 150}});
    EXPECT_NE(out, host.StreamOut());
    SendMessageW(host.Control(), kInkMsgShowRecorder, 0, 0);
    EXPECT_FALSE(IsWindowVisible(bar));
}

// Where a recording's icon is drawn: the box of its face colour.
RECT IconBox(const std::vector<uint32_t>& pixels, int width)
{
    RECT box = {width, 1 << 20, -1, -1};
    for (size_t i = 0; i < pixels.size(); ++i) {
        if ((pixels[i] & 0xFFFFFF) != 0xEBEBEB)
            continue;
        int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        box.left = std::min<int>(box.left, x);
        box.top = std::min<int>(box.top, y);
        box.right = std::max<int>(box.right, x + 1);
        box.bottom = std::max<int>(box.bottom, y + 1);
    }
    return box;
}

void Record(const InkHost& host)
{
    SendMessageW(host.Control(), kInkMsgStartRecording, 0, 0);
    PumpFor(100);
    SendMessageW(host.Control(), kInkMsgStopRecording, 0, 0);
}

bool ContainsText(const std::vector<uint8_t>& bytes, const wchar_t* text)
{
    const uint8_t* w = reinterpret_cast<const uint8_t*>(text);
    return std::search(bytes.begin(), bytes.end(), w, w + wcslen(text) * sizeof(wchar_t)) !=
           bytes.end();
}

TEST(InkRecordingTest, TextTypedAfterARecordingRunsBelowItsIconAndTakesTaps)
{
    SilentInput silent;
    InkHost host;
    SetFocus(host.Inner());
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"before");
    Record(host);
    host.Type(L"\rafter");
    RECT icon = IconBox(host.Capture(), host.InnerWidth());
    ASSERT_LT(icon.left, icon.right) << "no icon drawn";
    POINT caret;
    ASSERT_TRUE(GetCaretPos(&caret));
    EXPECT_GE(caret.y, icon.bottom) << "the line typed after the recording is under its icon";

    // A tap at the start of that line places the caret there; a tap on the
    // icon plays the recording and leaves the caret alone.
    host.Stroke({{1, caret.y + 6}});
    host.Type(L"X");
    SendMessageW(host.Inner(), WM_KEYDOWN, VK_END, 0);
    host.Stroke({{(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2}});
    host.Type(L"Y");
    EXPECT_TRUE(ContainsText(host.StreamOut(), L"before\nXafterY"));
}

TEST(InkRecordingTest, InkWrittenAcrossAnIconStaysVisible)
{
    SilentInput silent;
    InkHost host;
    Record(host);
    int width = host.InnerWidth();
    RECT icon = IconBox(host.Capture(), width);
    ASSERT_LT(icon.left, icon.right) << "no icon drawn";
    // Pen down below the icon (a tap on it would play), up inside it.
    int x = (icon.left + icon.right) / 2;
    host.Stroke({{x, icon.bottom + 20}, {x, icon.top + 3}});
    std::vector<uint32_t> pixels = host.Capture();
    size_t dark = 0;
    for (int y = icon.top; y < icon.bottom; ++y) {
        for (int px = icon.left; px < icon.right; ++px) {
            uint32_t p = pixels[static_cast<size_t>(y) * width + px];
            int lum = ((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255);
            dark += lum <= 150 ? 1 : 0;  // the icon's own marks are lighter
        }
    }
    EXPECT_GT(dark, 0u) << "the icon hides the ink written over it";
}

std::vector<uint8_t> played;
DWORD playedFlags = 0;

BOOL WINAPI CapturePlay(LPCWSTR sound, HMODULE, DWORD flags)
{
    playedFlags = flags;
    if (sound == nullptr)
        return TRUE;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(sound);
    LeReader r(p, 8);
    r.Take(4);
    uint32_t size = r.U32();
    played.assign(p, p + 8 + size);  // a player reads exactly this much
    return TRUE;
}

TEST(InkRecordingTest, WrapperPlaysTheRecordedWave)
{
    SilentInput silent;
    InkHost host;  // parent window and InitInkX
    InkControl ink;
    ASSERT_TRUE(ink.Create(host.Parent(), 106, 0, 0, 200, 200, true));
    played.clear();
    InkControl::playSound = CapturePlay;
    ink.PlayFirstRecording();
    EXPECT_TRUE(played.empty()) << "no recording, nothing played";

    ink.ToggleRecorder();
    ink.StartVoiceRecording();
    PumpFor(300);
    ink.StopVoiceRecording();
    ink.PlayFirstRecording();
    InkControl::playSound = PlaySoundW;
    ASSERT_FALSE(played.empty());
    EXPECT_EQ(static_cast<DWORD>(SND_MEMORY), playedFlags);
    Wave w = ParseWave(played.data(), played.size());
    EXPECT_TRUE(w.valid);
    EXPECT_GE(w.DurationMs(), 250u);
    EXPECT_FALSE(ink.IsUnmodified());
    ink.Destroy();
}

// What the alarm's playback thread hands the sound call, each play whole.
CRITICAL_SECTION g_threadPlaysLock;
std::vector<std::vector<uint8_t>> g_threadPlays;

BOOL WINAPI CaptureThreadPlay(LPCWSTR sound, HMODULE module, DWORD flags)
{
    if (sound == nullptr)
        return TRUE;
    CapturePlay(sound, module, flags);
    EnterCriticalSection(&g_threadPlaysLock);
    g_threadPlays.push_back(played);
    LeaveCriticalSection(&g_threadPlaysLock);
    return TRUE;
}

// The control gives its content only to its own thread; the alarm plays on
// another, so the recording must reach that thread as bytes.
TEST(InkRecordingTest, AlarmPlaysTheRecordingOnItsOwnThread)
{
    SilentInput silent;
    InkHost host;
    InkControl ink;
    ASSERT_TRUE(ink.Create(host.Parent(), 106, 0, 0, 200, 200, true));
    ink.ToggleRecorder();
    ink.StartVoiceRecording();
    PumpFor(300);
    ink.StopVoiceRecording();
    BYTE* data = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(ink.GetInkData(&data, &size));
    std::vector<uint8_t> content(data, data + size);
    free(data);
    size_t riff = FindRiff(content);
    ASSERT_LT(riff, content.size());

    InitializeCriticalSection(&g_threadPlaysLock);
    g_threadPlays.clear();
    InkControl::playSound = CaptureThreadPlay;
    {
        AlarmSound sound;
        ASSERT_TRUE(sound.PlayRecording(ink, 2));
        ASSERT_TRUE(PumpUntil([&] { return !sound.RecordingPlaying(); }, 10000));
    }
    InkControl::playSound = PlaySoundW;
    DeleteCriticalSection(&g_threadPlaysLock);
    ASSERT_EQ(2u, g_threadPlays.size());
    for (const std::vector<uint8_t>& wave : g_threadPlays) {
        ASSERT_LE(riff + wave.size(), content.size());
        EXPECT_TRUE(std::equal(wave.begin(), wave.end(), content.begin() + riff)) << "the recorded wave";
    }
    ink.Destroy();
}

}  // namespace
