// Crashes on purpose, with a read at an address nothing maps, inside a
// function whose name the crash report must show.
#include <windows.h>

extern "C" __attribute__((noinline)) int ReadThroughStrayPointer(volatile int* pointer)
{
    return *pointer;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return ReadThroughStrayPointer(reinterpret_cast<volatile int*>(~ULONG_PTR(0) - 7));
}
