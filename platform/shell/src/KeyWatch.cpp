#include "platform/shell/src/KeyWatch.h"

namespace shell {

KeyWatch::KeyWatch(const std::wstring& path, HWND window, UINT message)
    : window_(window),
      message_(message),
      changed_(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_NOTIFY, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS)
        key_ = nullptr;
    if (key_ != nullptr && changed_ != nullptr && stop_ != nullptr)
        thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

KeyWatch::~KeyWatch()
{
    if (thread_ != nullptr) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    if (key_ != nullptr)
        RegCloseKey(key_);
    if (changed_ != nullptr)
        CloseHandle(changed_);
    if (stop_ != nullptr)
        CloseHandle(stop_);
}

// A watch belongs to the thread that asked for it: this one, for as long as
// the watch lives. It watches again before it tells, so that a write made
// while the window reads the key signals once more.
DWORD WINAPI KeyWatch::ThreadMain(void* self)
{
    auto* watch = static_cast<KeyWatch*>(self);
    HANDLE waits[] = {watch->stop_, watch->changed_};
    for (;;) {
        RegNotifyChangeKeyValue(watch->key_, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                watch->changed_, TRUE);
        if (WaitForMultipleObjects(2, waits, FALSE, INFINITE) != WAIT_OBJECT_0 + 1)
            return 0;
        PostMessageW(watch->window_, watch->message_, 0, 0);
    }
}

}  // namespace shell
