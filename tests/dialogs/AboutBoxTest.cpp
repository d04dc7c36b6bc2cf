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
        StartedPrograms().clear();
        SetStartProgramFunction(RecordStart);
    }
    void TearDown() override { SetStartProgramFunction(nullptr); }
};

DWORD TemplateStyle(int id)
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (resource == nullptr)
        return 0;
    return *static_cast<const DWORD*>(LockResource(LoadResource(nullptr, resource)));
}

}  // namespace

TEST_F(HelpTest, CommandLineNamesTheFileAndTheAnchorWhenThereIsOne)
{
    ShowHelp(kHelpFile, L"Titles");
    ShowHelp(kHelpFile, nullptr);
    std::wstring longAnchor(400, L'a');
    ShowHelp(kHelpFile, longAnchor.c_str());
    ASSERT_EQ(StartedPrograms().size(), 3u);
    EXPECT_EQ(StartedPrograms()[0].program, L"PegHelp.exe");
    EXPECT_EQ(StartedPrograms()[0].commandLine, L"file:Jotlings.htm#Titles");
    EXPECT_EQ(StartedPrograms()[1].commandLine, L"file:Jotlings.htm");
    EXPECT_EQ(StartedPrograms()[2].commandLine.size(), 259u);  // cut to the 260-character line
}

TEST_F(HelpTest, AboutBoxShowsThePictureAndAsksForItsTopic)
{
    EXPECT_EQ(TemplateStyle(IDD_ABOUT), 0x90000240u);
    EXPECT_EQ(TemplateStyle(IDD_TITLES_EDITOR), 0x80C800C0u);
    AboutBox box;
    WithModalDialog([&] { box.Run(nullptr); }, [&] { return box.Dialog(); }, [](HWND dialog) {
        ASSERT_NE(dialog, nullptr);
        HWND picture = nullptr;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0)
                picture = child;
        }
        ASSERT_NE(picture, nullptr);
        BITMAP bitmap = {};
        GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)), sizeof bitmap,
                   &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 32);
        EXPECT_EQ(bitmap.bmHeight, 32);
        wchar_t name[64] = L"";
        GetDlgItemTextW(dialog, IDC_ABOUT_NAME, name, 64);
        EXPECT_STREQ(name, L"KORVA Jotlings");

        HELPINFO help = {sizeof help};
        SendMessageW(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        ASSERT_EQ(StartedPrograms().size(), 1u);
        EXPECT_EQ(StartedPrograms()[0].commandLine, L"file:Jotlings.htm#About");
    });
    EXPECT_EQ(box.Dialog(), nullptr);
}
