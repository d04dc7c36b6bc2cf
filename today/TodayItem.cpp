#include "today/TodayItem.h"

#include "platform/common/ObjectWindowProc.h"
#include "platform/common/RegisterClassOnce.h"
#include "platform/common/Text.h"
#include "shared/NotesFolder.h"
#include "shared/ProgramWindow.h"
#include "shared/Registry.h"
#include "shared/SharedNames.h"
#include "today/MainProgram.h"
#include "today/TodayConstants.h"
#include "today/TestSeams.h"
#include "today/TodayDate.h"

#include "diag/TraceLog.h"

#include <algorithm>
#include <CeRunStore.h>
#include <cecompat.h>

TodayItem g_todayItem;

namespace {

const wchar_t kFontFace[] = L"Tahoma";
const wchar_t kEmptyText[] = L"Tap here to add new jotling";
const wchar_t kShowAllText[] = L"show all jotlings ...";
const wchar_t kMeasureText[] = L"Aygj";
const wchar_t kHostModuleEnding[] = L"m_Jotings.exe";
const wchar_t kLibraryName[] = L"KJotlings.dll";
const wchar_t kProgramName[] = L"Jotlings.exe";
// A note found due is looked at again after this, in case the program did
// not take it; otherwise the watcher sleeps until the pending note's time,
// and never longer than a minute (the device's clock may be set).
const DWORD kDueAgainMs = 5000;
const DWORD kLongestCheckWaitMs = 60000;
const wchar_t kRunRefusedCaption[] = L"Jotlings";
const wchar_t kRunRefusedText[] =
    L"The next jotling's alarm could not be set: another program holds the device's list of timed runs. "
    L"Until it lets go, the alarm comes only while the Today screen is shown.";

// The empty-state font is 11 pixels on the handheld's Pocket PC 2002 (major
// version 3), else 12.
bool IsPocketPc3()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExW(&version) || version.dwMajorVersion != 3)
        return false;
    wchar_t platform[260] = L"";
    return SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof platform, platform, 0) &&
           wcscmp(platform, L"PocketPC") == 0;
}

HFONT MakeFont(int height)
{
    LOGFONTW font = {};
    font.lfHeight = -height;
    font.lfCharSet = DEFAULT_CHARSET;
    CopyText(font.lfFaceName, LF_FACESIZE, kFontFace);
    return CreateFontIndirectW(&font);
}

// Reads a string of the settings key without creating the key.
void ReadSetting(const wchar_t* name, wchar_t* out)
{
    RegPeekString(kSettingsKey, name, out, MAX_PATH);
}

// A thread that runs this library's code keeps the library loaded until it
// has ended, whatever the host does meanwhile.
HANDLE StartLibraryThread(LPTHREAD_START_ROUTINE routine, void* argument)
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(routine), &self))
        return nullptr;
    HANDLE thread = CreateThread(nullptr, 0, routine, argument, 0, nullptr);
    if (thread == nullptr)
        FreeLibrary(self);
    return thread;
}

[[noreturn]] void EndLibraryThread()
{
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&EndLibraryThread), &self);
    FreeLibraryAndExitThread(self, 0);
}

// Waits for threads while still answering messages sent to this thread, so
// that nothing a thread sends here can hold the wait up.
void WaitServingSends(HANDLE* threads, DWORD count)
{
    for (DWORD i = 0; i < count; ++i) {
        if (threads[i] == nullptr)
            continue;
        while (MsgWaitForMultipleObjects(1, &threads[i], FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

}  // namespace

TodayItem::TodayItem()
{
    InitializeCriticalSection(&refreshLock_);
}

TodayItem::~TodayItem()
{
    DeleteCriticalSection(&refreshLock_);
}

HWND TodayItem::Create(TODAYLISTITEM* item, HWND host)
{
    if (item == nullptr || !item->fEnabled || window_ != nullptr)
        return nullptr;
    hostItem_ = item;
    host_ = host;
    windowInstance_ = item->hinstDLL;
    selectedLine_ = -1;
    watermark_ = -1;
    height_ = 0;
    runRefused_ = userToldOfRefusal_ = false;
    listIn_ = false;
    textColour_ = COLORREF(SendMessageW(host_, TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0));
    emptyFont_ = MakeFont(IsPocketPc3() ? 11 : 12);
    icon_ = static_cast<HBITMAP>(
        LoadImageW(library, MAKEINTRESOURCEW(kTodayIconBitmap), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));

    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = windowInstance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kTodayClassName;
    RegisterClassOnce(windowClass);
    // So that the window tells the host's own messages from another
    // program's (the shell watches its thread already).
    OwnThreadSend::Watch();

    CreateWindowExW(0, kTodayClassName, kTodayWindowTitle, WS_CHILD | WS_VISIBLE, 0, 0, kTodayWidth, 0, host_,
                    nullptr, windowInstance_, this);
    if (window_ == nullptr) {
        FreeDrawing();
        return nullptr;
    }
    // The notes are loaded, and the program scheduled, by the change
    // watcher: the host's thread is not held on note files the program has
    // open or on the scheduler's lock (a timed run just started reads every
    // note) while the Today screen stands half made. The item shows as
    // empty until the list is in, then asks to be measured again.
    ReadPaths();
    MakeNoteFont();
    linesBeforeShowAll_ = g_todaySettings.ShownCount();
    sizeChanged_ = true;
    StartWatchers();
    ShowWindow(window_, SW_SHOWNORMAL);
    return window_;
}

LRESULT CALLBACK TodayItem::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ObjectWindowProc<TodayItem, &TodayItem::window_, &TodayItem::HandleMessage>(window, message, wParam,
                                                                                       lParam);
}

LRESULT TodayItem::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
        HandleTap(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TODAYCUSTOM_CLEARCACHE:
        OnClearCache();
        return 0;
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
        // Only the host's own entry is written to: another number in wParam
        // (a message from elsewhere) points at nothing of ours.
        if (hostItem_ == nullptr || wParam != reinterpret_cast<WPARAM>(hostItem_))
            return 0;
        return OnQueryHeight(hostItem_);
    case kMsgTodayOpenNote:
        OnOpenNote();
        return 0;
    case kMsgTodayShowAll:
        Command(MainCommand::ShowAll);
        return 0;
    case kMsgTodayAddNew:
        Command(MainCommand::AddNew);
        return 0;
    case kMsgTodayViewRefresh:
        RefreshView();
        return 0;
    case WM_DESTROY:
        // The host's DestroyWindow, on this thread, ends the item; the same
        // message from another program leaves it running as it is.
        if (OwnThreadSend::FromOwnThread(window_, message, wParam, lParam))
            OnDestroy();
        return 0;
    case WM_NCDESTROY:
        if (!OwnThreadSend::FromOwnThread(window_, message, wParam, lParam))
            return 0;
        OnDestroy();   // done already at WM_DESTROY; nothing twice
        return LetObjectWindowGo(window_, message, wParam, lParam);
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void TodayItem::OnClearCache()
{
    // The host clears the cache when the options may have changed, and asks
    // the height next: the font and the count take effect here, so that the
    // answer is the list's height in the new font, not the old one's until
    // the next question.
    g_todaySettings.Read();
    MakeNoteFont();
    linesBeforeShowAll_ = g_todaySettings.ShownCount();
    sizeChanged_ = true;
    // The notes are reloaded by the change watcher, off the host's thread.
    if (reload_ != nullptr)
        SetEvent(reload_);
}

void TodayItem::OnDestroy()
{
    // The host destroys the window before it lets the library go: the
    // watchers end here, on the host's thread, outside the loader's lock.
    StopWatchers();
    FreeDrawing();
    hostItem_ = nullptr;
    host_ = nullptr;
}

void TodayItem::FreeDrawing()
{
    for (HGDIOBJ* object : {reinterpret_cast<HGDIOBJ*>(&icon_), reinterpret_cast<HGDIOBJ*>(&noteFont_),
                            reinterpret_cast<HGDIOBJ*>(&emptyFont_)}) {
        if (*object != nullptr)
            DeleteObject(*object);
        *object = nullptr;
    }
}

void TodayItem::ProgramBesideLibrary(wchar_t* program, size_t count) const
{
    wchar_t folder[MAX_PATH] = L"";
    DWORD length = GetModuleFileNameW(library, folder, MAX_PATH);
    wchar_t* slash = length > 0 && length < MAX_PATH ? wcsrchr(folder, L'\\') : nullptr;
    if (slash != nullptr)
        *slash = L'\0';
    if (slash == nullptr || FormatText(program, count, L"%s\\%s", folder, kProgramName) < 0)
        program[0] = L'\0';
}

bool DeviceNotesFolder(wchar_t* out, size_t count)
{
    return ProgramNotesFolder(nullptr, out, count);
}

NotesFolderFunction g_programNotesFolder = DeviceNotesFolder;

void TodayItem::ReadPaths()
{
    wchar_t program[MAX_PATH], folder[MAX_PATH];
    if (RegKeyExists(kSettingsKey)) {
        ReadSetting(L"Path", program);
        TakeProgramBesideLibrary(program);
    } else {
        // Without settings the program is looked for by the host module's
        // own name, as the handheld's development host is called.
        program[0] = L'\0';
        if (GetModuleFileNameW(nullptr, program, MAX_PATH) >= MAX_PATH)
            program[0] = L'\0';
        size_t length = wcslen(program), ending = wcslen(kHostModuleEnding);
        if (length >= ending && wcscmp(program + length - ending, kHostModuleEnding) == 0) {
            program[length - ending] = L'\0';
            wchar_t base[MAX_PATH];
            CopyText(base, MAX_PATH, program);
            FormatText(program, MAX_PATH, L"%s%s", base, kLibraryName);
        } else {
            // Installed but never started: the program lies beside this
            // library, where the installer put both. The host itself (the
            // shell) is no program to start for a tap.
            ProgramBesideLibrary(program, MAX_PATH);
        }
    }
    ReadSetting(L"Jotlings", folder);
    TakeProgramsNotesFolder(folder);
    notes_.Lock();
    CopyText(schedule_.programPath, MAX_PATH, program);
    CopyText(notesFolder_, MAX_PATH, folder);
    notes_.Unlock();
}

// "Path" is started at every tap and by the shell at every timed run, and
// any program can write it: only the program installed beside this library
// is started. A "Path" that names another is written to the trace log, once
// while it stays the same.
void TodayItem::TakeProgramBesideLibrary(wchar_t* program)
{
    wchar_t beside[MAX_PATH];
    ProgramBesideLibrary(beside, MAX_PATH);
    bool elsewhere = program[0] != L'\0' && !SamePath(program, beside);
    if (elsewhere && wcscmp(program, tracedPath_) != 0)
        Trace(L"Today item: \"Path\" names %s, not the program beside the item; %s is started instead\n",
              program, beside[0] != L'\0' ? beside : L"nothing");
    CopyText(tracedPath_, MAX_PATH, elsewhere ? program : L"");
    CopyText(program, MAX_PATH, beside);
}

// The program keeps its notes in its own folder of the documents, whatever
// "Jotlings" says: listing and scheduling the notes of another folder would
// show notes the program does not have, and alarm for them. "Jotlings" is
// kept only when the program's folder cannot be known.
void TodayItem::TakeProgramsNotesFolder(wchar_t* folder)
{
    wchar_t programs[MAX_PATH];
    if (!g_programNotesFolder(programs, MAX_PATH))
        return;
    bool differs = folder[0] != L'\0' && !SamePath(folder, programs);
    if (differs && wcscmp(folder, tracedFolder_) != 0)
        Trace(L"Today item: \"Jotlings\" names %s, but the program keeps its notes in %s; the item lists those\n",
              folder, programs);
    CopyText(tracedFolder_, MAX_PATH, differs ? folder : L"");
    CopyText(folder, MAX_PATH, programs);
}

void TodayItem::ProgramPath(wchar_t* out)
{
    notes_.Lock();
    CopyText(out, MAX_PATH, schedule_.programPath);
    notes_.Unlock();
}

TodayFilter TodayItem::CurrentFilter() const
{
    TodayFilter filter;
    filter.showExpired = g_todaySettings.expired != 0;
    filter.onlyToday = g_todaySettings.showToday != 0;
    GetLocalTime(&filter.today);
    return filter;
}

void TodayItem::Refresh()
{
    EnterCriticalSection(&refreshLock_);
    ReadPaths();
    wchar_t folder[MAX_PATH];
    notes_.Lock();
    CopyText(folder, MAX_PATH, notesFolder_);
    notes_.Unlock();
    if (notes_.Load(folder, CurrentFilter(), stop_)) {
        notes_.Lock();
        const TodayEntry* pending = notes_.Pending();
        SYSTEMTIME pendingExpiry = pending != nullptr ? pending->expiry : SYSTEMTIME{};
        if (selectedLine_ >= notes_.ShownCount())
            selectedLine_ = notes_.ShownCount() - 1;
        notes_.Unlock();
        // Painting and taps wait on the list's lock; the scheduler's lock
        // may take seconds.
        schedule_.Reschedule(pending != nullptr ? &pendingExpiry : nullptr);
        if (listRead_ != nullptr)
            SetEvent(listRead_);
        ReportRefusedRun();
    }
    LeaveCriticalSection(&refreshLock_);

    if (window_ == nullptr)
        return;
    if (GetWindowThreadProcessId(window_, nullptr) == GetCurrentThreadId())
        RefreshView();
    else
        PostMessageW(window_, kMsgTodayViewRefresh, 0, 0);
}

void TodayItem::ReportRefusedRun()
{
    // A refusal because the item is ending is no news.
    bool missing = schedule_.RunMissing() && WaitForSingleObject(stop_, 0) != WAIT_OBJECT_0;
    if (missing == runRefused_)
        return;
    runRefused_ = missing;
    if (missing) {
        Trace(L"Today item: the device's timed runs could not be written (their lock is held); the next note's "
              L"alarm comes only while the Today screen is loaded\n");
        if (!userToldOfRefusal_) {
            userToldOfRefusal_ = true;
            HANDLE notice = StartLibraryThread(RunRefusedNotice, nullptr);
            if (notice != nullptr)
                CloseHandle(notice);
        }
    } else {
        Trace(L"Today item: the next note's timed run is set again\n");
    }
}

// The box has a thread of its own, which holds the library until the user
// closes it: on the host's thread its modal loop would hold the Today screen,
// and the host could unload the item under it.
DWORD WINAPI TodayItem::RunRefusedNotice(void*)
{
    MessageBoxW(nullptr, kRunRefusedText, kRunRefusedCaption, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    EndLibraryThread();
}

void TodayItem::RefreshView()
{
    listIn_ = true;
    textColour_ = COLORREF(SendMessageW(host_, TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0));
    MakeNoteFont();
    linesBeforeShowAll_ = g_todaySettings.ShownCount();
    sizeChanged_ = true;
    Redraw();
}

// The line height is measured with the font, not at the host's next height
// question: a repaint comes first, and lines drawn with the height of the
// font before (or none, while the item listed nothing) are blank or
// misplaced until the list changes again.
void TodayItem::MakeNoteFont()
{
    if (noteFont_ != nullptr)
        DeleteObject(noteFont_);
    noteFont_ = MakeFont(g_todaySettings.FontSize());
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, noteFont_);
    SIZE size = {};
    GetTextExtentExPointW(dc, kMeasureText, 1, 0, nullptr, nullptr, &size);
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
    lineHeight_ = size.cy + 1;
}

void TodayItem::Redraw()
{
    // Painting fills the background itself only when the host declined the
    // watermark; while the host draws it, a repaint without its erase would
    // draw the new lines over the old ones.
    InvalidateRect(window_, nullptr, watermark_ != 0);
    UpdateWindow(window_);
}

int TodayItem::ComputeHeight()
{
    notes_.Lock();
    int shown = notes_.ShownCount();
    notes_.Unlock();
    int rows = 0;
    if (shown > 0) {
        int lines = shown > linesBeforeShowAll_ ? linesBeforeShowAll_ + 1 : shown;
        rows = lineHeight_ * lines;
    }
    if (rows < kMinimumRows)
        rows = kMinimumRows;
    height_ = rows + kHostExtra;
    return height_;
}

LRESULT TodayItem::OnQueryHeight(TODAYLISTITEM* item)
{
    int previous = height_;
    ComputeHeight();
    if (!sizeChanged_ && height_ == previous)
        return 0;
    item->cyp = DWORD(height_);
    SetWindowPos(window_, nullptr, 0, 0, kTodayWidth, height_ - kHostExtra, SWP_NOMOVE | SWP_NOZORDER);
    sizeChanged_ = false;
    return 1;
}

LRESULT TodayItem::OnEraseBackground(HDC dc)
{
    if (watermark_ == 0)
        return 0;
    TODAYDRAWWATERMARKINFO info = {};
    info.hdc = dc;
    GetClientRect(window_, &info.rc);
    info.hwnd = window_;
    if (SendMessageW(host_, TODAYM_DRAWWATERMARK, 0, reinterpret_cast<LPARAM>(&info)) != 0) {
        watermark_ = 1;
    } else {
        watermark_ = 0;
        FillRect(dc, &info.rc, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    return 1;
}

void TodayItem::OnPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    RECT client;
    GetClientRect(window_, &client);
    if (watermark_ == 0)
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    if (icon_ != nullptr) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ oldBitmap = SelectObject(memory, icon_);
        TransparentImage(dc, kIconPosition, kIconPosition, kIconSize, kIconSize, memory, 0, 0, kIconSize, kIconSize,
                         kIconKey);
        SelectObject(memory, oldBitmap);
        DeleteDC(memory);
    }
    SetTextColor(dc, textColour_);
    HGDIOBJ oldFont = nullptr;

    notes_.Lock();
    int top = 0;
    if (notes_.ShownCount() == 0 && listIn_) {
        RECT empty = client;
        empty.left = kTextLeft;
        oldFont = SelectObject(dc, emptyFont_);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, kEmptyText, -1, &empty, 0);
        top = kEmptyTop;
    }
    HGDIOBJ previous = SelectObject(dc, noteFont_);
    if (oldFont == nullptr)
        oldFont = previous;
    int line = 0;
    for (const TodayEntry& entry : notes_.Entries()) {
        if (line > linesBeforeShowAll_)
            break;
        if (!entry.shown)
            continue;
        SetBkMode(dc, TRANSPARENT);
        RECT rect = {kTextLeft, top + line * lineHeight_, client.right - kTextRightMargin,
                     top + (line + 1) * lineHeight_};
        wchar_t text[MAX_PATH + 64];
        if (line < linesBeforeShowAll_) {
            wchar_t date[64];
            FormatTodayDate(entry.expiry, date, 64);
            if (date[0] != L'\0')
                FormatText(text, MAX_PATH + 64, L"%s %s", date, entry.title.c_str());
            else
                CopyText(text, MAX_PATH + 64, entry.title.c_str());
        } else {
            CopyText(text, MAX_PATH + 64, kShowAllText);
        }
        DrawTextW(dc, text, -1, &rect, 0);
        ++line;
    }
    notes_.Unlock();
    SelectObject(dc, oldFont);
    EndPaint(window_, &paint);
}

void TodayItem::HandleTap(int x, int y)
{
    if (x < kIconSquare && y < kIconSquare) {
        PostMessageW(window_, kMsgTodayShowAll, 0, 0);
        return;
    }
    notes_.Lock();
    int shownCount = notes_.ShownCount();
    notes_.Unlock();
    if (x > kIconSquare && shownCount == 0) {
        // Before the list is in, the line offers nothing yet.
        if (listIn_)
            PostMessageW(window_, kMsgTodayAddNew, 0, 0);
        return;
    }
    if (lineHeight_ != 0)
        selectedLine_ = y / lineHeight_;
    if (selectedLine_ == linesBeforeShowAll_) {
        PostMessageW(window_, kMsgTodayShowAll, 0, 0);
        Redraw();
        return;
    }
    tappedPath_[0] = L'\0';
    notes_.Lock();
    const TodayEntry* entry = notes_.ShownAt(selectedLine_);
    if (entry != nullptr)
        CopyText(tappedPath_, MAX_PATH, entry->path.c_str());
    else
        selectedLine_ = -1;
    notes_.Unlock();
    Redraw();
    if (tappedPath_[0] != L'\0') {
        SendMessageW(window_, kMsgTodayOpenNote, 0, 0);
        tappedPath_[0] = L'\0';
    }
}

void TodayItem::OnOpenNote()
{
    // The path is the item's own copy of the tapped note; a 1325 from
    // anywhere else finds none and does nothing.
    if (tappedPath_[0] == L'\0')
        return;
    Command(MainCommand::OpenNote, tappedPath_);
}

void TodayItem::Command(MainCommand command, const wchar_t* notePath)
{
    wchar_t program[MAX_PATH];
    ProgramPath(program);
    StartMain(command, program, notePath, library);
}

void TodayItem::StartWatchers()
{
    if (stop_ != nullptr)
        return;
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (stop_ == nullptr)
        return;
    // Set: the first load comes at once.
    reload_ = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    listRead_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    changeWatcher_ = StartLibraryThread(ChangeWatcher, this);
    expiryWatcher_ = StartLibraryThread(ExpiryWatcher, this);
}

void TodayItem::StopWatchers()
{
    if (stop_ == nullptr)
        return;
    SetEvent(stop_);
    HANDLE threads[] = {changeWatcher_, expiryWatcher_};
    WaitServingSends(threads, 2);
    for (HANDLE thread : threads) {
        if (thread != nullptr)
            CloseHandle(thread);
    }
    changeWatcher_ = expiryWatcher_ = nullptr;
    CloseHandle(stop_);
    stop_ = nullptr;
    if (reload_ != nullptr)
        CloseHandle(reload_);
    reload_ = nullptr;
    if (listRead_ != nullptr)
        CloseHandle(listRead_);
    listRead_ = nullptr;
}

DWORD WINAPI TodayItem::ChangeWatcher(void* self)
{
    auto* item = static_cast<TodayItem*>(self);
    // The host waits for this thread when it unloads the item: the run
    // store's lock, which another program may keep, never holds it longer.
    CeRunStore::GiveUpOn(item->stop_);
    HANDLE change = CreateEventW(nullptr, TRUE, FALSE, kChangeEventName);
    // Another program may hold the name as a mutex or a semaphore: there is
    // no event then, and the notes folder itself tells of changes, so that
    // what the program saves is still listed and scheduled.
    HANDLE folderChange = change == nullptr ? item->WatchNotesFolder() : nullptr;
    // Without either the item still loads on its own requests (its first
    // load, the host's cache clearing).
    HANDLE waits[] = {item->stop_, item->reload_, change != nullptr ? change : folderChange};
    DWORD count = waits[2] != nullptr ? 3 : 2;
    for (;;) {
        DWORD woken = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (woken != WAIT_OBJECT_0 + 1 && woken != WAIT_OBJECT_0 + 2)
            break;
        // Reset before the refresh: a change made during it sets the event
        // again and brings one more refresh.
        if (woken == WAIT_OBJECT_0 + 2 && change != nullptr)
            EventModify(change, EVENT_RESET);
        else if (woken == WAIT_OBJECT_0 + 2)
            FindNextChangeNotification(folderChange);
        item->Refresh();
    }
    if (change != nullptr)
        CloseHandle(change);
    if (folderChange != nullptr)
        FindCloseChangeNotification(folderChange);
    EndLibraryThread();
}

HANDLE TodayItem::WatchNotesFolder()
{
    wchar_t folder[MAX_PATH];
    notes_.Lock();
    CopyText(folder, MAX_PATH, notesFolder_);
    notes_.Unlock();
    HANDLE watch = FindFirstChangeNotificationW(folder, FALSE,
                                                FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
    return watch != INVALID_HANDLE_VALUE ? watch : nullptr;
}

DWORD WINAPI TodayItem::ExpiryWatcher(void* self)
{
    auto* item = static_cast<TodayItem*>(self);
    HANDLE waits[] = {item->stop_, item->schedule_.ArmEvent()};
    HANDLE naps[] = {item->stop_, item->listRead_};
    while (WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        DWORD wait = item->CheckDue();
        // A list read again may hold an earlier note: look at once.
        if (WaitForMultipleObjects(2, naps, FALSE, wait) == WAIT_OBJECT_0)
            break;
    }
    EndLibraryThread();
}

DWORD TodayItem::CheckDue()
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    FILETIME now;
    SystemTimeToFileTime(&local, &now);
    wchar_t program[MAX_PATH];
    notes_.Lock();
    bool due = notes_.Due(now) != nullptr;
    DWORD wait = due ? kDueAgainMs : std::min<DWORD>(notes_.MsToPending(now), kLongestCheckWaitMs);
    CopyText(program, MAX_PATH, schedule_.programPath);
    notes_.Unlock();
    // Posted after the lock is let go: the program's answer is a change
    // that brings a refresh.
    if (due)
        StartMain(MainCommand::CheckDue, program, nullptr, library);
    return wait;
}
