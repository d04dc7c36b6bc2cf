// The shell's timed runs: what is due starts once, what is not waits, and
// the list outlives the scheduler (a restart of the shell).
#include "platform/shell/src/RunScheduler.h"
#include "tests/platform/shell/ShellTestSupport.h"
#include "tests/support/TestTimes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const wchar_t kStoreKey[] = L"SOFTWARE\\JotlingsTests\\TimedRuns";

SYSTEMTIME clockNow;
std::vector<std::pair<std::wstring, std::wstring>> started;

void FakeClock(SYSTEMTIME* now)
{
    *now = clockNow;
}

bool RecordStart(const std::wstring& program, const std::wstring& arguments)
{
    started.push_back({program, arguments});
    return true;
}

SYSTEMTIME At(WORD hour, WORD minute)
{
    return Time(2026, 3, 9, hour, minute);
}

CeTimedRun MakeRun(const wchar_t* program, const wchar_t* arguments, SYSTEMTIME start)
{
    CeTimedRun run;
    run.application = program;
    run.arguments = arguments;
    run.start = start;
    return run;
}

class RunSchedulerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shelltest::DeleteKey(kStoreKey);
        started.clear();
        clockNow = At(10, 0);
    }
    void TearDown() override { shelltest::DeleteKey(kStoreKey); }

    CeRunStore store_{kStoreKey};
};

TEST_F(RunSchedulerTest, StartsARunAtItsTimeWithItsArgumentsOnce)
{
    DWORD handle = store_.Add(MakeRun(L"C:\\a.exe", L"AppRunAtTime", At(10, 5)));
    ASSERT_NE(0u, handle);
    shell::RunScheduler scheduler(kStoreKey, RecordStart, FakeClock);

    EXPECT_EQ(0, scheduler.Poll());
    clockNow = At(10, 4);
    EXPECT_EQ(0, scheduler.Poll());
    EXPECT_TRUE(started.empty());

    clockNow = At(10, 5);
    EXPECT_EQ(1, scheduler.Poll());
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(L"C:\\a.exe", started[0].first);
    EXPECT_EQ(L"AppRunAtTime", started[0].second);
    EXPECT_FALSE(store_.Exists(handle));

    clockNow = At(10, 6);
    EXPECT_EQ(0, scheduler.Poll());
    EXPECT_EQ(1u, started.size());
}

TEST_F(RunSchedulerTest, StartsOnlyTheRunsThatAreDue)
{
    store_.Add(MakeRun(L"C:\\late.exe", L"", At(11, 0)));
    store_.Add(MakeRun(L"C:\\early.exe", L"x", At(9, 0)));
    shell::RunScheduler scheduler(kStoreKey, RecordStart, FakeClock);
    EXPECT_EQ(1, scheduler.Poll());
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(L"C:\\early.exe", started[0].first);
    EXPECT_EQ(1u, store_.List().size());
    // The shell sleeps until the run left, and no longer.
    EXPECT_EQ(60u * 60 * 1000, scheduler.MsToNextRun());
    store_.Add(MakeRun(L"C:\\soon.exe", L"", Time(2026, 3, 9, 10, 0, 30)));
    scheduler.Poll();
    EXPECT_EQ(30u * 1000, scheduler.MsToNextRun());
}

TEST_F(RunSchedulerTest, ARunMissedWhileTheShellWasDownStartsAtTheNextStart)
{
    {
        shell::RunScheduler before(kStoreKey, RecordStart, FakeClock);
        store_.Add(MakeRun(L"C:\\a.exe", L"AppRunAtTime", At(10, 30)));
        EXPECT_EQ(0, before.Poll());
    }
    // The shell is gone while the time passes; a new one finds the run.
    clockNow = At(12, 0);
    shell::RunScheduler after(kStoreKey, RecordStart, FakeClock);
    EXPECT_EQ(1, after.Poll());
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(L"AppRunAtTime", started[0].second);
}

TEST_F(RunSchedulerTest, AReplacedRunStartsOnlyAtItsNewTimeAndAClearedOneNever)
{
    DWORD moved = store_.Add(MakeRun(L"C:\\a.exe", L"old", At(10, 1)));
    DWORD cleared = store_.Add(MakeRun(L"C:\\b.exe", L"", At(10, 2)));
    ASSERT_TRUE(store_.Replace(moved, MakeRun(L"C:\\a.exe", L"new", At(10, 30))));
    ASSERT_TRUE(store_.Remove(cleared));
    EXPECT_FALSE(store_.Replace(cleared, MakeRun(L"C:\\b.exe", L"", At(10, 3))));

    shell::RunScheduler scheduler(kStoreKey, RecordStart, FakeClock);
    clockNow = At(10, 10);
    EXPECT_EQ(0, scheduler.Poll());
    clockNow = At(10, 30);
    EXPECT_EQ(1, scheduler.Poll());
    ASSERT_EQ(1u, started.size());
    EXPECT_EQ(L"new", started[0].second);
}

// A Today item moves its run to the note's new time while the shell's poll
// is between reading the list and taking what was due: the moved run stays,
// for its new time.
CeRunStore* movingStore = nullptr;
DWORD runA = 0;
DWORD runB = 0;

// Starts a run and, at the first start, moves the other one to 11:00.
bool StartAndMoveTheOther(const std::wstring& program, const std::wstring& arguments)
{
    if (started.empty()) {
        DWORD other = program == L"C:\\a.exe" ? runB : runA;
        movingStore->Replace(other, MakeRun(L"C:\\moved.exe", L"AppRunAtTime", At(11, 0)));
    }
    return RecordStart(program, arguments);
}

TEST_F(RunSchedulerTest, ARunMovedDuringAPollStaysForItsNewTime)
{
    runA = store_.Add(MakeRun(L"C:\\a.exe", L"", At(9, 0)));
    runB = store_.Add(MakeRun(L"C:\\b.exe", L"", At(9, 0)));
    ASSERT_NE(0u, runA);
    ASSERT_NE(0u, runB);
    movingStore = &store_;
    shell::RunScheduler scheduler(kStoreKey, StartAndMoveTheOther, FakeClock);
    EXPECT_EQ(1, scheduler.Poll());
    ASSERT_EQ(1u, started.size());
    std::vector<CeTimedRun> left = store_.List();
    ASSERT_EQ(1u, left.size()) << "the poll removed a run moved after it read the list";
    EXPECT_EQ(L"C:\\moved.exe", left[0].application);
    EXPECT_EQ(11, left[0].start.wHour);

    clockNow = At(11, 0);
    EXPECT_EQ(1, scheduler.Poll());
    ASSERT_EQ(2u, started.size());
    EXPECT_EQ(L"C:\\moved.exe", started[1].first);
}

TEST_F(RunSchedulerTest, AStoreWhoseLockIsHeldElsewhereChangesNothing)
{
    DWORD handle = store_.Add(MakeRun(L"C:\\a.exe", L"AppRunAtTime", At(9, 0)));
    ASSERT_NE(0u, handle);
    // Another process of the device holds the list (here: another thread).
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Holder { HANDLE held, release; } holder = {held, release};
    HANDLE thread = CreateThread(nullptr, 0, [](void* p) -> DWORD {
        auto* h = static_cast<Holder*>(p);
        HANDLE lock = CreateMutexW(nullptr, FALSE, L"CeRunStoreLock");
        WaitForSingleObject(lock, INFINITE);
        SetEvent(h->held);
        WaitForSingleObject(h->release, INFINITE);
        ReleaseMutex(lock);
        CloseHandle(lock);
        return 0;
    }, &holder, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(held, INFINITE);

    EXPECT_FALSE(store_.Replace(handle, MakeRun(L"C:\\a.exe", L"AppRunAtTime", At(12, 0))));
    EXPECT_FALSE(store_.Remove(handle));
    SetEvent(release);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(held);
    CloseHandle(release);

    std::vector<CeTimedRun> left = store_.List();
    ASSERT_EQ(1u, left.size());
    EXPECT_EQ(9, left[0].start.wHour);
}

// Holds the device's run-store lock on a thread of its own, as another
// program would, until it is let go.
class LockHolder {
public:
    LockHolder()
    {
        thread_ = CreateThread(nullptr, 0, [](void* p) -> DWORD {
            auto* self = static_cast<LockHolder*>(p);
            HANDLE lock = CreateMutexW(nullptr, FALSE, L"CeRunStoreLock");
            WaitForSingleObject(lock, INFINITE);
            SetEvent(self->held_);
            WaitForSingleObject(self->release_, INFINITE);
            ReleaseMutex(lock);
            CloseHandle(lock);
            return 0;
        }, this, 0, nullptr);
        WaitForSingleObject(held_, 10000);
    }
    ~LockHolder()
    {
        SetEvent(release_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(held_);
        CloseHandle(release_);
    }

private:
    HANDLE held_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread_ = nullptr;
};

// Another program can take the lock and keep it. The scheduler polls on the
// shell's user-interface thread: it waits a frame a poll, no longer, and
// after a few polls starts the due run without the lock.
TEST_F(RunSchedulerTest, ALockKeptByAnotherProgramHoldsNeitherTheShellNorTheAlarm)
{
    ASSERT_NE(0u, store_.Add(MakeRun(L"C:\\a.exe", L"AppRunAtTime", At(9, 0))));
    {
        LockHolder holder;
        shell::RunScheduler scheduler(kStoreKey, RecordStart, FakeClock);
        for (int poll = 0; poll < 5 && started.empty(); ++poll)
            scheduler.Poll();
        ASSERT_EQ(1u, started.size()) << "no run came while the lock was held";
        EXPECT_EQ(L"C:\\a.exe", started[0].first);
        scheduler.Poll();
        EXPECT_EQ(1u, started.size()) << "the run was taken";
    }
    EXPECT_TRUE(store_.List().empty());
}

TEST_F(RunSchedulerTest, AnUnreadableEntryIsPassedOver)
{
    // A run still being written (no start time yet) is not started, nor
    // does it stop the others.
    shelltest::WriteDword(std::wstring(kStoreKey) + L"\\00000099", L"Junk", 1);
    store_.Add(MakeRun(L"C:\\a.exe", L"", At(9, 0)));
    shell::RunScheduler scheduler(kStoreKey, RecordStart, FakeClock);
    EXPECT_EQ(1, scheduler.Poll());
    EXPECT_EQ(1u, started.size());
}

TEST_F(RunSchedulerTest, ARunTooLongToStartIsDroppedAndTheOthersOfThePassStart)
{
    std::wstring hugePath = L"C:\\" + std::wstring(5000, L'a') + L".exe";
    std::wstring longestPath = L"C:\\" + std::wstring(252, L'b') + L".exe";  // 259
    std::wstring pathOfMaxPath = L"C:\\" + std::wstring(253, L'c') + L".exe";  // 260
    // "C:\ok.exe" quoted, a space, the arguments and the terminator: 32,767.
    std::wstring longestArguments(32767 - 11 - 1 - 1, L'x');
    store_.Add(MakeRun(L"C:\\first.exe", L"", At(9, 0)));
    store_.Add(MakeRun(hugePath.c_str(), L"AppRunAtTime", At(9, 1)));
    store_.Add(MakeRun(pathOfMaxPath.c_str(), L"", At(9, 1)));
    store_.Add(MakeRun(L"C:\\ok.exe", (longestArguments + L"x").c_str(), At(9, 1)));
    store_.Add(MakeRun(longestPath.c_str(), L"", At(9, 2)));
    store_.Add(MakeRun(L"C:\\ok.exe", longestArguments.c_str(), At(9, 3)));
    store_.Add(MakeRun(L"C:\\last.exe", L"AppRunAtTime", At(9, 4)));

    shell::RunScheduler scheduler(kStoreKey, RecordStart, FakeClock);
    EXPECT_EQ(4, scheduler.Poll());
    std::vector<std::wstring> programs;
    for (const auto& start : started) {
        programs.push_back(start.first);
    }
    std::sort(programs.begin(), programs.end());
    std::vector<std::wstring> expected = {longestPath, L"C:\\first.exe", L"C:\\last.exe",
                                          L"C:\\ok.exe"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, programs);
    // The refused ones are gone like runs whose program cannot start.
    EXPECT_TRUE(store_.List().empty());

    // The shell's own starter refuses before the system sees the path.
    EXPECT_FALSE(shell::StartProgram(hugePath, L""));
    EXPECT_FALSE(shell::StartProgram(L"C:\\ok.exe", longestArguments + L"x"));
}

}  // namespace
