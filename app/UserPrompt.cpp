#include "app/UserPrompt.h"
#include <cecompat.h>

namespace {

int RealMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return MessageBoxW(owner, text, caption, type);
}

AskUserFunction g_askUser = RealMessageBox;

}  // namespace

int AskUser(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return g_askUser(owner, text, caption, type);
}

void SetAskUserFunction(AskUserFunction function)
{
    g_askUser = function != nullptr ? function : RealMessageBox;
}
