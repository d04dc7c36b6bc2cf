// The watch of a thread's own sends: a send on the thread is its own; a
// posted message, and a send from another thread, are not; and the thread's
// own sends made while it handles another thread's send, answered or not,
// are its own again.
#include "platform/common/OwnThreadSend.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const UINT kProbe = WM_APP + 10;
const UINT kRelay = WM_APP + 11;   // asks, then sends kProbe on this thread
const UINT kLoop = WM_APP + 12;    // asks, then lets the queue's messages in
const UINT kAnswer = WM_APP + 13;  // answers early, then does what kLoop does
std::vector<bool> g_seen;
bool g_senderWent = false;

// What a thread handling a send with kAnswer meets once it answered: its
// own sends, a message posted to it, and another thread's send.
void AfterAnswering(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Reply(0);
    g_seen.push_back(OwnThreadSend::FromOwnThread(window, message, wParam, lParam));
    SendMessageW(window, kProbe, 5, 6);
    PostMessageW(window, kProbe, 7, 8);
    MSG msg;
    while (PeekMessageW(&msg, window, kProbe, kProbe, PM_REMOVE))
        DispatchMessageW(&msg);
    // The answered sender goes on while this thread is still in its message.
    HANDLE sender = reinterpret_cast<HANDLE>(wParam);
    g_senderWent = WaitForSingleObject(sender, 5000) == WAIT_OBJECT_0;
    HANDLE other = CreateThread(
        nullptr, 0,
        [](void* target) -> DWORD {
            SendMessageW(static_cast<HWND>(target), kProbe, 11, 12);
            return 0;
        },
        window, 0, nullptr);
    while (MsgWaitForMultipleObjects(1, &other, FALSE, 5000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    CloseHandle(other);
}

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
    case kAnswer:
        g_seen.push_back(OwnThreadSend::FromOwnThread(window, message, wParam, lParam));
        AfterAnswering(window, message, wParam, lParam);
        return 0;
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

    // Answered early, the send is over for its sender; it stays foreign
    // itself, and so do a posted message and another thread's send after it.
    g_seen.clear();
    HANDLE sent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Answered {
        HWND window;
        HANDLE sent;
    } answered = {window, sent};
    HANDLE sender = CreateThread(
        nullptr, 0,
        [](void* data) -> DWORD {
            auto* answered = static_cast<Answered*>(data);
            SendMessageW(answered->window, kAnswer, reinterpret_cast<WPARAM>(answered->sent), 0);
            SetEvent(answered->sent);
            return 0;
        },
        &answered, 0, nullptr);
    MSG msg;
    while (MsgWaitForMultipleObjects(1, &sender, FALSE, 10000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    CloseHandle(sender);
    CloseHandle(sent);
    EXPECT_TRUE(g_senderWent);
    EXPECT_EQ((std::vector<bool>{false, false, true, false, false}), g_seen)
        << "before and after the answer, an own send, a posted one, another thread's";

    // Over: the thread's sends are its own again, without the watch.
    g_seen.clear();
    SendMessageW(window, kRelay, 3, 4);
    EXPECT_EQ((std::vector<bool>{true, true}), g_seen);
}

}  // namespace
