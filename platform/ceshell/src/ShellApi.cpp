// The library's entry points, with the handheld's names and checks; the
// work is in the classes they call.
#include "aygshell.h"

#include <cstddef>

#include "DialogSizing.h"
#include "Gesture.h"
#include "MenuBar.h"
#include "ShellPanels.h"
#include "ShellProperties.h"
#include "SipState.h"

using namespace ceshell;

namespace {

// Every call of a window's thread makes sure that thread has the panels and
// the right-click hook.
void PrepareThread()
{
    EnsureGestureHook();
    ShellPanels::Ensure();
}

// The handheld's SIPINFO is 48 bytes (up to dwImDataSize); a program that
// sets cbSize to that still gets its answer, as nothing past it is written.
constexpr DWORD kMinSipInfoSize = offsetof(SIPINFO, dwImDataSize) + sizeof(DWORD);

// A program whose window is in front gets its panel from this thread the
// first time it changes the panel (a program that never called the library
// before, say); a thread without windows in front makes none.
void PrepareForegroundThread()
{
    HWND foreground = GetForegroundWindow();
    if (foreground != nullptr && GetWindowThreadProcessId(foreground, nullptr) == GetCurrentThreadId())
        PrepareThread();
}

bool ChangeSip(bool on)
{
    PrepareForegroundThread();
    if (SetSipOn(on)) {
        ShellPanels::Refresh();
        BroadcastSipChange();
    }
    return true;
}

}  // namespace

extern "C" BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi)
{
    if (pmbi == nullptr || pmbi->cbSize < sizeof(SHMENUBARINFO))
        return FALSE;
    pmbi->hwndMB = nullptr;
    if (!IsWindow(pmbi->hwndParent))
        return FALSE;
    PrepareThread();
    pmbi->hwndMB = MenuBar::Create(*pmbi);
    return pmbi->hwndMB != nullptr;
}

extern "C" BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi)
{
    if (pshidi == nullptr || !IsWindow(pshidi->hDlg))
        return FALSE;
    if (!(pshidi->dwMask & SHIDIM_FLAGS))
        return TRUE;
    HWND window = pshidi->hDlg;
    DWORD flags = pshidi->dwFlags;
    PrepareThread();

    if (flags & SHIDIF_DONEBUTTON)
        SetPropW(window, kDoneButtonProperty, reinterpret_cast<HANDLE>(1));
    else
        RemovePropW(window, kDoneButtonProperty);
    if (flags & SHIDIF_SIPDOWN)
        ChangeSip(false);
    if ((flags & SHIDIF_EMPTYMENU) && MenuBar::FromOwner(window) == nullptr) {
        SHMENUBARINFO empty = {};
        empty.cbSize = sizeof(empty);
        empty.hwndParent = window;
        empty.dwFlags = SHCMBF_EMPTYBAR;
        SHCreateMenuBar(&empty);
    }
    RECT area;
    if (DialogRect(flags, (ReadSipFlags() & SIPF_ON) != 0, &area))
        FitDialog(window, area);
    ShellPanels::Refresh();
    return TRUE;
}

extern "C" BOOL WINAPI SHFullScreen(HWND hwndRequester, DWORD dwState)
{
    if (!IsWindow(hwndRequester))
        return FALSE;
    UINT_PTR bits = FullScreenBits(hwndRequester);
    if (dwState & SHFS_HIDETASKBAR)
        bits |= kFullScreenTaskBarHidden;
    if (dwState & SHFS_SHOWTASKBAR)
        bits &= ~static_cast<UINT_PTR>(kFullScreenTaskBarHidden);
    if (dwState & SHFS_HIDESIPBUTTON)
        bits |= kFullScreenSipButtonHidden;
    if (dwState & SHFS_SHOWSIPBUTTON)
        bits &= ~static_cast<UINT_PTR>(kFullScreenSipButtonHidden);
    if (dwState & SHFS_HIDESTARTICON)
        bits |= kFullScreenStartIconHidden;
    if (dwState & SHFS_SHOWSTARTICON)
        bits &= ~static_cast<UINT_PTR>(kFullScreenStartIconHidden);
    bool buttonChanged = (bits ^ FullScreenBits(hwndRequester)) & kFullScreenSipButtonHidden;
    SetFullScreenBits(hwndRequester, bits);
    if (buttonChanged)
        MenuBar::SipButtonChanged(hwndRequester);
    ShellPanels::Refresh();
    return TRUE;
}

extern "C" BOOL WINAPI SipShowIM(DWORD dwFlag)
{
    return ChangeSip((dwFlag & SIPF_ON) != 0);
}

extern "C" BOOL WINAPI SipGetInfo(SIPINFO* pSipInfo)
{
    return SHSipInfo(SPI_GETSIPINFO, 0, pSipInfo, 0);
}

extern "C" BOOL WINAPI SHSipInfo(UINT uiAction, UINT, PVOID pvParam, UINT)
{
    SIPINFO* info = static_cast<SIPINFO*>(pvParam);
    switch (uiAction) {
    case SPI_GETSIPINFO:
        if (info == nullptr || info->cbSize < kMinSipInfoSize)
            return FALSE;
        DescribeSip(ReadSipFlags(), info);
        return TRUE;
    case SPI_SETSIPINFO:
        if (info == nullptr || info->cbSize < kMinSipInfoSize)
            return FALSE;
        return ChangeSip((info->fdwFlags & SIPF_ON) != 0);
    }
    return FALSE;
}

extern "C" DWORD WINAPI SHRecognizeGesture(SHRGINFO* shrg)
{
    if (shrg == nullptr || shrg->cbSize < sizeof(SHRGINFO) || !IsWindow(shrg->hwndClient))
        return 0;
    EnsureGestureHook();
    return RecognizeGesture(*shrg);
}
