// The Today item's options dialog (resource 500) run as the Today screen runs
// it: from the library's resources with ordinal 241 as its procedure, shown
// modally. Each test looks at the controls once the dialog has settled and
// then closes it the way a person would.
#include <todaycmn.h>

#include "tests/support/DialogControls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const wchar_t kSettings[] = L"SOFTWARE\\KORVA\\Jotlings";
const int kFontList = 1005;
const int kCountList = 1006;
const int kExpiredBox = 1002;
const int kTodayBox = 1003;
const UINT kLook = WM_APP + 1;

PFNCUSTOMOPTIONSDLGPROC g_procedure = nullptr;
std::function<void(HWND)> g_look;

// The procedure answers a 32-bit BOOL; the dialog manager wants a pointer's
// width. Once set-up has run, a message queued behind the procedure's own
// posted selections hands the settled dialog to the test.
INT_PTR CALLBACK Thunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kLook) {
        g_look(dialog);
        return TRUE;
    }
    INT_PTR answer = g_procedure(dialog, message, wParam, lParam);
    if (message == WM_INITDIALOG)
        PostMessageW(dialog, kLook, 0, 0);
    return answer;
}

void SetDword(const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSettings, name, REG_DWORD, &value, sizeof value);
}

// The stored value, or -1 when there is none.
long Stored(const wchar_t* name)
{
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSettings, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return long(value);
}

std::wstring Selected(HWND dialog, int list)
{
    return SelectedText(GetDlgItem(dialog, list));
}

bool Ticked(HWND dialog, int box)
{
    return IsTicked(GetDlgItem(dialog, box));
}

// Picks the entry of a list by its text, as a tap in the drop-down does.
void Choose(HWND dialog, int list, const wchar_t* text)
{
    HWND box = GetDlgItem(dialog, list);
    LRESULT index = SendMessageW(box, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(text));
    ASSERT_NE(index, CB_ERR) << text;
    SendMessageW(box, CB_SETCURSEL, index, 0);
}

void Tick(HWND dialog, int box, bool on)
{
    SendDlgItemMessageW(dialog, box, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Press(HWND dialog, int id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

class TodayOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettings);
        library = LoadLibraryW(L"KJotlings.dll");
        ASSERT_NE(library, nullptr);
        g_procedure = reinterpret_cast<PFNCUSTOMOPTIONSDLGPROC>(
            reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ORDINAL_OPTIONSDIALOGPROC))));
        ASSERT_NE(g_procedure, nullptr);
    }

    void TearDown() override
    {
        if (library != nullptr)
            FreeLibrary(library);
        g_look = nullptr;
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettings);
    }

    // Runs the dialog until it ends; a dialog that does not end is closed
    // by force after the look and the test fails.
    INT_PTR Run(std::function<void(HWND)> look)
    {
        g_look = [look](HWND dialog) {
            look(dialog);
            if (IsWindow(dialog) && IsWindowVisible(dialog)) {
                ADD_FAILURE() << "the dialog is still open";
                EndDialog(dialog, -2);
            }
        };
        return DialogBoxParamW(library, MAKEINTRESOURCEW(IDD_TODAY_CUSTOM), nullptr, Thunk, 0);
    }

    void Store(DWORD count, DWORD fontSize, DWORD expired, DWORD showToday)
    {
        SetDword(L"TodayCount", count);
        SetDword(L"TodayFontSize", fontSize);
        SetDword(L"TodayExpired", expired);
        SetDword(L"TodayShowToday", showToday);
    }

    HMODULE library = nullptr;
};

TEST_F(TodayOptionsTest, ShowsStoredSettingsAndDoneStoresTheChoice)
{
    Store(4, 9, 1, 0);
    int fonts = 0, counts = 0;
    INT_PTR result = Run([&](HWND dialog) {
        fonts = int(SendDlgItemMessageW(dialog, kFontList, CB_GETCOUNT, 0, 0));
        counts = int(SendDlgItemMessageW(dialog, kCountList, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(Selected(dialog, kFontList), L"9 pts.");
        EXPECT_EQ(Selected(dialog, kCountList), L"4 jotlings");
        EXPECT_TRUE(Ticked(dialog, kExpiredBox));
        EXPECT_FALSE(Ticked(dialog, kTodayBox));

        Choose(dialog, kFontList, L"8 pts.");
        Choose(dialog, kCountList, L"1 jotling");
        Tick(dialog, kExpiredBox, false);
        Tick(dialog, kTodayBox, true);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(fonts, 5) << "12 down to 8 points";
    EXPECT_EQ(counts, 10) << "10 notes down to 1";
    EXPECT_EQ(Stored(L"TodayFontSize"), 8);
    EXPECT_EQ(Stored(L"TodayCount"), 1);
    EXPECT_EQ(Stored(L"TodayExpired"), 0);
    EXPECT_EQ(Stored(L"TodayShowToday"), 1);

    // Opened again, the dialog shows what was stored, largest choices too.
    SetDword(L"TodayFontSize", 12);
    SetDword(L"TodayCount", 10);
    Run([](HWND dialog) {
        EXPECT_EQ(Selected(dialog, kFontList), L"12 pts.");
        EXPECT_EQ(Selected(dialog, kCountList), L"10 jotlings");
        EXPECT_FALSE(Ticked(dialog, kExpiredBox));
        EXPECT_TRUE(Ticked(dialog, kTodayBox));
        Press(dialog, IDOK);
    });
}

TEST_F(TodayOptionsTest, WithNothingStoredShowsTheFallbacksAndDoneWritesAllFour)
{
    Run([](HWND dialog) {
        EXPECT_EQ(Selected(dialog, kFontList), L"9 pts.");
        EXPECT_EQ(Selected(dialog, kCountList), L"5 jotlings");
        EXPECT_FALSE(Ticked(dialog, kExpiredBox));
        EXPECT_FALSE(Ticked(dialog, kTodayBox));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(L"TodayCount"), 5);
    EXPECT_EQ(Stored(L"TodayFontSize"), 9);
    EXPECT_EQ(Stored(L"TodayExpired"), 0);
    EXPECT_EQ(Stored(L"TodayShowToday"), 0);
}

TEST_F(TodayOptionsTest, CancellingWritesNothing)
{
    Store(3, 10, 0, 1);
    SetDword(L"TodayFontSize", 10);
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSettings, L"TodayExpired");
    Run([](HWND dialog) {
        Choose(dialog, kFontList, L"12 pts.");
        Choose(dialog, kCountList, L"7 jotlings");
        Tick(dialog, kExpiredBox, true);
        Tick(dialog, kTodayBox, false);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(Stored(L"TodayCount"), 3);
    EXPECT_EQ(Stored(L"TodayFontSize"), 10);
    EXPECT_EQ(Stored(L"TodayExpired"), -1) << "a missing value stays missing";
    EXPECT_EQ(Stored(L"TodayShowToday"), 1);

    // The next opening shows the stored settings, not the abandoned choice.
    Run([](HWND dialog) {
        EXPECT_EQ(Selected(dialog, kFontList), L"10 pts.");
        EXPECT_EQ(Selected(dialog, kCountList), L"3 jotlings");
        EXPECT_FALSE(Ticked(dialog, kExpiredBox));
        EXPECT_TRUE(Ticked(dialog, kTodayBox));
        Press(dialog, IDCANCEL);
    });
}

TEST_F(TodayOptionsTest, StoredValueOutsideTheListsIsKeptByDone)
{
    Store(25, 30, 0, 0);
    Run([](HWND dialog) {
        EXPECT_EQ(Selected(dialog, kFontList), L"(none)");
        EXPECT_EQ(Selected(dialog, kCountList), L"(none)");
        Press(dialog, IDOK);
    });
    EXPECT_EQ(Stored(L"TodayCount"), 25);
    EXPECT_EQ(Stored(L"TodayFontSize"), 30);
}

}  // namespace
