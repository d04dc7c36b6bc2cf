#include "tests/support/DialogControls.h"

std::wstring SelectedText(HWND comboBox)
{
    LRESULT index = SendMessageW(comboBox, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return L"(none)";
    wchar_t text[64] = L"";
    SendMessageW(comboBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

bool IsTicked(HWND button)
{
    return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
