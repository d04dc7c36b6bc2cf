// The module this library is linked into: a program, or a library such as a
// Today item that the shell loads and may unload again. Window classes are
// registered for it, and what the library leaves in a process (its windows,
// classes and hooks) is taken down when the module unloads, so that nothing
// points into code that is gone.
#pragma once

#include <windows.h>

namespace ceshell {

HINSTANCE ModuleInstance();

}  // namespace ceshell
