#include "SipState.h"

#include <vector>

#include "ScreenAreas.h"
#include "platform/common/MappedView.h"

namespace ceshell {

namespace {

constexpr const wchar_t* kMappingName = L"CeShell.InputPanel";
constexpr DWORD kMappingSize = 4096;

// The mapping's first 32-bit word holds the SIPF_* flags (the device is
// little-endian, as the layout is). The mapping stays open for the process's
// life, so the state lasts while any program of the device runs.
volatile LONG* SharedFlags()
{
    static volatile LONG localFallback = 0;
    static volatile LONG* flags = nullptr;
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    InitOnceExecuteOnce(
        &once,
        [](PINIT_ONCE, PVOID, PVOID*) -> BOOL {
            HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMappingSize,
                                                kMappingName);
            void* view = mapping != nullptr ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kMappingSize) : nullptr;
            // Every program of the device opens the one made first, which
            // may be another program's that is not what it should be: then
            // the panel's state is this process's own.
            if (view != nullptr && !ViewIsUsable(view, sizeof(LONG), true)) {
                UnmapViewOfFile(view);
                view = nullptr;
            }
            flags = view != nullptr ? static_cast<volatile LONG*>(view) : &localFallback;
            return TRUE;
        },
        nullptr, nullptr);
    return flags;
}

}  // namespace

DWORD ReadSipFlags()
{
    return static_cast<DWORD>(InterlockedCompareExchange(SharedFlags(), 0, 0));
}

bool SetSipOn(bool on)
{
    volatile LONG* flags = SharedFlags();
    for (;;) {
        LONG old = InterlockedCompareExchange(flags, 0, 0);
        LONG now = on ? (old | SIPF_ON) : (old & ~static_cast<LONG>(SIPF_ON));
        if (now == old)
            return false;
        if (InterlockedCompareExchange(flags, now, old) == old)
            return true;
    }
}

namespace {

// A window that does not answer within this long is skipped, so that a
// program busy elsewhere on the device does not hold up the one whose
// panel changed.
constexpr UINT kNotifyTimeoutMs = 250;

struct Broadcast {
    // Threads that did not answer in time: their other windows are skipped,
    // so one busy program costs the wait once, not once a window.
    std::vector<DWORD> slowThreads;
};

BOOL CALLBACK NotifyTopLevelWindow(HWND window, LPARAM data)
{
    Broadcast* broadcast = reinterpret_cast<Broadcast*>(data);
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    for (DWORD slow : broadcast->slowThreads) {
        if (slow == thread)
            return TRUE;
    }
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_SETTINGCHANGE, SPI_SETSIPINFO, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             kNotifyTimeoutMs, &ignored))
        broadcast->slowThreads.push_back(thread);
    return TRUE;
}

}  // namespace

void BroadcastSipChange()
{
    // Window by window: Wine carries WM_SETTINGCHANGE only as a sent message
    // (it is a pointer message to it), and HWND_BROADCAST would wait for
    // every window in turn without a limit.
    Broadcast broadcast;
    EnumWindows(NotifyTopLevelWindow, reinterpret_cast<LPARAM>(&broadcast));
}

void DescribeSip(DWORD flags, SIPINFO* info)
{
    info->fdwFlags = flags;
    info->rcSipRect = InputPanelRect();
    info->rcVisibleDesktop = WorkArea();
    if (flags & SIPF_ON)
        info->rcVisibleDesktop.bottom = info->rcSipRect.top;
    info->dwImDataSize = 0;
}

}  // namespace ceshell
