#include "dialogs/Help.h"
#include "dialogs/TitlesEditor.h"
#include "resources/resource.h"
#include "tests/dialogs/DialogsTestSupport.h"

#include <aygshell.h>
#include <gtest/gtest.h>

namespace {

using Titles = std::vector<std::wstring>;

struct Question {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};
std::vector<Question> g_questions;
std::vector<int> g_answers;  // taken from the front; IDOK when none is left

int Answer(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    g_questions.push_back({owner, text, caption, type});
    if (g_answers.empty())
        return IDOK;
    int answer = g_answers.front();
    g_answers.erase(g_answers.begin());
    return answer;
}

bool Enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

// A tap on an enabled button; a disabled one ignores the stylus.
void Tap(HWND dialog, int id)
{
    if (Enabled(dialog, id))
        SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void Type(HWND dialog, const wchar_t* text)
{
    SetWindowTextW(GetDlgItem(dialog, IDC_TITLES_EDIT), text);
}

void TapItem(HWND dialog, int index)
{
    HWND list = GetDlgItem(dialog, IDC_TITLES_LIST);
    RECT item;
    ASSERT_NE(SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)), LB_ERR);
    LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
}

Titles Shown(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_TITLES_LIST);
    Titles out;
    for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
        wchar_t text[260] = L"";
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        out.push_back(text);
    }
    return out;
}

LRESULT Selection(HWND dialog)
{
    return SendDlgItemMessageW(dialog, IDC_TITLES_LIST, LB_GETCURSEL, 0, 0);
}

class TitlesEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveSettingsKey();
        g_questions.clear();
        g_answers.clear();
        StartedPrograms().clear();
        SetTitlesEditorMessageBox(Answer);
        SetStartProgramFunction(RecordStart);
    }
    void TearDown() override
    {
        SetTitlesEditorMessageBox(nullptr);
        SetStartProgramFunction(nullptr);
        RemoveSettingsKey();
    }
    // Opens the editor, runs script in it, then taps Done if still open.
    void RunEditor(const std::function<void(HWND)>& script)
    {
        TitlesEditor editor;
        WithModalDialog([&] { editor.Run(nullptr); }, [&] { return editor.Dialog(); }, script);
        EXPECT_EQ(editor.Dialog(), nullptr);
    }
};

}  // namespace

TEST_F(TitlesEditorTest, RefusesATitleThatDiffersOnlyInLetterCase)
{
    StoreTitles({L"Shopping list"});
    RunEditor([](HWND dialog) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_ADD));
        Type(dialog, L"SHOPPING List");
        Tap(dialog, IDC_TITLES_ADD);
        ASSERT_EQ(g_questions.size(), 1u);
        EXPECT_EQ(g_questions[0].owner, dialog);
        EXPECT_EQ(g_questions[0].text, L"Title with the same text already exists!");
        EXPECT_EQ(g_questions[0].caption, L"Already exists");
        EXPECT_EQ(g_questions[0].type, UINT(MB_OK));
        EXPECT_EQ(Shown(dialog), Titles{L"Shopping list"});
        HWND edit = GetDlgItem(dialog, IDC_TITLES_EDIT);
        EXPECT_EQ(GetFocus(), edit);
        DWORD start = 1, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 13u);
    });
    EXPECT_EQ(StoredTitles(), Titles{L"Shopping list"});
}

TEST_F(TitlesEditorTest, AddsOnTopUnselectedAndDoneStoresAllButNoTitle)
{
    StoreTitles({L"Gym", L"Dentist"});
    RunEditor([](HWND dialog) {
        TapItem(dialog, 1);
        ASSERT_EQ(Selection(dialog), 1);
        Type(dialog, L"Call Anna");
        Tap(dialog, IDC_TITLES_ADD);
        Type(dialog, kNoTitle);
        Tap(dialog, IDC_TITLES_ADD);
        EXPECT_EQ(Shown(dialog), (Titles{kNoTitle, L"Call Anna", L"Gym", L"Dentist"}));
        EXPECT_EQ(Selection(dialog), 3);  // still "Dentist"
        EXPECT_TRUE(g_questions.empty());
        Type(dialog, L"");
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_ADD));
    });
    EXPECT_EQ(StoredTitles(), (Titles{L"Call Anna", L"Gym", L"Dentist"}));
}

TEST_F(TitlesEditorTest, DeleteAllAsksFirstAndLeavesNoStoredTitle)
{
    StoreTitles({L"One", L"Two", L"Three"});
    g_answers = {IDNO, IDYES};
    RunEditor([](HWND dialog) {
        EXPECT_TRUE(Enabled(dialog, IDC_TITLES_DELETE_ALL));
        Tap(dialog, IDC_TITLES_DELETE_ALL);
        EXPECT_EQ(Shown(dialog).size(), 3u);
        Tap(dialog, IDC_TITLES_DELETE_ALL);
        EXPECT_TRUE(Shown(dialog).empty());
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_DELETE_ALL));
        ASSERT_EQ(g_questions.size(), 2u);
        EXPECT_EQ(g_questions[1].text, L"Are you sure you want to delete all titles?");
        EXPECT_EQ(g_questions[1].caption, L"Delete all");
        EXPECT_EQ(g_questions[1].type, UINT(MB_YESNO));
    });
    DWORD count = 99, size = sizeof count;
    EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kSettingsKey, L"TitlesCount", RRF_RT_REG_DWORD, nullptr, &count,
                           &size),
              ERROR_SUCCESS);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(StoredTitles().empty());
}

TEST_F(TitlesEditorTest, ButtonsFollowTheSelectionWhileTitlesMove)
{
    StoreTitles({L"Only"});
    RunEditor([](HWND dialog) {
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_DELETE));
        TapItem(dialog, 0);
        EXPECT_TRUE(Enabled(dialog, IDC_TITLES_DELETE));
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_UP));
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_DOWN));
        Type(dialog, L"B");
        Tap(dialog, IDC_TITLES_ADD);
        Type(dialog, L"A");
        Tap(dialog, IDC_TITLES_ADD);  // A, B, Only; "Only" selected
        EXPECT_TRUE(Enabled(dialog, IDC_TITLES_UP));
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_DOWN));
        Tap(dialog, IDC_TITLES_UP);
        Tap(dialog, IDC_TITLES_UP);
        EXPECT_EQ(Shown(dialog), (Titles{L"Only", L"A", L"B"}));
        EXPECT_EQ(Selection(dialog), 0);
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_UP));
        Tap(dialog, IDC_TITLES_DOWN);
        EXPECT_EQ(Shown(dialog), (Titles{L"A", L"Only", L"B"}));
        Tap(dialog, IDC_TITLES_DELETE);
        EXPECT_EQ(Shown(dialog), (Titles{L"A", L"B"}));
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_DELETE));
        EXPECT_FALSE(Enabled(dialog, IDC_TITLES_UP));
    });
    EXPECT_EQ(StoredTitles(), (Titles{L"A", L"B"}));
}

TEST_F(TitlesEditorTest, AsksForItsHelpTopicAndMakesRoomForTheInputPanel)
{
    RunEditor([](HWND dialog) {
        HELPINFO help = {sizeof help};
        SendMessageW(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        ASSERT_EQ(StartedPrograms().size(), 1u);
        EXPECT_EQ(StartedPrograms()[0].program, L"PegHelp.exe");
        EXPECT_EQ(StartedPrograms()[0].commandLine, L"file:Jotlings.htm#Titles");

        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_TITLES_EDIT));  // typing a title can start at once
        RECT list;
        GetWindowRect(GetDlgItem(dialog, IDC_TITLES_LIST), &list);  // the panel came up with the dialog
        EXPECT_EQ(list.right - list.left, 151);
        EXPECT_EQ(list.bottom - list.top, 128);
        SipShowIM(SIPF_OFF);
        Pump();
        RECT lowered;
        GetWindowRect(GetDlgItem(dialog, IDC_TITLES_LIST), &lowered);
        EXPECT_EQ(lowered.bottom - lowered.top, 209);
        EXPECT_EQ(lowered.top, list.top);
    });
}
