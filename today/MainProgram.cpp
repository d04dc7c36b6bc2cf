#include "today/MainProgram.h"

#include "platform/common/ProgramStartLimits.h"
#include "shared/MainMessages.h"
#include "shared/ProgramWindow.h"
#include "shared/SharedNames.h"
#include "shared/SharedNoteMap.h"
#include "today/TodayConstants.h"

#include <shellapi.h>

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

ProgramStarter g_startProgram = ShellStart;

HWND FindMainWindow(const wchar_t* program)
{
    return FindProgramWindow(kMainWindowClass, kMainWindowTitle, program);
}

void StartMain(MainCommand command, const wchar_t* program, const wchar_t* notePath, HINSTANCE instance)
{
    HWND main = FindMainWindow(program);
    const wchar_t* word = L"";
    UINT message = 0;
    switch (command) {
    case MainCommand::AddNew:
        message = kMsgNewNote;
        word = CommandWordOfMessage(message);
        break;
    case MainCommand::ShowAll:
        message = kMsgShowAllNotes;
        word = CommandWordOfMessage(message);
        break;
    case MainCommand::OpenNote:
        if (notePath == nullptr || notePath[0] == L'\0')
            return;
        if (main != nullptr) {
            // Synchronous, so the note is open when the tap is done; but a
            // program that never answers leaves the tap unanswered rather
            // than the Today screen frozen.
            HandOverNotePath(main, notePath, kHandOverWaitMs);
            return;
        }
        word = notePath;
        break;
    case MainCommand::CheckDue:
        // Started for a due note, the program finds it in its start-up
        // check: it gets an empty command line, as from the handheld's item.
        message = kMsgCheckExpired;
        break;
    }
    if (main != nullptr && message != 0) {
        PostMessageW(main, message, 0, 0);
        return;
    }
    // The path comes from the registry: one that cannot be started is
    // treated as a program that is not there.
    if (FitsProgramStart(program, word))
        g_startProgram(program, word, instance);
}
