// The options window with its real property sheet: what the pages show for
// stored settings, what accepting stores, the sound choices' enabling rules,
// the repetitions box, "Browse", and a cancelled sheet reading nothing.
// The sheet runs modally, so each test hands it a script that a timer runs
// inside the sheet's own message loop.
#include "dialogs/OptionsWindow.h"

#include "dialogs/OptionSettings.h"
#include "process/Application.h"
#include "process/Settings.h"
#include "resources/resource.h"
#include "tests/support/DialogControls.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <functional>
#include <string>

namespace {

const int kTabControlId = 12320;

std::function<void()> g_script;
OPENFILENAMEW g_fileRequest;
std::wstring g_fileFilter;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    std::function<void()> script;
    script.swap(g_script);
    if (script)
        script();
}

BOOL WINAPI PickBell(OPENFILENAMEW* request)
{
    g_fileRequest = *request;
    g_fileFilter.assign(request->lpstrFilter, 18);
    wcscpy(request->lpstrFile, L"C:\\Sounds\\bell.wav");
    return TRUE;
}

class OptionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OptionValues& v = options.Values();
        v.menuCount = 5;
        v.fontSize = 9;
        v.notify = true;
        v.playRecording = true;
        v.repetitions = 3;
        v.zoom = 3;
        v.pageStyle = 6;
        OptionsWindow::SetOpenFileFunction(&PickBell);
    }

    void TearDown() override
    {
        OptionsWindow::SetOpenFileFunction(nullptr);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey);
    }

    // Opens the window and runs script inside the sheet; returns when the
    // sheet has ended and the parent has had its messages.
    void OpenWith(std::function<void()> script)
    {
        g_script = script;
        SetTimer(nullptr, 0, 10, &RunScript);
        options.Open(parent);
        Pump();
    }

    // How often the parent heard that the options were accepted.
    int Accepted() const { return int(parentMessages.Count(kMsgOptionsAccepted)); }

    HWND Page(int index)
    {
        return reinterpret_cast<HWND>(SendMessageW(options.Sheet(), PSM_INDEXTOHWND, index, 0));
    }
    HWND Control(int page, int id) { return GetDlgItem(Page(page), id); }

    std::wstring ListText(int page, int id) { return SelectedText(Control(page, id)); }

    std::wstring Text(int page, int id)
    {
        wchar_t text[MAX_PATH] = L"";
        GetWindowTextW(Control(page, id), text, MAX_PATH);
        return text;
    }

    bool Checked(int id) { return IsTicked(Control(2, id)); }
    void Click(int id) { SendMessageW(Control(2, id), BM_CLICK, 0, 0); }
    bool Enabled(int id) { return IsWindowEnabled(Control(2, id)) != FALSE; }

    void TypeRepetitions(const wchar_t* digits)
    {
        HWND box = Control(2, IDC_OPTIONS_REPEAT);
        SendMessageW(box, EM_SETSEL, 0, -1);
        for (const wchar_t* c = digits; *c != L'\0'; ++c)
            SendMessageW(box, WM_CHAR, *c, 1);
    }

    void Accept() { PropSheet_PressButton(options.Sheet(), PSBTN_OK); }

    TempFolder documents;
    MessageLog parentMessages;
    TestWindow parentWindow{parentMessages, "parent", WS_POPUP, RECT{0, 0, 10, 10}};
    HWND parent = parentWindow.Handle();
    OptionsWindow options;
};

}  // namespace

TEST_F(OptionsWindowTest, PagesStandInOrderWithTabsBelowAndShowTheValues)
{
    HWND frame = nullptr;
    OpenWith([&] {
        frame = options.Window();
        HWND tabs = GetDlgItem(options.Sheet(), kTabControlId);
        EXPECT_TRUE(GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_BOTTOM);
        const wchar_t* names[] = {L"General", L"Jotling", L"Sound"};
        for (int i = 0; i < 3; ++i) {
            wchar_t name[32] = L"";
            TCITEMW item = {};
            item.mask = TCIF_TEXT;
            item.pszText = name;
            item.cchTextMax = 32;
            SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            EXPECT_STREQ(name, names[i]);
        }
        RECT sheetRect;
        GetWindowRect(options.Sheet(), &sheetRect);
        EXPECT_LE(sheetRect.right - sheetRect.left, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(options.Sheet(), IDCANCEL)));

        EXPECT_EQ(ListText(0, IDC_OPTIONS_FONT), L"9 pts.");
        EXPECT_EQ(SendMessageW(Control(0, IDC_OPTIONS_NOTIFY), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_EQ(ListText(1, IDC_OPTIONS_ZOOM), L"100 %");
        EXPECT_EQ(ListText(1, IDC_OPTIONS_PAGE_STYLE), L"Left-top margin");
        EXPECT_EQ(ListText(1, IDC_OPTIONS_MODE), L"Writing");
        EXPECT_EQ(Text(2, IDC_OPTIONS_REPEAT), L"3");

        SendMessageW(Control(0, IDC_OPTIONS_FONT), CB_SETCURSEL, 0, 0);
        // The navigation bar's ok reaches the frame as IDOK.
        PostMessageW(options.Window(), WM_COMMAND, IDOK, 0);
    });
    EXPECT_FALSE(options.IsOpen());
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(Accepted(), 1);
    EXPECT_EQ(options.Values().fontSize, 12);
    EXPECT_EQ(options.Values().zoom, 3);
    EXPECT_EQ(options.Values().pageStyle, 6);
    EXPECT_TRUE(options.Values().notify);
}

TEST_F(OptionsWindowTest, StoredSettingsRoundTripThroughThePages)
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey);
    {
        Application stored(documents.Path());
        stored.SetDontPlay(true);
        stored.SetPlaySnd(true);
        stored.SetMenuCount(7);
        stored.SetFontSize(9);
        LoadOptionValues(stored, &options.Values());
    }
    OpenWith([&] {
        EXPECT_EQ(ListText(0, IDC_OPTIONS_FONT), L"9 pts.");
        EXPECT_TRUE(Checked(IDC_OPTIONS_DONT_PLAY));
        EXPECT_FALSE(Checked(IDC_OPTIONS_PLAY_FILE));
        EXPECT_FALSE(Checked(IDC_OPTIONS_PLAY_RECORDING));
        Accept();
    });
    ASSERT_EQ(Accepted(), 1);
    {
        Application writer(documents.Path());
        StoreOptionValues(options.Values(), writer);
    }
    Application reader(documents.Path());
    EXPECT_TRUE(reader.DontPlay());
    EXPECT_FALSE(reader.PlaySnd());
    EXPECT_EQ(reader.MenuCount(), 7);
    EXPECT_EQ(reader.FontSize(), 9);
}

TEST_F(OptionsWindowTest, SoundChoicesEnableTheirControlsAndRepetitionsStayInRange)
{
    HWND soundPage = nullptr;
    OpenWith([&] {
        soundPage = Page(2);
        EXPECT_TRUE(Checked(IDC_OPTIONS_PLAY_RECORDING));
        EXPECT_FALSE(Enabled(IDC_OPTIONS_SOUND_FILE));
        EXPECT_FALSE(Enabled(IDC_OPTIONS_BROWSE));
        EXPECT_TRUE(Enabled(IDC_OPTIONS_REPEAT));

        Click(IDC_OPTIONS_DONT_PLAY);
        const int repeatGroup[] = {IDC_OPTIONS_SOUND_FILE, IDC_OPTIONS_BROWSE, IDC_OPTIONS_REPEAT,
                                   IDC_OPTIONS_REPEAT_SPIN, IDC_OPTIONS_REPEAT_LABEL};
        for (int id : repeatGroup)
            EXPECT_FALSE(Enabled(id)) << id;
        EXPECT_FALSE(Checked(IDC_OPTIONS_PLAY_RECORDING));

        Click(IDC_OPTIONS_PLAY_FILE);
        for (int id : repeatGroup)
            EXPECT_TRUE(Enabled(id)) << id;
        Click(IDC_OPTIONS_BROWSE);
        EXPECT_EQ(Text(2, IDC_OPTIONS_SOUND_FILE), L"C:\\Sounds\\bell.wav");

        TypeRepetitions(L"0");
        EXPECT_EQ(Text(2, IDC_OPTIONS_REPEAT), L"1");
        TypeRepetitions(L"250");
        EXPECT_EQ(Text(2, IDC_OPTIONS_REPEAT), L"100");
        Accept();
    });
    EXPECT_EQ(g_fileRequest.hwndOwner, soundPage);
    EXPECT_EQ(g_fileFilter, std::wstring(L"Wave files\0*.wav\0", 18));
    EXPECT_STREQ(g_fileRequest.lpstrTitle, L"Select notification sound");
    EXPECT_EQ(g_fileRequest.Flags, static_cast<DWORD>(OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST));
    EXPECT_EQ(g_fileRequest.nMaxFile, static_cast<DWORD>(MAX_PATH));

    const OptionValues& v = options.Values();
    EXPECT_TRUE(v.playFile);
    EXPECT_FALSE(v.playRecording);
    EXPECT_FALSE(v.dontPlay);
    EXPECT_STREQ(v.soundFile, L"C:\\Sounds\\bell.wav");
    EXPECT_EQ(v.repetitions, 100);
    EXPECT_EQ(v.menuCount, 5);
}

TEST_F(OptionsWindowTest, CancelledSheetClosesItsFrameAndReadsNothing)
{
    HWND frame = nullptr;
    OpenWith([&] {
        frame = options.Window();
        SendMessageW(Control(0, IDC_OPTIONS_FONT), CB_SETCURSEL, 4, 0);
        SendMessageW(Control(0, IDC_OPTIONS_NOTIFY), BM_SETCHECK, BST_UNCHECKED, 0);
        Click(IDC_OPTIONS_DONT_PLAY);
        PropSheet_PressButton(options.Sheet(), PSBTN_CANCEL);
    });
    EXPECT_FALSE(options.IsOpen());
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(Accepted(), 0);
    EXPECT_EQ(options.Values().fontSize, 9);
    EXPECT_TRUE(options.Values().notify);
    EXPECT_TRUE(options.Values().playRecording);
    EXPECT_FALSE(options.Values().dontPlay);

    // The window class went with the frame: the options open again.
    OpenWith([&] {
        EXPECT_EQ(ListText(0, IDC_OPTIONS_FONT), L"9 pts.");
        Accept();
    });
    EXPECT_EQ(Accepted(), 1);
}
