// What of the device's settings an export shows: the page style a note
// window draws, the date order and clock of its texts, and the time zone
// of that clock. Read from the registry files of the device's Wine prefix,
// which are text.
#pragma once

#include "desktop/export/DeviceTimeZone.h"
#include "desktop/export/ExpiryText.h"

#include <string>

namespace exporter {

struct DeviceSettings {
    int pageSetting = 0;  // the program's "Page" value
    DateStyle dates;
    DeviceTimeZone zone;  // for the reminders of the ENEX file
};

// Values missing from the files (or files that are not there) keep the
// defaults of a new device.
DeviceSettings ReadDeviceSettings(const std::string& prefixFolder);

// One value of a key in a registry file's text ("[Key\\Name]" sections with
// "Value"="text" or "Value"=dword:hex lines); false when absent.
bool FindRegistryValue(const std::string& regText, const std::string& key, const std::string& value,
                       std::string* found);

}  // namespace exporter
