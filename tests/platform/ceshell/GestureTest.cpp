#include <gtest/gtest.h>

#include "tests/support/MessagePump.h"
#include "tests/support/TestWindow.h"
#include "aygshell.h"

namespace {

constexpr int kClientId = 42;

class GestureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent_.reset(new TestWindow());
        client_.reset(new TestWindow(parent_->Handle(), 0, kClientId));
        ShowWindow(parent_->Handle(), SW_SHOWNORMAL);
        PumpFor(20);
        // Drop whatever showing the windows queued.
        MSG message;
        while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
        // The parent answers every notification 7, and keeps the last one.
        parent_->answer = [this](UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
            if (message != WM_NOTIFY || lParam == 0)
                return false;
            lastNotify = *reinterpret_cast<const NMHDR*>(lParam);
            if (lastNotify.code == static_cast<UINT>(GN_CONTEXTMENU))
                heldAt = reinterpret_cast<const NMRGINFO*>(lParam)->ptAction;
            *result = 7;
            return true;
        };
        parent_->log.Clear();
    }

    DWORD Recognize(DWORD flags = SHRG_NOTIFYPARENT, POINT down = POINT{30, 40})
    {
        SHRGINFO info = {};
        info.cbSize = sizeof(info);
        info.hwndClient = client_->Handle();
        info.ptDown = down;
        info.dwFlags = flags;
        return SHRecognizeGesture(&info);
    }

    void PostMove(int x, int y)
    {
        PostMessageW(client_->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
    }

    bool ReleaseStillQueued()
    {
        MSG message;
        return PeekMessageW(&message, client_->Handle(), WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE) != FALSE;
    }

    std::unique_ptr<TestWindow> parent_;
    std::unique_ptr<TestWindow> client_;
    NMHDR lastNotify = {};
    POINT heldAt = {};  // where the last tap-and-hold the parent heard of was
};

TEST_F(GestureTest, HeldStylusNotifiesTheParentAndReturnsItsAnswer)
{
    EXPECT_EQ(7u, Recognize());
    ASSERT_EQ(1u, parent_->log.Count(WM_NOTIFY));
    EXPECT_EQ(static_cast<UINT>(GN_CONTEXTMENU), lastNotify.code);
    EXPECT_EQ(client_->Handle(), lastNotify.hwndFrom);
    EXPECT_EQ(static_cast<UINT_PTR>(kClientId), lastNotify.idFrom);
    EXPECT_EQ(30, heldAt.x);
    EXPECT_EQ(40, heldAt.y);
}

TEST_F(GestureTest, ReleaseBeforeTheDelayIsNoGestureAndStaysForTheClient)
{
    PostMessageW(client_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(30, 40));
    EXPECT_EQ(0u, Recognize());
    EXPECT_EQ(0u, parent_->log.Count(WM_NOTIFY));
    EXPECT_TRUE(ReleaseStillQueued());
}

TEST_F(GestureTest, SmallWobbleStillCountsAsHeld)
{
    PostMove(33, 37);
    PostMove(27, 44);
    EXPECT_EQ(7u, Recognize());
    EXPECT_EQ(1u, parent_->log.Count(WM_NOTIFY));
}

TEST_F(GestureTest, MovingAwayIsNoGesture)
{
    PostMove(32, 41);
    PostMove(45, 40);
    EXPECT_EQ(0u, Recognize());
    EXPECT_EQ(0u, parent_->log.Count(WM_NOTIFY));
}

TEST_F(GestureTest, ReturnCommandAsksNobody)
{
    EXPECT_EQ(static_cast<DWORD>(GN_CONTEXTMENU), Recognize(SHRG_RETURNCMD));
    EXPECT_EQ(0u, parent_->log.Count(WM_NOTIFY));
}

TEST_F(GestureTest, RightClickIsAHeldStylusAtOnce)
{
    // The client does what a handheld control does on a stylus press.
    DWORD result = 0xFFFF;
    size_t presses = 0;
    HWND client = client_->Handle();
    client_->onMessage = [&](UINT message, WPARAM, LPARAM lParam) {
        if (message != WM_LBUTTONDOWN)
            return;
        ++presses;
        SHRGINFO info = {};
        info.cbSize = sizeof(info);
        info.hwndClient = client;
        info.ptDown = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        info.dwFlags = SHRG_NOTIFYPARENT;
        result = SHRecognizeGesture(&info);
    };
    SHINITDLGINFO init = {SHIDIM_FLAGS, parent_->Handle(), 0};  // as the window's set-up would
    SHInitDialog(&init);
    // The release is queued already: only a press taken as held answers 7.
    PostMessageW(client, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(12, 13));
    PostMessageW(client, WM_RBUTTONUP, 0, MAKELPARAM(12, 13));
    ASSERT_TRUE(PumpUntil([&] { return client_->log.Count(WM_LBUTTONUP) == 1; }));
    EXPECT_EQ(1u, presses);
    EXPECT_EQ(7u, result);
    EXPECT_EQ(12, heldAt.x);
    EXPECT_EQ(0u, client_->log.Count(WM_RBUTTONDOWN));
    EXPECT_EQ(0u, client_->log.Count(WM_RBUTTONUP));

    // A later left tap is a plain tap again.
    PostMessageW(client, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 13));
    PostMessageW(client, WM_LBUTTONUP, 0, MAKELPARAM(12, 13));
    ASSERT_TRUE(PumpUntil([&] { return client_->log.Count(WM_LBUTTONUP) == 2; }));
    EXPECT_EQ(0u, result);
    EXPECT_EQ(1u, parent_->log.Count(WM_NOTIFY));
}

TEST_F(GestureTest, BadRequestsAreNoGesture)
{
    EXPECT_EQ(0u, SHRecognizeGesture(nullptr));
    SHRGINFO info = {};
    info.cbSize = sizeof(info) - 1;
    info.hwndClient = client_->Handle();
    EXPECT_EQ(0u, SHRecognizeGesture(&info));
    info.cbSize = sizeof(info);
    info.hwndClient = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7654));
    EXPECT_EQ(0u, SHRecognizeGesture(&info));
    EXPECT_EQ(0u, parent_->log.Count(WM_NOTIFY));
}

}  // namespace
