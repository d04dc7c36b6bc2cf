// Another program of the device: "on" or "off" changes the input panel,
// nothing only looks. The exit code is the panel's SIPF_* flags as this
// process sees them, or 255 when they cannot be read.
#include <cwchar>

#include "aygshell.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[1], L"on") == 0)
        SipShowIM(SIPF_ON);
    else if (argc > 1 && wcscmp(argv[1], L"off") == 0)
        SipShowIM(SIPF_OFF);
    SIPINFO info = {};
    info.cbSize = sizeof(info);
    if (!SHSipInfo(SPI_GETSIPINFO, 0, &info, 0))
        return 255;
    return static_cast<int>(info.fdwFlags);
}
