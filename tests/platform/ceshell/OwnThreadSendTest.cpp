// The watch of a thread's own sends: a send on the thread is its own; a
// posted message, and a send from another thread, are not; and the thread's
// own sends made while it handles another thread's send are its own again.
#include "platform/common/OwnThreadSend.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const UINT kProbe = WM_APP + 10;
const UINT kRelay = WM_APP + 11;   // asks, then sends kProbe on this thread
const UINT kLoop = WM_APP + 12;    // asks, then lets the queue's messages in
std::vector<bool> g_seen;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(window, message, wParam, lParam);
    switch (message) {
    case kProbe:
        g_seen.push_back(OwnThreadSend::FromOwnThread(window, message, wParam, lParam));
        return 0;
    case kRelay:
        g_seen.push_back(OwnThreadSend::FromOwnThread(window, message, wParam, lParam));
        SendMessageW(window, kProbe, wParam + 1, lParam);
        return 0;
    case kLoop: {
        g_seen.push_back(OwnThreadSend::FromOwnThread(window, message, wParam, lParam));
        PostMessageW(window, kProbe, 7, 8);
        MSG msg;
        while (PeekMessageW(&msg, window, kProbe, kProbe, PM_REMOVE))
            DispatchMessageW(&msg);
        SendMessageW(window, kProbe, 9, 10);
        return 0;
    }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Sends from a thread of its own while this one handles what comes in.
void SendFromAnotherThread(HWND window, UINT message)
{
    FromAnotherThread([=] { SendMessageW(window, message, 1, 2); });
}

class OwnThreadSendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OwnThreadSend::Watch();
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ProbeProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"OwnThreadSendProbe";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"OwnThreadSendProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, window);
        g_seen.clear();
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = nullptr;
};

TEST_F(OwnThreadSendTest, SendsOnTheThreadAreItsOwnAndPostsAreNot)
{
    SendMessageW(window, kProbe, 1, 2);
    PostMessageW(window, kProbe, 1, 2);
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    SendMessageW(window, kProbe, 3, 4);
    EXPECT_EQ((std::vector<bool>{true, false, true}), g_seen);
}

// The Today item's hand-over arrives this way: the program's own reports
// inside it must count as its own, though InSendMessageEx says "sent" for
// all of them.
TEST_F(OwnThreadSendTest, OwnSendsInsideAnotherThreadsSendAreOwnAndItsPostsAreNot)
{
    SendFromAnotherThread(window, kProbe);
    EXPECT_EQ((std::vector<bool>{false}), g_seen);

    g_seen.clear();
    SendFromAnotherThread(window, kRelay);
    EXPECT_EQ((std::vector<bool>{false, true}), g_seen);

    g_seen.clear();
    SendFromAnotherThread(window, kLoop);
    EXPECT_EQ((std::vector<bool>{false, false, true}), g_seen) << "the posted one, then an own send after it";

    // Over: the thread's sends are its own again, without the watch.
    g_seen.clear();
    SendMessageW(window, kRelay, 3, 4);
    EXPECT_EQ((std::vector<bool>{true, true}), g_seen);
}

}  // namespace
