// The window procedure of a window that an object owns. The object passes
// itself as the creation parameter; it is kept in the window's user data,
// hands over its window handle at creation, and gets every message in its
// handler. Messages before creation go to DefWindowProcW.
//
//   LRESULT CALLBACK HelpView::WindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
//   {
//       return ObjectWindowProc<HelpView, &HelpView::window_, &HelpView::HandleMessage>(w, m, wp, lp);
//   }
#pragma once

#include <windows.h>

// WM_NCCREATE carries the owner once, from CreateWindowEx on this thread.
// Another program can send the message again later with a creation
// structure of its own (the system copies it across, but not what its
// lpCreateParams points to): that one is no owner.
//
// The window's own WM_NCCREATE is always the first one it gets, so the
// first is marked on the window and any later one is refused. Asking
// InSendMessageEx instead is not enough: while this thread handles a
// message another thread or program sent (the Today item's 1125), every
// window it creates meanwhile would be refused too, since the thread is
// still inside that send. Pass every message here, so that the mark is
// taken off again at WM_NCDESTROY.
inline const wchar_t* OwnCreationMark()
{
    return L"KorvaOwnCreationSeen";
}

inline bool IsOwnCreation(HWND window, UINT message)
{
    if (message == WM_NCDESTROY) {
        RemovePropW(window, OwnCreationMark());
        return false;
    }
    if (message != WM_NCCREATE || GetPropW(window, OwnCreationMark()) != nullptr)
        return false;
    SetPropW(window, OwnCreationMark(), reinterpret_cast<HANDLE>(1));
    return GetWindowLongPtrW(window, GWLP_USERDATA) == 0;
}

template <class Owner, HWND Owner::*Handle, LRESULT (Owner::*Handler)(UINT, WPARAM, LPARAM)>
LRESULT ObjectWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsOwnCreation(window, message)) {
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
