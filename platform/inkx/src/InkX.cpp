// Entry points of InkX.dll.
#include "InkFrame.h"
#include "InkRecorderBar.h"
#include "InkStrokePainter.h"
#include "InkView.h"
#include "inkx.h"

static HINSTANCE module = nullptr;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" INKX_API BOOL WINAPI InitInkX(void)
{
    HINSTANCE instance = module != nullptr ? module : GetModuleHandleW(nullptr);
    InkStrokePainter::Startup();
    return InkView::Register(instance) && InkRecorderBar::Register(instance) &&
           InkFrame::Register(instance);
}
