// The real control, driven through its messages like a program drives it.
#include "InkHost.h"

#include "notewindow/InkControl.h"

#include <gtest/gtest.h>

#include <richedit.h>

#include <stdlib.h>
#include <string.h>

#include <algorithm>

namespace {

std::vector<POINT> Zigzag(int x, int y, int n)
{
    std::vector<POINT> pts;
    for (int i = 0; i < n; ++i)
        pts.push_back({x + i * 5, y + (i % 2) * 9});
    return pts;
}

bool Contains(const std::vector<uint8_t>& bytes, const void* what, size_t size)
{
    const uint8_t* w = static_cast<const uint8_t*>(what);
    return std::search(bytes.begin(), bytes.end(), w, w + size) != bytes.end();
}

// Bounding box of pixels darker than the page and its lines.
RECT InkBox(const std::vector<uint32_t>& pixels, int width)
{
    RECT box = {width, 1 << 20, -1, -1};
    for (size_t i = 0; i < pixels.size(); ++i) {
        uint32_t p = pixels[i];
        int lum = ((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255);
        if (lum > 150)
            continue;
        int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        box.left = std::min<int>(box.left, x);
        box.top = std::min<int>(box.top, y);
        box.right = std::max<int>(box.right, x);
        box.bottom = std::max<int>(box.bottom, y);
    }
    return box;
}

TEST(InkControlWindowTest, CreatesInnerWindowAndAnswersZoom)
{
    InkHost host;
    ASSERT_NE(host.Control(), nullptr);
    ASSERT_NE(host.Inner(), nullptr);
    EXPECT_TRUE(IsChild(host.Control(), host.Inner()));
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 150);
    EXPECT_EQ(150, SendMessageW(host.Inner(), kInkMsgGetZoom, 0, 0));
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 400);
    EXPECT_EQ(300, SendMessageW(host.Inner(), kInkMsgGetZoom, 0, 0));
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 5);
    EXPECT_EQ(25, SendMessageW(host.Inner(), kInkMsgGetZoom, 0, 0));
}

// Another program may send the creation messages again, with a creation
// parameter of its own: the control, its view and its recorder bar keep
// what they hold.
TEST(InkControlWindowTest, CreationMessagesSentAgainAreIgnored)
{
    InkHost host;
    host.Stroke(Zigzag(20, 30, 12));
    std::vector<uint8_t> before = host.StreamOut();
    unsigned char junk[256];
    memset(junk, 0xEE, sizeof junk);
    CREATESTRUCTW foreign = {};
    foreign.lpCreateParams = junk;
    std::vector<HWND> windows = {host.Control()};
    for (HWND child = GetWindow(host.Control(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        windows.push_back(child);
    for (HWND window : windows) {
        SendMessageW(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&foreign));
        SendMessageW(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&foreign));
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
    }
    EXPECT_EQ(before, host.StreamOut());
    EXPECT_EQ(host.Inner(), GetWindow(host.Control(), GW_CHILD)) << "no second view was built";
}

TEST(InkControlWindowTest, StrokesStreamOutAndBackIdentically)
{
    InkHost host;
    host.Stroke(Zigzag(20, 30, 12));
    host.Stroke({{100, 100}});  // a dot
    host.Stroke(Zigzag(40, 120, 30));
    std::vector<uint8_t> out = host.StreamOut();
    ASSERT_GT(out.size(), 16u + 3 * 20u);

    InkHost other;
    EXPECT_EQ(static_cast<LRESULT>(out.size()), other.StreamIn(out, 97));
    EXPECT_EQ(out, other.StreamOut());
    // Drawn the same way too.
    EXPECT_EQ(host.Capture(), other.Capture());
}

DWORD CALLBACK FailingSource(DWORD_PTR, LPBYTE, LONG, LONG* given)
{
    *given = 0;
    return 5;
}

TEST(InkControlWindowTest, FailedOrMissingStreamInKeepsTheContent)
{
    InkHost host;
    host.Stroke(Zigzag(20, 30, 6));
    std::vector<uint8_t> before = host.StreamOut();
    EDITSTREAM failing = {0, 0, FailingSource};
    SendMessageW(host.Control(), kInkMsgStreamIn, kInkStreamFlags, reinterpret_cast<LPARAM>(&failing));
    EXPECT_EQ(5u, failing.dwError);
    SendMessageW(host.Control(), kInkMsgStreamIn, kInkStreamFlags, 0);
    SendMessageW(host.Control(), kInkMsgStreamOut, kInkStreamFlags, 0);
    EXPECT_EQ(before, host.StreamOut());
    // An empty block is a real (empty) note.
    host.StreamIn(std::vector<uint8_t>());
    EXPECT_EQ(16u, host.StreamOut().size());
}

DWORD CALLBACK TakeOneByte(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* taken)
{
    std::vector<uint8_t>* out = reinterpret_cast<std::vector<uint8_t>*>(cookie);
    out->push_back(buffer[0]);
    buffer[0] = 0xFF;  // a careless callback writing on what it was handed
    *taken = size > 0 ? 1 : 0;
    return 0;
}

TEST(InkControlWindowTest, StreamOutCopesWithACallbackTakingOneByteAtATime)
{
    InkHost host;
    for (int i = 0; i < 40; ++i)
        host.Stroke(Zigzag(5, 5 + i * 4, 40));
    std::vector<uint8_t> whole = host.StreamOut();
    ASSERT_GT(whole.size(), 10000u);
    std::vector<uint8_t> bytes;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&bytes), 0, TakeOneByte};
    SendMessageW(host.Control(), kInkMsgStreamOut, kInkStreamFlags, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(whole, bytes);
    EXPECT_EQ(whole, host.StreamOut());
}

TEST(InkControlWindowTest, StrokesKeepContentCoordinatesAcrossZoom)
{
    InkHost host;
    host.Stroke({{10, 10}, {60, 40}});
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 300);
    host.Stroke({{90, 90}, {120, 150}});
    std::vector<uint8_t> out = host.StreamOut();
    InkHost other;
    other.StreamIn(out);
    SendMessageW(other.Inner(), kInkMsgSetZoom, 0, 300);
    EXPECT_EQ(host.Capture(), other.Capture());
}

TEST(InkControlWindowTest, ZoomRescalesTheDrawnInk)
{
    InkHost host;
    host.Stroke({{10, 10}, {50, 30}});
    int width = host.InnerWidth();
    RECT at100 = InkBox(host.Capture(), width);
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 200);
    RECT at200 = InkBox(host.Capture(), width);
    ASSERT_GE(at100.right, 0);
    ASSERT_GE(at200.right, 0);
    int w100 = at100.right - at100.left, w200 = at200.right - at200.left;
    EXPECT_NEAR(2 * w100, w200, 6);
    EXPECT_NEAR(2 * at100.left, at200.left, 4);
    EXPECT_NE(host.Capture(), std::vector<uint32_t>());
}

TEST(InkControlWindowTest, PageStylesDrawDifferentBackgrounds)
{
    InkHost host;
    const WPARAM styles[] = {kInkPageBlank, kInkPageGrid, kInkPageRuled, kInkPageDotted,
                             kInkPageLeftMargin, kInkPageTopMargin, kInkPageLeftTopMargin};
    std::vector<std::vector<uint32_t>> shots;
    for (WPARAM style : styles) {
        PostMessageW(host.Control(), kInkMsgSetPageStyle, style, 0);
        host.Pump();
        shots.push_back(host.Capture());
    }
    for (size_t i = 0; i < shots.size(); ++i) {
        for (size_t j = i + 1; j < shots.size(); ++j)
            EXPECT_NE(shots[i], shots[j]) << "styles " << styles[i] << " and " << styles[j];
    }
    // Blank is one colour throughout.
    const std::vector<uint32_t>& blank = shots[0];
    EXPECT_TRUE(std::all_of(blank.begin(), blank.end(), [&](uint32_t p) { return p == blank[0]; }));
    // An unknown value is blank too.
    PostMessageW(host.Control(), kInkMsgSetPageStyle, 77, 0);
    host.Pump();
    EXPECT_EQ(blank, host.Capture());
}

TEST(InkControlWindowTest, TypedTextStreamsOutAndBack)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    SetFocus(host.Inner());
    host.Type(L"Hello there, this line is long enough to wrap around\rSecond");
    std::vector<uint8_t> out = host.StreamOut();
    const wchar_t expected[] = L"Hello there, this line is long enough to wrap around\nSecond";
    EXPECT_TRUE(Contains(out, expected, sizeof(expected) - sizeof(wchar_t)));

    InkHost other;
    other.StreamIn(out, 3);
    EXPECT_EQ(out, other.StreamOut());
    EXPECT_EQ(host.Capture(), other.Capture());
}

TEST(InkControlWindowTest, EditingKeysAndBackspace)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"abcd");
    SendMessageW(host.Inner(), WM_KEYDOWN, VK_LEFT, 0);
    SendMessageW(host.Inner(), WM_KEYDOWN, VK_LEFT, 0);
    host.Type(L"X\bY");  // abYcd
    SendMessageW(host.Inner(), WM_KEYDOWN, VK_DELETE, 0);  // abYd
    std::vector<uint8_t> out = host.StreamOut();
    const wchar_t expected[] = L"abYd";
    EXPECT_TRUE(Contains(out, expected, 8));
    EXPECT_FALSE(Contains(out, L"abYcd", 10));
}

// A line broken at a space holds that space; the caret after it stands on
// the next line. End stays on its line, typing there comes before the
// space, and Down from there goes to the next line, not the one after.
TEST(InkControlWindowTest, EndOfAWrappedLineStaysOnThatLine)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    SetFocus(host.Inner());
    host.Type(L"many words that wrap over several lines in a narrow control window, line after line");
    auto key = [&](UINT k) { SendMessageW(host.Inner(), WM_KEYDOWN, k, 0); };
    auto caretY = [] {
        POINT at = {};
        GetCaretPos(&at);
        return at.y;
    };
    for (int i = 0; i < 10; ++i)
        key(VK_UP);
    int firstLine = caretY();
    key(VK_DOWN);
    int secondLine = caretY();
    ASSERT_GT(secondLine, firstLine);
    key(VK_UP);
    key(VK_END);
    EXPECT_EQ(firstLine, caretY()) << "End went to the next line";
    key(VK_DOWN);
    EXPECT_EQ(secondLine, caretY()) << "Down after End skipped a line";
    key(VK_UP);
    key(VK_END);
    host.Type(L"#");
    std::vector<uint8_t> out = host.StreamOut();
    EXPECT_TRUE(Contains(out, L"# ", 2 * sizeof(wchar_t))) << "typed at the next line's start";
}

TEST(InkControlWindowTest, UndoRevertsStrokesAndTypingBursts)
{
    InkHost host;
    EXPECT_EQ(0, SendMessageW(host.Inner(), kInkMsgCanUndo, 0, 0));
    host.Stroke(Zigzag(10, 10, 5));
    std::vector<uint8_t> oneStroke = host.StreamOut();
    host.Stroke(Zigzag(50, 60, 5));
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"word");
    ASSERT_NE(0, SendMessageW(host.Inner(), kInkMsgCanUndo, 0, 0));
    SendMessageW(host.Inner(), kInkMsgUndo, 0, 0);  // the typed word, as one step
    SendMessageW(host.Inner(), kInkMsgUndo, 0, 0);  // the second stroke
    EXPECT_EQ(oneStroke, host.StreamOut());
    SendMessageW(host.Inner(), kInkMsgEmptyUndo, 0, 0);
    EXPECT_EQ(0, SendMessageW(host.Inner(), kInkMsgCanUndo, 0, 0));
}

TEST(InkControlWindowTest, ModifiedSinceCreationOrStreamIn)
{
    InkHost host;
    EXPECT_EQ(0, SendMessageW(host.Control(), kInkMsgGetModified, 0, 0));
    host.Stroke(Zigzag(10, 10, 4));
    EXPECT_NE(0, SendMessageW(host.Control(), kInkMsgGetModified, 0, 0));
    std::vector<uint8_t> out = host.StreamOut();
    EXPECT_NE(0, SendMessageW(host.Control(), kInkMsgGetModified, 0, 0));
    host.StreamIn(out);
    EXPECT_EQ(0, SendMessageW(host.Control(), kInkMsgGetModified, 0, 0));
}

TEST(InkControlWindowTest, NotifiesParentOfChangesAndFocus)
{
    InkHost host;
    host.commands.Clear();
    SetFocus(host.Parent());
    SendMessageW(host.Control(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(host.Inner(), GetFocus());
    ASSERT_FALSE(host.commands.empty());
    EXPECT_EQ(105, LOWORD(host.commands[0].wParam));
    EXPECT_EQ(EN_SETFOCUS, HIWORD(host.commands[0].wParam));
    EXPECT_EQ(host.Control(), reinterpret_cast<HWND>(host.commands[0].lParam));

    host.Stroke(Zigzag(10, 10, 4));
    EXPECT_EQ(1u, host.CountCommands(kInkNotifyInkChanged));
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"ab");
    EXPECT_EQ(2u, host.CountCommands(kInkNotifyTextChanged));

    // Switching the input mode is no change of focus.
    size_t before = host.commands.size();
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeWriting, 0);
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    EXPECT_EQ(before, host.commands.size());

    SetFocus(host.Parent());
    bool killed = false;
    for (const MessageRecord& c : host.commands)
        killed |= LOWORD(c.wParam) == 105 && HIWORD(c.wParam) == EN_KILLFOCUS;
    EXPECT_TRUE(killed);
}

TEST(InkControlWindowTest, EraserRemovesTouchedStrokesAndUndoBringsThemBack)
{
    InkHost host;
    host.Stroke({{20, 20}, {120, 20}});
    host.Stroke({{20, 80}, {120, 80}});
    std::vector<uint8_t> both = host.StreamOut();
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeErasing, 0);
    host.Stroke({{60, 10}, {60, 30}});
    std::vector<uint8_t> erased = host.StreamOut();
    EXPECT_LT(erased.size(), both.size());
    EXPECT_GT(erased.size(), 16u);  // the other stroke stays
    SendMessageW(host.Inner(), kInkMsgUndo, 0, 0);
    EXPECT_EQ(both, host.StreamOut());
}

TEST(InkControlWindowTest, CutCopyPasteTextThroughTheClipboard)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"one two");
    host.Type(L"\x01");  // select all
    SendMessageW(host.Control(), WM_COPY, 0, 0);
    SendMessageW(host.Inner(), WM_KEYDOWN, VK_END, 0);
    SendMessageW(host.Control(), WM_PASTE, 0, 0);
    std::vector<uint8_t> out = host.StreamOut();
    EXPECT_TRUE(Contains(out, L"one twoone two", 28));
    host.Type(L"\x01");
    SendMessageW(host.Control(), WM_CUT, 0, 0);
    EXPECT_FALSE(Contains(host.StreamOut(), L"one", 6));
    SendMessageW(host.Control(), WM_PASTE, 0, 0);
    EXPECT_TRUE(Contains(host.StreamOut(), L"one twoone two", 28));
}

TEST(InkControlWindowTest, StylusDragSelectsAcrossLines)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"first\rsecond\rthird");
    // From the start of the first line to the end of the second (lines are
    // 16 pixels apart at 100 %).
    host.Stroke({{2, 8}, {60, 16}, {230, 24}});
    SendMessageW(host.Control(), WM_CUT, 0, 0);
    std::vector<uint8_t> out = host.StreamOut();
    EXPECT_TRUE(Contains(out, L"\nthird", 12));
    EXPECT_FALSE(Contains(out, L"first", 10));
    EXPECT_FALSE(Contains(out, L"second", 12));
}

// Count of pixels in the selection colour.
size_t SelectionPixels(const std::vector<uint32_t>& pixels)
{
    return static_cast<size_t>(std::count(pixels.begin(), pixels.end(), 0xADD6FFu));
}

TEST(InkControlWindowTest, SelectionOfWrappedLinesIsHighlightedWhole)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"many words that wrap over several lines in a narrow control window");
    host.Type(L"\x01");
    size_t all = SelectionPixels(host.Capture());
    SendMessageW(host.Inner(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(0u, SelectionPixels(host.Capture()));
    // Every wrapped line is at least half covered.
    RECT client;
    GetClientRect(host.Inner(), &client);
    EXPECT_GT(all, static_cast<size_t>(client.right / 2 * 12 * 3));
}

TEST(InkControlWindowTest, DoubleTapSelectsAWord)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"alpha beta gamma");
    // On the first letter, whatever the font's widths.
    SendMessageW(host.Inner(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 8));
    SendMessageW(host.Inner(), WM_LBUTTONUP, 0, MAKELPARAM(4, 8));
    host.Type(L"A");
    std::vector<uint8_t> out = host.StreamOut();
    EXPECT_TRUE(Contains(out, L"A beta gamma", 24));
    EXPECT_FALSE(Contains(out, L"lpha", 8));
}

// In writing mode the stylus held still, then dragged around strokes,
// chooses them; Cut, Copy and Clear act on those alone, and with none
// chosen Cut does nothing. Pasted ink lands where it was copied from. A
// word selected while typing is neither shown nor taken meanwhile.
TEST(InkControlWindowTest, WritingModeCutCopyAndClearActOnTheStrokesChosenWithTheStylus)
{
    InkHost host;
    HWND inner = host.Inner();
    auto around = [&](int left, int top, int right, int bottom) {
        SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(left, top));
        Sleep(600);
        for (POINT p : {POINT{right, top}, POINT{right, bottom}, POINT{left, bottom}, POINT{left, top + 2}})
            SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(left, top + 2));
    };
    SendMessageW(inner, kInkMsgSetInputMode, kInkModeTyping, 0);
    host.Type(L"alpha beta");
    SendMessageW(inner, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 8));
    SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(4, 8));
    SendMessageW(inner, kInkMsgSetInputMode, kInkModeWriting, 0);
    host.Stroke(Zigzag(150, 150, 6));
    std::vector<uint8_t> textAndOne = host.StreamOut();
    host.Stroke(Zigzag(20, 60, 6));
    std::vector<uint8_t> both = host.StreamOut();

    SendMessageW(host.Control(), WM_CUT, 0, 0);
    EXPECT_EQ(both, host.StreamOut()) << "Cut with nothing chosen took something";

    around(10, 50, 60, 80);
    EXPECT_EQ(both, host.StreamOut()) << "the hold and drag wrote";
    SendMessageW(host.Control(), WM_CUT, 0, 0);
    EXPECT_EQ(textAndOne, host.StreamOut()) << "Cut took other than the chosen stroke";
    SendMessageW(host.Control(), WM_PASTE, 0, 0);
    EXPECT_EQ(both, host.StreamOut()) << "the pasted stroke is not where it was cut from";
    // The pasted stroke is chosen; a tap elsewhere ends that, and draws
    // nothing.
    SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 20));
    SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(200, 20));
    EXPECT_EQ(both, host.StreamOut());
    SendMessageW(host.Control(), WM_CLEAR, 0, 0);
    EXPECT_EQ(both, host.StreamOut()) << "Clear after the choice ended took something";

    around(140, 140, 190, 170);
    SendMessageW(host.Control(), WM_COPY, 0, 0);
    SendMessageW(host.Control(), WM_CLEAR, 0, 0);
    std::vector<uint8_t> firstGone = host.StreamOut();
    EXPECT_LT(firstGone.size(), both.size()) << "Clear left the chosen stroke";
    EXPECT_TRUE(Contains(firstGone, L"alpha beta", 20)) << "the pen's Clear took the selected text";
    SendMessageW(host.Control(), WM_PASTE, 0, 0);
    EXPECT_EQ(both.size(), host.StreamOut().size()) << "Copy took other than the chosen stroke";
}

TEST(InkControlWindowTest, PreviewSetupIgnoresTheStylus)
{
    InkHost host;
    INT32 preview[6] = {14, 2, 0, 16, 0, 0};
    SendMessageW(host.Inner(), kInkMsgViewSetup, 0, reinterpret_cast<LPARAM>(preview));
    std::vector<uint8_t> empty = host.StreamOut();
    host.Stroke(Zigzag(10, 10, 6));
    EXPECT_EQ(empty, host.StreamOut());
    EXPECT_EQ(0, SendMessageW(host.Control(), kInkMsgGetModified, 0, 0));
}

TEST(InkControlWindowTest, ScrollsWhenContentOutgrowsTheView)
{
    InkHost host;
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 300);
    for (int i = 0; i < 12; ++i)
        host.Type(L"line of text\r");
    ASSERT_TRUE(GetScrollInfo(host.Inner(), SB_VERT, &si));
    EXPECT_GT(si.nMax + 1, static_cast<int>(si.nPage));
    std::vector<uint32_t> before = host.Capture();
    SendMessageW(host.Inner(), WM_VSCROLL, SB_TOP, 0);
    GetScrollInfo(host.Inner(), SB_VERT, &si);
    EXPECT_EQ(0, si.nPos);
    EXPECT_NE(before, host.Capture());
    SendMessageW(host.Inner(), WM_VSCROLL, SB_PAGEDOWN, 0);
    GetScrollInfo(host.Inner(), SB_VERT, &si);
    EXPECT_GT(si.nPos, 0);
}

TEST(InkControlWindowTest, ShrinkingKeepsTheTypedLineInView)
{
    InkHost host;
    SendMessageW(host.Inner(), kInkMsgSetInputMode, kInkModeTyping, 0);
    SendMessageW(host.Inner(), kInkMsgSetZoom, 0, 200);
    for (int i = 0; i < 5; ++i)
        host.Type(L"line\r");
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(host.Inner(), SB_VERT, &si);
    int before = si.nPos;
    // As when the soft keyboard comes up.
    SetWindowPos(host.Control(), nullptr, 0, 0, 242, 145, SWP_NOMOVE | SWP_NOZORDER);
    GetScrollInfo(host.Inner(), SB_VERT, &si);
    EXPECT_GT(si.nPos, before);
    // The caret's line (the sixth, 32 pixels each at 200 %) ends inside the view.
    EXPECT_GE(si.nPos + static_cast<int>(si.nPage), 6 * 32);
}

TEST(InkControlWindowTest, RecorderBarTakesRoomFromTheView)
{
    InkHost host;
    RECT full, withBar;
    GetClientRect(host.Inner(), &full);
    SendMessageW(host.Control(), kInkMsgShowRecorder, 1, 0);
    GetClientRect(host.Inner(), &withBar);
    EXPECT_LT(withBar.bottom, full.bottom);
    SendMessageW(host.Control(), kInkMsgShowRecorder, 0, 0);
    GetClientRect(host.Inner(), &withBar);
    EXPECT_EQ(full.bottom, withBar.bottom);
}

size_t MarkPixels(const std::vector<uint32_t>& pixels)
{
    return static_cast<size_t>(std::count(pixels.begin(), pixels.end(), 0xFF9628u));
}

// A find marks the words it found in the preview, through the program's
// wrapper, and the first comes into view; marks go with the content they
// were set on.
TEST(InkControlWindowTest, MarkedTextIsPaintedAndScrolledIntoView)
{
    InkHost host(230, 84);   // the all-notes window's preview
    InkControl preview;
    ASSERT_TRUE(preview.Create(host.Parent(), 106, 0, 0, 230, 84, true));
    preview.SetInputMode(1);
    preview.SetZoom(200);
    for (const wchar_t* c = L"line\rline\rline\rline\rline\rline\rline\rline\rdentist"; *c != L'\0'; ++c)
        SendMessageW(preview.InnerWindow(), WM_CHAR, *c, 0);
    SendMessageW(preview.InnerWindow(), WM_VSCROLL, SB_TOP, 0);
    ASSERT_EQ(0u, MarkPixels(InkHost::CaptureWindow(preview.InnerWindow())));

    const UINT32 dentist[] = {40, 7, 500, 3};   // the second lies past the text
    preview.MarkText(dentist, 2);
    SCROLLINFO si = {sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(preview.InnerWindow(), SB_VERT, &si);
    // The ninth line, 32 pixels each at 200 %, ends inside the view.
    EXPECT_GT(si.nPos, 0);
    EXPECT_GE(si.nPos + static_cast<int>(si.nPage), 9 * 32) << "the marked line is in view";
    EXPECT_GT(MarkPixels(InkHost::CaptureWindow(preview.InnerWindow())), 7u * 8 * 16) << "seven letters at 200 %";

    preview.MarkText(dentist, 0);
    EXPECT_EQ(0u, MarkPixels(InkHost::CaptureWindow(preview.InnerWindow())));
    preview.MarkText(dentist, 1);
    BYTE* data = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(preview.GetInkData(&data, &size));
    preview.SetInkData(data, size);
    free(data);
    EXPECT_EQ(0u, MarkPixels(InkHost::CaptureWindow(preview.InnerWindow()))) << "a stream-in clears the marks";
}

}  // namespace
