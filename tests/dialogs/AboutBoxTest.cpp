#include "dialogs/AboutBox.h"
#include "dialogs/Help.h"
#include "resources/resource.h"
#include "tests/dialogs/DialogsTestSupport.h"

#include <gtest/gtest.h>

namespace {

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HelpCommandLines().clear();
        SetStartProgramFunction(RecordStart);
    }
    void TearDown() override { SetStartProgramFunction(nullptr); }
};

}  // namespace

TEST_F(HelpTest, CommandLineNamesTheFileAndTheAnchorWhenThereIsOne)
{
    ShowHelp(kHelpFile, L"Titles");
    ShowHelp(kHelpFile, nullptr);
    std::wstring longAnchor(400, L'a');
    ShowHelp(kHelpFile, longAnchor.c_str());
    ASSERT_EQ(HelpCommandLines().size(), 3u);
    EXPECT_EQ(HelpCommandLines()[0], L"PegHelp.exe file:Jotlings.htm#Titles");
    EXPECT_EQ(HelpCommandLines()[1], L"PegHelp.exe file:Jotlings.htm");
    EXPECT_EQ(HelpCommandLines()[2].size(), 12 + 259u);  // cut to the 260-character line
}

TEST_F(HelpTest, AboutBoxShowsThePictureAndAsksForItsTopic)
{
    AboutBox box;
    WithModalDialog([&] { box.Run(nullptr); }, [&] { return box.Dialog(); }, [](HWND dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(DWORD(GetWindowLongW(dialog, GWL_STYLE)) & (WS_CAPTION | WS_POPUP), DWORD(WS_POPUP));
        HBITMAP picture = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (picture == nullptr)
                picture = reinterpret_cast<HBITMAP>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
        }
        BITMAP bitmap = {};
        ASSERT_NE(GetObjectW(picture, sizeof bitmap, &bitmap), 0);
        EXPECT_EQ(bitmap.bmWidth, 32);
        EXPECT_EQ(bitmap.bmHeight, 32);
        wchar_t name[64] = L"";
        GetDlgItemTextW(dialog, IDC_ABOUT_NAME, name, 64);
        EXPECT_STREQ(name, L"KORVA Jotlings");

        HELPINFO help = {sizeof help};
        SendMessageW(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        EXPECT_EQ(HelpCommandLines(), std::vector<std::wstring>{L"PegHelp.exe file:Jotlings.htm#About"});
    });
    EXPECT_EQ(box.Dialog(), nullptr);
}
