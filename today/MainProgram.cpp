#include "today/MainProgram.h"

#include "app/MainMessages.h"
#include "notes/SharedNoteMap.h"
#include "platform/common/ProgramStartLimits.h"
#include "today/TodayConstants.h"

#include <shellapi.h>

namespace {

void ShellStart(const wchar_t* program, const wchar_t* arguments, HINSTANCE instance)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = program;
    info.lpParameters = arguments;
    info.nShow = SW_SHOWNORMAL;
    info.hInstApp = instance;
    if (ShellExecuteExW(&info) && info.hProcess != nullptr)
        CloseHandle(info.hProcess);
}

}  // namespace

ProgramStarter g_startProgram = ShellStart;

HWND FindMainWindow()
{
    return FindWindowW(kMainWindowClass, kMainWindowTitle);
}

void StartMain(MainCommand command, const wchar_t* program, const wchar_t* notePath, HINSTANCE instance)
{
    HWND main = FindMainWindow();
    const wchar_t* word = L"";
    switch (command) {
    case MainCommand::AddNew:
        if (main != nullptr) {
            PostMessageW(main, kMsgNewNote, 0, 0);
            return;
        }
        word = kWordAddNew;
        break;
    case MainCommand::ShowAll:
        if (main != nullptr) {
            PostMessageW(main, kMsgShowAllNotes, 0, 0);
            return;
        }
        word = kWordShowAll;
        break;
    case MainCommand::OpenNote:
        if (notePath == nullptr || notePath[0] == L'\0')
            return;
        if (main != nullptr) {
            HandOverNotePath(main, notePath);
            return;
        }
        word = notePath;
        break;
    case MainCommand::CheckDue:
        if (main != nullptr) {
            PostMessageW(main, kMsgCheckExpired, 0, 0);
            return;
        }
        break;
    }
    // The path comes from the registry: one that cannot be started is
    // treated as a program that is not there.
    if (FitsProgramStart(program, word))
        g_startProgram(program, word, instance);
}
