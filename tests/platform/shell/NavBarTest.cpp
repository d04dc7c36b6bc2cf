// The navigation bar following the window in front: its title, the ok
// button a window asked for, and SHFullScreen's hidden task bar.
#include "platform/shell/src/NavBar.h"
#include "platform/shell/src/ShellConstants.h"
#include "tests/platform/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

namespace {

int okCommands = 0;
int helpRequests = 0;

LRESULT CALLBACK ProgramProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        ++okCommands;
        return 0;
    }
    if (message == WM_HELP) {
        ++helpRequests;
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class NavBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        okCommands = 0;
        helpRequests = 0;
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = ProgramProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"NavBarTestProgram";
        RegisterClassW(&windowClass);
        program_ = CreateWindowExW(0, L"NavBarTestProgram", L"Jotlings", WS_POPUP | WS_VISIBLE,
                                   0, shell::kWorkTop, 240, 268, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, program_);
        ASSERT_TRUE(bar_.Create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(program_);
    }
    void TearDown() override { DestroyWindow(program_); }

    bool PollUntil(const std::function<bool()>& done)
    {
        return PumpUntil([&] {
            bar_.Poll();
            return done();
        });
    }

    HWND program_ = nullptr;
    shell::StartMenu menu_{nullptr};
    shell::NavBar bar_{menu_};
};

TEST_F(NavBarTest, ShowsTheTitleOfTheWindowInFrontAndNoOkButtonUnasked)
{
    EXPECT_TRUE(PollUntil([&] { return bar_.Target() == program_; }));
    EXPECT_STREQ(L"Jotlings", bar_.Title());
    EXPECT_FALSE(bar_.DoneShown());
    bar_.Tap(225);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(0, okCommands);

    SetWindowTextW(program_, L"Options");
    EXPECT_TRUE(PollUntil([&] { return wcscmp(bar_.Title(), L"Options") == 0; }));
}

TEST_F(NavBarTest, OkButtonOfAWindowThatAskedSendsItIdok)
{
    SetPropW(program_, shell::kDoneButtonProperty, reinterpret_cast<HANDLE>(1));
    EXPECT_TRUE(PollUntil([&] { return bar_.DoneShown(); }));
    bar_.Tap(225);
    EXPECT_TRUE(PumpUntil([] { return okCommands == 1; }));
    // A tap on the title is not the ok button.
    bar_.Tap(100);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(1, okCommands);

    RemovePropW(program_, shell::kDoneButtonProperty);
    EXPECT_TRUE(PollUntil([&] { return !bar_.DoneShown(); }));
}

TEST_F(NavBarTest, HidesWhileTheWindowInFrontHidesTheTaskBar)
{
    SetPropW(program_, shell::kFullScreenProperty,
             reinterpret_cast<HANDLE>(shell::kFullScreenTaskBarHidden));
    EXPECT_TRUE(PollUntil([&] { return bar_.Hidden(); }));
    EXPECT_FALSE(IsWindowVisible(bar_.Window()));

    // Only the input-panel button and the Start icon hidden: the bar stays,
    // without its Start flag.
    SetPropW(program_, shell::kFullScreenProperty,
             reinterpret_cast<HANDLE>(shell::kFullScreenSipButtonHidden |
                                      shell::kFullScreenStartIconHidden));
    EXPECT_TRUE(PollUntil([&] { return !bar_.Hidden(); }));
    EXPECT_TRUE(IsWindowVisible(bar_.Window()));
    EXPECT_FALSE(bar_.StartShown());
}

TEST_F(NavBarTest, KeepsItsOkButtonForAWindowThatHidesTheTaskBarButAskedForDone)
{
    SetPropW(program_, shell::kFullScreenProperty,
             reinterpret_cast<HANDLE>(shell::kFullScreenTaskBarHidden));
    SetPropW(program_, shell::kDoneButtonProperty, reinterpret_cast<HANDLE>(1));
    EXPECT_TRUE(PollUntil([&] { return bar_.DoneShown(); }));
    EXPECT_FALSE(bar_.Hidden());
    EXPECT_TRUE(IsWindowVisible(bar_.Window()));
    bar_.Tap(225);
    EXPECT_TRUE(PumpUntil([] { return okCommands == 1; }));

    // Done no longer asked for: the hidden task bar takes the bar away.
    RemovePropW(program_, shell::kDoneButtonProperty);
    EXPECT_TRUE(PollUntil([&] { return bar_.Hidden(); }));
}

TEST_F(NavBarTest, StartMenuHelpAsksTheProgramInFrontForItsTopic)
{
    std::vector<shell::StartMenuEntry> withoutProgram = menu_.Entries(nullptr);
    std::vector<shell::StartMenuEntry> entries = menu_.Entries(program_);
    ASSERT_EQ(withoutProgram.size() + 1, entries.size());
    size_t help = entries.size() - 2;   // just above "Settings"
    EXPECT_EQ(L"Help", entries[help].label);
    EXPECT_EQ(L"Settings", entries.back().label);
    EXPECT_TRUE(menu_.Choose(help, program_));
    EXPECT_EQ(1, helpRequests);
}

}  // namespace
