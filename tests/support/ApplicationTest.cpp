#include "tests/support/ApplicationTest.h"

// Before commctrl.h, as in the program: its date classes are the device's
// calendar, not the desktop's.
#include <cecompat.h>
#include <commctrl.h>

void ApplicationTest::SetUp()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES | ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    StartApplication();
    g_application->SetMode(0);
    g_application->SetPage(0);
    g_application->SetZoom(3);
    g_application->SetNotify(true);
    g_application->SetPlaySnd(false);
    g_application->SetPlayRec(false);
    g_application->SetDontPlay(false);
    g_application->SetAutoDel(0);
    g_application->SetRecBtn(0);
}

void ApplicationTest::TearDown()
{
    EndApplication();
}

void ApplicationTest::StartApplication()
{
    g_application = new Application(documents.Path());
    g_application->SetInstance(GetModuleHandleW(nullptr));
}

void ApplicationTest::EndApplication()
{
    delete g_application;
    g_application = nullptr;
}
