#include "platform/shell/src/ShellApp.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include "platform/shell/src/ShellConstants.h"

namespace shell {

namespace {

const UINT_PTR kSchedulerTimer = 1;
const UINT_PTR kButtonsTimer = 2;

HWND FindServices()
{
    return FindWindowExW(HWND_MESSAGE, nullptr, kServicesClass, nullptr);
}

}  // namespace

ShellApp::ShellApp() : services_(nullptr) {}

ShellApp::~ShellApp()
{
    navBar_.reset();
    today_.Destroy();
    if (services_ != nullptr) {
        DestroyWindow(services_);
    }
}

bool ShellApp::Start(HINSTANCE instance)
{
    if (FindServices() != nullptr) {
        return false;
    }
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kServicesClass;
    if (!RegisterClassOnce(windowClass)) {
        return false;
    }
    services_ = CreateWindowExW(0, kServicesClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                instance, this);
    if (services_ == nullptr) {
        return false;
    }
    // Runs missed while the shell was down start before anything else.
    scheduler_.Poll();
    buttons_.WriteDefaultTable();
    buttons_.Load();

    if (!today_.Create(instance)) {
        return false;
    }
    startMenu_.reset(new StartMenu(today_.Window()));
    navBar_.reset(new NavBar(*startMenu_));
    if (!navBar_->Create(instance)) {
        return false;
    }
    SetForegroundWindow(today_.Window());
    SetTimer(services_, kSchedulerTimer, kSchedulerPollMs, nullptr);
    SetTimer(services_, kButtonsTimer, HardwareButtons::kPollMs, nullptr);
    return true;
}

int ShellApp::Run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

bool ShellApp::QuitRunning(DWORD timeoutMs)
{
    HWND running = FindServices();
    if (running == nullptr) {
        return true;
    }
    PostMessageW(running, WM_CLOSE, 0, 0);
    for (DWORD waited = 0; waited < timeoutMs; waited += 50) {
        if (FindServices() == nullptr) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

LRESULT CALLBACK ShellApp::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<ShellApp, &ShellApp::services_, &ShellApp::HandleMessage>(window, message, wParam, lParam);
}

LRESULT ShellApp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_CLOSE:
        DestroyWindow(services_);
        return 0;
    case WM_DESTROY:
        KillTimer(services_, kSchedulerTimer);
        KillTimer(services_, kButtonsTimer);
        SetWindowLongPtrW(services_, GWLP_USERDATA, 0);
        services_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(services_, message, wParam, lParam);
    }
}

void ShellApp::OnTimer(UINT_PTR id)
{
    if (id == kSchedulerTimer) {
        scheduler_.Poll();
    } else if (id == kButtonsTimer) {
        buttons_.Poll();
    }
}

}  // namespace shell
