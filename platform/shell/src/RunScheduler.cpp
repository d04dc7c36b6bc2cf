#include "platform/shell/src/RunScheduler.h"

#include "platform/common/ProgramStartLimits.h"

namespace shell {

RunScheduler::RunScheduler(const wchar_t* storeKey, ProgramStarter starter, Clock clock)
    : store_(storeKey), starter_(starter), clock_(clock)
{
}

RunScheduler::~RunScheduler() = default;

bool RunScheduler::IsDue(const SYSTEMTIME& start, const FILETIME& now)
{
    FILETIME at;
    // A run with a time that is no date can never come; it is started at
    // once rather than left to sit in the list for ever.
    if (!SystemTimeToFileTime(&start, &at)) {
        return true;
    }
    return CompareFileTime(&at, &now) <= 0;
}

int RunScheduler::Poll()
{
    SYSTEMTIME nowTime;
    clock_(&nowTime);
    FILETIME now;
    if (!SystemTimeToFileTime(&nowTime, &now)) {
        return 0;
    }
    int started = 0;
    for (const CeTimedRun& run : store_.List()) {
        if (!IsDue(run.start, now)) {
            continue;
        }
        // Removed before the start, so that a program that cannot start (or
        // a shell that dies while starting it) does not start it again and
        // again; a run moved since the list was read stays for its new time.
        if (!store_.Take(run)) {
            continue;
        }
        // A run that no start can take is dropped before any starter sees
        // it, and the runs after it in this pass still start.
        if (!FitsProgramStart(run.application.c_str(), run.arguments.c_str())) {
            continue;
        }
        if (starter_(run.application, run.arguments)) {
            ++started;
        }
    }
    return started;
}

}  // namespace shell
