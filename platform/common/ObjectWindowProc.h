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

#include <windows.h>

// WM_NCCREATE and WM_CREATE carry the owner once, from CreateWindowEx on
// this thread. Another program can send them again later with a creation
// structure of its own (the system copies it across, but not what its
// lpCreateParams points to): that one is no owner, and no reason to run a
// window's start-up again. The same holds for a dialog's WM_INITDIALOG.
//
// A window's own creation messages are always the first it gets, so each is
// marked on the window when it comes and any later one is refused. Asking
// InSendMessageEx instead is not enough: while this thread handles a
// message another thread or program sent (the Today item's 1125), every
// window it creates meanwhile would be refused too, since the thread is
// still inside that send. Pass every message here, so that the mark is
// taken off again at WM_NCDESTROY.
inline const wchar_t* OwnCreationMark()
{
    return L"KorvaOwnCreationSeen";
}

enum class Creation {
    None,      // not a creation message
    Own,       // the window's own, first of its kind
    Repeated,  // one more, from someone else: to be ignored
};

inline Creation CheckCreation(HWND window, UINT message)
{
    // Bits of the mark: which creation messages the window has had.
    const ULONG_PTR kNcCreateSeen = 1, kCreateSeen = 2, kInitDialogSeen = 4;
    ULONG_PTR bit;
    switch (message) {
    case WM_NCCREATE:
        bit = kNcCreateSeen;
        break;
    case WM_CREATE:
        bit = kCreateSeen;
        break;
    case WM_INITDIALOG:
        bit = kInitDialogSeen;
        break;
    case WM_NCDESTROY:
        RemovePropW(window, OwnCreationMark());
        return Creation::None;
    default:
        return Creation::None;
    }
    ULONG_PTR seen = reinterpret_cast<ULONG_PTR>(GetPropW(window, OwnCreationMark()));
    if ((seen & bit) != 0)
        return Creation::Repeated;
    SetPropW(window, OwnCreationMark(), reinterpret_cast<HANDLE>(seen | bit));
    return Creation::Own;
}

// True for the window's own WM_NCCREATE when no owner is kept yet.
inline bool IsOwnCreation(HWND window, UINT message)
{
    return CheckCreation(window, message) == Creation::Own && message == WM_NCCREATE &&
           GetWindowLongPtrW(window, GWLP_USERDATA) == 0;
}

template <class Owner, HWND Owner::*Handle, LRESULT (Owner::*Handler)(UINT, WPARAM, LPARAM)>
LRESULT ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Creation creation = CheckCreation(window, message);
    if (creation == Creation::Repeated)
        return 0;
    if (creation == Creation::Own && message == WM_NCCREATE && GetWindowLongPtrW(window, GWLP_USERDATA) == 0) {
        auto* created = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* owner = static_cast<Owner*>(created->lpCreateParams);
        owner->*Handle = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (owner == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return (owner->*Handler)(message, wParam, lParam);
}

// The dialog's object is kept in DWLP_USER from its own WM_INITDIALOG on;
// messages before that, and a WM_INITDIALOG sent again, are left to the
// dialog manager.
template <class Owner, HWND Owner::*Handle, INT_PTR (Owner::*Handler)(UINT, WPARAM, LPARAM)>
INT_PTR ObjectDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Creation creation = CheckCreation(dialog, message);
    if (creation == Creation::Repeated)
        return FALSE;
    if (creation == Creation::Own && message == WM_INITDIALOG && lParam != 0) {
        auto* owner = reinterpret_cast<Owner*>(lParam);
        owner->*Handle = dialog;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    auto* owner = reinterpret_cast<Owner*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (owner == nullptr)
        return FALSE;
    return (owner->*Handler)(message, wParam, lParam);
}
