#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MenuBarTestIds.h"
#include "ShellPanels.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestWindow.h"
#include "aygshell.h"

namespace {

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner_.reset(new TestWindow());
        ShowWindow(owner_->Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(owner_->Handle());
        PumpFor(50);
    }

    void TearDown() override
    {
        owner_.reset();
        PumpFor(20);
    }

    HWND CreateBar(UINT id, DWORD flags = 0, HWND owner = nullptr)
    {
        SHMENUBARINFO info = {};
        info.cbSize = sizeof(info);
        info.hwndParent = owner != nullptr ? owner : owner_->Handle();
        info.dwFlags = flags;
        info.nToolBarId = id;
        info.hInstRes = GetModuleHandleW(nullptr);
        if (!SHCreateMenuBar(&info))
            return nullptr;
        return info.hwndMB;
    }

    static void Click(HWND toolbar, int command)
    {
        RECT rect = {};
        ASSERT_TRUE(SendMessageW(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect)));
        LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(toolbar, WM_LBUTTONUP, 0, at);
    }

    static std::wstring ButtonText(HWND toolbar, int command)
    {
        wchar_t text[64] = L"";
        SendMessageW(toolbar, TB_GETBUTTONTEXTW, command, reinterpret_cast<LPARAM>(text));
        return text;
    }

    static std::wstring ToolTip(HWND toolbar, int command)
    {
        HWND tips = reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0));
        wchar_t text[128] = L"";
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        tool.hwnd = toolbar;
        tool.uId = static_cast<UINT_PTR>(command);
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        return tool.lpszText != nullptr ? std::wstring(tool.lpszText) : std::wstring();
    }

    void AddTools(HWND toolbar)
    {
        ASSERT_EQ(0, CommandBar_AddBitmap(toolbar, GetModuleHandleW(nullptr), IDB_TEST_TOOLS, 3, 16, 16));
        TBBUTTON tools[4] = {};
        tools[0] = TBBUTTON{0, IDM_TEST_TOOL_A, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0};
        tools[1] = TBBUTTON{0, -1, 0, TBSTYLE_SEP, {}, 0, 0};
        tools[2] = TBBUTTON{1, IDM_TEST_TOOL_B, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0};
        tools[3] = TBBUTTON{2, IDM_TEST_TOOL_C, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0};
        ASSERT_TRUE(SendMessageW(toolbar, TB_ADDBUTTONSW, 4, reinterpret_cast<LPARAM>(tools)));
    }

    std::unique_ptr<TestWindow> owner_;
};

TEST_F(MenuBarTest, ButtonsComeFromTheResourceWithTheirLabels)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(3, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    const int commands[3] = {IDM_TEST_OPEN, IDM_TEST_EDIT, IDM_TEST_TOOLS};
    for (int i = 0; i < 3; ++i) {
        TBBUTTON button = {};
        ASSERT_TRUE(SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        EXPECT_EQ(commands[i], button.idCommand);
        EXPECT_EQ(i > 0, (button.fsStyle & TBSTYLE_DROPDOWN) != 0);
    }
    EXPECT_EQ(L"Open", ButtonText(bar, IDM_TEST_OPEN));
    EXPECT_EQ(L"Tools", ButtonText(bar, IDM_TEST_TOOLS));
}

TEST_F(MenuBarTest, GetMenuAnswersTheMenuOfTheSameId)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(1426, SHCMBM_GETMENU);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETMENU, 0, 0));
    ASSERT_TRUE(IsMenu(menu));
    ASSERT_EQ(2, GetMenuItemCount(menu));
    EXPECT_EQ(static_cast<UINT>(IDM_TEST_CUT), GetMenuItemID(GetSubMenu(menu, 0), 0));
    EXPECT_EQ(GetSubMenu(menu, 1), reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, IDM_TEST_TOOLS)));
}

TEST_F(MenuBarTest, PlainButtonSendsItsCommandToTheOwner)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    Click(bar, IDM_TEST_OPEN);
    EXPECT_TRUE(PumpUntil([&] { return owner_->log.CountCommand(IDM_TEST_OPEN) == 1; }));
}

TEST_F(MenuBarTest, DropDownOpensItsSubMenuAndTheChoiceReachesTheOwner)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETMENU, 0, 0));
    HMENU opened = nullptr;
    HWND owner = owner_->Handle();
    owner_->onMessage = [&](UINT message, WPARAM wParam, LPARAM) {
        if (message == WM_INITMENUPOPUP && opened == nullptr) {
            opened = reinterpret_cast<HMENU>(wParam);
            // Choose the first item as a user with the keys would.
            PostMessageW(owner, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageW(owner, WM_KEYDOWN, VK_RETURN, 0);
        }
    };
    Click(bar, IDM_TEST_TOOLS);
    EXPECT_TRUE(PumpUntil([&] { return owner_->log.CountCommand(IDM_TEST_OPTIONS) == 1; }));
    EXPECT_EQ(GetSubMenu(menu, 1), opened);
    EXPECT_EQ(0u, owner_->log.CountCommand(IDM_TEST_TOOLS));
}

// A request the menu's loop lets in may close the bar's window. The menu
// comes up only once the toolbar is done with the tap, and the bar whose
// window went under its menu is freed once the menu ends.
TEST_F(MenuBarTest, WindowClosedUnderItsOpenMenuTakesTheBarWithItSafely)
{
    std::unique_ptr<TestWindow> owner(new TestWindow());
    ShowWindow(owner->Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(owner->Handle());
    HWND bar = CreateBar(IDR_TEST_BAR, 0, owner->Handle());
    ASSERT_NE(nullptr, bar);
    HWND band = GetParent(bar);
    bool tapOver = false;
    bool tapOverAtMenu = false;
    bool menuShown = false;
    HWND ownerHandle = owner->Handle();
    owner->onMessage = [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_INITMENUPOPUP && !menuShown) {
            menuShown = true;
            tapOverAtMenu = tapOver;
            PostMessageW(owner_->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
            DestroyWindow(ownerHandle);
        }
    };
    RECT rect = {};
    ASSERT_TRUE(SendMessageW(bar, TB_GETRECT, IDM_TEST_TOOLS, reinterpret_cast<LPARAM>(&rect)));
    LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    tapOver = true;
    if (IsWindow(bar))
        SendMessageW(bar, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(PumpUntil([&] { return menuShown && !IsWindow(band); }));
    PumpFor(50);
    EXPECT_TRUE(tapOverAtMenu) << "the menu ran inside the toolbar's handling of the tap";
    EXPECT_FALSE(IsWindow(ownerHandle));
    owner->onMessage = nullptr;
}

TEST_F(MenuBarTest, ToolButtonsFollowTheBarsOwnAndSendCommands)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    AddTools(bar);
    ASSERT_EQ(7, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    TBBUTTON button = {};
    ASSERT_TRUE(SendMessageW(bar, TB_GETBUTTON, 5, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(IDM_TEST_TOOL_B, button.idCommand);
    EXPECT_EQ(1, button.iBitmap);
    Click(bar, IDM_TEST_TOOL_C);
    EXPECT_TRUE(PumpUntil([&] { return owner_->log.CountCommand(IDM_TEST_TOOL_C) == 1; }));
}

TEST_F(MenuBarTest, ToolTipsTakeTheHandheldsStringArrayByPosition)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    AddTools(bar);
    // The tooltip window comes with the first pointer move over the bar, made
    // to show although the band is never the active window.
    SendMessageW(bar, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    struct Search {
        HWND band;
        HWND found;
    } search = {GetParent(bar), nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* search = reinterpret_cast<Search*>(data);
            wchar_t name[64] = L"";
            GetClassNameW(window, name, 64);
            if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && GetWindow(window, GW_OWNER) == search->band)
                search->found = window;
            return search->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(nullptr, search.found);
    EXPECT_TRUE(GetWindowLongPtrW(search.found, GWL_STYLE) & TTS_ALWAYSTIP);
    EXPECT_EQ(search.found, reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0)));

    const wchar_t* tips[7] = {nullptr, nullptr, nullptr, L"Tool A", nullptr, L"Tool B", L"Tool C"};
    ASSERT_EQ(WM_USER + 81, TB_SETTOOLTIPS);
    EXPECT_TRUE(SendMessageW(bar, TB_SETTOOLTIPS, 7, reinterpret_cast<LPARAM>(tips)));
    EXPECT_EQ(L"Tool A", ToolTip(bar, IDM_TEST_TOOL_A));
    EXPECT_EQ(L"Tool C", ToolTip(bar, IDM_TEST_TOOL_C));
    EXPECT_EQ(L"", ToolTip(bar, IDM_TEST_OPEN));

    // The texts are copied: the program may free its own at once.
    wchar_t changing[16] = L"Tool B";
    const wchar_t* later[6] = {nullptr, nullptr, nullptr, nullptr, nullptr, changing};
    EXPECT_TRUE(SendMessageW(bar, WM_USER + 36, 6, reinterpret_cast<LPARAM>(later)));
    changing[0] = L'X';
    EXPECT_EQ(L"Tool B", ToolTip(bar, IDM_TEST_TOOL_B));
    EXPECT_EQ(L"", ToolTip(bar, IDM_TEST_TOOL_C));
}

// The bar's pointer messages mean something only from the program's own
// thread: posted, or sent from another thread, they change nothing.
TEST_F(MenuBarTest, TakesPointersOnlyFromSendsOnItsOwnThread)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(3, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    TBBUTTON tool = {0, IDM_TEST_TOOL_A, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0};
    LPARAM good = reinterpret_cast<LPARAM>(&tool);
    const wchar_t* tips[4] = {nullptr, nullptr, nullptr, L"Tool A"};

    PostMessageW(bar, TB_ADDBUTTONSW, 1, good);
    PostMessageW(bar, TB_INSERTBUTTONW, 0, 0x40);
    PostMessageW(bar, TB_SETTOOLTIPS, 4, 0x40);
    PostMessageW(bar, WM_NOTIFY, 0, 0x40);
    PostMessageW(GetParent(bar), WM_NOTIFY, 0, 0x40);
    PumpFor(50);
    EXPECT_TRUE(IsWindow(bar));
    EXPECT_EQ(3, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));

    LRESULT added = -1;
    LRESULT tipsSet = -1;
    FromAnotherThread([&] {
        added = SendMessageW(bar, TB_ADDBUTTONSW, 1, good);
        tipsSet = SendMessageW(bar, TB_SETTOOLTIPS, 4, reinterpret_cast<LPARAM>(tips));
    });
    EXPECT_EQ(0, added);
    EXPECT_EQ(0, tipsSet);
    EXPECT_EQ(3, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ(L"", ToolTip(bar, IDM_TEST_TOOL_A));

    EXPECT_TRUE(SendMessageW(bar, TB_ADDBUTTONSW, 1, good));
    EXPECT_EQ(4, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_TRUE(SendMessageW(bar, TB_SETTOOLTIPS, 4, reinterpret_cast<LPARAM>(tips)));
    EXPECT_EQ(L"Tool A", ToolTip(bar, IDM_TEST_TOOL_A));
}

TEST_F(MenuBarTest, ButtonStateMessagesReachTheToolbar)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    AddTools(bar);
    EXPECT_TRUE(SendMessageW(bar, TB_ISBUTTONENABLED, IDM_TEST_TOOL_A, 0));
    SendMessageW(bar, TB_ENABLEBUTTON, IDM_TEST_TOOL_A, FALSE);
    EXPECT_FALSE(SendMessageW(bar, TB_ISBUTTONENABLED, IDM_TEST_TOOL_A, 0));
    Click(bar, IDM_TEST_TOOL_A);
    PumpFor(50);
    EXPECT_EQ(0u, owner_->log.CountCommand(IDM_TEST_TOOL_A));

    SendMessageW(bar, TB_SETSTATE, IDM_TEST_TOOL_B, TBSTATE_ENABLED | TBSTATE_PRESSED);
    EXPECT_EQ(TBSTATE_ENABLED | TBSTATE_PRESSED, SendMessageW(bar, TB_GETSTATE, IDM_TEST_TOOL_B, 0));

    // Replacing the button at a position, as a program does to fix one up.
    ASSERT_TRUE(SendMessageW(bar, TB_DELETEBUTTON, 5, 0));
    TBBUTTON replacement = {2, IDM_TEST_GO, TBSTATE_ENABLED, TBSTYLE_BUTTON, {}, 0, 0};
    ASSERT_TRUE(SendMessageW(bar, TB_INSERTBUTTONW, 5, reinterpret_cast<LPARAM>(&replacement)));
    TBBUTTON button = {};
    ASSERT_TRUE(SendMessageW(bar, TB_GETBUTTON, 5, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(IDM_TEST_GO, button.idCommand);
    EXPECT_EQ(2, button.iBitmap);
    EXPECT_EQ(7, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
}

TEST_F(MenuBarTest, BarShowsAlongTheBottomOnlyWhileItsWindowIsActive)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    HWND band = GetParent(bar);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(band) != FALSE; }));
    RECT rect;
    GetWindowRect(band, &rect);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - 26, rect.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), rect.right);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), rect.bottom);

    TestWindow other;
    ShowWindow(other.Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(other.Handle());
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(band); }));
    SetForegroundWindow(owner_->Handle());
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(band) != FALSE; }));

    // A pop-up of the window's own keeps its bar; one with a bar of its own
    // shows that one instead.
    HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 60, 60, 80, 80, owner_->Handle(),
                                 nullptr, nullptr, nullptr);
    SetForegroundWindow(popup);
    PumpFor(300);
    EXPECT_TRUE(IsWindowVisible(band));
    SetPropW(popup, L"CeShell.MenuBar", popup);
    SetForegroundWindow(owner_->Handle());
    SetForegroundWindow(popup);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(band); }));
    RemovePropW(popup, L"CeShell.MenuBar");
    DestroyWindow(popup);
}

int g_buttonWindowShows = 0;
LRESULT CALLBACK CountButtonWindowShows(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED &&
        call->hwnd == ceshell::ShellPanels::SipButtonWindow() &&
        (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW))
        ++g_buttonWindowShows;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The input panel's button is the band's right end while the bar's window
// is in front: drawn and tapped there, with no button window of its own
// over it, not even for a moment while the front moves between windows
// with bars or one of them closes. A window without a bar in front has the
// button window instead.
TEST_F(MenuBarTest, PanelButtonIsTheBandsOwnWhileItsWindowIsInFront)
{
    SipShowIM(SIPF_OFF);
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    HWND band = GetParent(bar);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(band) != FALSE; }));
    RECT client;
    GetClientRect(band, &client);
    auto iconDrawn = [&] {
        UpdateWindow(band);
        HDC dc = GetDC(band);
        int black = 0;
        for (int x = client.right - 24; x < client.right; ++x) {
            for (int y = 1; y < client.bottom; ++y)
                black += GetPixel(dc, x, y) == RGB(0, 0, 0);
        }
        ReleaseDC(band, dc);
        return black > 20;
    };
    auto buttonWindowShown = [] {
        HWND button = ceshell::ShellPanels::SipButtonWindow();
        return button != nullptr && IsWindowVisible(button);
    };
    auto panelUp = [] {
        SIPINFO info = {};
        info.cbSize = sizeof(info);
        return SHSipInfo(SPI_GETSIPINFO, 0, &info, 0) && (info.fdwFlags & SIPF_ON);
    };
    LPARAM buttonPoint = MAKELPARAM(client.right - 12, client.bottom / 2);

    EXPECT_TRUE(PumpUntil(iconDrawn));
    PumpFor(300);  // the panels look again on a timer
    EXPECT_FALSE(buttonWindowShown());
    SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, buttonPoint);
    EXPECT_TRUE(panelUp());
    SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, buttonPoint);
    EXPECT_FALSE(panelUp());

    SHFullScreen(owner_->Handle(), SHFS_HIDESIPBUTTON);
    EXPECT_TRUE(PumpUntil([&] { return !iconDrawn(); }));
    SendMessageW(band, WM_LBUTTONDOWN, MK_LBUTTON, buttonPoint);
    EXPECT_FALSE(panelUp());
    SHFullScreen(owner_->Handle(), SHFS_SHOWSIPBUTTON);
    EXPECT_TRUE(PumpUntil(iconDrawn));

    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, CountButtonWindowShows, nullptr, GetCurrentThreadId());
    g_buttonWindowShows = 0;
    {
        TestWindow second;
        ASSERT_NE(nullptr, CreateBar(IDR_TEST_BAR, 0, second.Handle()));
        ShowWindow(second.Handle(), SW_SHOWNORMAL);
        SetForegroundWindow(second.Handle());
        PumpFor(300);
        SetForegroundWindow(owner_->Handle());
        SetForegroundWindow(second.Handle());
        PumpFor(300);
    }
    SetForegroundWindow(owner_->Handle());
    PumpFor(300);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(0, g_buttonWindowShows);

    TestWindow other;
    ShowWindow(other.Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(other.Handle());
    EXPECT_TRUE(PumpUntil(buttonWindowShown));
    SetForegroundWindow(owner_->Handle());
    EXPECT_TRUE(PumpUntil([&] { return !buttonWindowShown(); }));
    SipShowIM(SIPF_OFF);
}

TEST_F(MenuBarTest, HiddenBarStaysHiddenUntilShown)
{
    HWND bar = CreateBar(IDR_TEST_BAR, SHCMBF_HIDDEN);
    ASSERT_NE(nullptr, bar);
    HWND band = GetParent(bar);
    PumpFor(50);
    EXPECT_FALSE(IsWindowVisible(band));
    ShowWindow(bar, SW_SHOW);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(band) != FALSE; }));
}

TEST_F(MenuBarTest, NewBarReplacesTheWindowsOldOne)
{
    HWND first = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, first);
    HWND firstBand = GetParent(first);
    HWND second = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(IsWindow(firstBand));
    Click(second, IDM_TEST_OPEN);
    EXPECT_TRUE(PumpUntil([&] { return owner_->log.CountCommand(IDM_TEST_OPEN) == 1; }));
}

TEST_F(MenuBarTest, DestroyingTheToolbarTakesTheBandAlong)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    HWND band = GetParent(bar);
    DestroyWindow(bar);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(band); }));
    // The window can have a bar again afterwards.
    EXPECT_NE(nullptr, CreateBar(IDR_TEST_BAR));
}

TEST_F(MenuBarTest, DestroyingTheOwnerTakesTheBarAlong)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    HWND band = GetParent(bar);
    owner_.reset();
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_FALSE(IsWindow(band));
}

namespace {

WNDPROC g_belowLater = nullptr;
int g_seenByLater = 0;
LRESULT CALLBACK LaterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        ++g_seenByLater;
    return CallWindowProcW(g_belowLater, window, message, wParam, lParam);
}

}  // namespace

// The bar stands in front of its window's procedure; a subclass the program
// puts there later stays in the chain when the bar goes, and a bar made
// again under it still follows the window.
TEST_F(MenuBarTest, SubclassPutOnTheWindowAfterTheBarOutlivesIt)
{
    HWND owner = owner_->Handle();
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    HWND band = GetParent(bar);
    g_seenByLater = 0;
    g_belowLater = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterSubclass)));
    DestroyWindow(bar);
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(band); }));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(LaterSubclass), GetWindowLongPtrW(owner, GWLP_WNDPROC));
    SendMessageW(owner, WM_COMMAND, IDM_TEST_OPEN, 0);
    EXPECT_EQ(1, g_seenByLater);
    EXPECT_EQ(1, owner_->log.CountCommand(IDM_TEST_OPEN)) << "the window's own procedure";

    HWND again = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, again);
    band = GetParent(again);
    Click(again, IDM_TEST_OPEN);
    EXPECT_TRUE(PumpUntil([&] { return owner_->log.CountCommand(IDM_TEST_OPEN) == 2; }));
    EXPECT_EQ(2, g_seenByLater);
    // The program takes its subclass away again: the bar still follows.
    SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_belowLater));
    TestWindow other;
    ShowWindow(other.Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(other.Handle());
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(band); }));
    SetForegroundWindow(owner);
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(band) != FALSE; }));
}

TEST_F(MenuBarTest, BarFromAMenuAloneHasADropDownPerPopup)
{
    HWND bar = CreateBar(IDR_TEST_MENU_ONLY, SHCMBF_HMENU);
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(2, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
    TBBUTTON first = {}, second = {};
    SendMessageW(bar, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(bar, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_TRUE(first.fsStyle & TBSTYLE_DROPDOWN);
    EXPECT_EQ(L"File", ButtonText(bar, first.idCommand));
    EXPECT_EQ(IDM_TEST_GO, second.idCommand);
    Click(bar, IDM_TEST_GO);
    EXPECT_TRUE(PumpUntil([&] { return owner_->log.CountCommand(IDM_TEST_GO) == 1; }));
}

TEST_F(MenuBarTest, OwnButtonsTakeTheirImagesFromTheBarsBitmap)
{
    SHMENUBARINFO info = {};
    info.cbSize = sizeof(info);
    info.hwndParent = owner_->Handle();
    info.nToolBarId = IDR_TEST_IMAGES;
    info.hInstRes = GetModuleHandleW(nullptr);
    info.nBmpId = IDB_TEST_TOOLS;
    info.cBmpImages = 3;
    ASSERT_TRUE(SHCreateMenuBar(&info));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(info.hwndMB, TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(nullptr, images);
    EXPECT_EQ(3, ImageList_GetImageCount(images));
    TBBUTTON button = {};
    ASSERT_TRUE(SendMessageW(info.hwndMB, TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button)));
    EXPECT_EQ(1, button.iBitmap);
    EXPECT_EQ(IDM_TEST_PICTURE, button.idCommand);
    // A menu-bar resource without a menu of its id is a bar all the same.
    EXPECT_EQ(nullptr, reinterpret_cast<HMENU>(SendMessageW(info.hwndMB, SHCMBM_GETMENU, 0, 0)));
}

TEST_F(MenuBarTest, CutShortResourceGivesItsCompleteButtons)
{
    HWND bar = CreateBar(IDR_TEST_CUT_SHORT);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(1, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
}

TEST_F(MenuBarTest, EmptyBarHasNoButtons)
{
    HWND bar = CreateBar(IDR_TEST_MISSING, SHCMBF_EMPTYBAR);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(0, SendMessageW(bar, TB_BUTTONCOUNT, 0, 0));
}

TEST_F(MenuBarTest, BadRequestsFailWithoutABar)
{
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    EXPECT_EQ(nullptr, CreateBar(IDR_TEST_MISSING));

    SHMENUBARINFO info = {};
    info.cbSize = sizeof(info) - 1;
    info.hwndParent = owner_->Handle();
    info.nToolBarId = IDR_TEST_BAR;
    EXPECT_FALSE(SHCreateMenuBar(&info));

    info.cbSize = sizeof(info);
    info.hwndParent = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7654));
    info.hwndMB = reinterpret_cast<HWND>(static_cast<INT_PTR>(1));
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(nullptr, info.hwndMB);
    EXPECT_EQ(nullptr, GetPropW(owner_->Handle(), L"CeShell.MenuBar"));
}

TEST_F(MenuBarTest, ToolTipArrayTooLongOrMissingIsRefused)
{
    HWND bar = CreateBar(IDR_TEST_BAR);
    ASSERT_NE(nullptr, bar);
    EXPECT_FALSE(SendMessageW(bar, TB_SETTOOLTIPS, 3, 0));
    const wchar_t* tips[1] = {L"x"};
    EXPECT_FALSE(SendMessageW(bar, TB_SETTOOLTIPS, 100000, reinterpret_cast<LPARAM>(tips)));
}

}  // namespace
