// A library that uses the shell library, as a Today item does inside the
// shell's process; the tests load it, let it make its windows and unload it.
#include "aygshell.h"

extern "C" __declspec(dllexport) BOOL PrepareWindow(HWND window)
{
    SHINITDLGINFO info = {SHIDIM_FLAGS, window, SHIDIF_DONEBUTTON};
    return SHInitDialog(&info);
}
