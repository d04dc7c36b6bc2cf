// What a dialog's controls show, read as a person reads them.
#pragma once

#include <windows.h>

#include <string>

// The text of a drop-down list's chosen entry; "(none)" when none is chosen.
std::wstring SelectedText(HWND comboBox);
// Whether a check box or radio button is ticked.
bool IsTicked(HWND button);
