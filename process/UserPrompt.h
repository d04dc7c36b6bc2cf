// The program's one way to ask the user something in a message box, so
// that tests can give the answer a person would, and so that the rest of
// the program knows when a question is on screen: its modal loop goes on
// handling the program's messages, and a request that arrives meanwhile
// must wait for the answer rather than run inside it.
#pragma once

#include <windows.h>

// MessageBoxW(owner, text, caption, type) by default; returns its answer.
int AskUser(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

typedef int (*AskUserFunction)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
// Replaces how the user is asked; null puts the message box back.
void SetAskUserFunction(AskUserFunction function);

// True while one of the program's questions or messages is on screen, or
// one of its menus: a menu's loop also lets requests in, and one that
// closed the window the menu belongs to would pull it from under the user.
bool PromptShowing();
// A menu of the program's is up, from its start to its end (a window's
// WM_ENTERMENULOOP and WM_EXITMENULOOP).
void BeginMenuShowing();
void EndMenuShowing();
// Each time the last question or menu on screen goes, message is posted to
// window (null: nothing is posted).
void SetPromptAnsweredNotice(HWND window, UINT message);
