// The menu bar of one window: a band along the bottom of the screen holding
// a toolbar whose buttons come from the menu-bar resource, followed by the
// tool buttons the program appends, and the input panel's button at its
// right end. The band is an owned pop-up of its window and shows while that
// window is the active one; the toolbar is what the program knows as hwndMB.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "aygshell.h"

namespace ceshell {

struct MenuBarResource;

class MenuBar {
public:
    // Builds the bar described by info (replacing a bar the window already
    // has); returns the toolbar, or null when nothing could be built.
    static HWND Create(const SHMENUBARINFO& info);

    // Withdraws the band's window class when the module unloads.
    static void UnregisterClasses();

    // The bar of an owner window, or null.
    static MenuBar* FromOwner(HWND owner);

    // True when a bar's band draws the input panel's button for window, the
    // window in front: its own bar, or for a pop-up without one, its
    // owner's.
    static bool DrawsSipButtonFor(HWND window);
    // The window asked for the panel's button to be hidden or shown again.
    static void SipButtonChanged(HWND owner);

    HWND Toolbar() const { return toolbar_; }
    HWND Band() const { return band_; }

private:
    struct SubMenuLink {
        int command;
        HMENU menu;
    };

    MenuBar() = default;
    ~MenuBar() = default;
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    bool Build(const SHMENUBARINFO& info);
    bool CreateWindows();
    void AddResourceButtons(HINSTANCE instance, const MenuBarResource& resource);
    void AddMenuButtons();
    void AddButton(int image, int command, BYTE state, BYTE style, const wchar_t* label);
    enum class Activation { Unknown, Active, Inactive };
    // front: the window the activation is moving to, when known.
    void UpdateVisibility(Activation activation = Activation::Unknown, HWND front = nullptr);
    // window is a pop-up this bar's window owns, directly or further down.
    bool OwnsWindow(HWND window) const;
    void Attach();
    void Detach();

    static LRESULT CALLBACK BandProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleBandMessage(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The toolbar's own handling of a message, past the bar's procedure.
    LRESULT CallToolbar(UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The bar and the procedure it replaced, for a window the bar
    // subclassed. False when the window is no longer linked to a bar, or
    // never was: the message has gone where it goes without the bar (and a
    // window no longer linked is forgotten with its last), and *result
    // holds the answer.
    static bool LinkedBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam, MenuBar** self,
                          WNDPROC* previous, LRESULT* result);

    LRESULT OnBandNotify(const NMHDR* header);
    void OnBandCommand(WPARAM wParam);
    void OnBandPaint();
    bool DrawsSipButton() const;
    void OnBandDestroyed();
    LRESULT OnDropDown(int command);
    // Shows a drop-down button's menu and waits for it; may free the bar.
    void TrackMenu(int command);
    bool OnToolTipText(NMTTDISPINFOW* info);
    LRESULT SetToolTips(WPARAM count, LPARAM array);
    // Gives the toolbar's tooltip window the style a bar needs, once.
    void PrepareToolTipWindow();
    LRESULT InsertToolButtons(int position, int count, const TBBUTTON* buttons);
    HMENU SubMenuOf(int command) const;
    HMENU SetSubMenu(int command, HMENU menu);
    void OnToolbarDestroyed();

    HWND owner_ = nullptr;
    HWND band_ = nullptr;
    HWND toolbar_ = nullptr;
    HMENU menu_ = nullptr;
    bool destroying_ = false;
    bool ownedByBand_ = false;
    bool toolTipWindowReady_ = false;
    bool tracking_ = false;        // TrackMenu is in the menu's loop
    bool freeAfterMenu_ = false;   // the band went during it
    std::vector<SubMenuLink> subMenus_;
    std::vector<std::wstring> toolTips_;  // by button position; empty: none
};

}  // namespace ceshell
