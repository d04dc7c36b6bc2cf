// Whether the message now in a window procedure was sent by SendMessage on
// the window's own thread. A pointer in a message's parameters means
// something only then: posted, or sent from another thread or process, it is
// a number out of someone else's memory (the system copies the data of its
// own messages across, never of WM_NOTIFY or of WM_USER and above). Every
// window that reads through such a pointer asks FromOwnThread first and
// ignores the message otherwise.
//
// Win32 tells a send from another thread (InSendMessageEx) but not a posted
// message from a send on the same thread, and once a thread is inside a send
// from elsewhere, InSendMessageEx says so for everything the thread does
// until that send returns, its own sends included. So:
//  - a message taken from the queue is seen on its way out by a WH_GETMESSAGE
//    hook, and its handling by the window procedure it enters (an Entry on
//    every window procedure of ours counts the procedures under way); while
//    the thread handles no send from elsewhere, a message is its own unless
//    it is the one taken from the queue, in the procedures that handle it;
//  - a send from elsewhere is noticed when it enters one of our window
//    procedures; for as long as it lasts, and only then, the thread's sends
//    are watched one by one (WH_CALLWNDPROC and its RET), and the message
//    being handled is the thread's own when the innermost send under way is
//    one the thread made.
// Under Wine every call of a hook is a round trip to the server: ordinary
// sends, which are most of what a window does, pass no hook at all.
//
// The state is the thread's, shared by every module of the process that
// asks (the program, InkX.dll, a Today item): a send from another program
// may enter the main window and go on, within the thread, into the ink
// control. The modules find it through one thread-local slot whose index the
// first of them publishes in the process's environment.
#pragma once

#include <windows.h>

#include <vector>

class OwnThreadSend {
    struct ThreadState;

public:
    // Watches this thread from now on; call it on each thread before it
    // makes a window that asks FromOwnThread. Further calls do nothing.
    static void Watch()
    {
        ThreadState* state = State(true);
        if (state == nullptr || state->queueHook != nullptr)
            return;
        state->queueHook = SetWindowsHookExW(WH_GETMESSAGE, TakenFromQueue, nullptr, GetCurrentThreadId());
        state->queueHookModule = ThisModule();
        state->takenKnown = FALSE;
        Remember(state, state->queueHook);
    }

    // Takes off every hook this module made, on every thread: a library
    // calls this before it unloads, so that no hook points into code that is
    // gone. Another module's next Watch puts the queue's watch back.
    static void UnwatchAll()
    {
        Lock lock;
        for (const Installed& hook : Hooks()) {
            UnhookWindowsHookEx(hook.hook);
            ThreadState* state = hook.state;
            if (state->queueHook == hook.hook) {
                state->queueHook = nullptr;
                state->takenKnown = FALSE;
            }
            if (state->beforeHook == hook.hook || state->afterHook == hook.hook) {
                state->beforeHook = state->afterHook = nullptr;
                state->depth = state->uncounted = 0;
            }
        }
        Hooks().clear();
    }

    // Made by a window procedure for the message that enters it, first of
    // all, and kept until the procedure returns. A send from another thread
    // or program that begins here has the thread's own sends watched until
    // it returns; the message taken from the queue is known as such while
    // it is handled here (and in the procedures it is passed on to, as a
    // subclass passes it).
    class Entry {
    public:
        Entry(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
        {
            state = State(false);
            if (state == nullptr)
                return;
            if ((InSendMessageEx(nullptr) & ISMEX_SEND) != 0 && state->beforeHook == nullptr)
                WatchSends(state);
            const Sent entering = {window, message, wParam, lParam, FALSE};
            int depth = ++state->frameDepth;
            if (depth <= kDepth)
                state->frames[depth - 1] = entering;
            if (state->takenFrame == 0) {
                // The message from the queue enters its first procedure.
                if (state->takenKnown && Same(state->taken, entering) &&
                    (InSendMessageEx(nullptr) & ISMEX_SEND) == 0)
                    state->takenFrame = state->takenTop = depth;
            } else if (depth == state->takenTop + 1 && Same(state->taken, entering)) {
                state->takenTop = depth;   // passed on along a subclass
            }
        }
        ~Entry()
        {
            if (state == nullptr)
                return;
            int depth = state->frameDepth--;
            if (depth == state->takenTop && state->takenTop > state->takenFrame) {
                --state->takenTop;
            } else if (depth == state->takenFrame) {
                // Handled: a send of the same numbers from now on is an own.
                state->takenFrame = state->takenTop = 0;
                state->takenKnown = FALSE;
            }
        }
        Entry(const Entry&) = delete;
        Entry& operator=(const Entry&) = delete;

    private:
        ThreadState* state;
    };

    // True when window's procedure is now handling exactly this message
    // because code on this thread sent it.
    static bool FromOwnThread(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        ThreadState* state = State(false);
        if (state == nullptr || state->queueHook == nullptr) {
            // Not watched: nothing can be told of this one, later ones can.
            Watch();
            return false;
        }
        const Sent asked = {window, message, wParam, lParam, TRUE};
        if (state->beforeHook != nullptr) {
            if (state->uncounted > 0 || state->depth == 0)
                return false;
            const Sent& innermost = state->sends[state->depth - 1];
            return innermost.own && Same(innermost, asked);
        }
        if ((InSendMessageEx(nullptr) & ISMEX_SEND) != 0) {
            // Inside a send from elsewhere that entered no window procedure
            // of ours: this may be it. Refused; the rest of it is watched.
            WatchSends(state);
            return false;
        }
        if (!state->takenKnown || !Same(state->taken, asked))
            return true;
        // The numbers of the message from the queue: it is that one when
        // asked outside any Entry, or by a procedure handling it.
        int depth = state->frameDepth;
        if (depth == 0)
            return false;
        if (state->takenFrame == 0)
            return true;
        return depth < state->takenFrame || depth > state->takenTop;
    }

private:
    struct Sent {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        BOOL own;
    };

    // Sends nest as deep as window procedures call each other; past this
    // depth they are only counted, and a message there is taken for foreign.
    static constexpr int kDepth = 64;

    // One per thread, for all modules: laid out once here, and checked by
    // its size, so that modules built apart never read a layout they do not
    // agree on.
    struct ThreadState {
        DWORD size;
        HHOOK queueHook;
        HMODULE queueHookModule;
        Sent taken;        // the message last taken from the queue
        BOOL takenKnown;
        HHOOK beforeHook;  // set only while a send from elsewhere lasts
        HHOOK afterHook;
        Sent sends[kDepth];
        int depth;
        int uncounted;
        // The window procedures under way (those with an Entry), and which
        // of them handle the message taken from the queue.
        Sent frames[kDepth];
        int frameDepth;
        int takenFrame;
        int takenTop;
    };

    struct Installed {
        ThreadState* state;
        HHOOK hook;
    };

    static bool Same(const Sent& a, const Sent& b)
    {
        return a.window == b.window && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
    }

    static HMODULE ThisModule()
    {
        HMODULE module = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&ThisModule), &module);
        return module;
    }

    static void WatchSends(ThreadState* state)
    {
        DWORD thread = GetCurrentThreadId();
        state->depth = state->uncounted = 0;
        state->beforeHook = SetWindowsHookExW(WH_CALLWNDPROC, BeforeSend, nullptr, thread);
        state->afterHook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterSend, nullptr, thread);
        Remember(state, state->beforeHook);
        Remember(state, state->afterHook);
    }

    static void StopWatchingSends(ThreadState* state)
    {
        for (HHOOK* hook : {&state->beforeHook, &state->afterHook}) {
            if (*hook != nullptr) {
                UnhookWindowsHookEx(*hook);
                Forget(*hook);
            }
            *hook = nullptr;
        }
        state->depth = state->uncounted = 0;
    }

    static LRESULT CALLBACK TakenFromQueue(int code, WPARAM removed, LPARAM lParam)
    {
        MSG* message = reinterpret_cast<MSG*>(lParam);
        // The system never posts WM_NOTIFY: one in the queue is another
        // program's number, and the system's controls the thread hosts
        // (calendar, list view, toolbar) would read through it. It goes
        // nowhere.
        if (code == HC_ACTION && message != nullptr && message->message == WM_NOTIFY)
            message->message = WM_NULL;
        ThreadState* state = State(false);
        if (code == HC_ACTION && removed == PM_REMOVE && message != nullptr && state != nullptr) {
            state->taken = {message->hwnd, message->message, message->wParam, message->lParam, FALSE};
            state->takenKnown = TRUE;
            state->takenFrame = state->takenTop = 0;
        }
        return CallNextHookEx(nullptr, code, removed, lParam);
    }

    // The hook's wParam is non-zero for a message sent by this thread.
    static LRESULT CALLBACK BeforeSend(int code, WPARAM sentHere, LPARAM lParam)
    {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        ThreadState* state = State(false);
        if (code == HC_ACTION && message != nullptr && state != nullptr) {
            if (state->depth < kDepth)
                state->sends[state->depth++] = {message->hwnd, message->message, message->wParam, message->lParam,
                                                sentHere != 0};
            else
                ++state->uncounted;
        }
        return CallNextHookEx(nullptr, code, sentHere, lParam);
    }

    static LRESULT CALLBACK AfterSend(int code, WPARAM sentHere, LPARAM lParam)
    {
        LRESULT next = CallNextHookEx(nullptr, code, sentHere, lParam);
        ThreadState* state = State(false);
        if (code != HC_ACTION || state == nullptr)
            return next;
        if (state->uncounted > 0) {
            --state->uncounted;
        } else if (state->depth > 0) {
            --state->depth;
        } else {
            // The end of a send that began before the watch: the one from
            // elsewhere that started it is over.
            StopWatchingSends(state);
        }
        return next;
    }

    // The thread's state, made on first use when make is true.
    static ThreadState* State(bool make)
    {
        DWORD slot = Slot();
        if (slot == TLS_OUT_OF_INDEXES)
            return nullptr;
        auto* state = static_cast<ThreadState*>(TlsGetValue(slot));
        if (state == nullptr && make) {
            state = static_cast<ThreadState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ThreadState)));
            if (state == nullptr)
                return nullptr;
            state->size = sizeof(ThreadState);
            TlsSetValue(slot, state);
        }
        return state != nullptr && state->size == sizeof(ThreadState) ? state : nullptr;
    }

    // The process's one slot. Its index is kept in the environment with the
    // process's id, so a child that inherits the variable makes its own.
    static DWORD Slot()
    {
        static DWORD slot = FindSlot();
        return slot;
    }

    static DWORD FindSlot()
    {
        const wchar_t kVariable[] = L"KORVA_OWN_THREAD_SEND_SLOT";
        wchar_t mutexName[64];
        wsprintfW(mutexName, L"Local\\KorvaOwnThreadSend.%lu", GetCurrentProcessId());
        HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName);
        if (mutex != nullptr)
            WaitForSingleObject(mutex, INFINITE);
        DWORD slot = TLS_OUT_OF_INDEXES;
        wchar_t value[64] = L"";
        DWORD process = 0, index = 0;
        if (GetEnvironmentVariableW(kVariable, value, 64) > 0 && ParsePair(value, &process, &index) &&
            process == GetCurrentProcessId()) {
            slot = index;
        } else {
            slot = TlsAlloc();
            if (slot != TLS_OUT_OF_INDEXES) {
                wsprintfW(value, L"%lu:%lu", GetCurrentProcessId(), slot);
                SetEnvironmentVariableW(kVariable, value);
            }
        }
        if (mutex != nullptr) {
            ReleaseMutex(mutex);
            CloseHandle(mutex);
        }
        return slot;
    }

    static bool ParsePair(const wchar_t* text, DWORD* first, DWORD* second)
    {
        DWORD* target = first;
        *first = *second = 0;
        bool digits = false;
        for (; *text != L'\0'; ++text) {
            if (*text == L':' && target == first && digits) {
                target = second;
                digits = false;
            } else if (*text >= L'0' && *text <= L'9') {
                *target = *target * 10 + DWORD(*text - L'0');
                digits = true;
            } else {
                return false;
            }
        }
        return target == second && digits;
    }

    // Never destroyed: UnwatchAll runs from a module's teardown, after the
    // statics made later than that are gone.
    static std::vector<Installed>& Hooks()
    {
        static auto* hooks = new std::vector<Installed>;
        return *hooks;
    }

    static void Remember(ThreadState* state, HHOOK hook)
    {
        if (hook == nullptr)
            return;
        Lock lock;
        Hooks().push_back({state, hook});
    }

    static void Forget(HHOOK hook)
    {
        Lock lock;
        std::vector<Installed>& hooks = Hooks();
        for (size_t i = 0; i < hooks.size(); ++i) {
            if (hooks[i].hook == hook) {
                hooks.erase(hooks.begin() + i);
                return;
            }
        }
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
