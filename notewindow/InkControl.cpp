#include "notewindow/InkControl.h"

#include "notewindow/InkControlMessages.h"
#include "notewindow/NoteYellow.h"

#include <mmsystem.h>
#include <stdlib.h>
#include <string.h>

InkControl::PlaySoundFunction InkControl::playSound = PlaySoundW;

static const int kZoomLadder[] = {25, 50, 75, 100, 150, 200, 300};
static const int kZoomSteps = static_cast<int>(sizeof(kZoomLadder) / sizeof(kZoomLadder[0]));
static const int kDefaultZoom = 100;
static const int kCreationZoom = 200;

// Both views start on a blank page with a thin black pen; a note's page
// style comes afterwards, through SetPageStyle.
static void SendViewSetup(HWND inner, INT32 flags, INT32 zoom)
{
    INT32 setup[kInkSetupValues] = {};
    setup[kInkSetupFlags] = flags;
    setup[kInkSetupPenWidth] = kInkThinPen;
    setup[kInkSetupZoom] = zoom;
    setup[kInkSetupPageStyle] = static_cast<INT32>(kInkPageBlankValue);
    setup[kInkSetupPenColour] = RGB(0, 0, 0);
    setup[kInkSetupFirstLine] = 0;
    SendMessageW(inner, kInkViewSetup, 0, reinterpret_cast<LPARAM>(setup));
}

InkControl::InkControl()
{
    InitializeCriticalSection(&lock_);
}

InkControl::~InkControl()
{
    Destroy();
    DeleteCriticalSection(&lock_);
}

bool InkControl::Create(HWND parent, int id, int x, int y, int width, int height, bool bordered)
{
    parent_ = parent;
    id_ = id;
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
    bordered_ = bordered;
    recorderOn_ = 0;
    pageShown_ = false;
    pageStyle_ = 0;
    compact_ = false;

    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    control_ = CreateWindowExW(0, L"InkX", L"", bordered ? kInkStyleBordered : kInkStylePlain, x, y,
                               width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (control_ == nullptr)
        return false;

    inner_ = reinterpret_cast<HWND>(SendMessageW(control_, kInkGetInnerWindow, 0, 0));
    SendViewSetup(inner_, kInkSetupEditable | kInkSetupScrollVertical | kInkSetupScrollHorizontal |
                              kInkSetupShowRecordings,
                  kCreationZoom);
    SetInputMode(0);
    background_ = CreateSolidBrush(kNoteYellow);
    SetZoom(kCreationZoom);

    if (inner_ != nullptr) {
        SetWindowLongPtrW(inner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        previousProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(inner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(InnerProc)));
        InvalidateRect(inner_, nullptr, TRUE);
        UpdateWindow(inner_);
    }
    SendMessageW(inner_, kInkEmptyUndoBuffer, 0, 0);
    return true;
}

void InkControl::Destroy()
{
    // Not while another thread streams from the window.
    Lock();
    if (control_ != nullptr)
        DestroyWindow(control_);
    if (background_ != nullptr)
        DeleteObject(background_);
    control_ = nullptr;
    inner_ = nullptr;
    background_ = nullptr;
    previousProc_ = nullptr;
    repaintTimer_ = 0;
    Unlock();
}

// The lock's holder may be another thread (the alarm's playback) waiting in
// SendMessage for this thread to answer the control. Blocking here would
// leave both waiting for ever, so the wait keeps answering sent messages.
void InkControl::Lock()
{
    while (!TryEnterCriticalSection(&lock_)) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void InkControl::Unlock()
{
    LeaveCriticalSection(&lock_);
}

void InkControl::Recreate(bool keepSettings)
{
    Lock();
    bool compact = compact_;
    bool pageShown = pageShown_;
    int pageStyle = pageStyle_;
    int inputMode = inputMode_;
    Destroy();
    if (Create(parent_, id_, x_, y_, width_, height_, bordered_) && keepSettings) {
        SetCompact(compact);
        SetPageStyle(pageShown, pageStyle);
        SetInputMode(inputMode);
    }
    Unlock();
}

LRESULT CALLBACK InkControl::InnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    InkControl* self = reinterpret_cast<InkControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->previousProc_ == nullptr)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->OnInnerMessage(msg, wParam, lParam);
}

LRESULT InkControl::OnInnerMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(inner_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, background_);
        return 1;
    }
    case WM_KEYUP:
        // Typing leaves the control's own repaint lagging; a full repaint a
        // little after the last key puts the page right.
        repaintTimer_ = SetTimer(inner_, kInkRepaintTimerId, kInkRepaintDelayMs, nullptr);
        break;
    case WM_TIMER:
        if (wParam == kInkRepaintTimerId) {
            InvalidateRect(inner_, nullptr, TRUE);
            UpdateWindow(inner_);
            KillTimer(inner_, kInkRepaintTimerId);
        }
        return 0;
    default:
        break;
    }
    return CallWindowProcW(previousProc_, inner_, msg, wParam, lParam);
}

void InkControl::SendZoom()
{
    SendMessageW(inner_, kInkSetZoom, 0, zoom_);
}

void InkControl::SetZoom(int percent)
{
    if (percent < kZoomLadder[0])
        percent = kZoomLadder[0];
    if (percent > kZoomLadder[kZoomSteps - 1])
        percent = kZoomLadder[kZoomSteps - 1];
    zoom_ = percent;
    SendZoom();
}

void InkControl::SetZoomIndex(int index)
{
    zoom_ = index >= 0 && index < kZoomSteps ? kZoomLadder[index] : kDefaultZoom;
    SendZoom();
}

bool InkControl::ZoomIn()
{
    for (int i = 0; i + 1 < kZoomSteps; ++i) {
        if (zoom_ == kZoomLadder[i]) {
            zoom_ = kZoomLadder[i + 1];
            break;
        }
    }
    SendZoom();
    return zoom_ <= 200;
}

bool InkControl::ZoomOut()
{
    for (int i = kZoomSteps - 1; i > 0; --i) {
        if (zoom_ == kZoomLadder[i]) {
            zoom_ = kZoomLadder[i - 1];
            break;
        }
    }
    SendZoom();
    return zoom_ >= 50;
}

void InkControl::Undo()
{
    if (SendMessageW(inner_, kInkCanUndo, 0, 0) == 0)
        return;
    SendMessageW(inner_, kInkUndo, 0, 0);
    zoom_ = static_cast<int>(SendMessageW(inner_, kInkGetZoom, 0, 0));
}

bool InkControl::CanUndo()
{
    return SendMessageW(inner_, kInkCanUndo, 0, 0) != 0;
}

void InkControl::SetInputMode(int mode)
{
    inputMode_ = mode;
    SendMessageW(inner_, kInkSetInputMode, mode != 0 ? 1 : 0, 0);
}

void InkControl::SetPageStyle(bool shown, int style)
{
    pageShown_ = shown;
    pageStyle_ = style;
    WPARAM value = kInkPageBlankValue;
    if (shown && style >= 0 && style < kInkPageStyleCount)
        value = kInkPageStyleValues[style];
    PostMessageW(control_, kInkSetPageStyle, value, 0);
}

void InkControl::SetCompact(bool on)
{
    compact_ = on;
    SetWindowPos(control_, nullptr, 0, 0, kInkCompactWidth, on ? kInkCompactHeight : kInkFullHeight,
                 SWP_NOMOVE | SWP_SHOWWINDOW);
}

bool InkControl::IsUnmodified()
{
    return SendMessageW(control_, kInkGetModified, 0, 0) == 0;
}

DWORD CALLBACK InkControl::OutCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    StreamCursor* cursor = reinterpret_cast<StreamCursor*>(cookie);
    if (count < 0)
        count = 0;
    if (cursor->start == nullptr) {
        cursor->size += static_cast<DWORD>(count);
    } else {
        DWORD used = static_cast<DWORD>(cursor->current - cursor->start);
        DWORD room = cursor->size - used;
        DWORD copy = static_cast<DWORD>(count) < room ? static_cast<DWORD>(count) : room;
        if (copy > 0)
            memcpy(cursor->current, buffer, copy);
        cursor->current += copy;
    }
    // Everything offered counts as taken, so the control never offers it again.
    *done = count;
    return 0;
}

DWORD CALLBACK InkControl::InCallback(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* done)
{
    StreamCursor* cursor = reinterpret_cast<StreamCursor*>(cookie);
    DWORD used = static_cast<DWORD>(cursor->current - cursor->start);
    DWORD left = cursor->size - used;
    DWORD give = count > 0 && static_cast<DWORD>(count) < left ? static_cast<DWORD>(count) : left;
    if (count <= 0)
        give = 0;
    if (give > 0)
        memcpy(buffer, cursor->current, give);
    cursor->current += give;
    *done = static_cast<LONG>(give);
    return 0;
}

bool InkControl::GetInkData(BYTE** data, DWORD* size)
{
    *data = nullptr;
    *size = 0;
    Lock();
    if (control_ == nullptr) {
        Unlock();
        return false;
    }
    cursor_ = {nullptr, nullptr, 0};
    stream_ = {reinterpret_cast<DWORD_PTR>(&cursor_), 0, OutCallback};
    SendMessageW(control_, kInkStreamOut, kInkStreamFormat, reinterpret_cast<LPARAM>(&stream_));
    DWORD total = cursor_.size;
    BYTE* block = static_cast<BYTE*>(malloc(total > 0 ? total : 1));
    if (block == nullptr) {
        Unlock();
        return false;
    }
    // The second pass never writes more than the first counted, even if the
    // control offers more this time; bytes it offers less stay zero.
    memset(block, 0, total);
    cursor_ = {block, block, total};
    stream_ = {reinterpret_cast<DWORD_PTR>(&cursor_), 0, OutCallback};
    SendMessageW(control_, kInkStreamOut, kInkStreamFormat, reinterpret_cast<LPARAM>(&stream_));
    cursor_ = {nullptr, nullptr, 0};
    Unlock();
    *data = block;
    *size = total;
    return true;
}

void InkControl::SetInkData(const BYTE* data, DWORD size)
{
    Lock();
    if (control_ == nullptr) {
        Unlock();
        return;
    }
    // The callback only reads through the cursor; the block is not written.
    BYTE* start = const_cast<BYTE*>(data);
    cursor_ = {start, start, data != nullptr ? size : 0};
    stream_ = {reinterpret_cast<DWORD_PTR>(&cursor_), 0, InCallback};
    SendMessageW(control_, kInkStreamIn, kInkStreamFormat, reinterpret_cast<LPARAM>(&stream_));
    cursor_ = {nullptr, nullptr, 0};
    Unlock();
}

void InkControl::ToggleRecorder()
{
    recorderOn_ = recorderOn_ ? 0 : 1;
    SendMessageW(control_, kInkShowRecorder, recorderOn_, 0);
}

void InkControl::StartVoiceRecording()
{
    SendMessageW(control_, kInkStopRecording, 0, 0);
    SendMessageW(control_, kInkStartRecording, 0, 0);
}

void InkControl::StopVoiceRecording()
{
    SendMessageW(control_, kInkStopRecording, 0, 0);
}

// The size field after a block's "RIFF": the bytes that follow it.
static DWORD RiffSize(const BYTE* block)
{
    return DWORD(block[4]) | DWORD(block[5]) << 8 | DWORD(block[6]) << 16 | DWORD(block[7]) << 24;
}

const BYTE* InkControl::FirstRecording(const BYTE* data, DWORD size)
{
    // "RIFF", its size, "WAVE": the least a wave block starts with.
    const DWORD kWaveStart = 12;
    for (DWORD i = 0; data != nullptr && size >= kWaveStart && i <= size - kWaveStart; ++i) {
        if (memcmp(data + i, "RIFF", 4) != 0 || memcmp(data + i + 8, "WAVE", 4) != 0)
            continue;
        // The player reads as far as the block's own size says: it must
        // lie whole within the data.
        DWORD riffSize = RiffSize(data + i);
        if (riffSize >= 4 && riffSize <= size - i - 8)
            return data + i;
    }
    return nullptr;
}

void InkControl::PlayFirstRecording()
{
    std::vector<BYTE> wave;
    if (CopyFirstRecording(&wave))
        playSound(reinterpret_cast<LPCWSTR>(wave.data()), nullptr, SND_MEMORY);
}

bool InkControl::CopyFirstRecording(std::vector<BYTE>* wave)
{
    wave->clear();
    BYTE* block = nullptr;
    DWORD size = 0;
    if (!GetInkData(&block, &size))
        return false;
    const BYTE* recording = FirstRecording(block, size);
    if (recording != nullptr) {
        // "RIFF", its size, and as much as the size says: FirstRecording
        // found all of it within the data.
        wave->assign(recording, recording + 8 + RiffSize(recording));
    }
    free(block);
    return !wave->empty();
}

void InkControl::StopSound()
{
    playSound(nullptr, nullptr, 0);
}

void InkControl::Cut()
{
    SendMessageW(control_, WM_CUT, 0, 0);
}

void InkControl::Copy()
{
    SendMessageW(control_, WM_COPY, 0, 0);
}

void InkControl::Paste()
{
    SendMessageW(control_, WM_PASTE, 0, 0);
}

void InkControl::MarkText(const UINT32* parts, size_t count)
{
    if (inner_ != nullptr)
        SendMessageW(inner_, kInkMarkText, count, reinterpret_cast<LPARAM>(parts));
}

void InkControl::SetPreviewView()
{
    // Read-only, at the zoom that fits the page's width.
    SendViewSetup(inner_, kInkSetupScrollVertical | kInkSetupScrollHorizontal | kInkSetupShowRecordings, 0);
}
