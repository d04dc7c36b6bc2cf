// The store's request rules on their own: what a request waits behind,
// how waiting requests merge, when they are told they may run and what
// each may do then, and which damaged alarms the checks leave alone.
#include "notestore/NoteRequests.h"

#include "process/MainMessages.h"
#include "process/UserPrompt.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestWindow.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

typedef NoteRequests::Kind Kind;

NoteRequests::Screen Alarm()
{
    NoteRequests::Screen screen;
    screen.noteShown = true;
    screen.alarm = true;
    return screen;
}

NoteRequests::Screen Closing()
{
    NoteRequests::Screen screen;
    screen.noteShown = true;
    screen.noteClosing = true;
    return screen;
}

std::function<void()> g_whileAsked;
int AnswerAfterWhileAsked(HWND, const wchar_t*, const wchar_t*, UINT)
{
    g_whileAsked();
    return IDOK;
}

class NoteRequestsTest : public ::testing::Test {
protected:
    void SetUp() override { requests.Attach(main.Handle()); }
    void TearDown() override
    {
        SetAskUserFunction(nullptr);
        SetPromptAnsweredNotice(nullptr, 0);
    }

    // How many times the main window was told that waiting requests may run.
    size_t Notices()
    {
        Pump();
        size_t count = main.log.Count(kMsgRunDeferred);
        main.log.Clear();
        return count;
    }

    TestWindow main;
    NoteRequests requests;
    NoteEntryList listed;
};

}  // namespace

TEST_F(NoteRequestsTest, WaitingRequestsMergeAndRunOnlyOnceNothingHoldsThemUp)
{
    TempFolder folder;
    std::wstring due = folder.File(L"Jotling0.jot");
    std::wstring gone = folder.File(L"Jotling1.jot");
    listed.Append(due.c_str(), NoteHead());

    NoteRequests::Request next;
    {
        NoteRequests::Scope outer(requests);
        NoteRequests::Scope inner(requests);
        EXPECT_TRUE(requests.MustWait({}));
        requests.Defer({Kind::Check, false, L""});
        requests.Defer({Kind::Open, false, due});
        requests.Defer({Kind::Check, true, due});
        requests.Defer({Kind::New, true, L""});
        EXPECT_FALSE(requests.TakeNext({}, listed, &next)) << "a request is under way";
    }
    EXPECT_EQ(1u, Notices()) << "told once, when the last request under way ended";

    EXPECT_TRUE(requests.MustWait(Closing()));
    EXPECT_FALSE(requests.TakeNext(Closing(), listed, &next)) << "the note window is closing";

    // The checks became one forced check, which runs behind an alarm too.
    ASSERT_TRUE(requests.TakeNext(Alarm(), listed, &next));
    EXPECT_EQ(Kind::Check, next.kind);
    EXPECT_TRUE(next.flag) << "its note is still listed";
    // The new note replaced the open, and waits for the alarm to close.
    EXPECT_FALSE(requests.TakeNext(Alarm(), listed, &next));
    ASSERT_TRUE(requests.TakeNext({}, listed, &next));
    EXPECT_EQ(Kind::New, next.kind);
    EXPECT_TRUE(next.flag) << "from the record button";
    EXPECT_FALSE(requests.TakeNext({}, listed, &next)) << "nothing else waited";
    requests.PostWaiting();
    EXPECT_EQ(0u, Notices());

    requests.Defer({Kind::Check, true, gone});
    requests.PostWaiting();
    EXPECT_EQ(1u, Notices());
    ASSERT_TRUE(requests.TakeNext({}, listed, &next));
    EXPECT_FALSE(next.flag) << "a forced check whose note is gone runs as a plain one";
}

TEST_F(NoteRequestsTest, AQuestionOnScreenHoldsRequestsUpUntilItIsAnswered)
{
    bool waitedWhileAsked = false;
    g_whileAsked = [&] { waitedWhileAsked = requests.MustWait({}); };
    SetAskUserFunction(AnswerAfterWhileAsked);
    EXPECT_FALSE(requests.MustWait({}));
    AskUser(main.Handle(), L"Sure?", L"Jotlings", MB_OK);
    EXPECT_TRUE(waitedWhileAsked);
    EXPECT_FALSE(requests.MustWait({}));
    EXPECT_EQ(1u, Notices()) << "told when the question was answered";
}

TEST_F(NoteRequestsTest, AlarmsComeOneAtATime)
{
    EXPECT_TRUE(requests.CheckWaitsForAlarm(Alarm()));
    EXPECT_FALSE(requests.CheckDueOnClose(Alarm())) << "not while a note is on screen";
    EXPECT_TRUE(requests.CheckDueOnClose({})) << "the check that waited runs when the alarm closes";
    EXPECT_FALSE(requests.CheckWaitsForAlarm({}));
    EXPECT_FALSE(requests.CheckDueOnClose({})) << "a check ran: nothing waits";
    requests.SetMoreDue(true);
    EXPECT_TRUE(requests.CheckDueOnClose({}));
}

TEST_F(NoteRequestsTest, DamagedAlarmIsLeftAloneUntilAnotherFileTakesItsName)
{
    TempFolder folder;
    std::wstring damaged = folder.File(L"Jotling0.jot");
    std::wstring missing = folder.File(L"Jotling1.jot");
    WriteBytes(damaged, std::string(100, 'x'));
    EXPECT_FALSE(NoteRequests::IsDamagedAlarm(damaged.c_str()));
    NoteRequests::RememberDamagedAlarm(damaged.c_str());
    NoteRequests::RememberDamagedAlarm(missing.c_str());
    EXPECT_TRUE(NoteRequests::IsDamagedAlarm(damaged.c_str()));
    EXPECT_TRUE(NoteRequests::IsDamagedAlarm(missing.c_str()));
    EXPECT_FALSE(NoteRequests::IsDamagedAlarm(nullptr));

    WriteBytes(damaged, std::string(600, 'x'));
    WriteBytes(missing, std::string(100, 'x'));
    EXPECT_FALSE(NoteRequests::IsDamagedAlarm(damaged.c_str())) << "another file under the name";
    EXPECT_FALSE(NoteRequests::IsDamagedAlarm(missing.c_str())) << "a file where there was none";
    WriteBytes(damaged, std::string(100, 'x'));
    EXPECT_FALSE(NoteRequests::IsDamagedAlarm(damaged.c_str())) << "forgotten once it changed";
}
