// The Today screen hosting items through the handheld's protocol, with the
// test item library loaded from a private registry list.
#include "platform/shell/src/ShellConstants.h"
#include "platform/shell/src/TodayScreen.h"
#include "platform/shell/src/TodaySettingsWindow.h"
#include "platform/shell/src/Watermark.h"
#include "tests/platform/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"

#include <commctrl.h>
#include <gtest/gtest.h>


using namespace shelltest;
using shell::TodayScreen;

namespace {

class TodayHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteKey(kItemsKey);
        DeleteKey(kObservationsKey);
        WriteItem(L"Alpha", 1, 1, 1);
        WriteItem(L"Beta", 2, 1, 0);
        WriteItem(L"Gamma", 3, 0, 1);            // switched off
        WriteItem(L"Delta", 0, 1, 0, 2);         // not an item of a library
        WriteItem(L"Broken", 4, 1, 0, 4, L"C:\\nowhere\\missing.dll");
        SetHeight(L"Alpha", 40);
        SetHeight(L"Beta", 30);
    }

    void TearDown() override
    {
        screen_.Destroy();
        DeleteKey(kItemsKey);
        DeleteKey(kObservationsKey);
    }

    HWND ItemWindow(size_t index) { return screen_.Host().Item(index).hwndCustom; }

    TodayScreen screen_{kItemsKey};
};

TEST_F(TodayHostTest, LoadsEnabledLibraryItemsInOrderWithTheHandheldListItem)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    ASSERT_EQ(2u, screen_.Host().Count());
    EXPECT_STREQ(L"Alpha", screen_.Host().Item(0).szName);
    EXPECT_STREQ(L"Beta", screen_.Host().Item(1).szName);

    EXPECT_EQ(1u, Observed(L"Alpha", L"InitCount"));
    EXPECT_EQ(1u, Observed(L"Alpha", L"InitEnabled"));
    EXPECT_EQ(1u, Observed(L"Alpha", L"InitOrder"));
    EXPECT_EQ(1u, Observed(L"Alpha", L"InitOptions"));
    EXPECT_EQ(4u, Observed(L"Alpha", L"InitType"));
    EXPECT_EQ(1u, Observed(L"Alpha", L"InitInstanceIsLibrary"));
    EXPECT_EQ(TestItemPath(), ObservedText(L"Alpha", L"InitDll"));
    EXPECT_EQ(L"DesktopExplorerWindow", ObservedText(L"Alpha", L"InitParentClass"));
    EXPECT_EQ(0u, Observed(L"Beta", L"InitOptions"));

    EXPECT_EQ(0xFFFFFFFFu, Observed(L"Gamma", L"InitCount"));
    EXPECT_EQ(0xFFFFFFFFu, Observed(L"Delta", L"InitCount"));
    EXPECT_EQ(screen_.Window(), GetParent(ItemWindow(0)));
}

TEST_F(TodayHostTest, LaysItemsOutUnderTheDateLineAndFollowsTheirHeightAnswers)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    ASSERT_EQ(2u, screen_.Host().Count());
    EXPECT_EQ(40u, screen_.Host().Item(0).cyp);
    EXPECT_EQ(TodayScreen::kDateLineHeight, RectInParent(ItemWindow(0)).top);
    EXPECT_EQ(TodayScreen::kDateLineHeight + 40, RectInParent(ItemWindow(1)).top);

    // Unchanged heights: nobody answers 1 and nothing moves.
    EXPECT_FALSE(screen_.Host().QueryHeights());

    SetHeight(L"Alpha", 70);
    screen_.QueryItems();
    EXPECT_EQ(70u, screen_.Host().Item(0).cyp);
    EXPECT_EQ(TodayScreen::kDateLineHeight + 70, RectInParent(ItemWindow(1)).top);

    // The screen asks by itself every couple of seconds.
    SetHeight(L"Alpha", 50);
    EXPECT_TRUE(PumpUntil([&] {
        return RectInParent(ItemWindow(1)).top == TodayScreen::kDateLineHeight + 50;
    }, 6000));
}

TEST_F(TodayHostTest, ScrollsItemsLongerThanTheScreenAndKeepsTheBottomStripClear)
{
    SetHeight(L"Alpha", 200);
    SetHeight(L"Beta", 150);
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    int visible = screen_.VisibleHeight();
    ASSERT_EQ(shell::kScreenHeight - shell::kWorkTop - TodayScreen::kBottomBarHeight, visible);
    EXPECT_EQ(TodayScreen::kDateLineHeight + 350, screen_.ContentHeight());

    // Beta reaches into the bottom strip: only its upper part shows.
    int betaTop = RectInParent(ItemWindow(1)).top;
    RECT shown;
    ASSERT_NE(ERROR, GetWindowRgnBox(ItemWindow(1), &shown));
    EXPECT_EQ(visible - betaTop, shown.bottom);

    screen_.ScrollTo(10000);
    int most = screen_.ContentHeight() - visible;
    EXPECT_EQ(most, screen_.ScrollPosition());
    EXPECT_EQ(TodayScreen::kDateLineHeight + 200 - most, RectInParent(ItemWindow(1)).top);
    EXPECT_EQ(ERROR, GetWindowRgnBox(ItemWindow(1), &shown));  // whole again

    SendMessageW(screen_.Window(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_LT(screen_.ScrollPosition(), most);
    screen_.ScrollTo(-5);
    EXPECT_EQ(0, screen_.ScrollPosition());

    // Scrolled down, then the items shrink: no empty rows stay in view.
    screen_.ScrollTo(most);
    SetHeight(L"Alpha", 40);
    SetHeight(L"Beta", 30);
    screen_.QueryItems();
    EXPECT_EQ(0, screen_.ScrollPosition());
    EXPECT_EQ(TodayScreen::kDateLineHeight, RectInParent(ItemWindow(0)).top);
}

TEST_F(TodayHostTest, AnswersTheTextColourAndDrawsTheWatermarkUnderAnItem)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(static_cast<DWORD>(TodayScreen::kTextColour), Observed(L"Alpha", L"TextColour"));
    EXPECT_EQ(static_cast<LRESULT>(TodayScreen::kHighlightColour),
              SendMessageW(screen_.Window(), TODAYM_GETCOLOR, TODAYCOLOR_HIGHLIGHT, 0));

    RedrawWindow(screen_.Window(), nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(1u, Observed(L"Beta", L"WatermarkAnswer"));
    DWORD row = Observed(L"Beta", L"WatermarkRow");
    EXPECT_EQ(static_cast<DWORD>(TodayScreen::kDateLineHeight + 40 + 5), row);
    // The picture continues under the item as it is on the screen around it.
    EXPECT_EQ(static_cast<DWORD>(shell::Watermark::ColourAt(static_cast<int>(row))),
              Observed(L"Beta", L"WatermarkPixel"));

    EXPECT_EQ(0, SendMessageW(screen_.Window(), TODAYM_DRAWWATERMARK, 0, 0));
}

// A memory picture filled black, to see whether the watermark was drawn.
class Canvas {
public:
    Canvas() : dc_(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 20;
        info.bmiHeader.biHeight = 20;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        PatBlt(dc_, 0, 0, 20, 20, BLACKNESS);
    }
    ~Canvas()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    bool Drawn() const { return GetPixel(dc_, 5, 5) != RGB(0, 0, 0); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// Sends from a thread of its own while this one goes on dispatching.
LRESULT SendFromAnotherThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT answer = -1;
    FromAnotherThread([&] { answer = SendMessageW(window, message, wParam, lParam); });
    return answer;
}

TEST_F(TodayHostTest, TakesTheWatermarkStructureOnlyFromASendOnItsOwnThread)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    HWND screen = screen_.Window();
    Canvas canvas;
    TODAYDRAWWATERMARKINFO info = {canvas.Dc(), {0, 0, 20, 20}, nullptr};
    LPARAM good = reinterpret_cast<LPARAM>(&info);

    // Posted by another program: a small number, or one that happens to be
    // an address here; neither is read.
    PostMessageW(screen, TODAYM_DRAWWATERMARK, 0, 0x40);
    PostMessageW(screen, TODAYM_DRAWWATERMARK, 0, good);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(IsWindow(screen));
    EXPECT_FALSE(canvas.Drawn());

    EXPECT_EQ(0, SendFromAnotherThread(screen, TODAYM_DRAWWATERMARK, 0, good));
    EXPECT_FALSE(canvas.Drawn());

    // An item on the screen's thread still gets its picture.
    EXPECT_EQ(1, SendMessageW(screen, TODAYM_DRAWWATERMARK, 0, good));
    EXPECT_TRUE(canvas.Drawn());
    // A rectangle of a billion rows is drawn as far as the picture goes.
    info.rc = {0, -1000000000, 20, 1000000000};
    EXPECT_EQ(1, SendMessageW(screen, TODAYM_DRAWWATERMARK, 0, good));
}

// Any program can post or send the screen's own message numbers, or
// WM_DESTROY, whatever the shell is doing. They are the shell's only when
// the shell sent them: the settings window and the items stay.
TEST_F(TodayHostTest, TakesItsOwnMessagesAndItsEndOnlyFromTheShell)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    HWND screen = screen_.Window();
    screen_.ShowSettings();
    HWND settings = FindWindowW(shell::kTodaySettingsClass, nullptr);
    ASSERT_NE(nullptr, settings);

    for (WPARAM saved : {1, 0}) {
        SendFromAnotherThread(screen, shell::kMsgTodaySettingsDone, saved, 0);
        PostMessageW(screen, shell::kMsgTodaySettingsDone, saved, 0);
        SendMessageW(screen, shell::kMsgTodaySettingsDone, saved, 0);
    }
    SendFromAnotherThread(screen, WM_DESTROY, 0, 0);
    PostMessageW(screen, WM_DESTROY, 0, 0);
    // The settings window, too, ends only by its own hand.
    SendFromAnotherThread(settings, WM_DESTROY, 0, 0);
    PostMessageW(settings, WM_DESTROY, 0, 0);
    PostMessageW(settings, WM_NCDESTROY, 0, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(IsWindow(settings)) << "the settings window went under the user";
    EXPECT_EQ(0u, Observed(L"Alpha", L"ClearCaches", 0));
    ASSERT_EQ(2u, screen_.Host().Count());
    EXPECT_TRUE(IsWindow(ItemWindow(0))) << "the items were unloaded";
    EXPECT_EQ(1u, Observed(L"Alpha", L"InitCount"));

    // The settings window's own Done still works, and reaches the screen.
    SendMessageW(settings, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&] { return Observed(L"Alpha", L"ClearCaches", 0) >= 1; }));
    EXPECT_FALSE(IsWindow(settings)) << "Done no longer closed the settings window";
}

TEST_F(TodayHostTest, RunsAnItemsOptionsDialogOnlyWhenItHasOne)
{
    std::vector<shell::TodayItemEntry> entries = shell::TodayItemList(kItemsKey).Read();
    ASSERT_EQ(4u, entries.size());  // Alpha, Beta, Gamma, Broken: the library items
    // The dialog is modal: a timer presses its OK once it is there.
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND dialog = FindWindowW(nullptr, L"Test item options");
        if (dialog != nullptr) {
            KillTimer(nullptr, id);
            SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        }
    });
    EXPECT_TRUE(shell::TodayHost::OpenOptions(entries[0], nullptr));
    EXPECT_EQ(1u, Observed(L"Options", L"Opened"));

    EXPECT_FALSE(shell::TodayHost::OpenOptions(entries[1], nullptr));  // "Options" 0
    EXPECT_FALSE(shell::TodayHost::OpenOptions(entries[3], nullptr));  // no library
    EXPECT_EQ(1u, Observed(L"Options", L"Opened"));
}

TEST_F(TodayHostTest, ReloadsWhenTheRegistryListChanges)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    ASSERT_EQ(2u, screen_.Host().Count());

    // A program that enters itself into the list shows up without a restart.
    WriteItem(L"Epsilon", 5, 1, 0);
    EXPECT_TRUE(PumpUntil([&] { return screen_.Host().Count() == 3; }));
    EXPECT_STREQ(L"Epsilon", screen_.Host().Item(2).szName);

    shell::TodayItemList(kItemsKey).SetEnabled(L"Alpha", false);
    EXPECT_TRUE(PumpUntil([&] { return screen_.Host().Count() == 2; }));
    EXPECT_STREQ(L"Beta", screen_.Host().Item(0).szName);
    EXPECT_EQ(TodayScreen::kDateLineHeight, RectInParent(ItemWindow(0)).top);
}

TEST_F(TodayHostTest, AnItemWhoseLibraryArrivesLaterIsLoadedThen)
{
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring late = std::wstring(folder) + L"ShellLateTestItem.dll";
    DeleteFileW(late.c_str());
    WriteItem(L"Late", 9, 1, 0, 4, late);
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    ASSERT_EQ(2u, screen_.Host().Count());

    ASSERT_TRUE(CopyFileW(TestItemPath().c_str(), late.c_str(), FALSE));
    EXPECT_TRUE(PumpUntil([&] { return screen_.Host().Count() == 3; }, 6000));
    EXPECT_EQ(1u, Observed(L"Late", L"InitCount"));
    screen_.Destroy();
    DeleteFileW(late.c_str());
}

TEST_F(TodayHostTest, SettingsScreenSavesCheckBoxesAndItemsClearTheirCaches)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    screen_.ShowSettings();
    HWND settings = FindWindowW(shell::kTodaySettingsClass, nullptr);
    ASSERT_NE(nullptr, settings);
    // The navigation bar's ok button is for this window.
    EXPECT_NE(nullptr, GetPropW(settings, shell::kDoneButtonProperty));
    HWND list = GetDlgItem(settings, shell::TodaySettingsWindow::kListId);
    ASSERT_EQ(4, ListView_GetItemCount(list));
    EXPECT_TRUE(ListView_GetCheckState(list, 0));   // Alpha
    EXPECT_FALSE(ListView_GetCheckState(list, 2));  // Gamma
    // Options only for items that have them: Alpha is selected first.
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(settings, shell::TodaySettingsWindow::kOptionsId)));
    ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(settings, shell::TodaySettingsWindow::kOptionsId)));

    ListView_SetCheckState(list, 1, FALSE);  // Beta off
    ListView_SetCheckState(list, 2, TRUE);   // Gamma on
    SendMessageW(settings, WM_COMMAND, IDOK, 0);  // what the ok button sends
    EXPECT_FALSE(IsWindow(settings));

    EXPECT_TRUE(PumpUntil([&] { return Observed(L"Alpha", L"ClearCaches", 0) >= 1; }));
    ASSERT_EQ(2u, screen_.Host().Count());
    EXPECT_STREQ(L"Alpha", screen_.Host().Item(0).szName);
    EXPECT_STREQ(L"Gamma", screen_.Host().Item(1).szName);
}

}  // namespace

TEST_F(TodayHostTest, GivesUpItsBottomStripWhileAnotherWindowIsInFront)
{
    ASSERT_TRUE(screen_.Create(GetModuleHandleW(nullptr)));
    SetForegroundWindow(screen_.Window());
    RECT region;
    EXPECT_EQ(ERROR, GetWindowRgnBox(screen_.Window(), &region));   // whole while in front

    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr,
                                 nullptr, nullptr);
    SetForegroundWindow(other);
    ASSERT_NE(ERROR, GetWindowRgnBox(screen_.Window(), &region));
    RECT window;
    GetWindowRect(screen_.Window(), &window);
    EXPECT_EQ(shell::kMenuBarTop, window.top + region.bottom);

    SetForegroundWindow(screen_.Window());
    EXPECT_EQ(ERROR, GetWindowRgnBox(screen_.Window(), &region));
    DestroyWindow(other);
}
