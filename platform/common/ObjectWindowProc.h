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
inline bool IsOwnCreation(HWND window, UINT message)
{
    return message == WM_NCCREATE && GetWindowLongPtrW(window, GWLP_USERDATA) == 0 &&
           (InSendMessageEx(nullptr) & ISMEX_SEND) == 0;
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
