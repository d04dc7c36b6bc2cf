#include "ShellPanels.h"

#include "LazyLock.h"
#include "MenuBar.h"
#include "Module.h"
#include "ShellProperties.h"
#include "SipButton.h"
#include "SipPanel.h"
#include "SipState.h"
#include "platform/common/RestackTopmost.h"

namespace ceshell {

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
// The broadcast, our own windows' activation and the program's activation
// or deactivation (WM_ACTIVATEAPP, which the panel's window gets as every
// top-level window of the thread does) refresh at once; the timer runs only
// for the restacks after a change, and rests after them.
constexpr UINT kRefreshIntervalMs = 200;

struct Panels {
    DWORD thread = 0;
    SipPanel panel;
    SipButton button;
    bool panelShown = false;
    bool buttonShown = false;
    bool sipUp = false;
    HWND lastForeground = nullptr;
    int settleRefreshes = 0;
};

Panels* g_panels = nullptr;
CRITICAL_SECTION* PanelsLock()
{
    static LazyLock lock;
    return lock.Get();
}

// For this many refreshes after a panel shows or the foreground changes,
// the panels are put on top again (about a second).
constexpr int kSettleRefreshes = 5;

void Place(HWND window, bool show)
{
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void Update(Panels* panels, bool onTimer, HWND front = nullptr)
{
    HWND foreground = front != nullptr ? front : GetForegroundWindow();
    DWORD process = 0;
    GetWindowThreadProcessId(foreground, &process);
    // A window in front that is hidden is going away: its bar is already
    // gone, and nothing is shown for it.
    bool ours = foreground != nullptr && process == GetCurrentProcessId() && IsWindowVisible(foreground) &&
                foreground != panels->panel.Window() && foreground != panels->button.Window();
    UINT_PTR hidden = ours ? FullScreenBits(foreground) : 0;
    bool sipUp = (ReadSipFlags() & SIPF_ON) != 0;
    bool wantPanel = ours && sipUp;
    // A window in front with a menu bar has the button drawn in the bar.
    bool wantButton = ours && !(hidden & kFullScreenSipButtonHidden) && !MenuBar::DrawsSipButtonFor(foreground);

    if (foreground != panels->lastForeground)
        panels->settleRefreshes = kSettleRefreshes;
    panels->lastForeground = foreground;
    // The virtual desktop raises a window only a moment after it became
    // active; restacking at once, in the refreshes its own creation makes,
    // would only cost a round of the display's traffic each time.
    bool settling = onTimer && panels->settleRefreshes > 0;
    if (settling)
        --panels->settleRefreshes;

    if (HWND panel = panels->panel.Window(); panel != nullptr) {
        if (wantPanel != panels->panelShown) {
            panels->panelShown = wantPanel;
            Place(panel, wantPanel);
            panels->settleRefreshes = kSettleRefreshes;
        } else if (wantPanel && settling) {
            RestackTopmost(panel);
        }
    }
    // Made the first time a window without a bar is in front: a program
    // whose windows all have bars never needs it.
    if (wantButton && panels->button.Window() == nullptr)
        panels->button.Create(ModuleInstance());
    if (HWND button = panels->button.Window(); button != nullptr) {
        if (wantButton != panels->buttonShown) {
            panels->buttonShown = wantButton;
            Place(button, wantButton);
            panels->settleRefreshes = kSettleRefreshes;
        } else if (wantButton && settling) {
            RestackTopmost(button);
        }
        if (sipUp != panels->sipUp)
            InvalidateRect(button, nullptr, TRUE);
    }
    panels->sipUp = sipUp;
    if (HWND timer = panels->panel.Window(); timer != nullptr) {
        if (panels->settleRefreshes > 0)
            SetTimer(timer, kRefreshTimer, kRefreshIntervalMs, nullptr);
        else
            KillTimer(timer, kRefreshTimer);
    }
}

}  // namespace

void ShellPanels::Ensure()
{
    EnterCriticalSection(PanelsLock());
    if (g_panels == nullptr) {
        Panels* panels = new Panels();
        panels->thread = GetCurrentThreadId();
        HINSTANCE instance = ModuleInstance();
        if (panels->panel.Create(instance)) {
            g_panels = panels;
        } else {
            delete panels;
        }
    }
    LeaveCriticalSection(PanelsLock());
    Refresh();
}

void ShellPanels::Teardown()
{
    EnterCriticalSection(PanelsLock());
    Panels* panels = g_panels;
    // Windows can only be destroyed by their own thread; at a program's end
    // or a library's unload that is normally the thread that made them.
    if (panels != nullptr && panels->thread == GetCurrentThreadId()) {
        g_panels = nullptr;
        panels->panel.Destroy();
        panels->button.Destroy();
        delete panels;
    }
    LeaveCriticalSection(PanelsLock());
    SipPanel::WithdrawClass();
    SipButton::WithdrawClass();
}

void ShellPanels::Refresh(HWND front)
{
    Panels* panels = g_panels;
    if (panels == nullptr)
        return;
    if (GetCurrentThreadId() != panels->thread) {
        // The windows belong to another thread: let it look for itself.
        if (HWND panel = panels->panel.Window())
            PostMessageW(panel, WM_TIMER, kRefreshTimer, 0);
        return;
    }
    Update(panels, false, front);
}

void ShellPanels::RefreshOnTimer()
{
    Panels* panels = g_panels;
    if (panels != nullptr && GetCurrentThreadId() == panels->thread)
        Update(panels, true);
}

void ShellPanels::RefreshAfterActivation()
{
    Panels* panels = g_panels;
    if (panels == nullptr || GetCurrentThreadId() != panels->thread)
        return;
    // The window in front may come a moment after the message: look again
    // over the settling refreshes.
    panels->settleRefreshes = kSettleRefreshes;
    Update(panels, false);
}

HWND ShellPanels::PanelWindow()
{
    return g_panels != nullptr ? g_panels->panel.Window() : nullptr;
}

HWND ShellPanels::SipButtonWindow()
{
    return g_panels != nullptr ? g_panels->button.Window() : nullptr;
}

void ShellPanels::PressPanelKey(int index)
{
    if (g_panels != nullptr)
        g_panels->panel.PressKey(index);
}

}  // namespace ceshell
