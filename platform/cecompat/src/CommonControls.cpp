#include "cecompat.h"

#include "MonthCalendar.h"

// The real call of comctl32; cecompat.h sends the program's calls here.
#undef InitCommonControlsEx

namespace {

HINSTANCE CallingModule()
{
    // cecompat is linked into each module that calls it, so the module that
    // holds this code is the caller's.
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&CallingModule), &module);
    return module;
}

// A library that registered the calendar takes its class down when it is
// unloaded, so that no window can be made of a class whose procedure is gone.
struct CalendarClass {
    HINSTANCE module = nullptr;
    ~CalendarClass()
    {
        if (module != nullptr)
            MonthCalendar::Unregister(module);
    }
};

CalendarClass g_calendarClass;

}  // namespace

BOOL WINAPI CeInitCommonControlsEx(const INITCOMMONCONTROLSEX* controls)
{
    BOOL done = InitCommonControlsEx(controls);
    if (done && (controls->dwICC & ICC_DATE_CLASSES) && g_calendarClass.module == nullptr) {
        HINSTANCE module = CallingModule();
        if (MonthCalendar::Register(module))
            g_calendarClass.module = module;
    }
    return done;
}
