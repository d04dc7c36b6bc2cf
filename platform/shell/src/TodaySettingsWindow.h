// The Today settings screen: every item of the list with a check box for
// "Enabled", and an Options button that runs the selected item's own
// options dialog. Done (the navigation bar's ok) saves the check boxes.
#pragma once

#include "platform/shell/src/TodayItemList.h"

#include <vector>

namespace shell {

class TodaySettingsWindow {
public:
    static constexpr int kListId = 100;
    static constexpr int kOptionsId = 101;

    // screen gets kMsgTodaySettingsDone: wParam 1 after Done (the window is
    // gone then), 0 after an item's options dialog closed.
    TodaySettingsWindow(HWND screen, const TodayItemList& list);
    virtual ~TodaySettingsWindow();

    bool Create(HINSTANCE instance);
    HWND Window() const { return window_; }
    HWND ListView() const { return listView_; }

    // What the Options button and Done do, for the window and for tests.
    void OpenSelectedOptions();
    void Save();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnCommand(int id);
    void OnNotify(const NMHDR* header);
    void OnPaint();
    void Fill();
    void UpdateOptionsButton();
    int SelectedIndex() const;

    HWND screen_;
    const TodayItemList& list_;
    std::vector<TodayItemEntry> entries_;
    HWND window_;
    HWND listView_;
    HWND optionsButton_;
    HINSTANCE instance_;
    bool filling_;
    bool destroying_ = false;   // set by the object's own DestroyWindow
};

}  // namespace shell
