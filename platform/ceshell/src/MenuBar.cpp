#include "MenuBar.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/OwnThreadSend.h"

#include <cwchar>

#include "MenuBarResource.h"
#include "Module.h"
#include "PanelWindow.h"
#include "WindowLinks.h"
#include "ScreenAreas.h"
#include "ShellProperties.h"
#include "ShellPanels.h"
#include "SipButton.h"

namespace ceshell {

namespace {

constexpr const wchar_t* kBandClass = L"CeShellMenuBar";
constexpr int kToolbarControlId = 1;
constexpr size_t kMaxLabel = 64;
constexpr int kImageSize = 16;
constexpr size_t kMaxToolTip = 127;
constexpr WPARAM kMaxToolTips = 256;
constexpr int kMaxToolButtons = 256;
// The desktop's own number for TB_SETTOOLTIPS; the handheld's is
// CE_TB_SETTOOLTIPS. Both arrive here in the handheld's array form.
constexpr UINT kDesktopSetToolTips = WM_USER + 36;
// Posted to the band when the program destroyed the toolbar itself.
constexpr UINT kMsgDestroyBand = WM_APP + 1;
// Posted to the band to show or hide it once the toolbar's style settled.
constexpr UINT kMsgUpdateBand = WM_APP + 2;
// Posted when the band was made active: its window takes the activation.
constexpr UINT kMsgActivateOwner = WM_APP + 3;
// Posted by a drop-down button: wParam, the command whose menu to track.
constexpr UINT kMsgTrackMenu = WM_APP + 4;
// Commands for top-level pop-ups of a bar made from a menu alone, which have
// no id of their own.
constexpr int kFirstPopupCommand = 0xFF00;

// Messages to the toolbar whose lParam points at the sender's data, which
// the toolbar (ours or the control's own code) reads or fills.
bool CarriesPointer(UINT message, WPARAM wParam, LPARAM lParam)
{
    static const UINT kPointerMessages[] = {
        WM_NOTIFY, CE_TB_SETTOOLTIPS, TB_ADDBITMAP, TB_ADDBUTTONSW, TB_ADDBUTTONSA,
        TB_INSERTBUTTONW, TB_INSERTBUTTONA, TB_GETBUTTON, TB_GETITEMRECT, TB_GETRECT,
        TB_SAVERESTOREW, TB_SAVERESTOREA, TB_GETBUTTONTEXTW, TB_GETBUTTONTEXTA, TB_SETROWS,
        TB_GETMAXSIZE, TB_GETBUTTONINFOW, TB_GETBUTTONINFOA, TB_SETBUTTONINFOW,
        TB_SETBUTTONINFOA, TB_HITTEST, TB_GETINSERTMARK, TB_SETINSERTMARK, TB_INSERTMARKHITTEST,
        TB_MAPACCELERATORW, TB_MAPACCELERATORA, TB_GETSTRINGW, TB_GETSTRINGA,
        TB_GETCOLORSCHEME, TB_SETCOLORSCHEME, TB_GETMETRICS, TB_SETMETRICS, TB_REPLACEBITMAP,
        TB_GETOBJECT, TB_GETIDEALSIZE,
    };
    if (message == kDesktopSetToolTips)
        return lParam != 0;  // the desktop form has a window in wParam and no pointer
    if (message == TB_ADDSTRINGW || message == TB_ADDSTRINGA)
        return wParam == 0;  // else a resource of the module in wParam
    for (UINT pointerMessage : kPointerMessages) {
        if (message == pointerMessage)
            return true;
    }
    return false;
}

// The toolbar of an owner window's bar, or null.
HWND ToolbarOf(HWND owner)
{
    return static_cast<HWND>(GetPropW(owner, kMenuBarToolbarProperty));
}

bool SipButtonHiddenFor(HWND owner)
{
    return (FullScreenBits(owner) & kFullScreenSipButtonHidden) != 0;
}

// The panel's button in a band's client coordinates.
RECT SipButtonInBand()
{
    RECT area = SipButtonRect();
    RECT band = MenuBarRect();
    OffsetRect(&area, -band.left, -band.top);
    return area;
}

}  // namespace

HWND MenuBar::Create(const SHMENUBARINFO& info)
{
    HWND owner = info.hwndParent;
    if (!IsWindow(owner) || GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId())
        return nullptr;
    if (MenuBar* previous = FromOwner(owner))
        DestroyWindow(previous->band_);

    MenuBar* bar = new MenuBar();
    bar->owner_ = owner;
    if (!bar->CreateWindows()) {
        delete bar;
        return nullptr;
    }
    // From here the band's destruction frees the object.
    if (!bar->Build(info)) {
        DestroyWindow(bar->band_);
        return nullptr;
    }
    bar->UpdateVisibility();
    return bar->toolbar_;
}

void MenuBar::UnregisterClasses()
{
    // Refused while a band still exists; such a band's window is its owner's
    // to destroy before the module goes.
    UnregisterClassW(kBandClass, ModuleInstance());
}

MenuBar* MenuBar::FromOwner(HWND owner)
{
    return static_cast<MenuBar*>(GetPropW(owner, kMenuBarProperty));
}

bool MenuBar::DrawsSipButtonFor(HWND window)
{
    // Only window handles here: the panels' thread asks about windows of
    // other threads, whose bar objects may be going at the same time.
    HWND owner = window;
    HWND toolbar = nullptr;
    while (owner != nullptr && (toolbar = ToolbarOf(owner)) == nullptr)
        owner = GetWindow(owner, GW_OWNER);
    // The band of the window in front shows unless the program hid its
    // toolbar; it may not be on the screen yet while the front changes.
    return toolbar != nullptr && (GetWindowLongPtrW(toolbar, GWL_STYLE) & WS_VISIBLE) && IsWindowVisible(owner) &&
           !SipButtonHiddenFor(owner);
}

void MenuBar::SipButtonChanged(HWND owner)
{
    if (HWND toolbar = ToolbarOf(owner)) {
        RECT area = SipButtonInBand();
        InvalidateRect(GetParent(toolbar), &area, FALSE);
    }
}

bool MenuBar::DrawsSipButton() const
{
    return owner_ != nullptr && !SipButtonHiddenFor(owner_);
}

bool MenuBar::CreateWindows()
{
    HINSTANCE instance = ModuleInstance();
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    if (!RegisterPanelClass(instance, kBandClass, BandProc))
        return false;
    // The program fills and asks the bar by SendMessage on this thread.
    OwnThreadSend::Watch();
    RECT area = MenuBarRect();
    band_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kBandClass, L"", WS_POPUP | WS_CLIPCHILDREN,
                            area.left, area.top, area.right - area.left, area.bottom - area.top, owner_,
                            nullptr, instance, this);
    if (band_ == nullptr)
        return false;
    ownedByBand_ = true;
    Attach();
    return true;
}

bool MenuBar::Build(const SHMENUBARINFO& info)
{
    HINSTANCE instance = info.hInstRes != nullptr ? info.hInstRes : GetModuleHandleW(nullptr);
    RECT area = MenuBarRect();
    DWORD visible = (info.dwFlags & SHCMBF_HIDDEN) ? 0 : WS_VISIBLE;
    // The separating line at the band's top stays visible above the toolbar.
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | visible | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS |
                                   CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                               0, 1, area.right - area.left - kSipButtonWidth, area.bottom - area.top - 1,
                               band_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarControlId)),
                               instance, nullptr);
    if (toolbar_ == nullptr)
        return false;
    if (!WindowLinks::Link(toolbar_, ToolbarProc, this))
        return false;
    SetPropW(owner_, kMenuBarToolbarProperty, toolbar_);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Text shows only on the bar's own buttons; tool buttons are images.
    SendMessageW(toolbar_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);

    if (info.dwFlags & SHCMBF_HIDESIPBUTTON) {
        SetFullScreenBits(owner_, FullScreenBits(owner_) | kFullScreenSipButtonHidden);
    }
    if (info.dwFlags & SHCMBF_EMPTYBAR)
        return true;
    // The images of the bar's own buttons, first in the strip, so that the
    // resource's image indexes count from it.
    if (info.nBmpId != 0 && info.cBmpImages > 0)
        CommandBar_AddBitmap(toolbar_, instance, info.nBmpId, info.cBmpImages, kImageSize, kImageSize);

    MenuBarResource resource;
    bool hasResource = !(info.dwFlags & SHCMBF_HMENU) && LoadMenuBarResource(instance, info.nToolBarId, &resource);
    UINT menuId = hasResource && resource.menuId != 0 ? resource.menuId : info.nToolBarId;
    menu_ = LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
    if (hasResource) {
        AddResourceButtons(instance, resource);
        return true;
    }
    if (menu_ == nullptr)
        return false;
    AddMenuButtons();
    return true;
}

void MenuBar::AddButton(int image, int command, BYTE state, BYTE style, const wchar_t* label)
{
    TBBUTTON button = {};
    button.iBitmap = image;
    button.idCommand = command;
    button.fsState = state;
    button.fsStyle = style;
    if (label != nullptr && label[0] != L'\0') {
        button.fsStyle |= BTNS_SHOWTEXT | BTNS_AUTOSIZE;
        button.iString = reinterpret_cast<INT_PTR>(label);  // the toolbar keeps a copy
    } else {
        button.iString = -1;
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
}

void MenuBar::AddResourceButtons(HINSTANCE instance, const MenuBarResource& resource)
{
    for (const MenuBarButton& entry : resource.buttons) {
        wchar_t label[kMaxLabel] = L"";
        if (entry.labelId != 0)
            LoadStringW(instance, entry.labelId, label, static_cast<int>(kMaxLabel));
        HMENU subMenu = nullptr;
        if (entry.subMenu >= 0 && menu_ != nullptr)
            subMenu = GetSubMenu(menu_, entry.subMenu);
        if (label[0] == L'\0' && entry.subMenu >= 0 && menu_ != nullptr)
            GetMenuStringW(menu_, static_cast<UINT>(entry.subMenu), label, static_cast<int>(kMaxLabel), MF_BYPOSITION);
        if (subMenu != nullptr)
            subMenus_.push_back(SubMenuLink{entry.command, subMenu});
        AddButton(entry.image, entry.command, entry.state, entry.style, label);
    }
}

void MenuBar::AddMenuButtons()
{
    int count = GetMenuItemCount(menu_);
    for (int position = 0; position < count; ++position) {
        wchar_t label[kMaxLabel] = L"";
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE;
        item.dwTypeData = label;
        item.cch = kMaxLabel;
        if (!GetMenuItemInfoW(menu_, static_cast<UINT>(position), TRUE, &item) || (item.fType & MFT_SEPARATOR))
            continue;
        int command = item.hSubMenu != nullptr ? kFirstPopupCommand + position : static_cast<int>(item.wID);
        BYTE style = BTNS_AUTOSIZE;
        if (item.hSubMenu != nullptr) {
            style |= BTNS_DROPDOWN;
            subMenus_.push_back(SubMenuLink{command, item.hSubMenu});
        }
        AddButton(I_IMAGENONE, command, TBSTATE_ENABLED, style, label);
    }
}

void MenuBar::Attach()
{
    SetPropW(owner_, kMenuBarProperty, this);
    WindowLinks::Link(owner_, OwnerProc, this);
}

void MenuBar::Detach()
{
    if (owner_ == nullptr)
        return;
    if (GetPropW(owner_, kMenuBarProperty) == this) {
        RemovePropW(owner_, kMenuBarProperty);
        RemovePropW(owner_, kMenuBarToolbarProperty);
    }
    WindowLinks::Unlink(owner_, OwnerProc);
    owner_ = nullptr;
}

bool MenuBar::OwnsWindow(HWND window) const
{
    // A window with a menu bar of its own shows that one instead.
    if (window == nullptr || GetPropW(window, kMenuBarProperty) != nullptr)
        return false;
    for (HWND owner = window != nullptr ? GetWindow(window, GW_OWNER) : nullptr; owner != nullptr;
         owner = GetWindow(owner, GW_OWNER)) {
        if (owner == owner_)
            return true;
    }
    return false;
}

void MenuBar::UpdateVisibility(Activation activation, HWND front)
{
    if (band_ == nullptr)
        return;
    // While WM_ACTIVATE is being handled the old window is still the active
    // one, so the message itself says which way it goes.
    bool active = activation == Activation::Unknown
                      ? GetActiveWindow() == owner_ || OwnsWindow(GetActiveWindow())
                      : activation == Activation::Active;
    bool show = !destroying_ && owner_ != nullptr && toolbar_ != nullptr &&
                (GetWindowLongPtrW(toolbar_, GWL_STYLE) & WS_VISIBLE) && IsWindowVisible(owner_) && active;
    if (show) {
        // Put in front when the owner comes to the front (Wine's virtual
        // desktop does not always keep it over a window another program
        // raised); an owner that only moves or shows again keeps its bar
        // where it is, since each move of a window costs Wine a round of the
        // display's traffic.
        RECT area = MenuBarRect();
        RECT now = {};
        GetWindowRect(band_, &now);
        if (activation == Activation::Active || !IsWindowVisible(band_) || !EqualRect(&now, &area))
            SetWindowPos(band_, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                         SWP_NOACTIVATE | SWP_SHOWWINDOW);
    } else if (IsWindowVisible(band_)) {
        ShowWindow(band_, SW_HIDE);
    }
    ShellPanels::Refresh(front);
}

LRESULT CALLBACK MenuBar::BandProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<MenuBar, &MenuBar::band_, &MenuBar::HandleBandMessage>(window, message, wParam,
                                                                                     lParam);
}

LRESULT MenuBar::HandleBandMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = band_;
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ACTIVATE:
        // The handheld never activates a menu bar. Wine may, when another
        // program's window closes and it looks for the next window in
        // front: the bar's window is the one meant.
        if (LOWORD(wParam) != WA_INACTIVE && owner_ != nullptr && IsWindowVisible(owner_))
            PostMessageW(window, kMsgActivateOwner, 0, 0);
        return 0;
    case kMsgActivateOwner:
        if (owner_ != nullptr && GetForegroundWindow() == window)
            SetForegroundWindow(owner_);
        return 0;
    case WM_NOTIFY:
        if (!OwnThreadSend::FromOwnThread(window, message, wParam, lParam))
            return 0;
        return OnBandNotify(reinterpret_cast<const NMHDR*>(lParam));
    case WM_COMMAND:
        OnBandCommand(wParam);
        return 0;
    case WM_LBUTTONDOWN: {
        POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT button = SipButtonInBand();
        if (PtInRect(&button, at) && DrawsSipButton())
            SipButton::Toggle();
        return 0;
    }
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETSIPINFO) {
            RECT button = SipButtonInBand();
            InvalidateRect(window, &button, FALSE);
        }
        return 0;
    case WM_PAINT:
        OnBandPaint();
        return 0;
    case kMsgDestroyBand:
        DestroyWindow(window);
        return 0;
    case kMsgUpdateBand:
        UpdateVisibility();
        return 0;
    case kMsgTrackMenu:
        // The bar may be freed in here: nothing of it is touched afterwards.
        TrackMenu(static_cast<int>(wParam));
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        // The bar may be freed here: nothing of it is touched afterwards.
        OnBandDestroyed();
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool MenuBar::LinkedBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam, MenuBar** self,
                        WNDPROC* previous, LRESULT* result)
{
    if (!WindowLinks::Find(window, self, previous)) {
        *result = DefWindowProcW(window, message, wParam, lParam);
        return false;
    }
    if (*self == nullptr) {
        if (message == WM_NCDESTROY)
            WindowLinks::Forget(window);
        *result = CallWindowProcW(*previous, window, message, wParam, lParam);
        return false;
    }
    return true;
}

LRESULT CALLBACK MenuBar::ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuBar* self = nullptr;
    WNDPROC previous = nullptr;
    LRESULT unlinked = 0;
    if (!LinkedBar(window, message, wParam, lParam, &self, &previous, &unlinked))
        return unlinked;
    OwnThreadSend::Entry entry(window, message, wParam, lParam);
    // Posted, or sent from another thread or program, a pointer here is a
    // number out of someone else's memory: the message is dropped.
    if (CarriesPointer(message, wParam, lParam) && !OwnThreadSend::FromOwnThread(window, message, wParam, lParam))
        return 0;
    switch (message) {
    case CE_TB_SETTOOLTIPS:
        return self->SetToolTips(wParam, lParam);
    case kDesktopSetToolTips:
        // The desktop form (a tooltip window in wParam, nothing in lParam)
        // still reaches the toolbar; that window is the caller's to style.
        if (lParam != 0)
            return self->SetToolTips(wParam, lParam);
        self->toolTipWindowReady_ = true;
        break;
    case SHCMBM_GETMENU:
        return reinterpret_cast<LRESULT>(self->menu_);
    case SHCMBM_GETSUBMENU:
        return reinterpret_cast<LRESULT>(self->SubMenuOf(static_cast<int>(lParam)));
    case SHCMBM_SETSUBMENU:
        return reinterpret_cast<LRESULT>(self->SetSubMenu(static_cast<int>(wParam), reinterpret_cast<HMENU>(lParam)));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->code == TTN_GETDISPINFOW &&
            self->OnToolTipText(reinterpret_cast<NMTTDISPINFOW*>(lParam)))
            return 0;
        break;
    }
    case WM_MOUSEMOVE:
    case TB_GETTOOLTIPS:
        self->PrepareToolTipWindow();
        break;
    case TB_ADDBUTTONSW:
        return self->InsertToolButtons(-1, static_cast<int>(wParam), reinterpret_cast<const TBBUTTON*>(lParam));
    case TB_INSERTBUTTONW:
        return self->InsertToolButtons(static_cast<int>(wParam), 1, reinterpret_cast<const TBBUTTON*>(lParam));
    case WM_WINDOWPOSCHANGED: {
        LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
        self->UpdateVisibility();
        return result;
    }
    case WM_SHOWWINDOW:
        // Showing a child of a hidden window only sets its style, after
        // this message: look again once that is done.
        if (self->band_ != nullptr)
            PostMessageW(self->band_, kMsgUpdateBand, 0, 0);
        break;
    case WM_NCDESTROY:
        WindowLinks::Unlink(window, ToolbarProc);
        WindowLinks::Forget(window);
        self->OnToolbarDestroyed();
        break;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

LRESULT MenuBar::CallToolbar(UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuBar* self = nullptr;
    WNDPROC previous = nullptr;
    if (toolbar_ == nullptr || !WindowLinks::Find(toolbar_, &self, &previous))
        return 0;
    return CallWindowProcW(previous, toolbar_, message, wParam, lParam);
}

void MenuBar::PrepareToolTipWindow()
{
    // Wine's toolbar makes its tooltip window only when it is first needed:
    // at the first pointer move over the bar, or when someone asks for it.
    // Asked for here, just before, rather than when the bar is built: that
    // window and a tool for each button cost more than the rest of the bar.
    if (toolTipWindowReady_)
        return;
    toolTipWindowReady_ = true;
    // The band is never the active window, and a tooltip shows only over an
    // active window unless told otherwise.
    if (HWND tips = reinterpret_cast<HWND>(CallToolbar(TB_GETTOOLTIPS, 0, 0))) {
        LONG_PTR tipStyle = GetWindowLongPtrW(tips, GWL_STYLE);
        SetWindowLongPtrW(tips, GWL_STYLE, tipStyle | TTS_ALWAYSTIP);
    }
}

LRESULT CALLBACK MenuBar::OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuBar* self = nullptr;
    WNDPROC previous = nullptr;
    LRESULT unlinked = 0;
    if (!LinkedBar(window, message, wParam, lParam, &self, &previous, &unlinked))
        return unlinked;
    switch (message) {
    case WM_ACTIVATE: {
        LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
        // A pop-up of the window's own (a picker, a message box) keeps the
        // window's menu bar on the handheld: only another window takes it.
        bool toOwnPopup = LOWORD(wParam) == WA_INACTIVE && self->OwnsWindow(reinterpret_cast<HWND>(lParam));
        bool active = LOWORD(wParam) != WA_INACTIVE || toOwnPopup;
        // Losing the front, the window names the one that takes it.
        self->UpdateVisibility(active ? Activation::Active : Activation::Inactive,
                               active ? nullptr : reinterpret_cast<HWND>(lParam));
        return result;
    }
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED: {
        LRESULT result = CallWindowProcW(previous, window, message, wParam, lParam);
        self->UpdateVisibility();
        return result;
    }
    case WM_NCDESTROY:
        // Owned windows normally go first; this covers an owner whose band
        // outlived it.
        self->Detach();
        WindowLinks::Forget(window);
        if (self->band_ != nullptr)
            DestroyWindow(self->band_);
        break;
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

LRESULT MenuBar::OnBandNotify(const NMHDR* header)
{
    if (header == nullptr || header->hwndFrom != toolbar_)
        return 0;
    if (header->code == static_cast<UINT>(TBN_DROPDOWN))
        return OnDropDown(reinterpret_cast<const NMTOOLBARW*>(header)->iItem);
    return 0;
}

void MenuBar::OnBandCommand(WPARAM wParam)
{
    if (owner_ != nullptr)
        SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), reinterpret_cast<LPARAM>(toolbar_));
}

void MenuBar::OnBandPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(band_, &paint);
    RECT client;
    GetClientRect(band_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    RECT line = {client.left, client.top, client.right, client.top + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
    // The handheld's menu bar ends in the input panel's button; a window in
    // front with this bar shows no button window of its own.
    if (DrawsSipButton())
        SipButton::Paint(dc, SipButtonInBand());
    EndPaint(band_, &paint);
}

LRESULT MenuBar::OnDropDown(int command)
{
    if (SubMenuOf(command) == nullptr || owner_ == nullptr)
        return TBDDRET_NODEFAULT;
    // Tracked once the toolbar's handling of the tap is over: the menu's
    // loop lets messages in, one of them may close the bar's window, and
    // the toolbar would then go on with a tap on a toolbar that is gone.
    PostMessageW(band_, kMsgTrackMenu, static_cast<WPARAM>(command), 0);
    return TBDDRET_DEFAULT;
}

void MenuBar::TrackMenu(int command)
{
    HMENU subMenu = SubMenuOf(command);
    if (subMenu == nullptr || owner_ == nullptr || toolbar_ == nullptr)
        return;
    RECT button = {};
    SendMessageW(toolbar_, TB_GETRECT, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(toolbar_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    RECT band;
    GetWindowRect(band_, &band);
    SendMessageW(toolbar_, TB_PRESSBUTTON, static_cast<WPARAM>(command), TRUE);
    // The chosen item reaches the owner as WM_COMMAND, as from a window
    // menu. The band may be destroyed meanwhile: the object then waits for
    // the menu's end to be freed.
    tracking_ = true;
    TrackPopupMenuEx(subMenu, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_LEFTBUTTON, button.left, band.top, owner_,
                     nullptr);
    tracking_ = false;
    if (band_ == nullptr) {
        if (freeAfterMenu_)
            delete this;
        return;
    }
    if (toolbar_ != nullptr)
        SendMessageW(toolbar_, TB_PRESSBUTTON, static_cast<WPARAM>(command), FALSE);
}

bool MenuBar::OnToolTipText(NMTTDISPINFOW* info)
{
    LRESULT index = SendMessageW(toolbar_, TB_COMMANDTOINDEX, info->hdr.idFrom, 0);
    if (index < 0 || static_cast<size_t>(index) >= toolTips_.size() || toolTips_[index].empty())
        return false;
    info->hinst = nullptr;
    info->lpszText = const_cast<wchar_t*>(toolTips_[index].c_str());
    return true;
}

LRESULT MenuBar::SetToolTips(WPARAM count, LPARAM array)
{
    const wchar_t* const* texts = reinterpret_cast<const wchar_t* const*>(array);
    if (texts == nullptr || count > kMaxToolTips)
        return FALSE;
    toolTips_.assign(count, std::wstring());
    for (WPARAM i = 0; i < count; ++i) {
        if (texts[i] != nullptr)
            toolTips_[i].assign(texts[i], wcsnlen(texts[i], kMaxToolTip));
    }
    return TRUE;
}

LRESULT MenuBar::InsertToolButtons(int position, int count, const TBBUTTON* buttons)
{
    if (buttons == nullptr || count <= 0 || count > kMaxToolButtons)
        return FALSE;
    // The handheld's bar sizes every button to its image; the desktop
    // toolbar in list style would give each the width of the widest label.
    std::vector<TBBUTTON> sized(buttons, buttons + count);
    for (TBBUTTON& button : sized) {
        if (!(button.fsStyle & BTNS_SEP))
            button.fsStyle |= BTNS_AUTOSIZE;
    }
    if (position < 0)
        return CallToolbar(TB_ADDBUTTONSW, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(sized.data()));
    return CallToolbar(TB_INSERTBUTTONW, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(sized.data()));
}

HMENU MenuBar::SubMenuOf(int command) const
{
    for (const SubMenuLink& link : subMenus_) {
        if (link.command == command)
            return link.menu;
    }
    return nullptr;
}

HMENU MenuBar::SetSubMenu(int command, HMENU menu)
{
    for (SubMenuLink& link : subMenus_) {
        if (link.command == command) {
            HMENU previous = link.menu;
            link.menu = menu;
            return previous;
        }
    }
    subMenus_.push_back(SubMenuLink{command, menu});
    return nullptr;
}

void MenuBar::OnToolbarDestroyed()
{
    toolbar_ = nullptr;
    if (!destroying_ && band_ != nullptr) {
        // The program destroyed hwndMB: the band goes too, but not from
        // inside the toolbar's own destruction.
        destroying_ = true;
        ShowWindow(band_, SW_HIDE);
        PostMessageW(band_, kMsgDestroyBand, 0, 0);
    }
}

void MenuBar::OnBandDestroyed()
{
    destroying_ = true;
    band_ = nullptr;
    Detach();
    // The menu belongs to the bar; a program that already destroyed it
    // leaves a stale handle, which IsMenu refuses.
    if (menu_ != nullptr && IsMenu(menu_))
        DestroyMenu(menu_);
    menu_ = nullptr;
    ShellPanels::Refresh();
    // A band that failed while being created is freed by Create instead;
    // one whose menu is still tracked, when that ends.
    if (ownedByBand_ && tracking_)
        freeAfterMenu_ = true;
    else if (ownedByBand_)
        delete this;
}

}  // namespace ceshell
