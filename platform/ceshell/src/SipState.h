// The input panel's state, one for the whole device: every process of the
// device's prefix sees the same flags through a named file mapping.
#pragma once

#include <windows.h>

#include "aygshell.h"

namespace ceshell {

// SIPF_* flags as they stand now.
DWORD ReadSipFlags();

// Turns SIPF_ON on or off. Returns true when that changed the state; the
// caller then tells the windows.
bool SetSipOn(bool on);

// Tells every top-level window of the device: WM_SETTINGCHANGE with
// SPI_SETSIPINFO, sent to each (windows that do not answer soon are skipped).
void BroadcastSipChange();

// Fills the SIPINFO fields for the given flags (cbSize and the input-method
// data are left alone).
void DescribeSip(DWORD flags, SIPINFO* info);

}  // namespace ceshell
