// The window procedure of a window that an object owns. The object passes
// itself as the creation parameter; it is kept in the window's user data,
// hands over its window handle at creation, and gets every message in its
// handler. Messages before creation go to DefWindowProcW.
//
//   LRESULT CALLBACK HelpView::WindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
//   {
//       return ObjectWindowProc<HelpView, &HelpView::window_, &HelpView::HandleMessage>(w, m, wp, lp);
//   }
//
// ObjectDialogProc is the same for a dialog: the object is the dialog's
// parameter and arrives with WM_INITDIALOG.
#pragma once

#include "platform/common/OwnThreadSend.h"

#include <windows.h>

// WM_NCCREATE and WM_CREATE carry the owner once, from CreateWindowEx on
// this thread. Another program can send them again later with a creation
// structure of its own (the system copies it across, but not what its
// lpCreateParams points to): that one is no owner, and no reason to run a
// window's start-up again. The same holds for a dialog's WM_INITDIALOG.
//
// A window's own WM_NCCREATE and WM_INITDIALOG come before it holds its
// object, and its own WM_CREATE comes during the same CreateWindowEx, after
// its WM_NCCREATE: so a window that holds its object already gets them from
// someone else, and a WM_CREATE is its own only while its creation is under
// way on this thread. Asking InSendMessageEx instead is not enough: while
// this thread handles a message another thread or program sent (the Today
// item's 1125), every window it creates meanwhile would be refused too,
// since the thread is still inside that send. Pass every message here, so
// that a creation that fails is let go at WM_NCDESTROY.
enum class Creation {
    None,      // not a creation message
    Own,       // the window's own, first of its kind
    Repeated,  // one more, from someone else: to be ignored
};

// The windows of this thread between their own WM_NCCREATE and WM_CREATE
// (a window may make another in its WM_NCCREATE).
class CreationsUnderWay {
public:
    static void Begin(HWND window)
    {
        Windows& under = Get();
        if (under.count < kMost)
            under.windows[under.count++] = window;
    }
    // True when window's creation was under way; it is over now.
    static bool End(HWND window)
    {
        Windows& under = Get();
        for (int i = under.count - 1; i >= 0; --i) {
            if (under.windows[i] != window)
                continue;
            for (int j = i; j + 1 < under.count; ++j)
                under.windows[j] = under.windows[j + 1];
            --under.count;
            return true;
        }
        return false;
    }

private:
    static constexpr int kMost = 16;
    struct Windows {
        HWND windows[kMost];
        int count;
    };
    static Windows& Get()
    {
        static thread_local Windows under;
        return under;
    }
};

// holdsObject: the window keeps its object already (its user data, or the
// slot of its extra bytes where it keeps it, is set).
inline Creation CheckCreation(HWND window, UINT message, bool holdsObject)
{
    switch (message) {
    case WM_NCCREATE:
        if (holdsObject)
            return Creation::Repeated;
        CreationsUnderWay::Begin(window);
        return Creation::Own;
    case WM_CREATE:
        return CreationsUnderWay::End(window) ? Creation::Own : Creation::Repeated;
    case WM_INITDIALOG:
        return holdsObject ? Creation::Repeated : Creation::Own;
    case WM_NCDESTROY:
        CreationsUnderWay::End(window);
        return Creation::None;
    default:
        return Creation::None;
    }
}

template <class Owner, HWND Owner::*Handle, LRESULT (Owner::*Handler)(UINT, WPARAM, LPARAM)>
LRESULT ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(window, message, wParam, lParam);
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    Creation creation = CheckCreation(window, message, owner != nullptr);
    if (creation == Creation::Repeated)
        return 0;
    if (creation == Creation::Own && message == WM_NCCREATE) {
        owner = static_cast<Owner*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (owner != nullptr) {
            owner->*Handle = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        }
    }
    if (owner == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return (owner->*Handler)(message, wParam, lParam);
}

// For WM_NCDESTROY, a window's last message: the object lets go of its
// window (handle is its field) and the window of its object, so that
// nothing after reaches an object that may be gone.
inline LRESULT LetObjectWindowGo(HWND& handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = handle;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    handle = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The dialog's object is kept in DWLP_USER from its own WM_INITDIALOG on;
// messages before that, and a WM_INITDIALOG sent again, are left to the
// dialog manager.
template <class Owner, HWND Owner::*Handle, INT_PTR (Owner::*Handler)(UINT, WPARAM, LPARAM)>
INT_PTR ObjectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    OwnThreadSend::Entry entry(dialog, message, wParam, lParam);
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(dialog, DWLP_USER));
    Creation creation = CheckCreation(dialog, message, owner != nullptr);
    if (creation == Creation::Repeated)
        return FALSE;
    if (creation == Creation::Own && message == WM_INITDIALOG && lParam != 0) {
        owner = reinterpret_cast<Owner*>(lParam);
        owner->*Handle = dialog;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    if (owner == nullptr)
        return FALSE;
    return (owner->*Handler)(message, wParam, lParam);
}
