#include <gtest/gtest.h>

#include <string>

#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestWindow.h"
#include "aygshell.h"

namespace {

struct PanelCount {
    DWORD process;
    int count;
};

BOOL CALLBACK CountPanel(HWND window, LPARAM data)
{
    PanelCount* counter = reinterpret_cast<PanelCount*>(data);
    wchar_t name[64];
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == counter->process && GetClassNameW(window, name, 64) && std::wstring(name) == L"CeShellInputPanel")
        ++counter->count;
    return TRUE;
}

int InputPanelsOfThisProcess()
{
    PanelCount counter = {GetCurrentProcessId(), 0};
    EnumWindows(CountPanel, reinterpret_cast<LPARAM>(&counter));
    return counter.count;
}

TEST(UnloadTest, ALibraryThatUsedTheShellLeavesNothingBehindWhenUnloaded)
{
    TestWindow window;
    ShowWindow(window.Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(window.Handle());
    SHFullScreen(window.Handle(), SHFS_SHOWSIPBUTTON);  // this program's own panels
    int ownPanels = InputPanelsOfThisProcess();

    HMODULE library = LoadLibraryW(BesideTestProgram(L"testlibs\\CeShellUnloadTest.dll").c_str());
    ASSERT_NE(nullptr, library);
    auto prepare = reinterpret_cast<BOOL(*)(HWND)>(reinterpret_cast<void*>(GetProcAddress(library, "PrepareWindow")));
    ASSERT_NE(nullptr, prepare);
    ASSERT_TRUE(prepare(window.Handle()));
    EXPECT_EQ(ownPanels + 1, InputPanelsOfThisProcess());

    ASSERT_TRUE(FreeLibrary(library));
    EXPECT_EQ(ownPanels, InputPanelsOfThisProcess());
    // Messages to every window and through every hook, as after an unload
    // on the device: nothing may call into the unloaded code.
    SipShowIM(SIPF_ON);
    SipShowIM(SIPF_OFF);
    PostMessageW(window.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    PostMessageW(window.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(PumpUntil([&] { return window.log.Count(WM_LBUTTONUP) == 1; }));
}

}  // namespace
