#include "process/UserPrompt.h"
#include <cecompat.h>

namespace {

int RealMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    return MessageBoxW(owner, text, caption, type);
}

AskUserFunction g_askUser = RealMessageBox;
int g_promptsShowing = 0;
int g_menusShowing = 0;
HWND g_noticeWindow = nullptr;
UINT g_noticeMessage = 0;

void PostNoticeWhenNothingShows()
{
    if (g_promptsShowing == 0 && g_menusShowing == 0 && g_noticeWindow != nullptr)
        PostMessageW(g_noticeWindow, g_noticeMessage, 0, 0);
}

}  // namespace

int AskUser(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type)
{
    ++g_promptsShowing;
    int answer = g_askUser(owner, text, caption, type);
    --g_promptsShowing;
    PostNoticeWhenNothingShows();
    return answer;
}

void BeginMenuShowing()
{
    ++g_menusShowing;
}

void EndMenuShowing()
{
    if (g_menusShowing <= 0)
        return;
    --g_menusShowing;
    PostNoticeWhenNothingShows();
}

void SetAskUserFunction(AskUserFunction function)
{
    g_askUser = function != nullptr ? function : RealMessageBox;
}

bool PromptShowing()
{
    return g_promptsShowing > 0 || g_menusShowing > 0;
}

void SetPromptAnsweredNotice(HWND window, UINT message)
{
    g_noticeWindow = window;
    g_noticeMessage = message;
}
