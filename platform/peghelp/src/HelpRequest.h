// What PegHelp is asked for: "file:NAME#ANCHOR". NAME without a folder is
// looked for in the Windows folder; a device path ("\Windows\x.htm") is on
// the C: drive. The anchor is optional.
#pragma once

#include <string>

namespace peghelp {

struct HelpRequest {
    std::wstring path;    // full path of the help file; empty when none was named
    std::wstring name;    // the file as named, for messages
    std::wstring anchor;  // empty: the whole file

    // windowsFolder is where bare names are found (no trailing backslash).
    static HelpRequest Parse(const wchar_t* commandLine, const std::wstring& windowsFolder);
};

}  // namespace peghelp
