// The program's InkControl driving the real control: what the note window
// will see.
#include "InkHost.h"

#include "notewindow/InkControl.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

namespace {

std::vector<uint8_t> InkData(InkControl& ink)
{
    BYTE* data = nullptr;
    DWORD size = 0;
    std::vector<uint8_t> out;
    if (ink.GetInkData(&data, &size))
        out.assign(data, data + size);
    free(data);
    return out;
}

void Stroke(HWND inner, int x, int y)
{
    SendMessageW(inner, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(inner, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 30, y + 10));
    SendMessageW(inner, WM_LBUTTONUP, 0, MAKELPARAM(x + 40, y + 5));
}

TEST(InkWrapperOnControlTest, PageShowsYellowThroughTheSubclass)
{
    InkHost host;
    InkControl ink;
    ASSERT_TRUE(ink.Create(host.Parent(), 106, -1, 44, 242, 226, true));
    std::vector<uint32_t> pixels = InkHost::CaptureWindow(ink.InnerWindow());
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(0x00FFFF00u, pixels[5] & 0x00FFFFFFu);
    // Ink still draws on top of it.
    Stroke(ink.InnerWindow(), 10, 10);
    pixels = InkHost::CaptureWindow(ink.InnerWindow());
    size_t dark = 0;
    for (uint32_t p : pixels)
        dark += (p & 0x00FFFFFFu) == 0;
    EXPECT_GT(dark, 20u);
}

TEST(InkWrapperOnControlTest, InkDataRoundTripsThroughTwoWrappers)
{
    InkHost host;
    InkControl a, b;
    ASSERT_TRUE(a.Create(host.Parent(), 106, 0, 0, 240, 200, true));
    ASSERT_TRUE(b.Create(host.Parent(), 107, 0, 0, 240, 200, true));
    EXPECT_TRUE(a.IsUnmodified());
    Stroke(a.InnerWindow(), 10, 10);
    Stroke(a.InnerWindow(), 50, 80);
    EXPECT_FALSE(a.IsUnmodified());
    std::vector<uint8_t> data = InkData(a);
    ASSERT_GT(data.size(), 16u);
    b.SetInkData(data.data(), static_cast<DWORD>(data.size()));
    EXPECT_TRUE(b.IsUnmodified());
    EXPECT_EQ(data, InkData(b));
}

TEST(InkWrapperOnControlTest, ZoomAndUndoAgreeWithTheControl)
{
    InkHost host;
    InkControl ink;
    ASSERT_TRUE(ink.Create(host.Parent(), 106, 0, 0, 240, 200, true));
    EXPECT_EQ(200, SendMessageW(ink.InnerWindow(), kInkMsgGetZoom, 0, 0));
    ink.ZoomIn();
    EXPECT_EQ(300, SendMessageW(ink.InnerWindow(), kInkMsgGetZoom, 0, 0));
    ink.SetZoomIndex(1);
    EXPECT_EQ(50, SendMessageW(ink.InnerWindow(), kInkMsgGetZoom, 0, 0));
    EXPECT_FALSE(ink.CanUndo());
    Stroke(ink.InnerWindow(), 10, 10);
    EXPECT_TRUE(ink.CanUndo());
    ink.Undo();
    EXPECT_FALSE(ink.CanUndo());
    EXPECT_EQ(50, ink.GetZoom());
    EXPECT_EQ(16u, InkData(ink).size());
}

TEST(InkWrapperOnControlTest, RecreateStartsEmptyAt200)
{
    InkHost host;
    InkControl ink;
    ASSERT_TRUE(ink.Create(host.Parent(), 106, 0, 0, 240, 200, true));
    Stroke(ink.InnerWindow(), 10, 10);
    ink.SetZoom(75);
    ink.SetInputMode(1);
    ink.Recreate(true);
    host.Pump();
    EXPECT_EQ(16u, InkData(ink).size());
    EXPECT_EQ(200, SendMessageW(ink.InnerWindow(), kInkMsgGetZoom, 0, 0));
    // Typing mode was kept: characters become text.
    SendMessageW(ink.InnerWindow(), WM_CHAR, L'x', 1);
    EXPECT_GT(InkData(ink).size(), 16u);
}

TEST(InkWrapperOnControlTest, PreviewViewIsReadOnly)
{
    InkHost host;
    InkControl ink;
    ASSERT_TRUE(ink.Create(host.Parent(), 106, 0, 0, 240, 120, false));
    ink.SetPreviewView();
    Stroke(ink.InnerWindow(), 10, 10);
    EXPECT_TRUE(ink.IsUnmodified());
    EXPECT_EQ(16u, InkData(ink).size());
}

}  // namespace
