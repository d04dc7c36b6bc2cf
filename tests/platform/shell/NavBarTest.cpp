// The navigation bar following the window in front: its title, the ok
// button a window asked for, and SHFullScreen's hidden task bar.
#include "platform/shell/src/NavBar.h"
#include "platform/shell/src/ShellConstants.h"
#include "tests/platform/shell/ShellTestSupport.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

namespace {

// A program's window in front, which has a help topic.
class NavBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, program_);
        program.answer = [](UINT message, WPARAM, LPARAM, LRESULT* result) {
            *result = TRUE;
            return message == WM_HELP;
        };
        ASSERT_TRUE(bar_.Create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(program_);
    }
    void TearDown() override { DestroyWindow(program_); }

    size_t OkCommands() const { return messages.CountCommand(IDOK); }

    bool PollUntil(const std::function<bool()>& done)
    {
        return PumpUntil([&] {
            bar_.Poll();
            return done();
        });
    }

    MessageLog messages;
    TestWindow program{messages, "program", WS_POPUP | WS_VISIBLE,
                       RECT{0, shell::kWorkTop, 240, shell::kWorkTop + 268}, nullptr, L"Jotlings"};
    HWND program_ = program.Handle();
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
    EXPECT_EQ(0u, OkCommands());

    SetWindowTextW(program_, L"Options");
    EXPECT_TRUE(PollUntil([&] { return wcscmp(bar_.Title(), L"Options") == 0; }));
}

TEST_F(NavBarTest, OkButtonOfAWindowThatAskedSendsItIdok)
{
    SetPropW(program_, shell::kDoneButtonProperty, reinterpret_cast<HANDLE>(1));
    EXPECT_TRUE(PollUntil([&] { return bar_.DoneShown(); }));
    bar_.Tap(225);
    EXPECT_TRUE(PumpUntil([&] { return OkCommands() == 1; }));
    // A tap on the title is not the ok button.
    bar_.Tap(100);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(1u, OkCommands());

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
    EXPECT_TRUE(PumpUntil([&] { return OkCommands() == 1; }));

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
    EXPECT_EQ(1u, messages.Count(WM_HELP));
}

}  // namespace
