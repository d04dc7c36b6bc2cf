// Starting a program on the device, the one way the shell does it. Tests
// replace the starter to see what would be started.
#pragma once

#include <string>

namespace shell {

using ProgramStarter = bool (*)(const std::wstring& program, const std::wstring& arguments);

// CreateProcessW with the command line "program" arguments, in C:\ as the
// device's programs expect. False when the program could not be started.
bool StartProgram(const std::wstring& program, const std::wstring& arguments);

}  // namespace shell
