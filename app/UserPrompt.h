// The program's one way to ask the user something in a message box, so
// that tests can give the answer a person would.
#pragma once

#include <windows.h>

// MessageBoxW(owner, text, caption, type) by default; returns its answer.
int AskUser(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

typedef int (*AskUserFunction)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
// Replaces how the user is asked; null puts the message box back.
void SetAskUserFunction(AskUserFunction function);
