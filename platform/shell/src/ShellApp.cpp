#include "platform/shell/src/ShellApp.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"

#include "platform/shell/src/ShellConstants.h"

#include <algorithm>

namespace shell {

namespace {

const UINT_PTR kSchedulerTimer = 1;
const UINT_PTR kButtonsTimer = 2;

HWND FindServices()
{
    return FindWindowExW(HWND_MESSAGE, nullptr, kServicesClass, nullptr);
}

// Waits for a mutex; an abandoned one (its shell ended without letting it
// go) counts as had.
bool WaitFor(HANDLE mutex, DWORD timeoutMs)
{
    DWORD result = WaitForSingleObject(mutex, timeoutMs);
    return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

// On the handheld the Today screen is the desktop: it takes the front only
// when no other program's window has it. A window the shell's restart
// found in front (an alarm the program opened itself) keeps it.
bool AnotherProgramInFront()
{
    HWND front = GetForegroundWindow();
    if (front == nullptr || front == GetDesktopWindow() || !IsWindowVisible(front)) {
        return false;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(front, &process);
    return process != 0 && process != GetCurrentProcessId();
}

}  // namespace

ShellApp::ShellApp() : life_(nullptr), lifeOwned_(false), services_(nullptr) {}

ShellApp::~ShellApp()
{
    // The items draw on the Today screen among the bars: they go first, and
    // their libraries are unloaded before anything else of the shell.
    today_.Destroy();
    navBar_.reset();
    startMenu_.reset();
    if (services_ != nullptr) {
        DestroyWindow(services_);
    }
    if (lifeOwned_) {
        ReleaseMutex(life_);
    }
    if (life_ != nullptr) {
        CloseHandle(life_);
    }
}

bool ShellApp::TakeLife()
{
    life_ = CreateMutexW(nullptr, FALSE, kShellLifeMutex);
    if (life_ == nullptr) {
        return false;
    }
    // A shell that is up keeps its place; one going down is waited for.
    if (FindServices() != nullptr) {
        return false;
    }
    lifeOwned_ = WaitFor(life_, kGoingDownWaitMs);
    return lifeOwned_;
}

bool ShellApp::Start(HINSTANCE instance)
{
    if (!TakeLife()) {
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
    // Runs missed while the shell was down start before anything else, and
    // what they start (an alarm, its window not made yet) keeps the front:
    // the Today screen comes up behind it, as it does behind a window that
    // is in front already.
    runsWatch_.reset(new KeyWatch(CeRunStore::kDefaultKey, services_, kMsgRunsChanged));
    bool startedRuns = PollRuns() > 0;
    bool inFront = !startedRuns && !AnotherProgramInFront();
    buttons_.WriteDefaultTable();
    buttons_.Load();

    if (!today_.Create(instance, inFront)) {
        return false;
    }
    startMenu_.reset(new StartMenu(today_.Window()));
    navBar_.reset(new NavBar(*startMenu_));
    if (!navBar_->Create(instance)) {
        return false;
    }
    if (inFront) {
        SetForegroundWindow(today_.Window());
    }
    // Without the device's input to follow, the buttons and the bar look on
    // a timer, as they must.
    inputWatched_ = input_.Start(services_);
    buttons_.Poll();
    if (!inputWatched_) {
        SetTimer(services_, kButtonsTimer, HardwareButtons::kPollMs, nullptr);
        navBar_->KeepLooking();
    }
    return true;
}

int ShellApp::PollRuns()
{
    int started = scheduler_.Poll();
    DWORD wait = scheduler_.MsToNextRun();
    if (runsWatch_ == nullptr || !runsWatch_->Watching())
        wait = std::min<DWORD>(wait, 1000);
    wait = std::min<DWORD>(wait, kSchedulerLongestWaitMs);
    SetTimer(services_, kSchedulerTimer, std::max<DWORD>(wait, USER_TIMER_MINIMUM), nullptr);
    // What a run starts comes to the front without a tap.
    if (started > 0 && navBar_ != nullptr)
        navBar_->Wake();
    return started;
}

void ShellApp::OnKey(UINT key)
{
    if (navBar_ != nullptr)
        navBar_->Wake();
    if (!inputWatched_ || !buttons_.Watches(key))
        return;
    buttons_.Poll();
    // A held button is followed until it is let go, whatever the hooks see.
    if (buttons_.AnyHeld())
        SetTimer(services_, kButtonsTimer, HardwareButtons::kPollMs, nullptr);
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
    if (running != nullptr) {
        DWORD processId = 0;
        GetWindowThreadProcessId(running, &processId);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        PostMessageW(running, WM_CLOSE, 0, 0);
        // The shell's window goes first and its items are unloaded after
        // it: the quit is done when the process has ended.
        if (process != nullptr) {
            DWORD ended = WaitForSingleObject(process, timeoutMs);
            CloseHandle(process);
            if (ended != WAIT_OBJECT_0) {
                return false;
            }
        }
    }
    // A shell that was already going down (or whose process could not be
    // opened) is done once it lets its life go.
    HANDLE life = OpenMutexW(SYNCHRONIZE, FALSE, kShellLifeMutex);
    if (life == nullptr) {
        return true;
    }
    bool done = WaitFor(life, timeoutMs);
    if (done) {
        ReleaseMutex(life);
    }
    CloseHandle(life);
    return done;
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
    case InputWatch::kMsgKey:
        OnKey(static_cast<UINT>(wParam));
        return 0;
    case InputWatch::kMsgActivity:
        if (navBar_ != nullptr)
            navBar_->Wake();
        return 0;
    case kMsgRunsChanged:
        PollRuns();
        return 0;
    case WM_CLOSE:
        DestroyWindow(services_);
        return 0;
    case WM_DESTROY:
        KillTimer(services_, kSchedulerTimer);
        KillTimer(services_, kButtonsTimer);
        input_.Stop();
        runsWatch_.reset();
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
        PollRuns();
    } else if (id == kButtonsTimer) {
        buttons_.Poll();
        if (inputWatched_ && !buttons_.AnyHeld())
            KillTimer(services_, kButtonsTimer);
    }
}

}  // namespace shell
