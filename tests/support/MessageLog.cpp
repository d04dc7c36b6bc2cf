#include "tests/support/MessageLog.h"

#include <commctrl.h>

#include <algorithm>

namespace {

// The message the thread's queue handed out last, until a recording
// procedure claims it or the next one is taken.
struct QueueWatch {
    HHOOK hook = nullptr;
    MSG taken = {};
    bool pending = false;
};
thread_local QueueWatch t_queue;

LRESULT CALLBACK TakenFromQueue(int code, WPARAM removal, LPARAM message)
{
    if (code == HC_ACTION && removal == PM_REMOVE) {
        t_queue.taken = *reinterpret_cast<const MSG*>(message);
        t_queue.pending = true;
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

// True once for the message the queue handed out: its first procedure.
bool ClaimTaken(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG& taken = t_queue.taken;
    if (!t_queue.pending || taken.hwnd != hwnd || taken.message != message || taken.wParam != wParam ||
        taken.lParam != lParam)
        return false;
    t_queue.pending = false;
    return true;
}

}  // namespace

MessageLog::MessageLog(unsigned fields, unsigned names) : MessageSequence(fields, names)
{
    WatchQueue();
}

MessageLog::~MessageLog()
{
    for (const auto& entry : watched_) {
        RemoveWindowSubclass(entry.first, WatchProc, reinterpret_cast<UINT_PTR>(this));
        delete entry.second;
    }
}

void MessageLog::WatchQueue()
{
    if (t_queue.hook == nullptr)
        t_queue.hook = SetWindowsHookExW(WH_GETMESSAGE, TakenFromQueue, nullptr, GetCurrentThreadId());
}

void MessageLog::Record(const char* window, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WatchQueue();
    bool posted = ClaimTaken(hwnd, message, wParam, lParam);
    if (keep_ && !keep_(message))
        return;
    Add(MessageRecord{window, message, wParam, lParam, posted, hwnd});
}

void MessageLog::Watch(HWND window, const char* name)
{
    Watched* watched = new Watched{this, name};
    if (!SetWindowSubclass(window, WatchProc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(watched))) {
        delete watched;
        ADD_FAILURE() << "cannot watch window " << window;
        return;
    }
    watched_.push_back({window, watched});
}

LRESULT CALLBACK MessageLog::WatchProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data)
{
    Watched* watched = reinterpret_cast<Watched*>(data);
    MessageLog* log = watched->log;
    log->Record(watched->name.c_str(), window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, WatchProc, id);
        auto& list = log->watched_;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [window](const std::pair<HWND, Watched*>& entry) { return entry.first == window; }),
                   list.end());
        delete watched;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}
