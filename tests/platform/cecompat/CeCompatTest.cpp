// The handheld's core calls that cecompat supplies.
#include "cecompat.h"

#include <gtest/gtest.h>

namespace {

TEST(EventModify, SetsResetsAndRefusesUnknownActions)
{
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(EventModify(event, EVENT_SET));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(event, 0));
    ASSERT_TRUE(EventModify(event, EVENT_RESET));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(event, 0));
    EXPECT_FALSE(EventModify(event, 7));
    CloseHandle(event);
}

class TransparentImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen_ = GetDC(nullptr);
        target_ = CreateCompatibleDC(screen_);
        targetBitmap_ = CreateCompatibleBitmap(screen_, 8, 8);
        oldTarget_ = SelectObject(target_, targetBitmap_);
        RECT all = {0, 0, 8, 8};
        FillRect(target_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        // A 4 x 4 picture: blue left half, magenta (the key) right half.
        picture_ = CreateCompatibleBitmap(screen_, 4, 4);
        HDC painter = CreateCompatibleDC(screen_);
        HGDIOBJ old = SelectObject(painter, picture_);
        RECT left = {0, 0, 2, 4};
        RECT right = {2, 0, 4, 4};
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(painter, &left, blue);
        FillRect(painter, &right, magenta);
        DeleteObject(blue);
        DeleteObject(magenta);
        SelectObject(painter, old);
        DeleteDC(painter);
    }
    void TearDown() override
    {
        SelectObject(target_, oldTarget_);
        DeleteObject(targetBitmap_);
        DeleteObject(picture_);
        DeleteDC(target_);
        ReleaseDC(nullptr, screen_);
    }

    HDC screen_ = nullptr;
    HDC target_ = nullptr;
    HBITMAP targetBitmap_ = nullptr;
    HGDIOBJ oldTarget_ = nullptr;
    HBITMAP picture_ = nullptr;
};

TEST_F(TransparentImageTest, FromABitmapLeavesTheKeyColourOut)
{
    ASSERT_TRUE(TransparentImage(target_, 2, 2, 4, 4, picture_, 0, 0, 4, 4, RGB(255, 0, 255)));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(target_, 2, 2));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(target_, 3, 5));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target_, 4, 2));  // key: background stays
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target_, 1, 1));  // outside
}

TEST_F(TransparentImageTest, FromADeviceContextToo)
{
    HDC source = CreateCompatibleDC(screen_);
    HGDIOBJ old = SelectObject(source, picture_);
    EXPECT_TRUE(TransparentImage(target_, 0, 0, 4, 4, source, 0, 0, 4, 4, RGB(255, 0, 255)));
    SelectObject(source, old);
    DeleteDC(source);
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(target_, 1, 1));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target_, 3, 1));
}

TEST_F(TransparentImageTest, RefusesWhatIsNoImage)
{
    EXPECT_FALSE(TransparentImage(target_, 0, 0, 4, 4, nullptr, 0, 0, 4, 4, 0));
    EXPECT_FALSE(TransparentImage(target_, 0, 0, 4, 4, GetStockObject(WHITE_BRUSH), 0, 0, 4, 4, 0));
    EXPECT_FALSE(TransparentImage(target_, 0, 0, 0, 4, picture_, 0, 0, 4, 4, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(target_, 1, 1));
}

TEST(CommandBarAddBitmap, ReturnsTheFirstIndexOfEachStrip)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 240, 40, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND bar = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | TBSTYLE_FLAT, 0, 0, 240, 26,
                               owner, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, bar);
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // The common controls' own strips: 15 standard images, then the views.
    EXPECT_EQ(0, CommandBar_AddBitmap(bar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, 15, 16, 16));
    EXPECT_EQ(15, CommandBar_AddBitmap(bar, HINST_COMMCTRL, IDB_VIEW_SMALL_COLOR, 12, 16, 16));
    EXPECT_EQ(-1, CommandBar_AddBitmap(nullptr, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, 15, 16, 16));
    EXPECT_EQ(-1, CommandBar_AddBitmap(bar, HINST_COMMCTRL, IDB_STD_SMALL_COLOR, 0, 16, 16));
    DestroyWindow(owner);
}

TEST(HandheldConstants, KeepTheHandheldValuesAndTranslateTheSheetFlags)
{
    EXPECT_EQ(257, SPI_GETPLATFORMTYPE);
    EXPECT_EQ(3, PSCB_GETVERSION);
    EXPECT_EQ(0x20C, CE_COMCTL32_VERSION);
    // PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP | PSH_MAXIMIZE
    EXPECT_EQ(static_cast<DWORD>(PSH_PROPSHEETPAGE | PSH_USECALLBACK | PSH_HASHELP),
              CeTranslateSheetFlags(0x2308));
}

// A top-level window gets the frame its style asks for and no more: the
// distance between its outer and client edges on each side.
TEST(CreateWindowFrame, ATopLevelWindowHasOnlyTheFrameItsStyleAsksFor)
{
    struct Case {
        DWORD style;
        bool popup;  // made a pop-up, as desktop Win32 would otherwise add a caption
        bool caption;
        int edge;
    } cases[] = {
        {0, true, false, 0},
        {WS_BORDER, true, false, 1},
        {WS_POPUP | WS_BORDER, true, false, 1},
        {WS_CAPTION, false, true, -1},
        {WS_POPUP | WS_CAPTION, true, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        HWND window = CreateWindowExW(0, L"STATIC", L"", c.style, 0, 0, 120, 90, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, window);
        LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        EXPECT_EQ(c.popup, (style & WS_POPUP) != 0);
        EXPECT_EQ(c.caption, (style & WS_CAPTION) == WS_CAPTION);
        RECT outer, client;
        GetWindowRect(window, &outer);
        GetClientRect(window, &client);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
        if (c.caption) {
            EXPECT_GE(client.top - outer.top, GetSystemMetrics(SM_CYCAPTION));
        } else {
            EXPECT_EQ(c.edge, client.left - outer.left);
            EXPECT_EQ(c.edge, client.top - outer.top);
            EXPECT_EQ(c.edge, outer.bottom - client.bottom);
        }
        DestroyWindow(window);
    }
    // A child and a message-only window are made as asked.
    HWND parent = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 120, 90, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    EXPECT_EQ(0, GetWindowLongPtrW(child, GWL_STYLE) & WS_POPUP);
    HWND messages = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, messages);
    EXPECT_EQ(0, GetWindowLongPtrW(messages, GWL_STYLE) & WS_POPUP);
    DestroyWindow(messages);
    DestroyWindow(parent);
}

}  // namespace
