#include "WindowLinks.h"

#include "LazyLock.h"

#include <vector>

namespace ceshell {

namespace {

struct WindowLink {
    HWND window;
    WNDPROC previous;
    MenuBar* bar;
};

LazyLock g_lock;

// Made once and never destroyed: a window may still get a message while the
// module's statics are torn down at the process's end.
std::vector<WindowLink>& Links()
{
    static auto* links = new std::vector<WindowLink>;
    return *links;
}

WindowLink* LinkOf(HWND window)
{
    for (WindowLink& link : Links()) {
        if (link.window == window)
            return &link;
    }
    return nullptr;
}

class Hold {
public:
    Hold() { EnterCriticalSection(g_lock.Get()); }
    ~Hold() { LeaveCriticalSection(g_lock.Get()); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
};

}  // namespace

bool WindowLinks::Link(HWND window, WNDPROC proc, MenuBar* bar)
{
    Hold hold;
    if (WindowLink* link = LinkOf(window)) {
        link->bar = bar;
        return true;
    }
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (previous == nullptr)
        return false;
    Links().push_back({window, previous, bar});
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return true;
}

bool WindowLinks::Find(HWND window, MenuBar** bar, WNDPROC* previous)
{
    Hold hold;
    const WindowLink* link = LinkOf(window);
    if (link == nullptr)
        return false;
    *bar = link->bar;
    *previous = link->previous;
    return true;
}

void WindowLinks::Unlink(HWND window, WNDPROC proc)
{
    Hold hold;
    WindowLink* link = LinkOf(window);
    if (link == nullptr)
        return;
    link->bar = nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) != proc)
        return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(link->previous));
    Links().erase(Links().begin() + (link - Links().data()));
}

void WindowLinks::Forget(HWND window)
{
    Hold hold;
    if (WindowLink* link = LinkOf(window))
        Links().erase(Links().begin() + (link - Links().data()));
}

}  // namespace ceshell
