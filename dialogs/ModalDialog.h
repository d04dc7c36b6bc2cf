// Runs one of the program's dialogs modally from its template, as the
// handheld's dialogs are run: the template is found in the program's
// resources and handed over as it stands.
#pragma once

#include <windows.h>

// Returns the dialog's result, or -1 when the template is missing.
INT_PTR RunDialogFromResource(int templateId, HWND owner, DLGPROC procedure, LPARAM parameter);

// Brings a dialog of the program to the front as the handheld shows one: in
// front, with the input panel's button put back on the menu bar.
void BringDialogToFront(HWND dialog);
