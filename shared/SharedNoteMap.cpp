#include "shared/SharedNoteMap.h"

#include "platform/common/MappedView.h"
#include "shared/MainMessages.h"

#include <string.h>

const wchar_t kSharedNoteMapName[] = L"JotlingsMap";

namespace {

const size_t kPathUnits = kSharedNoteMapSize / sizeof(wchar_t);

HANDLE OpenMap()
{
    return CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kSharedNoteMapSize,
                              kSharedNoteMapName);
}

}  // namespace

bool HandOverNotePath(HWND mainWindow, const wchar_t* path, UINT timeoutMs)
{
    if (path == nullptr || wcslen(path) >= kPathUnits)
        return false;
    // The map is made for this one hand-over. One that stands already is
    // another program's (a file behind it, read-only, never committed):
    // nothing of the tap goes into it.
    SetLastError(ERROR_SUCCESS);
    HANDLE map = OpenMap();
    if (map == nullptr)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(map);
        return false;
    }
    void* view = MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0);
    if (!ViewIsUsable(view, kSharedNoteMapSize, true)) {
        if (view != nullptr)
            UnmapViewOfFile(view);
        CloseHandle(map);
        return false;
    }
    memcpy(view, path, (wcslen(path) + 1) * sizeof(wchar_t));
    UnmapViewOfFile(view);
    // A program that does not answer (hung, or held by a debugger) would
    // hold the sender with it: the wait is bounded, and a late reader finds
    // the map gone and opens nothing.
    DWORD_PTR result = 0;
    bool answered = timeoutMs == INFINITE
                        ? (SendMessageW(mainWindow, kMsgOpenSharedNote, reinterpret_cast<WPARAM>(map), 0), true)
                        : SendMessageTimeoutW(mainWindow, kMsgOpenSharedNote, reinterpret_cast<WPARAM>(map), 0,
                                              SMTO_NORMAL, timeoutMs, &result) != 0;
    CloseHandle(map);
    return answered;
}

bool ReadSharedNotePath(wchar_t* out, size_t count)
{
    if (out == nullptr || count == 0)
        return false;
    out[0] = L'\0';
    HANDLE map = OpenMap();
    if (map == nullptr)
        return false;
    const wchar_t* view = static_cast<const wchar_t*>(MapViewOfFile(map, FILE_MAP_WRITE, 0, 0, 0));
    if (view != nullptr && !ViewIsUsable(view, kSharedNoteMapSize, false)) {
        UnmapViewOfFile(view);
        view = nullptr;
    }
    if (view != nullptr) {
        // The writer is another program: the text ends within the map or
        // where the map ends, whatever it wrote.
        size_t i = 0;
        for (; i + 1 < count && i + 1 < kPathUnits && view[i] != L'\0'; ++i)
            out[i] = view[i];
        out[i] = L'\0';
        UnmapViewOfFile(view);
    }
    CloseHandle(map);
    return out[0] != L'\0';
}
