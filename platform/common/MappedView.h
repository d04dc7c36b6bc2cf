// Whether a view of a named mapping can be used as it is. Any program of
// the device can make a mapping of the name first: reserved but never
// committed (the first touch faults), read-only, or smaller than the
// layout. Each side asks before it reads or writes through the view.
#pragma once

#include <windows.h>

inline bool ViewIsUsable(const void* view, SIZE_T size, bool writable)
{
    if (view == nullptr)
        return false;
    MEMORY_BASIC_INFORMATION region = {};
    if (VirtualQuery(view, &region, sizeof region) != sizeof region)
        return false;
    if (region.State != MEM_COMMIT || (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
        return false;
    // The pages alike from the view's start on: a section committed only
    // in part ends its region early.
    if (region.RegionSize < size)
        return false;
    const DWORD canWrite = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    const DWORD canRead = canWrite | PAGE_READONLY | PAGE_EXECUTE_READ;
    return (region.Protect & (writable ? canWrite : canRead)) != 0;
}
