#include "notewindow/NoteMenuBar.h"

#include "diag/TraceLog.h"

#include <aygshell.h>

namespace {

const int kTooltipLength = 128;
const int kMaxMenuButtons = 256;
const int kImageSize = 16;

bool IsTool(const TBBUTTON& button)
{
    return (button.fsStyle & (BTNS_SEP | BTNS_DROPDOWN)) == 0;
}

}  // namespace

int NoteMenuBar::StripImageCount(int bitmapId) const
{
    HBITMAP strip = LoadBitmapW(instance, MAKEINTRESOURCEW(bitmapId));
    BITMAP info = {};
    int count = 0;
    if (strip != nullptr && GetObjectW(strip, sizeof(info), &info) == sizeof(info))
        count = info.bmWidth / kImageSize;
    if (strip != nullptr)
        DeleteObject(strip);
    return count > 0 ? count : ToolCount();
}

NoteMenuBar::NoteMenuBar() = default;

NoteMenuBar::~NoteMenuBar()
{
    Destroy();
}

bool NoteMenuBar::Create(const TBBUTTON* list, int menuBarId, int bitmapId, int buttonCount, HWND owner,
                         HINSTANCE module)
{
    Destroy();
    instance = module;
    parent = owner;
    menuButtonCount = 0;
    if (list != nullptr) {
        for (int i = 0; i < buttonCount && list[i].idCommand != 0; ++i) {
            descriptions.push_back(list[i]);
            descriptions.back().dwData = 0;
        }
    }
    LoadTooltips();

    SHMENUBARINFO info = {};
    info.cbSize = sizeof(info);
    info.hwndParent = parent;
    info.nToolBarId = menuBarId;
    info.hInstRes = instance;
    if (!SHCreateMenuBar(&info)) {
        Trace(L"SHCreateMenuBar Failed");
        return false;
    }
    menuBar = info.hwndMB;

    if (bitmapId != 0 && !descriptions.empty()) {
        menuButtonCount = CountMenuButtons(menuBarId);
        // The whole strip, not one image per button: the buttons use
        // images beyond their own count (the grid is image 10 of 11).
        CommandBar_AddBitmap(menuBar, instance, bitmapId, StripImageCount(bitmapId), kImageSize, kImageSize);
        SendMessageW(menuBar, TB_ADDBUTTONSW, ToolCount(), reinterpret_cast<LPARAM>(descriptions.data()));
    }
    if (HasTooltips())
        SetTooltips();
    // Sent as the handheld's program sends it; with nothing invalid it
    // paints nothing, and the bar gets the messages it gets there.
    SendMessageW(menuBar, WM_PAINT, 0, 0);
    return true;
}

void NoteMenuBar::LoadTooltips()
{
    tooltipTexts.assign(descriptions.size(), std::wstring());
    for (size_t i = 0; i < descriptions.size(); ++i) {
        wchar_t text[kTooltipLength];
        int length = LoadStringW(instance, descriptions[i].idCommand, text, kTooltipLength);
        if (length > 0 && IsTool(descriptions[i]))
            tooltipTexts[i].assign(text, length);
    }
}

bool NoteMenuBar::HasTooltips() const
{
    for (const std::wstring& text : tooltipTexts) {
        if (!text.empty())
            return true;
    }
    return false;
}

int NoteMenuBar::CountMenuButtons(int menuBarId) const
{
    HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(menuBarId));
    if (menu == nullptr)
        return 0;
    int count = 0;
    MENUITEMINFOW item = {};
    item.cbSize = sizeof(item);
    while (count < kMaxMenuButtons && GetMenuItemInfoW(menu, count, TRUE, &item))
        ++count;
    DestroyMenu(menu);
    return count;
}

void NoteMenuBar::SetTooltips()
{
    // The menu's own buttons come first and have no tooltip.
    tooltips.assign(menuButtonCount, nullptr);
    for (int i = 0; i < ToolCount(); ++i) {
        // The shell may have laid the bar out differently: the button at
        // this position must be the one the tooltip is for.
        int position = menuButtonCount + i;
        TBBUTTON present = {};
        if (!SendMessageW(menuBar, TB_GETBUTTON, position, reinterpret_cast<LPARAM>(&present)) ||
            present.idCommand != descriptions[i].idCommand || present.iBitmap != descriptions[i].iBitmap) {
            SendMessageW(menuBar, TB_DELETEBUTTON, position, 0);
            SendMessageW(menuBar, TB_INSERTBUTTONW, position, reinterpret_cast<LPARAM>(&descriptions[i]));
        }
        tooltips.push_back(tooltipTexts[i].empty() ? nullptr : tooltipTexts[i].c_str());
    }
    SendMessageW(menuBar, TB_SETTOOLTIPS, tooltips.size(), reinterpret_cast<LPARAM>(tooltips.data()));
}

const TBBUTTON* NoteMenuBar::FindTool(int command) const
{
    for (const TBBUTTON& tool : descriptions) {
        if (tool.idCommand == command)
            return &tool;
    }
    return nullptr;
}

void NoteMenuBar::Enable(int command, bool on)
{
    const TBBUTTON* tool = FindTool(command);
    if (tool == nullptr || !IsTool(*tool) || menuBar == nullptr)
        return;
    bool enabled = SendMessageW(menuBar, TB_ISBUTTONENABLED, command, 0) != 0;
    if (enabled != on)
        SendMessageW(menuBar, TB_ENABLEBUTTON, command, MAKELONG(on ? TRUE : FALSE, 0));
}

void NoteMenuBar::SetState(int command, BYTE state)
{
    if (menuBar != nullptr)
        SendMessageW(menuBar, TB_SETSTATE, command, MAKELONG(state, 0));
}

void NoteMenuBar::Destroy()
{
    if (menuBar != nullptr && IsWindow(menuBar))
        DestroyWindow(menuBar);
    menuBar = nullptr;
    tooltips.clear();
    tooltipTexts.clear();
    descriptions.clear();
    menuButtonCount = 0;
    parent = nullptr;
}
