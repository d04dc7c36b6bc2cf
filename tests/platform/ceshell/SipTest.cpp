#include <gtest/gtest.h>

#include <string>

#include "ShellPanels.h"
#include "SipKeyboardLayout.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestWindow.h"
#include "aygshell.h"

using ceshell::ShellPanels;
using ceshell::SipKeyboardLayout;
using ceshell::SipKeyKind;

namespace {

DWORD SipFlags()
{
    SIPINFO info = {};
    info.cbSize = sizeof(info);
    if (!SHSipInfo(SPI_GETSIPINFO, 0, &info, 0))
        return 0xFFFFFFFF;
    return info.fdwFlags;
}

// Runs the probe program as another process of the device; its exit code is
// the panel's flags as that process sees them.
DWORD RunProbe(const wchar_t* argument)
{
    std::wstring command = L"\"" + BesideTestProgram(L"SipProbeTest.exe") + L"\" " + argument;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFE;
    DWORD code = 0xFFFFFFFD;
    // Pumping while waiting: the probe's broadcast must not wait on us.
    PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

class SipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SipShowIM(SIPF_OFF);
        window_.reset(new TestWindow());
        ShowWindow(window_->Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(window_->Handle());
        PumpFor(20);
        window_->log.Clear();
    }

    void TearDown() override
    {
        window_->onMessage = nullptr;  // it may hold the finished test's locals
        SipShowIM(SIPF_OFF);
        window_.reset();
    }

    // The input panel's broadcasts the window heard.
    size_t SipChanges() const
    {
        return window_->log.Count([](const MessageRecord& m) {
            return m.message == WM_SETTINGCHANGE && m.wParam == SPI_SETSIPINFO;
        });
    }

    std::unique_ptr<TestWindow> window_;
};

TEST_F(SipTest, InfoDescribesThePanelUpAndDown)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(SipShowIM(SIPF_ON));
    SIPINFO info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_TRUE(info.fdwFlags & SIPF_ON);
    EXPECT_EQ(0, info.rcSipRect.left);
    EXPECT_EQ(height - 26 - 80, info.rcSipRect.top);
    EXPECT_EQ(width, info.rcSipRect.right);
    EXPECT_EQ(height - 26, info.rcSipRect.bottom);
    EXPECT_EQ(26, info.rcVisibleDesktop.top);
    EXPECT_EQ(height - 26 - 80, info.rcVisibleDesktop.bottom);

    ASSERT_TRUE(SipShowIM(SIPF_OFF));
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_FALSE(info.fdwFlags & SIPF_ON);
    EXPECT_EQ(height - 26, info.rcVisibleDesktop.bottom);
}

TEST_F(SipTest, EveryChangeIsBroadcastAndOnlyChanges)
{
    SipShowIM(SIPF_ON);
    EXPECT_EQ(1u, SipChanges());
    SipShowIM(SIPF_ON);
    PumpFor(20);
    EXPECT_EQ(1u, SipChanges());
    SipShowIM(SIPF_OFF);
    EXPECT_EQ(2u, SipChanges());
    // The window already sees the new state when it hears of it.
    DWORD seen = 0xFFFFFFFF;
    window_->onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_SETTINGCHANGE && wParam == SPI_SETSIPINFO)
            seen = SipFlags();
    };
    SipShowIM(SIPF_ON);
    EXPECT_TRUE(seen & SIPF_ON);
}

TEST_F(SipTest, SetSipInfoChangesTheStateAndRefusesBadRequests)
{
    SIPINFO info = {};
    info.cbSize = sizeof(info);
    info.fdwFlags = SIPF_ON;
    ASSERT_TRUE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
    EXPECT_TRUE(SipFlags() & SIPF_ON);
    EXPECT_EQ(1u, SipChanges());

    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, nullptr, 0));
    info.cbSize = 8;
    EXPECT_FALSE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    info.fdwFlags = SIPF_OFF;
    EXPECT_FALSE(SHSipInfo(SPI_SETSIPINFO, 0, &info, 0));
    EXPECT_TRUE(SipFlags() & SIPF_ON);
    EXPECT_FALSE(SHSipInfo(12345, 0, &info, 0));
}

TEST_F(SipTest, TheHandheldsFortyEightByteInfoIsAnswered)
{
    SipShowIM(SIPF_ON);
    SIPINFO info = {};
    info.cbSize = 48;
    info.pvImData = &info;  // past the 48 bytes: left alone
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
    EXPECT_TRUE(info.fdwFlags & SIPF_ON);
    EXPECT_EQ(&info, info.pvImData);
}

TEST_F(SipTest, OneStateForTheWholeDevice)
{
    SipShowIM(SIPF_ON);
    EXPECT_EQ(static_cast<DWORD>(SIPF_ON), RunProbe(L""));
    window_->log.Clear();
    EXPECT_EQ(static_cast<DWORD>(SIPF_OFF), RunProbe(L"off"));
    EXPECT_FALSE(SipFlags() & SIPF_ON);
    // The other process's change reaches this process's windows as well.
    EXPECT_TRUE(PumpUntil([&] { return SipChanges() >= 1; }));
}

class SipPanelTest : public SipTest {
protected:
    void SetUp() override
    {
        SipTest::SetUp();
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 200, 100,
                                window_->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
        SetFocus(edit_);
    }

    std::wstring EditText() const
    {
        wchar_t text[64] = L"";
        GetWindowTextW(edit_, text, 64);
        return text;
    }

    static void TapKey(int index)
    {
        HWND panel = ShellPanels::PanelWindow();
        RECT client;
        GetClientRect(panel, &client);
        RECT key = SipKeyboardLayout::KeyRect(index, client.right, client.bottom);
        LPARAM at = MAKELPARAM((key.left + key.right) / 2, (key.top + key.bottom) / 2);
        SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(panel, WM_LBUTTONUP, 0, at);
    }

    static int KeyOf(SipKeyKind kind, UINT virtualKey = 0)
    {
        for (int i = 0; i < SipKeyboardLayout::KeyCount(); ++i) {
            const ceshell::SipKey& key = SipKeyboardLayout::Key(i);
            if (key.kind == kind && (virtualKey == 0 || key.virtualKey == virtualKey))
                return i;
        }
        return -1;
    }

    HWND edit_ = nullptr;
};

TEST_F(SipPanelTest, PanelShowsAboveTheMenuBarWhileUp)
{
    SipShowIM(SIPF_ON);
    HWND panel = ShellPanels::PanelWindow();
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(panel) != FALSE; }));
    RECT rect;
    GetWindowRect(panel, &rect);
    int height = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(height - 26 - 80, rect.top);
    EXPECT_EQ(height - 26, rect.bottom);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rect.right - rect.left);
    // Tapping it leaves the focus where the typing goes.
    TapKey(SipKeyboardLayout::KeyFor(L'x', nullptr));
    EXPECT_EQ(edit_, GetFocus());

    SipShowIM(SIPF_OFF);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(panel); }));
}

TEST_F(SipPanelTest, KeysTypeIntoTheFocusedWindow)
{
    SipShowIM(SIPF_ON);
    TapKey(SipKeyboardLayout::KeyFor(L'h', nullptr));
    TapKey(KeyOf(SipKeyKind::Shift));
    TapKey(SipKeyboardLayout::KeyFor(L'i', nullptr));
    TapKey(SipKeyboardLayout::KeyFor(L'i', nullptr));  // shift is for one key only
    TapKey(SipKeyboardLayout::KeyFor(L' ', nullptr));
    TapKey(SipKeyboardLayout::KeyFor(L'5', nullptr));
    EXPECT_TRUE(PumpUntil([&] { return EditText() == L"hIi 5"; })) << "got: " << testing::PrintToString(EditText());
    TapKey(KeyOf(SipKeyKind::VirtualKey, VK_BACK));
    EXPECT_TRUE(PumpUntil([&] { return EditText() == L"hIi "; })) << "got: " << testing::PrintToString(EditText());
    TapKey(KeyOf(SipKeyKind::CapsLock));
    TapKey(SipKeyboardLayout::KeyFor(L'o', nullptr));
    TapKey(SipKeyboardLayout::KeyFor(L'k', nullptr));
    TapKey(SipKeyboardLayout::KeyFor(L'1', nullptr));  // caps lock leaves digits alone
    EXPECT_TRUE(PumpUntil([&] { return EditText() == L"hIi OK1"; })) << "got: " << testing::PrintToString(EditText());
    TapKey(KeyOf(SipKeyKind::CapsLock));
}

TEST_F(SipPanelTest, HeldKeyTypesAgainUntilReleased)
{
    SipShowIM(SIPF_ON);
    HWND panel = ShellPanels::PanelWindow();
    RECT client;
    GetClientRect(panel, &client);
    TapKey(KeyOf(SipKeyKind::Shift));
    RECT key = SipKeyboardLayout::KeyRect(SipKeyboardLayout::KeyFor(L'x', nullptr), client.right, client.bottom);
    LPARAM at = MAKELPARAM((key.left + key.right) / 2, (key.top + key.bottom) / 2);
    SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(PumpUntil([&] { return EditText().size() >= 3; }));
    SendMessageW(panel, WM_LBUTTONUP, 0, at);
    PumpFor(50);
    std::wstring typed = EditText();
    EXPECT_EQ(std::wstring(typed.size(), L'X'), typed);
    PumpFor(700);
    EXPECT_EQ(typed, EditText());
}

TEST_F(SipPanelTest, ButtonRaisesAndLowersThePanel)
{
    ShellPanels::Ensure();
    HWND button = ShellPanels::SipButtonWindow();
    ASSERT_NE(nullptr, button);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(button) != FALSE; }));
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(SipFlags() & SIPF_ON);
    EXPECT_EQ(1u, SipChanges());
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_FALSE(SipFlags() & SIPF_ON);

    SHFullScreen(window_->Handle(), SHFS_HIDESIPBUTTON);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(button); }));
    SHFullScreen(window_->Handle(), SHFS_SHOWSIPBUTTON);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(button) != FALSE; }));
}

}  // namespace
