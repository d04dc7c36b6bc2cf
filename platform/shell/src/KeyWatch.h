// A registry key of HKEY_LOCAL_MACHINE (and its subkeys) watched for
// changes: after each write a message is posted to a window. A thread of
// its own waits for the registry's signal, so the window's thread rests.
#pragma once

#include <windows.h>

#include <string>

namespace shell {

class KeyWatch {
public:
    // The key is made if missing, so that its first value is noticed.
    KeyWatch(const std::wstring& path, HWND window, UINT message);
    ~KeyWatch();
    KeyWatch(const KeyWatch&) = delete;
    KeyWatch& operator=(const KeyWatch&) = delete;

    bool Watching() const { return thread_ != nullptr; }

private:
    static DWORD WINAPI ThreadMain(void* self);

    HKEY key_ = nullptr;
    HWND window_;
    UINT message_;
    HANDLE changed_;
    HANDLE stop_;
    HANDLE thread_ = nullptr;
};

}  // namespace shell
