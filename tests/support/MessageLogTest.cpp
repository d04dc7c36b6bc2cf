// The recorder the protocol tests stand on: a message posted is told from
// one sent whichever loop dispatches it, a watched window keeps working
// once the log is gone, and a failed comparison says where two sequences
// part, by the messages' names.
#include "tests/support/MessageLog.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestWindow.h"

#include "notewindow/InkControlMessages.h"
#include "process/MainMessages.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

namespace {

const UINT kProbe = WM_APP + 1;
const UINT kEcho = WM_APP + 2;  // sent again from its handling, with the same numbers, once

// Its own dispatching, as a dialog's or the program's loop does it.
void ForeignLoop()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

class MessageLogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        log.Keep([](UINT message) { return message == kProbe || message == kEcho; });
        log.Clear();  // the window's creation
        window.onMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == kEcho && !echoed) {
                echoed = true;
                SendMessageW(window.Handle(), kEcho, wParam, lParam);
            }
        };
    }

    MessageLog log{kAllFields, 0};
    bool echoed = false;
    TestWindow window{log, "w", WS_POPUP, RECT{0, 0, 10, 10}};
};

TEST_F(MessageLogTest, PostedMessagesAreToldFromSentOnesWhicheverLoopTakesThem)
{
    HWND w = window.Handle();
    SendMessageW(w, kProbe, 1, 0);
    PostMessageW(w, kProbe, 2, 0);
    Pump();
    PostMessageW(w, kProbe, 3, 0);
    ForeignLoop();
    // The same numbers sent again after the posted one was handled.
    PostMessageW(w, kProbe, 4, 0);
    Pump();
    SendMessageW(w, kProbe, 4, 0);
    // Sent while the posted message with the same numbers is handled.
    PostMessageW(w, kEcho, 5, 0);
    Pump();
    std::vector<MessageRecord> expected = {Sent("w", kProbe, 1),  Posted("w", kProbe, 2), Posted("w", kProbe, 3),
                                           Posted("w", kProbe, 4), Sent("w", kProbe, 4),  Posted("w", kEcho, 5),
                                           Sent("w", kEcho, 5)};
    EXPECT_MESSAGES(expected, log);
}

TEST_F(MessageLogTest, ASendFromAnotherThreadIsSentAndWhatItsHandlingDispatchesIsPosted)
{
    HWND w = window.Handle();
    window.onMessage = [w](UINT message, WPARAM wParam, LPARAM) {
        if (message == kEcho) {
            PostMessageW(w, kProbe, wParam + 1, 0);
            Pump();
        }
    };
    FromAnotherThread([w] { SendMessageW(w, kEcho, 1, 0); });
    std::vector<MessageRecord> expected = {Sent("w", kEcho, 1), Posted("w", kProbe, 2)};
    EXPECT_MESSAGES(expected, log);
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
        SetWindowLongPtrW(window, GWLP_USERDATA, GetWindowLongPtrW(window, GWLP_USERDATA) + 1);
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(MessageLogWatchTest, AWatchedWindowGetsEveryMessageDuringAndAfterTheWatch)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MessageLogTestCounting";
    RegisterClassW(&windowClass);
    HWND counting = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, counting);
    {
        MessageLog log(kWParamField, kMainMessages);
        log.Keep([](UINT message) { return message == kProbe || message == kMsgNoteSaved; });
        log.Watch(counting, "main");
        SendMessageW(counting, kMsgNoteSaved, 1, 0);
        SendMessageW(counting, kProbe, 2, 0);
        std::vector<MessageRecord> expected = {{"", kMsgNoteSaved, 1}, {"", kProbe, 2}};
        EXPECT_MESSAGES(expected, log);
    }
    SendMessageW(counting, kProbe, 3, 0);
    EXPECT_EQ(2, GetWindowLongPtrW(counting, GWLP_USERDATA)) << "the window's own procedure got both";

    // Gone before its log: the log lets go of it.
    MessageLog log;
    log.Watch(counting, "main");
    DestroyWindow(counting);
    EXPECT_EQ(WM_NCDESTROY, log.back().message);
}

// The report of a failed comparison.
std::string Report(const std::vector<MessageRecord>& expected, const MessageSequence& actual)
{
    return SameMessages("expected", "actual", expected, actual).message();
}

// Its rows as "mark|expected|actual", the sides cut at the one column
// where every line of the report divides them.
std::vector<std::string> Rows(const std::string& report)
{
    std::vector<std::string> lines;
    for (size_t start = report.find('\n') + 1; start < report.size();) {
        size_t end = report.find('\n', start);
        lines.push_back(report.substr(start, end - start));
        start = end + 1;
    }
    size_t bar = lines.at(0).find(" | ");
    std::vector<std::string> rows;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_EQ(" | ", line.substr(bar, 3)) << line;
        std::string left = line.substr(4, bar - 4);
        left.erase(left.find_last_not_of(' ') + 1);
        std::string right = line.size() > bar + 3 ? line.substr(bar + 3) : "";
        rows.push_back(line.substr(2, 1) + "|" + left + "|" + right);
    }
    return rows;
}

TEST(MessageSequenceReportTest, ShowsBothSequencesSideBySideByNameAndMarksWhereTheyPart)
{
    MessageSequence actual(kAllFields, kInkMessages);
    actual.Add(Sent("I", kInkViewSetup));
    actual.Add(Sent("I", kInkSetZoom, 0, 150));
    actual.Add(Posted("C", kInkSetPageStyle, 16));
    actual.Add(Sent("I", kInkEmptyUndoBuffer));
    std::vector<MessageRecord> expected = {Sent("C", kInkGetInnerWindow), Sent("I", kInkViewSetup),
                                           Sent("I", kInkSetZoom, 0, 200), Sent("I", kInkEmptyUndoBuffer)};
    std::string report = Report(expected, actual);
    std::vector<std::string> rows = {
        "-|C kInkGetInnerWindow(1556) w=0 l=0 sent|",
        " |I kInkViewSetup(1356) w=0 l=0 sent|I kInkViewSetup(1356) w=0 l=0 sent",
        "!|I kInkSetZoom(1314) w=0 l=200 sent|I kInkSetZoom(1314) w=0 l=150 sent",
        "+||C kInkSetPageStyle(1311) w=16 l=0 posted",
        " |I kInkEmptyUndoBuffer(205) w=0 l=0 sent|I kInkEmptyUndoBuffer(205) w=0 l=0 sent",
    };
    EXPECT_EQ(rows, Rows(report)) << report;
}

TEST(MessageSequenceReportTest, ComparesAndNamesOnlyWhatTheSequenceIsAbout)
{
    MessageSequence toolbar(kWParamField, kToolbarMessages);
    toolbar.Add(Sent("bar", TB_ENABLEBUTTON, 7, 1234));
    EXPECT_TRUE(SameMessages("", "", {{"", TB_ENABLEBUTTON, 7}}, toolbar));
    EXPECT_NE(std::string::npos, Report({{"", TB_ENABLEBUTTON, 8}}, toolbar).find("TB_ENABLEBUTTON(1025) w=7\n"));

    // Numbers that two of the program's windows use alike carry both names.
    MessageSequence program;
    program.Add(Sent("main", kMsgOpenSharedNote));
    EXPECT_NE(std::string::npos, Report({}, program).find("kMsgOpenSharedNote|kMsgNoteDiscard(1125)"));
}

}  // namespace
