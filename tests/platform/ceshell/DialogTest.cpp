#include <gtest/gtest.h>

#include "MenuBarTestIds.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestWindow.h"
#include "aygshell.h"

namespace {

constexpr const wchar_t* kDone = L"CeShell.DoneButton";
constexpr const wchar_t* kFullScreen = L"CeShell.FullScreen";

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SipShowIM(SIPF_OFF);
        window_.reset(new TestWindow(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU));
        ShowWindow(window_->Handle(), SW_SHOWNORMAL);
    }

    void TearDown() override
    {
        SipShowIM(SIPF_OFF);
        window_.reset();
    }

    BOOL Init(DWORD flags, DWORD mask = SHIDIM_FLAGS)
    {
        SHINITDLGINFO info = {mask, window_->Handle(), flags};
        return SHInitDialog(&info);
    }

    RECT WindowRect() const
    {
        RECT rect;
        GetWindowRect(window_->Handle(), &rect);
        return rect;
    }

    UINT_PTR FullScreenBits() const
    {
        return reinterpret_cast<UINT_PTR>(GetPropW(window_->Handle(), kFullScreen));
    }

    std::unique_ptr<TestWindow> window_;
};

void ExpectRect(const RECT& rect, int left, int top, int right, int bottom)
{
    EXPECT_EQ(left, rect.left);
    EXPECT_EQ(top, rect.top);
    EXPECT_EQ(right, rect.right);
    EXPECT_EQ(bottom, rect.bottom);
}

TEST_F(DialogTest, DoneButtonIsAskedForAndWithdrawn)
{
    ASSERT_TRUE(Init(SHIDIF_DONEBUTTON));
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), GetPropW(window_->Handle(), kDone));
    ASSERT_TRUE(Init(SHIDIF_SIZEDLGFULLSCREEN));
    EXPECT_EQ(nullptr, GetPropW(window_->Handle(), kDone));
}

TEST_F(DialogTest, FullScreenFillsTheWorkAreaWithoutACaption)
{
    ASSERT_TRUE(Init(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN));
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    ExpectRect(WindowRect(), 0, 26, width, height - 26);
    EXPECT_FALSE(GetWindowLongPtrW(window_->Handle(), GWL_STYLE) & WS_CAPTION);
    RECT client;
    GetClientRect(window_->Handle(), &client);
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(height - 52, client.bottom);
}

// A window made without a caption has none to lose: the dialog sizing moves
// it and leaves its style, thin border included, as it was.
TEST(DialogFrameTest, AWindowWithoutACaptionKeepsItsStyleAndBorder)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_BORDER, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    SHINITDLGINFO info = {SHIDIM_FLAGS, window, SHIDIF_SIZEDLGFULLSCREEN};
    ASSERT_TRUE(SHInitDialog(&info));
    EXPECT_EQ(style, GetWindowLongPtrW(window, GWL_STYLE));
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    ExpectRect(outer, 0, 26, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) - 26);
    EXPECT_EQ(outer.right - outer.left - 2, client.right);
    DestroyWindow(window);
}

TEST_F(DialogTest, FullScreenIgnoresTheInputPanel)
{
    SipShowIM(SIPF_ON);
    ASSERT_TRUE(Init(SHIDIF_SIZEDLGFULLSCREEN));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - 26, WindowRect().bottom);
}

TEST_F(DialogTest, SizeDialogLeavesRoomForTheInputPanelWhenItIsUp)
{
    int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_TRUE(Init(SHIDIF_SIZEDLG));
    EXPECT_EQ(height - 26, WindowRect().bottom);
    SipShowIM(SIPF_ON);
    ASSERT_TRUE(Init(SHIDIF_SIZEDLG));
    EXPECT_EQ(26, WindowRect().top);
    EXPECT_EQ(height - 26 - 80, WindowRect().bottom);
}

TEST_F(DialogTest, NoMenuBarTakesTheMenuBarsBandToo)
{
    ASSERT_TRUE(Init(SHIDIF_DONEBUTTON | SHIDIF_FULLSCREENNOMENUBAR));
    ExpectRect(WindowRect(), 0, 26, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(DialogTest, SipDownLowersTheInputPanel)
{
    SipShowIM(SIPF_ON);
    ASSERT_TRUE(Init(SHIDIF_SIPDOWN));
    SIPINFO sip = {};
    sip.cbSize = sizeof(sip);
    ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
    EXPECT_FALSE(sip.fdwFlags & SIPF_ON);
}

TEST_F(DialogTest, WithoutTheFlagsMaskNothingChanges)
{
    SetWindowPos(window_->Handle(), nullptr, 10, 10, 100, 100, SWP_NOZORDER);
    ASSERT_TRUE(Init(SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN, 0));
    ExpectRect(WindowRect(), 10, 10, 110, 110);
    EXPECT_EQ(nullptr, GetPropW(window_->Handle(), kDone));
}

TEST_F(DialogTest, BadRequestsAreRefused)
{
    EXPECT_FALSE(SHInitDialog(nullptr));
    SHINITDLGINFO info = {SHIDIM_FLAGS, reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7654)), SHIDIF_DONEBUTTON};
    EXPECT_FALSE(SHInitDialog(&info));
    EXPECT_FALSE(SHFullScreen(nullptr, SHFS_HIDETASKBAR));
}

TEST_F(DialogTest, FullScreenKeepsWhatIsHiddenAsBits)
{
    HWND window = window_->Handle();
    EXPECT_EQ(0u, FullScreenBits());
    ASSERT_TRUE(SHFullScreen(window, SHFS_HIDETASKBAR));
    EXPECT_EQ(1u, FullScreenBits());
    ASSERT_TRUE(SHFullScreen(window, SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
    EXPECT_EQ(7u, FullScreenBits());
    ASSERT_TRUE(SHFullScreen(window, SHFS_SHOWTASKBAR));
    EXPECT_EQ(6u, FullScreenBits());
    ASSERT_TRUE(SHFullScreen(window, SHFS_SHOWSIPBUTTON | SHFS_SHOWSTARTICON));
    EXPECT_EQ(0u, FullScreenBits());
    EXPECT_EQ(nullptr, GetPropW(window, kFullScreen));
}

INT_PTR CALLBACK InitDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, static_cast<DWORD>(lParam)};
        SHInitDialog(&info);
        return TRUE;
    }
    return FALSE;
}

TEST(DialogTemplateTest, DialogFromATemplateLosesItsFrameAndFillsItsArea)
{
    HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_DIALOG), nullptr,
                                     InitDialogProc, SHIDIF_DONEBUTTON | SHIDIF_FULLSCREENNOMENUBAR);
    ASSERT_NE(nullptr, dialog);
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT rect;
    GetWindowRect(dialog, &rect);
    ExpectRect(rect, 0, 26, width, height);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(width, client.right);
    EXPECT_EQ(height - 26, client.bottom);
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), GetPropW(dialog, kDone));
    DestroyWindow(dialog);
}

TEST_F(DialogTest, EmptyMenuGivesTheDialogABarWithoutButtons)
{
    ASSERT_TRUE(Init(SHIDIF_EMPTYMENU | SHIDIF_SIZEDLGFULLSCREEN));
    EXPECT_NE(nullptr, GetPropW(window_->Handle(), L"CeShell.MenuBar"));
}

}  // namespace
