#include "shared/SharedNames.h"

#include <wchar.h>

const wchar_t kSettingsKey[] = L"SOFTWARE\\KORVA\\Jotlings";
const wchar_t kTodayItemKey[] = L"SOFTWARE\\Microsoft\\Today\\Items\\KORVA Jotlings";
const wchar_t kChangeEventName[] = L"KORVA Jotlings Event";
const wchar_t kMainWindowClass[] = L"JOTLINGS";
const wchar_t kMainWindowTitle[] = L"KORVA Jotlings";
