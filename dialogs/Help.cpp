// TEMPORARY stand-in so that the options window links before the help
// launcher lands; the help launcher's own Help.cpp replaces this file.
#include "dialogs/Help.h"

const wchar_t kHelpFile[] = L"Jotlings.htm";

void ShowHelp(const wchar_t*, const wchar_t*) {}

void SetStartProgramFunction(StartProgramFunction) {}
