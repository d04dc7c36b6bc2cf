// The names both deliverables meet by: the settings key, the Today item's
// key, the change event and the command words. One definition, in the small
// library that Jotlings.exe and KJotlings.dll both link.
#include "app/Application.h"
#include "app/MainMessages.h"
#include "app/Settings.h"

const wchar_t kSettingsKey[] = L"SOFTWARE\\KORVA\\Jotlings";
const wchar_t kTodayItemKey[] = L"SOFTWARE\\Microsoft\\Today\\Items\\KORVA Jotlings";
const wchar_t kChangeEventName[] = L"KORVA Jotlings Event";

const wchar_t kWordShowAll[] = L"showall";
const wchar_t kWordAddNew[] = L"addnew";
const wchar_t kWordRunAtTime[] = L"AppRunAtTime";
