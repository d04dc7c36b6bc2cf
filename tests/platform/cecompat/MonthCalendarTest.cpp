// The handheld-sized month calendar that InitCommonControlsEx registers for
// the program: its size, the selection and how taps move it, and "None".
#include "cecompat.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A notification as the tests compare it: what it says and the date.
std::string Describe(const NMHDR* header)
{
    char line[64];
    if (header->code == CE_MCN_NODATE) {
        snprintf(line, sizeof(line), "nodate %u", static_cast<unsigned>(header->idFrom));
    } else {
        const NMSELCHANGE* change = reinterpret_cast<const NMSELCHANGE*>(header);
        snprintf(line, sizeof(line), "%s %u-%u-%u",
                 header->code == MCN_SELCHANGE ? "selchange" : header->code == MCN_SELECT ? "select" : "?",
                 change->stSelStart.wYear, change->stSelStart.wMonth, change->stSelStart.wDay);
    }
    return line;
}

class MonthCalendarTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&controls));
    }

    void SetUp() override { Create(0x5081008D); }
    void TearDown() override { parent_.reset(); }

    void Create(DWORD style)
    {
        parent_.reset();
        notes.clear();
        parent_ = std::make_unique<TestWindow>(parentMessages, "parent", WS_POPUP | WS_VISIBLE,
                                               RECT{78, 70, 78 + 163, 70 + 189});
        parent_->answer = [this](UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
            if (message != WM_NOTIFY)
                return false;
            notes.push_back(Describe(reinterpret_cast<const NMHDR*>(lParam)));
            *result = 0;
            return true;
        };
        calendar_ = CreateWindowExW(0, MONTHCAL_CLASSW, L"", style, -1, 18, 163, 170, parent_->Handle(),
                                    reinterpret_cast<HMENU>(1005), GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, calendar_);
        // Weeks start on Monday here, whatever the locale says.
        SendMessageW(calendar_, MCM_SETFIRSTDAYOFWEEK, 0, 0);
    }

    void Select(WORD year, WORD month, WORD day)
    {
        SYSTEMTIME date = {year, month, 0, day, 0, 0, 0, 0};
        ASSERT_TRUE(SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)));
    }

    SYSTEMTIME Selected() const
    {
        SYSTEMTIME date = {};
        EXPECT_TRUE(SendMessageW(calendar_, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date)));
        return date;
    }

    void Tap(int x, int y)
    {
        SendMessageW(calendar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(calendar_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    // The centre of a day cell: 7 columns of 23 pixels under the day names.
    static POINT Cell(int row, int column)
    {
        POINT centre = {column * 23 + 11, 36 + row * 17 + 8};
        return centre;
    }

    MessageLog parentMessages;
    std::unique_ptr<TestWindow> parent_;
    HWND calendar_ = nullptr;
    std::vector<std::string> notes;  // what the parent was notified of, described
};

TEST_F(MonthCalendarTest, FitsTheHandheldsPopUp)
{
    RECT needed = {};
    ASSERT_TRUE(SendMessageW(calendar_, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&needed)));
    RECT client = {};
    GetClientRect(calendar_, &client);
    EXPECT_LE(needed.right, client.right);  // 161 inside the 163-pixel border
    EXPECT_LE(needed.bottom, client.bottom);
}

TEST_F(MonthCalendarTest, SelectionRoundTripsTheDateAndRefusesWhatIsNoDate)
{
    SYSTEMTIME date = {2024, 2, 0, 29, 25, 70, 0, 0};  // time fields are not looked at
    ASSERT_TRUE(SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)));
    SYSTEMTIME selected = Selected();
    EXPECT_EQ(2024, selected.wYear);
    EXPECT_EQ(2, selected.wMonth);
    EXPECT_EQ(29, selected.wDay);
    EXPECT_EQ(4, selected.wDayOfWeek);  // a Thursday
    EXPECT_EQ(0, selected.wHour);

    SYSTEMTIME bad[] = {{2023, 2, 0, 29}, {2024, 13, 0, 1}, {2024, 4, 0, 31}, {1600, 1, 0, 1}, {2024, 1, 0, 0}};
    for (SYSTEMTIME& one : bad)
        EXPECT_FALSE(SendMessageW(calendar_, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&one)));
    EXPECT_FALSE(SendMessageW(calendar_, MCM_SETCURSEL, 0, 0));
    EXPECT_FALSE(SendMessageW(calendar_, MCM_GETCURSEL, 0, 0));
    EXPECT_EQ(29, Selected().wDay);
    EXPECT_TRUE(notes.empty());  // the program's own choice is not reported
}

TEST_F(MonthCalendarTest, ArrowsAndDaysMoveTheSelectionAndTellTheParent)
{
    Select(2025, 1, 31);
    Tap(150, 10);  // next month: the last day of a shorter one
    Tap(10, 10);   // and back
    Tap(10, 10);   // across the year
    EXPECT_EQ((std::vector<std::string>{"selchange 2025-2-28", "selchange 2025-1-28", "selchange 2024-12-28"}),
              notes);

    notes.clear();
    Select(2025, 1, 15);
    // 1 January 2025 is a Wednesday: the first row starts with 30 December.
    POINT monday20 = Cell(3, 0);
    Tap(monday20.x, monday20.y);
    POINT firstCell = Cell(0, 0);
    Tap(firstCell.x, firstCell.y);
    EXPECT_EQ((std::vector<std::string>{"selchange 2025-1-20", "select 2025-1-20", "selchange 2024-12-30",
                                        "select 2024-12-30"}),
              notes);
    EXPECT_EQ(12, Selected().wMonth);

    notes.clear();
    SendMessageW(calendar_, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(calendar_, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ((std::vector<std::string>{"selchange 2025-1-6", "selchange 2025-2-6"}), notes);
}

TEST_F(MonthCalendarTest, NoneIsChosenOnReleaseAndOnlyWhenTheStyleAsksForIt)
{
    RECT client;
    GetClientRect(calendar_, &client);
    int x = client.right - 24;
    int y = 150;
    SendMessageW(calendar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    EXPECT_TRUE(notes.empty());
    SendMessageW(calendar_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    EXPECT_EQ(std::vector<std::string>{"nodate 1005"}, notes);

    // Pressed on "None" and lifted elsewhere: no choice.
    notes.clear();
    SendMessageW(calendar_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(calendar_, WM_LBUTTONUP, 0, MAKELPARAM(20, 60));
    EXPECT_TRUE(notes.empty());

    // A calendar without the handheld's "None" bit offers no such choice.
    Create(WS_CHILD | WS_VISIBLE | WS_BORDER);
    Tap(x, y);
    for (const std::string& note : notes)
        EXPECT_NE(0u, note.rfind("nodate", 0)) << note;
}

}  // namespace
