// The timed-run client calls: what they leave in the device's run list.
#include "CeRunStore.h"
#include "notify.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

SYSTEMTIME At(WORD day, WORD hour, WORD minute)
{
    SYSTEMTIME time = {};
    time.wYear = 2030;
    time.wMonth = 5;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    return time;
}

CE_NOTIFICATION_TRIGGER Trigger(const wchar_t* program, const wchar_t* arguments, SYSTEMTIME at)
{
    CE_NOTIFICATION_TRIGGER trigger = {};
    trigger.dwSize = sizeof(trigger);
    trigger.dwType = CNT_TIME;
    trigger.lpszApplication = const_cast<wchar_t*>(program);
    trigger.lpszArguments = const_cast<wchar_t*>(arguments);
    trigger.stStartTime = at;
    trigger.stEndTime = at;
    return trigger;
}

bool FindRun(HANDLE handle, CeTimedRun& out)
{
    for (const CeTimedRun& run : CeRunStore().List()) {
        if (run.handle == static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(handle))) {
            out = run;
            return true;
        }
    }
    return false;
}

class UserNotificationTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (HANDLE handle : made_) {
            CeClearUserNotification(handle);
        }
    }
    HANDLE Keep(HANDLE handle)
    {
        made_.push_back(handle);
        return handle;
    }
    std::vector<HANDLE> made_;
};

TEST_F(UserNotificationTest, ATimedRunIsKeptWithProgramArgumentsAndTime)
{
    CE_NOTIFICATION_TRIGGER trigger = Trigger(L"C:\\Program Files\\Jotlings\\Jotlings.exe",
                                              L"AppRunAtTime", At(9, 14, 5));
    HANDLE handle = Keep(CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    ASSERT_NE(nullptr, handle);
    CeTimedRun run;
    ASSERT_TRUE(FindRun(handle, run));
    EXPECT_EQ(L"C:\\Program Files\\Jotlings\\Jotlings.exe", run.application);
    EXPECT_EQ(L"AppRunAtTime", run.arguments);
    EXPECT_EQ(2030, run.start.wYear);
    EXPECT_EQ(9, run.start.wDay);
    EXPECT_EQ(14, run.start.wHour);
    EXPECT_EQ(5, run.start.wMinute);
}

TEST_F(UserNotificationTest, TheHandheldsOwnTriggerSizeIsAccepted)
{
    CE_NOTIFICATION_TRIGGER trigger = Trigger(L"C:\\a.exe", L"AppRunAtTime", At(9, 14, 5));
    trigger.dwSize = 52;
    HANDLE handle = Keep(CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    ASSERT_NE(nullptr, handle);
    CeTimedRun run;
    EXPECT_TRUE(FindRun(handle, run));
}

TEST_F(UserNotificationTest, PassingThePreviousHandleReplacesItsRun)
{
    CE_NOTIFICATION_TRIGGER first = Trigger(L"C:\\a.exe", L"AppRunAtTime", At(9, 14, 5));
    HANDLE handle = Keep(CeSetUserNotificationEx(nullptr, &first, nullptr));
    size_t before = CeRunStore().List().size();
    CE_NOTIFICATION_TRIGGER second = Trigger(L"C:\\a.exe", L"AppRunAtTime", At(8, 9, 0));
    HANDLE replaced = Keep(CeSetUserNotificationEx(handle, &second, nullptr));
    EXPECT_EQ(handle, replaced);
    EXPECT_EQ(before, CeRunStore().List().size());
    CeTimedRun run;
    ASSERT_TRUE(FindRun(replaced, run));
    EXPECT_EQ(8, run.start.wDay);
    EXPECT_EQ(9, run.start.wHour);
}

TEST_F(UserNotificationTest, AClearedHandleIsGoneAndReplacingItMakesANewRun)
{
    CE_NOTIFICATION_TRIGGER trigger = Trigger(L"C:\\a.exe", nullptr, At(9, 14, 5));
    HANDLE handle = CeSetUserNotificationEx(nullptr, &trigger, nullptr);
    ASSERT_NE(nullptr, handle);
    EXPECT_TRUE(CeClearUserNotification(handle));
    CeTimedRun run;
    EXPECT_FALSE(FindRun(handle, run));
    EXPECT_FALSE(CeClearUserNotification(handle));

    HANDLE fresh = Keep(CeSetUserNotificationEx(handle, &trigger, nullptr));
    ASSERT_NE(nullptr, fresh);
    ASSERT_TRUE(FindRun(fresh, run));
    EXPECT_EQ(L"", run.arguments);
}

TEST_F(UserNotificationTest, TwoRunsGetTwoHandles)
{
    CE_NOTIFICATION_TRIGGER trigger = Trigger(L"C:\\a.exe", L"", At(9, 14, 5));
    HANDLE one = Keep(CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    HANDLE two = Keep(CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    ASSERT_NE(nullptr, one);
    ASSERT_NE(nullptr, two);
    EXPECT_NE(one, two);
    EXPECT_TRUE(CeClearUserNotification(one));
    CeTimedRun run;
    EXPECT_TRUE(FindRun(two, run));
}

TEST_F(UserNotificationTest, BadTriggersAreRefusedAndLeaveNoRun)
{
    size_t before = CeRunStore().List().size();
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, nullptr, nullptr));

    CE_NOTIFICATION_TRIGGER trigger = Trigger(L"C:\\a.exe", L"", At(9, 14, 5));
    trigger.dwSize = 0;
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    trigger.dwSize = 48;
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));

    trigger = Trigger(L"C:\\a.exe", L"", At(9, 14, 5));
    trigger.dwType = CNT_EVENT;
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));

    trigger = Trigger(nullptr, L"", At(9, 14, 5));
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));

    trigger = Trigger(L"C:\\a.exe", L"", At(9, 14, 5));
    trigger.stStartTime.wMonth = 13;
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

    trigger = Trigger(L"C:\\a.exe", L"", At(9, 14, 5));
    CE_USER_NOTIFICATION dialog = {};
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &trigger, &dialog));

    EXPECT_EQ(before, CeRunStore().List().size());
    EXPECT_FALSE(CeClearUserNotification(nullptr));
    EXPECT_FALSE(CeClearUserNotification(INVALID_HANDLE_VALUE));
}

TEST_F(UserNotificationTest, PendingRunsAreListedAndReadBackWholeInOneBuffer)
{
    CE_NOTIFICATION_TRIGGER timed = Trigger(L"C:\\Jotlings.exe", L"AppRunAtTime", At(9, 14, 5));
    HANDLE handle = Keep(CeSetUserNotificationEx(nullptr, &timed, nullptr));
    DWORD count = 0;
    EXPECT_FALSE(CeGetUserNotificationHandles(nullptr, 0, &count));
    std::vector<HANDLE> handles(count);
    ASSERT_TRUE(CeGetUserNotificationHandles(handles.data(), count, &count));
    EXPECT_NE(std::find(handles.begin(), handles.end(), handle), handles.end());

    DWORD size = 0;
    EXPECT_FALSE(CeGetUserNotification(handle, 0, &size, nullptr));
    std::vector<ULONG_PTR> buffer(size / sizeof(ULONG_PTR) + 1);
    ASSERT_TRUE(CeGetUserNotification(handle, size, &size, reinterpret_cast<BYTE*>(buffer.data())));
    auto inside = [&](const void* p) {
        return reinterpret_cast<ULONG_PTR>(p) - reinterpret_cast<ULONG_PTR>(buffer.data()) < size;
    };
    const auto* header = reinterpret_cast<const CE_NOTIFICATION_INFO_HEADER*>(buffer.data());
    const CE_NOTIFICATION_TRIGGER* trigger = header->pcent;
    EXPECT_EQ(handle, header->hNotification);
    ASSERT_TRUE(inside(trigger) && inside(trigger->lpszApplication) && inside(trigger->lpszArguments))
        << "the trigger and its strings lie in the buffer";
    EXPECT_STREQ(L"C:\\Jotlings.exe", trigger->lpszApplication);
    EXPECT_STREQ(L"AppRunAtTime", trigger->lpszArguments);
    EXPECT_EQ(0, memcmp(&timed.stStartTime, &trigger->stStartTime, sizeof(SYSTEMTIME)));
}

TEST_F(UserNotificationTest, ReadingRefusesHandlesOfNoRunAndBuffersTooSmall)
{
    CE_NOTIFICATION_TRIGGER trigger = Trigger(L"C:\\a.exe", L"AppRunAtTime", At(9, 14, 5));
    HANDLE handle = Keep(CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    DWORD needed = 0, again = 0;
    CeGetUserNotification(handle, 0, &needed, nullptr);
    std::vector<BYTE> small(needed - 1, 0xCD);
    EXPECT_FALSE(CeGetUserNotification(handle, needed - 1, &again, small.data()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(needed, again);
    EXPECT_EQ(std::vector<BYTE>(needed - 1, 0xCD), small) << "nothing is written into a small buffer";

    HANDLE cleared = CeSetUserNotificationEx(nullptr, &trigger, nullptr);
    ASSERT_TRUE(CeClearUserNotification(cleared));
    std::vector<ULONG_PTR> room(64);
    for (HANDLE none : {HANDLE(nullptr), INVALID_HANDLE_VALUE, cleared}) {
        EXPECT_FALSE(CeGetUserNotification(none, 512, &needed, reinterpret_cast<BYTE*>(room.data())));
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
        EXPECT_EQ(0u, needed);
    }
    EXPECT_FALSE(CeGetUserNotificationHandles(nullptr, 3, &needed));
}

// Another program keeps the run list's lock. A thread whose give-up event
// is set is not held by the wait, and the calls fail: a list that could not
// be read is not an empty list, and a run that could not be written has no
// handle.
TEST_F(UserNotificationTest, ALockKeptByAnotherProgramFailsTheCallsAndAGiveUpEndsTheWait)
{
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Holder {
        HANDLE release, held;
    } holder{release, held};
    HANDLE thread = CreateThread(nullptr, 0, [](void* self) -> DWORD {
        auto* holder = static_cast<Holder*>(self);
        HANDLE lock = CreateMutexW(nullptr, TRUE, L"CeRunStoreLock");
        SetEvent(holder->held);
        WaitForSingleObject(holder->release, INFINITE);
        ReleaseMutex(lock);
        CloseHandle(lock);
        return 0;
    }, &holder, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(held, 5000));

    HANDLE giveUp = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    CeRunStore::GiveUpOn(giveUp);
    ULONGLONG before = GetTickCount64();
    std::vector<HANDLE> handles(8);
    DWORD count = 99;
    EXPECT_FALSE(CeGetUserNotificationHandles(handles.data(), 8, &count)) << "no list read as an empty one";
    EXPECT_EQ(static_cast<DWORD>(ERROR_TIMEOUT), GetLastError());
    CE_NOTIFICATION_TRIGGER trigger = Trigger(L"C:\\Jotlings.exe", L"AppRunAtTime", At(9, 14, 5));
    EXPECT_EQ(nullptr, CeSetUserNotificationEx(nullptr, &trigger, nullptr));
    EXPECT_LT(GetTickCount64() - before, 200u) << "the waits went on after the give-up";
    CeRunStore::GiveUpOn(nullptr);

    SetEvent(release);
    WaitForSingleObject(thread, INFINITE);
    EXPECT_TRUE(CeGetUserNotificationHandles(handles.data(), 8, &count) || count > 8);
    for (HANDLE handle : {thread, release, held, giveUp})
        CloseHandle(handle);
}

TEST(CeRunStoreTime, IsKeptAsSixteenLittleEndianBytes)
{
    SYSTEMTIME time = {2026, 12, 2, 8, 23, 59, 58, 999};
    BYTE bytes[16];
    CeRunStore::WriteTime(time, bytes);
    EXPECT_EQ(0xEA, bytes[0]);  // 2026 = 0x07EA
    EXPECT_EQ(0x07, bytes[1]);
    EXPECT_EQ(12, bytes[2]);
    EXPECT_EQ(23, bytes[8]);
    EXPECT_EQ(0xE7, bytes[14]);  // 999 = 0x03E7
    EXPECT_EQ(0x03, bytes[15]);
    SYSTEMTIME back = CeRunStore::ReadTime(bytes);
    EXPECT_EQ(0, memcmp(&time, &back, sizeof(time)));
}

}  // namespace
