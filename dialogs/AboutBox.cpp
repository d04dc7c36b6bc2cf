#include "dialogs/AboutBox.h"

#include "dialogs/Help.h"
#include "dialogs/ModalDialog.h"
#include "process/Application.h"
#include "resources/resource.h"

#include <aygshell.h>
#include <cecompat.h>

AboutBox* g_aboutBox = nullptr;

namespace {

const wchar_t kHelpAnchor[] = L"About";
// The product name stands out in a larger, bold face of the dialog's font.
const int kNameFontHeight = -16;

}  // namespace

AboutBox::AboutBox() : ModalDialog(IDD_ABOUT) {}

AboutBox::~AboutBox()
{
    if (nameFont != nullptr)
        DeleteObject(nameFont);
}

INT_PTR AboutBox::HandleMessage(UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_HELP:
        ShowHelp(kHelpFile, kHelpAnchor);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK)
            return FALSE;
        EndDialog(dialog, 1);
        return TRUE;
    // The handheld draws dialogs white; the picture's background is white too.
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_CTLCOLORSTATIC:
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

void AboutBox::OnInitDialog()
{
    SHINITDLGINFO info = {};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = SHIDIF_DONEBUTTON | SHIDIF_SIZEDLG;
    SHInitDialog(&info);

    LOGFONTW face = {};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || GetObjectW(dialogFont, sizeof face, &face) == 0)
        lstrcpynW(face.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
    face.lfHeight = kNameFontHeight;
    face.lfWidth = 0;
    face.lfWeight = FW_BOLD;
    nameFont = CreateFontIndirectW(&face);
    if (nameFont != nullptr)
        SendDlgItemMessageW(dialog, IDC_ABOUT_NAME, WM_SETFONT, reinterpret_cast<WPARAM>(nameFont), FALSE);
}

void AboutBox::OnDestroy()
{
    // The name's static goes with the dialog, so the font may go now.
    if (nameFont != nullptr) {
        DeleteObject(nameFont);
        nameFont = nullptr;
    }
}
