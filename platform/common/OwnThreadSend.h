// Whether the message now in a window procedure was sent by SendMessage on
// the window's own thread. A pointer in a message's parameters means
// something only then: posted, or sent from another thread or process, it is
// a number out of someone else's memory (the system copies the data of its
// own messages across, never of WM_NOTIFY or of WM_USER and above). Every
// window that reads through such a pointer asks FromOwnThread first and
// ignores the message otherwise.
//
// Win32 tells a send from another thread (InSendMessageEx) but not a posted
// message from a send on the same thread. So this thread's sends are seen on
// their way in by a WH_CALLWNDPROC hook, which the system calls for sent
// messages and never for posted ones being dispatched, and kept on a stack
// until their WH_CALLWNDPROCRET.
#pragma once

#include <windows.h>

#include <vector>

class OwnThreadSend {
public:
    // Watches this thread's sends from now on; call it on each thread before
    // it makes a window that asks FromOwnThread. Further calls do nothing.
    static void Watch()
    {
        ThreadState& state = State();
        if (state.before != nullptr)
            return;
        DWORD thread = GetCurrentThreadId();
        state.before = SetWindowsHookExW(WH_CALLWNDPROC, BeforeSend, nullptr, thread);
        state.after = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterSend, nullptr, thread);
        Lock lock;
        for (HHOOK hook : {state.before, state.after}) {
            if (hook != nullptr)
                Hooks().push_back(hook);
        }
    }

    // Takes every thread's hooks off: a library that made them calls this
    // before it unloads, so that no hook points into code that is gone.
    static void UnwatchAll()
    {
        Lock lock;
        for (HHOOK hook : Hooks())
            UnhookWindowsHookEx(hook);
        Hooks().clear();
    }

    // Holds the watch off on this thread for a scope that sends a great many
    // messages to windows that take no pointers (filling a long list): under
    // Wine every watched send costs the thread a round trip to the server.
    // A pointer message that arrives meanwhile is taken for foreign. The
    // sends in progress when the scope begins enclose it, so none of them
    // ends unseen.
    class Pause {
    public:
        Pause()
        {
            ThreadState& state = State();
            if (state.before == nullptr)
                return;
            paused = true;
            Lock lock;
            for (HHOOK* hook : {&state.before, &state.after}) {
                if (*hook == nullptr)
                    continue;
                UnhookWindowsHookEx(*hook);
                std::vector<HHOOK>& hooks = Hooks();
                for (size_t i = 0; i < hooks.size(); ++i) {
                    if (hooks[i] == *hook) {
                        hooks.erase(hooks.begin() + i);
                        break;
                    }
                }
                *hook = nullptr;
            }
        }
        ~Pause()
        {
            if (paused)
                Watch();
        }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        bool paused = false;
    };

    // True when window's procedure is now handling exactly this message
    // because code on this thread sent it. Only this thread's sends are
    // kept, so a posted message or a send from elsewhere is never found.
    static bool FromOwnThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const ThreadState& state = State();
        for (int i = state.depth - 1; i >= 0; --i) {
            const Sent& sent = state.sends[i];
            if (sent.window == window && sent.message == message && sent.wParam == wParam &&
                sent.lParam == lParam)
                return true;
        }
        return false;
    }

private:
    struct Sent {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    // Sends nest as deep as window procedures call each other; past this
    // depth they are only counted, and a message there is taken for foreign.
    static constexpr int kDepth = 64;

    struct ThreadState {
        HHOOK before = nullptr;
        HHOOK after = nullptr;
        Sent sends[kDepth];
        int depth = 0;
        int uncounted = 0;
    };

    static ThreadState& State()
    {
        static thread_local ThreadState state;
        return state;
    }

    // The hook's wParam is non-zero for a message sent by this thread.
    static LRESULT CALLBACK BeforeSend(int code, WPARAM sentHere, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sentHere != 0 && message != nullptr) {
            ThreadState& state = State();
            if (state.depth < kDepth)
                state.sends[state.depth++] = {message->hwnd, message->message, message->wParam, message->lParam};
            else
                ++state.uncounted;
        }
        return CallNextHookEx(nullptr, code, sentHere, lParam);
    }

    static LRESULT CALLBACK AfterSend(int code, WPARAM sentHere, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && sentHere != 0 && message != nullptr)
            Finish(State(), *message);
        return CallNextHookEx(nullptr, code, sentHere, lParam);
    }

    static void Finish(ThreadState& state, const CWPRETSTRUCT& message)
    {
        if (state.uncounted > 0) {
            --state.uncounted;
            return;
        }
        // Normally the top one; a send that began before the hook was set
        // has no entry and takes none away.
        for (int i = state.depth - 1; i >= 0; --i) {
            const Sent& sent = state.sends[i];
            if (sent.window == message.hwnd && sent.message == message.message &&
                sent.wParam == message.wParam && sent.lParam == message.lParam) {
                for (int j = i; j + 1 < state.depth; ++j)
                    state.sends[j] = state.sends[j + 1];
                --state.depth;
                return;
            }
        }
    }

    static std::vector<HHOOK>& Hooks()
    {
        static std::vector<HHOOK> hooks;
        return hooks;
    }

    // Threads of one module share the list of hooks to take off.
    class Lock {
    public:
        Lock() { EnterCriticalSection(Section()); }
        ~Lock() { LeaveCriticalSection(Section()); }

    private:
        static CRITICAL_SECTION* Section()
        {
            static CRITICAL_SECTION section;
            static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
            InitOnceExecuteOnce(&once, Initialize, &section, nullptr);
            return &section;
        }
        static BOOL CALLBACK Initialize(PINIT_ONCE, PVOID section, PVOID*)
        {
            InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(section));
            return TRUE;
        }
    };
};
