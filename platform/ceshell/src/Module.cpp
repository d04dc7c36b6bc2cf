#include "Module.h"

#include "platform/common/OwnThreadSend.h"

#include "Gesture.h"
#include "MenuBar.h"
#include "ShellPanels.h"

namespace ceshell {

HINSTANCE ModuleInstance()
{
    static HMODULE module = nullptr;
    if (module == nullptr) {
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
    }
    return module;
}

namespace {

// Destroyed when the module unloads (a library's FreeLibrary, or a
// program's end). It lives in this file because ModuleInstance, which every
// window of the library uses, keeps the file linked.
struct ModuleTeardown {
    ~ModuleTeardown()
    {
        ShellPanels::Teardown();
        RemoveGestureHooks();
        OwnThreadSend::UnwatchAll();
        MenuBar::UnregisterClasses();
    }
};

ModuleTeardown g_teardown;

}  // namespace

}  // namespace ceshell
