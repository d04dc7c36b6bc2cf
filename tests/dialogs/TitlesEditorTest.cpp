#include "dialogs/Help.h"
#include "dialogs/TitlesEditor.h"
#include "process/UserPrompt.h"
#include "resources/resource.h"
#include "tests/dialogs/DialogsTestSupport.h"

#include <aygshell.h>
#include <gtest/gtest.h>

namespace {

// Every message box the editor showed, as "caption|text|type", owned by the
// dialog; the answers are taken from the front, IDOK when none is left.
std::vector<std::wstring> g_asked;
std::vector<int> g_answers;
HWND g_dialog;

int Answer(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    EXPECT_EQ(owner, g_dialog);
    g_asked.push_back(std::wstring(caption) + L"|" + text + L"|" + std::to_wstring(type));
    int answer = g_answers.empty() ? IDOK : g_answers.front();
    if (!g_answers.empty())
        g_answers.erase(g_answers.begin());
    return answer;
}

bool Enabled(int id)
{
    return IsWindowEnabled(GetDlgItem(g_dialog, id)) != FALSE;
}

// A tap on a button: a disabled one ignores the stylus.
void Tap(int id)
{
    if (Enabled(id))
        SendMessageW(GetDlgItem(g_dialog, id), BM_CLICK, 0, 0);
}

void Type(const wchar_t* text)
{
    SetDlgItemTextW(g_dialog, IDC_TITLES_EDIT, text);
}

void TapItem(int index)
{
    HWND list = GetDlgItem(g_dialog, IDC_TITLES_LIST);
    RECT item;
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
    LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
}

Titles Shown()
{
    HWND list = GetDlgItem(g_dialog, IDC_TITLES_LIST);
    Titles out(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (size_t i = 0; i < out.size(); ++i) {
        wchar_t text[260] = L"";
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        out[i] = text;
    }
    return out;
}

LRESULT Selection()
{
    return SendDlgItemMessageW(g_dialog, IDC_TITLES_LIST, LB_GETCURSEL, 0, 0);
}

class TitlesEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveSettingsKey();
        g_asked.clear();
        g_answers.clear();
        HelpCommandLines().clear();
        SetAskUserFunction(Answer);
        SetStartProgramFunction(RecordStart);
    }
    void TearDown() override
    {
        SetAskUserFunction(nullptr);
        SetStartProgramFunction(nullptr);
        RemoveSettingsKey();
    }
    // Opens the editor over the stored titles and runs script in it; the
    // dialog ends with Done.
    void RunEditor(const std::function<void()>& script)
    {
        TitlesEditor editor;
        WithModalDialog([&] { editor.Run(nullptr); }, [&] { return editor.Dialog(); }, [&](HWND dialog) {
            g_dialog = dialog;
            ASSERT_NE(dialog, nullptr);
            script();
        });
        EXPECT_EQ(editor.Dialog(), nullptr);
    }
};

}  // namespace

TEST_F(TitlesEditorTest, AddPutsNewTitlesOnTopUnselectedAndRefusesCaseDuplicates)
{
    StoreTitles({L"Gym", L"Shopping list"});
    RunEditor([] {
        EXPECT_FALSE(Enabled(IDC_TITLES_ADD));
        TapItem(1);
        Type(L"Call Anna");
        Tap(IDC_TITLES_ADD);
        Type(kNoTitle);
        Tap(IDC_TITLES_ADD);
        EXPECT_EQ(Shown(), (Titles{kNoTitle, L"Call Anna", L"Gym", L"Shopping list"}));
        EXPECT_EQ(Selection(), 3);  // still "Shopping list"
        EXPECT_TRUE(g_asked.empty());

        Type(L"SHOPPING List");
        Tap(IDC_TITLES_ADD);
        EXPECT_EQ(g_asked, std::vector<std::wstring>{L"Already exists|Title with the same text already exists!|0"});
        EXPECT_EQ(Shown().size(), 4u);
        HWND edit = GetDlgItem(g_dialog, IDC_TITLES_EDIT);
        EXPECT_EQ(GetFocus(), edit);
        EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELRESULT(0, 13));
        Type(L"");
        EXPECT_FALSE(Enabled(IDC_TITLES_ADD));
    });
    EXPECT_EQ(StoredTitles(), (Titles{L"Call Anna", L"Gym", L"Shopping list"}));
}

TEST_F(TitlesEditorTest, DeleteAllAsksFirstAndLeavesNoStoredTitle)
{
    StoreTitles({L"One", L"Two", L"Three"});
    g_answers = {IDNO, IDYES};
    RunEditor([] {
        Tap(IDC_TITLES_DELETE_ALL);
        EXPECT_EQ(Shown().size(), 3u);
        Tap(IDC_TITLES_DELETE_ALL);
        EXPECT_TRUE(Shown().empty());
        EXPECT_FALSE(Enabled(IDC_TITLES_DELETE_ALL));
        EXPECT_EQ(g_asked.size(), 2u);
        EXPECT_EQ(g_asked.back(), L"Delete all|Are you sure you want to delete all titles?|4");  // MB_YESNO
    });
    DWORD count = 99, size = sizeof count;
    RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, L"TitlesCount", RRF_RT_REG_DWORD, nullptr, &count, &size);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(StoredTitles().empty());
}

TEST_F(TitlesEditorTest, ButtonsFollowTheSelectionWhileTitlesMove)
{
    StoreTitles({L"Only"});
    RunEditor([] {
        EXPECT_FALSE(Enabled(IDC_TITLES_DELETE));
        TapItem(0);
        EXPECT_TRUE(Enabled(IDC_TITLES_DELETE));
        EXPECT_FALSE(Enabled(IDC_TITLES_UP));
        EXPECT_FALSE(Enabled(IDC_TITLES_DOWN));
        Type(L"B");
        Tap(IDC_TITLES_ADD);
        Type(L"A");
        Tap(IDC_TITLES_ADD);  // A, B, Only; "Only" selected
        EXPECT_FALSE(Enabled(IDC_TITLES_DOWN));
        Tap(IDC_TITLES_UP);
        Tap(IDC_TITLES_UP);
        EXPECT_EQ(Shown(), (Titles{L"Only", L"A", L"B"}));
        EXPECT_FALSE(Enabled(IDC_TITLES_UP));
        Tap(IDC_TITLES_DOWN);
        Tap(IDC_TITLES_DELETE);
        EXPECT_EQ(Shown(), (Titles{L"A", L"B"}));
        EXPECT_FALSE(Enabled(IDC_TITLES_DELETE));
    });
    EXPECT_EQ(StoredTitles(), (Titles{L"A", L"B"}));
}

TEST_F(TitlesEditorTest, AsksForItsHelpTopicAndMakesRoomForTheInputPanel)
{
    RunEditor([] {
        HELPINFO help = {sizeof help};
        SendMessageW(g_dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        EXPECT_EQ(HelpCommandLines(), std::vector<std::wstring>{L"PegHelp.exe file:Jotlings.htm#Titles"});

        // The panel comes up with the dialog, for the title box.
        EXPECT_EQ(GetFocus(), GetDlgItem(g_dialog, IDC_TITLES_EDIT));
        RECT up, down;
        GetWindowRect(GetDlgItem(g_dialog, IDC_TITLES_LIST), &up);
        EXPECT_EQ(up.right - up.left, 151);
        EXPECT_EQ(up.bottom - up.top, 128);
        SipShowIM(SIPF_OFF);
        GetWindowRect(GetDlgItem(g_dialog, IDC_TITLES_LIST), &down);
        EXPECT_EQ(down.bottom - down.top, 209);
        EXPECT_EQ(down.top, up.top);
    });
}
