// The watch of a thread's own sends: a send on the thread is its own, a
// posted message is not, and a paused watch takes nothing for its own while
// the sends around the pause stay known.
#include "platform/common/OwnThreadSend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const UINT kProbe = WM_APP + 10;
const UINT kOuter = WM_APP + 11;
std::vector<bool> g_seen;

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe) {
        g_seen.push_back(OwnThreadSend::FromOwnThread(window, message, wParam, lParam));
        return 0;
    }
    if (message == kOuter) {
        {
            OwnThreadSend::Pause quiet;
            SendMessageW(window, kProbe, 1, 2);
        }
        SendMessageW(window, kProbe, 3, 4);
        g_seen.push_back(OwnThreadSend::FromOwnThread(window, message, wParam, lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(OwnThreadSendTest, SendsOnTheThreadAreItsOwnPostsAndPausedSendsAreNot)
{
    OwnThreadSend::Watch();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"OwnThreadSendProbe";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, L"OwnThreadSendProbe", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, window);

    g_seen.clear();
    SendMessageW(window, kProbe, 1, 2);
    PostMessageW(window, kProbe, 1, 2);
    MSG msg;
    while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ((std::vector<bool>{true, false}), g_seen);

    // Paused: the send inside is not known; after it, sends are again, and
    // the send that enclosed the pause still is.
    g_seen.clear();
    SendMessageW(window, kOuter, 5, 6);
    EXPECT_EQ((std::vector<bool>{false, true, true}), g_seen);
    DestroyWindow(window);
}

}  // namespace
