// The Today screen: the window under every program, with the date line and
// the hosted items one under the other on the background picture. It is
// the host window the items talk to (TODAYM_GETCOLOR, TODAYM_DRAWWATERMARK).
#pragma once

#include "platform/shell/src/KeyWatch.h"
#include "platform/shell/src/TodayHost.h"

#include <memory>

namespace shell {

class TodaySettingsWindow;

class TodayScreen {
public:
    static const COLORREF kTextColour;
    static const COLORREF kHighlightColour;
    static const COLORREF kHighlightedTextColour;
    // Height of the date line; the first item starts right under it.
    static constexpr int kDateLineHeight = 22;
    // The strip along the bottom with the Settings button.
    static constexpr int kBottomBarHeight = 26;

    explicit TodayScreen(const wchar_t* itemsKey = TodayItemList::kDefaultKey);
    virtual ~TodayScreen();

    // Creates the window over the work area and the menu bar's strip, and
    // loads the items; behind every other window unless inFront. False when
    // the window cannot be made.
    bool Create(HINSTANCE instance, bool inFront = true);
    void Destroy();
    HWND Window() const { return window_; }
    TodayHost& Host() { return host_; }

    // Asks every item for its height and lays out again when one changed.
    void QueryItems();
    // Scrolls the date line and the items when they are longer than the
    // screen; the position is kept within the content.
    void ScrollTo(int position);
    int ScrollPosition() const { return scroll_; }
    // Rows the date line and the items take, scrolled or not.
    int ContentHeight() const { return contentHeight_; }
    int VisibleHeight() const;
    // Reloads the items when the registry's list changed.
    void CheckList();
    void ShowSettings();
    static bool IsNavigationBar(HWND window);
    void ClaimBottomStrip(bool claim);
    void BringToFront();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnDestroy();
    void OnPaint();
    void OnTimer(UINT_PTR id);
    void OnTap(int x, int y);
    void OnStylusDown(int x, int y);
    void OnStylusMove(int y);
    bool OnKey(WPARAM key);
    void DrawScrollArrows(HDC dc, const RECT& bar) const;
    void OnShellRequest(UINT message, WPARAM wParam);
    void OnSettingsDone(bool listSaved);
    LRESULT OnGetColour(WPARAM which) const;
    LRESULT OnDrawWatermark(const TODAYDRAWWATERMARKINFO* info) const;

    void Reload();
    void Relayout();
    void UpdateDateLine();
    void EraseBackground(HDC dc) const;

    HWND window_;
    HINSTANCE instance_;
    TodayHost host_;
    std::unique_ptr<KeyWatch> listWatch_;
    wchar_t dateLine_[80];
    int scroll_;
    int contentHeight_;
    int dragY_;
    bool dragging_;
    bool dragMoved_;
    bool destroying_ = false;   // set by Destroy around its DestroyWindow
    std::unique_ptr<TodaySettingsWindow> settings_;
};

}  // namespace shell
